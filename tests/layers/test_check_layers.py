#!/usr/bin/env python3
"""The layer check on small trees made for it: it must pass a clean tree and
name each kind of fault it exists for."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import check_layers  # noqa: E402


def tree(files):
    root = tempfile.mkdtemp(prefix="layers-")
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as out:
            out.write(text)
    return root


CLEAN = {
    "game/rules/Board.h": "#pragma once\n#include <vector>\n",
    "game/flow/GameFlow.h": '#include "game/rules/Board.h"\n',
    "game/mainform/main.cpp": '#include "game/flow/GameFlow.h"\n#include <QWidget>\n',
    "app/main.cpp": '#include "game/mainform/main.h"\n',
    "game/mainform/main.h": '#include "game/flow/GameFlow.h"\n',
}


class CheckLayersTest(unittest.TestCase):
    def problems(self, changes):
        files = dict(CLEAN)
        files.update(changes)
        return check_layers.check(tree(files))

    def test_clean_tree_passes(self):
        self.assertEqual(self.problems({}), [])

    def test_faults_are_named(self):
        cases = {
            "upward include": ({"game/rules/Board.cpp": '#include "game/flow/GameFlow.h"\n'},
                               "game/rules/Board.cpp includes game/flow/GameFlow.h"),
            "rules reaching the app": ({"game/rules/Tile.h": '#include "app/main.h"\n', "app/main.h": ""},
                                       "layer game/rules may not include the higher app"),
            "circle between classes": ({"ui/a.h": '#include "ui/b.h"\n', "ui/b.cpp": '#include "ui/a.h"\n',
                                        "ui/b.h": ""},
                                       "circle of includes between ui/a, ui/b"),
            "Qt in the flow": ({"game/flow/Scene.h": "#include <QString>\n"},
                               "game/flow/Scene.h includes <QString>"),
        }
        for name, (changes, expected) in cases.items():
            with self.subTest(name):
                found = self.problems(changes)
                self.assertTrue(any(expected in p for p in found), found)

    def test_header_and_source_of_one_class_are_no_circle(self):
        self.assertEqual(self.problems({"ui/a.h": '#include "ui/a.cpp"\n', "ui/a.cpp": '#include "ui/a.h"\n'}), [])


if __name__ == "__main__":
    unittest.main()
