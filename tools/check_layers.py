#!/usr/bin/env python3
"""Checks that the game's own code keeps its layers: reads every include of
the game's source folders and fails on

  - an include that runs from a lower layer to a higher one,
  - a circle of includes between files of different classes (a class is a
    header and its source file, e.g. hh.h with hh.cpp),
  - a Qt include in the plain C++ layers (the rules, the flow, the cipher).

Tests, benchmarks, tools and generated files are not the game's code and are
not read. Run from anywhere: check_layers.py [source root]."""
import os
import re
import sys

# The layers from the bottom up, as the code shows them; a folder may include
# its own layer and any below it, never one above. The longest matching
# folder prefix names a file's layer.
LAYERS = [
    ["game/rules", "cipher"],           # plain C++: the board, the tiles, the clock; the record cipher
    ["game/flow"],                      # plain C++: the course of a game
    ["settings", "assets", "cipher/qt"],  # the settings store; pictures, symbols and sounds; the cipher on QString
    ["ui/toolkit"],                     # the widget toolkit
    ["ui/keeper", "media", "help"],     # window placement, sound and music, help
    ["game/mainform", "ui"],            # the main window and the dialogs
    ["app"],                            # the program object and entry
]
NOT_GAME_CODE = {"help/tools", "help/rules", "assets/art"}
PLAIN_CXX = ["game/rules", "game/flow", "cipher"]
SOURCE_SUFFIXES = (".h", ".cpp", ".c")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s+<(Q[A-Za-z]*)(?:/[^>]*)?>", re.M)


def layer_of(path):
    best = None
    for index, folders in enumerate(LAYERS):
        for folder in folders:
            if path == folder or path.startswith(folder + "/"):
                if best is None or len(folder) > len(best[1]):
                    best = (index, folder)
    return best


def game_files(root):
    roots = sorted({folder.split("/")[0] for folders in LAYERS for folder in folders})
    for top in roots:
        for directory, subdirs, files in os.walk(os.path.join(root, top)):
            # Helpers that build the help file, and the drawings, are not the game's code.
            here = os.path.relpath(directory, root).replace(os.sep, "/")
            subdirs[:] = [d for d in subdirs if f"{here}/{d}" not in NOT_GAME_CODE]
            for name in files:
                if name.endswith(SOURCE_SUFFIXES):
                    full = os.path.join(directory, name)
                    yield os.path.relpath(full, root).replace(os.sep, "/")


def class_of(path):
    return os.path.splitext(path)[0]


def find_circles(graph):
    """Strongly connected components of more than one node (Tarjan)."""
    index, low, stack, on_stack, circles = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                circles.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return circles


def check(root):
    problems = []
    files = sorted(game_files(root))
    known = set(files)
    graph = {}
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            text = source.read()
        here = layer_of(path)
        if here is None:
            problems.append(f"{path}: in no layer (add its folder to LAYERS)")
            continue
        for included in INCLUDE.findall(text):
            if included not in known:
                continue  # a file of the same folder by its short name, a system or generated header
            there = layer_of(included)
            if there is not None and there[0] > here[0]:
                problems.append(f"{path} includes {included}: layer {here[1]} may not include the higher {there[1]}")
            if class_of(included) != class_of(path):
                graph.setdefault(class_of(path), set()).add(class_of(included))
        if here[1] in PLAIN_CXX:
            for qt in SYSTEM_INCLUDE.findall(text):
                problems.append(f"{path} includes <{qt}>: {here[1]} is plain C++")
    for circle in find_circles(graph):
        problems.append("circle of includes between " + ", ".join(circle))
    return problems


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    problems = check(os.path.abspath(root))
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print("layers kept, no circles")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
