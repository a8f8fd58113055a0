#!/usr/bin/env python3
"""Plants small faults in a copy of the source, one at a time, and sees
whether the fast tests notice each one.

Every fault in the table (tools/mutations.txt) is one exact piece of text in
one file and what it becomes: a wrong bound, a line left out, a wrong colour.
Each row also says which test labels should notice it and what a player (or
a stored file) would notice. For every row the script

  1. copies the file's original text back (the copy starts clean),
  2. applies the row's edit to the copy,
  3. rebuilds only the test programs of the row's labels (incrementally),
  4. runs those tests,

and reports the row as caught (some test failed), survived (all passed),
not built (the fault does not compile) or stale (the text is no longer in the
file: the table needs mending). The tree you work in is never touched.

Run on demand, not in CI:

    tools/mutate.py                    # every row
    tools/mutate.py -k balance         # rows whose title contains "balance"
    tools/mutate.py --list             # the table, nothing built

The copy and its build stay in --work (default /tmp/tangrix-mutate), so a
second run rebuilds only what the faults change. The summary goes to stdout
and, with --report FILE, to a file as well.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


@dataclass
class Fault:
    title: str
    file: str = ""
    find: str = ""
    replace: str = ""
    labels: list = field(default_factory=list)
    notice: str = ""


def read_table(path):
    """Rows are blocks of 'key: value' lines, each block headed by '## title'."""
    faults = []
    current = None
    for number, raw in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip("\n")
        if line.startswith("## "):
            current = Fault(line[3:].strip())
            faults.append(current)
            continue
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        if current is None or ":" not in line:
            sys.exit(f"{path}:{number}: expected '## title' or 'key: value'")
        key, value = line.split(":", 1)
        key = key.strip()
        # One blank after the colon separates; the rest is the text as it is.
        value = value[1:] if value.startswith(" ") else value
        if key == "file":
            current.file = value.strip()
        elif key == "find":
            current.find = value.replace("\\n", "\n")
        elif key == "replace":
            current.replace = value.replace("\\n", "\n")
        elif key == "labels":
            current.labels = value.split()
        elif key == "notice":
            current.notice = value.strip()
        else:
            sys.exit(f"{path}:{number}: unknown key {key!r}")
    for f in faults:
        if not f.file or not f.find or not f.labels:
            sys.exit(f"row {f.title!r}: file, find and labels are needed")
    return faults


def run(cmd, cwd, log, timeout=None):
    with open(log, "ab") as out:
        out.write(("\n$ " + " ".join(cmd) + "\n").encode())
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write(b"\n(timed out)\n")
            return 124


def copy_tree(work):
    """The working tree as it is now (uncommitted edits included), without builds and git."""
    src = work / "tree"
    skip = {".git", "build", "__pycache__"}
    wanted = set()
    # Only files that differ are copied, so the build's time stamps stay useful.
    for folder, dirs, files in os.walk(ROOT):
        dirs[:] = [d for d in dirs if d not in skip and not (Path(folder) == ROOT and d.startswith("build"))]
        for name in files:
            source = Path(folder) / name
            relative = source.relative_to(ROOT)
            wanted.add(relative)
            target = src / relative
            if not target.exists() or target.read_bytes() != source.read_bytes():
                target.parent.mkdir(parents=True, exist_ok=True)
                # A fresh time stamp, so the build sees the change.
                shutil.copy(source, target)
    for folder, dirs, files in os.walk(src):
        dirs[:] = [d for d in dirs if not (Path(folder) == src and d == "build")]
        for name in files:
            if (Path(folder) / name).relative_to(src) not in wanted:
                (Path(folder) / name).unlink()
    return src


def test_programs(build):
    """Each test's program, as CTest's files name it (before anything is built)."""
    import re
    programs = {}
    pattern = re.compile(r'add_test\(\[=\[(.+?)\]=\] "([^"]+)"')
    for testfile in build.rglob("CTestTestfile.cmake"):
        for name, program in pattern.findall(testfile.read_text(encoding="utf-8")):
            programs[name] = Path(program).name
    return programs


def tests_of(build, labels):
    """The tests of the labels, and the programs that must be built for them."""
    import json
    programs = test_programs(build)
    names, targets = [], []
    for label in labels:
        out = subprocess.run(["ctest", "--test-dir", str(build), "--show-only=json-v1", "-L", f"^{label}$"],
                             capture_output=True, text=True).stdout
        for test in json.loads(out or "{}").get("tests", []):
            if test["name"] in names:
                continue
            names.append(test["name"])
            program = programs.get(test["name"])
            if program and program not in targets:
                targets.append(program)
    return names, targets


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--table", default=str(ROOT / "tools" / "mutations.txt"))
    parser.add_argument("--work", default="/tmp/tangrix-mutate")
    parser.add_argument("-k", dest="only", help="only rows whose title contains this text")
    parser.add_argument("--list", action="store_true", help="print the table and stop")
    parser.add_argument("--report", help="also write the summary to this file")
    parser.add_argument("--jobs", default="2")
    parser.add_argument("--kind", choices=["all", "source", "header"], default="all",
                        help="only faults in source files (quick to rebuild) or only in headers")
    parser.add_argument("--skip", type=int, default=0, help="leave out the first rows (of those chosen)")
    args = parser.parse_args()

    # Stopped from outside, the planted fault is still taken out (finally).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    faults = read_table(args.table)
    if args.only:
        faults = [f for f in faults if args.only.lower() in f.title.lower()]
    if args.kind != "all":
        faults = [f for f in faults if f.file.endswith(".h") == (args.kind == "header")]
    faults = faults[args.skip:]
    if args.list:
        for i, f in enumerate(faults, 1):
            print(f"{i:3} {f.title}\n    {f.file}: {f.find!r} -> {f.replace!r} [{' '.join(f.labels)}]")
        return 0

    work = Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    log = work / "mutate.log"
    log.write_text("")
    src = copy_tree(work)
    # The build lies inside the copy as it does in a worktree, so the compiler
    # cache finds the same relative paths and reuses what it compiled there.
    build = src / "build"
    env = dict(os.environ, CCACHE_BASEDIR=str(src), CCACHE_NOHASHDIR="true", QT_QPA_PLATFORM="offscreen")
    os.environ.update(env)
    if not (build / "build.ninja").exists():
        if run(["cmake", "-S", str(src), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"], src, log) != 0:
            sys.exit(f"configuring failed; see {log}")

    # Every row's file must hold its text exactly once before anything is built.
    stale = []
    for f in faults:
        text = (src / f.file).read_text(encoding="utf-8") if (src / f.file).exists() else ""
        if text.count(f.find) != 1:
            stale.append(f)

    # The unchanged copy must pass every test the table uses.
    all_labels = sorted({label for f in faults for label in f.labels})
    all_tests, all_targets = tests_of(build, all_labels)
    print(f"baseline: building and running {len(all_tests)} tests ...", flush=True)
    if run(["nice", "-n", "19", "cmake", "--build", str(build), "-j", args.jobs, "--target", *all_targets], src, log) != 0:
        sys.exit(f"the unchanged copy does not build; see {log}")
    regex = "^(" + "|".join(all_tests) + ")$"
    if run(["nice", "-n", "19", "ctest", "--test-dir", str(build), "-j", args.jobs, "-R", regex,
            "--timeout", "600"], src, log) != 0:
        sys.exit(f"the unchanged copy fails its tests; see {log}")

    results = []
    for i, f in enumerate(faults, 1):
        started = time.time()
        if f in stale:
            results.append((f, "stale", []))
            print(f"[{i}/{len(faults)}] STALE     {f.title}", flush=True)
            continue
        path = src / f.file
        original = path.read_text(encoding="utf-8")
        path.write_text(original.replace(f.find, f.replace, 1), encoding="utf-8")
        try:
            tests, targets = tests_of(build, f.labels)
            built = run(["nice", "-n", "19", "cmake", "--build", str(build), "-j", args.jobs, "--target", *targets],
                        src, log) == 0
            failed = []
            if built:
                # Each test on its own, so the row says which ones noticed.
                for name in tests:
                    if run(["nice", "-n", "19", "ctest", "--test-dir", str(build), "-R", f"^{name}$",
                            "--timeout", "600"], src, log) != 0:
                        failed.append(name)
            verdict = "not built" if not built else ("caught" if failed else "survived")
        finally:
            path.write_text(original, encoding="utf-8")
        results.append((f, verdict, failed))
        print(f"[{i}/{len(faults)}] {verdict.upper():9} {f.title} ({time.time() - started:.0f} s)"
              + (f": {', '.join(failed)}" if failed else ""), flush=True)

    caught = [r for r in results if r[1] == "caught"]
    survived = [r for r in results if r[1] == "survived"]
    lines = [f"faults tried: {len(results)}, caught: {len(caught)}, survived: {len(survived)}, "
             f"not built: {sum(r[1] == 'not built' for r in results)}, stale: {sum(r[1] == 'stale' for r in results)}"]
    for f, verdict, failed in results:
        lines.append(f"- {verdict}: {f.title}" + (f" ({', '.join(failed)})" if failed else "")
                     + (f"\n    would notice: {f.notice}" if verdict == "survived" else ""))
    summary = "\n".join(lines)
    print("\n" + summary)
    if args.report:
        Path(args.report).write_text(summary + "\n", encoding="utf-8")
    return 1 if survived or any(r[1] == "stale" for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
