#!/usr/bin/env python3
"""How many Debian packages a package pulls onto a minimal system, and their
installed size: the closure of its Depends and Pre-Depends (and, with
--recommends, its Recommends), taking apt's first installable alternative of
each "a | b" unless one is already there, and a virtual package's first
provider, minus what every Debian system has anyway: the closure of the
Essential packages. The same method for any package, so figures side by side
compare. Reads the local package lists once (apt-cache dumpavail).

    package-closure.py [--recommends] [--list] (PACKAGE | FILE.deb)...

A .deb is read with dpkg-deb for its own fields."""
import re
import subprocess
import sys


def parse(text):
    records = []
    for block in text.split('\n\n'):
        fields, key = {}, None
        for line in block.split('\n'):
            if line.startswith((' ', '\t')) and key:
                fields[key] += ' ' + line.strip()
                continue
            m = re.match(r'^([A-Za-z0-9-]+):\s?(.*)', line)
            if m:
                key = m.group(1)
                fields[key] = m.group(2)
        if 'Package' in fields:
            records.append(fields)
    return records


def main(argv):
    recommends = '--recommends' in argv
    roots = [a for a in argv if not a.startswith('--')]
    archive = {}
    for r in parse(subprocess.run(['apt-cache', 'dumpavail'], capture_output=True, text=True, check=True).stdout):
        archive.setdefault(r['Package'], r)
    names = []
    for root in roots:
        if root.endswith('.deb'):
            r = parse(subprocess.run(['dpkg-deb', '-f', root], capture_output=True, text=True, check=True).stdout)[0]
            archive[r['Package']] = r
            names.append(r['Package'])
        else:
            names.append(root)
    providers = {}
    for name, r in archive.items():
        for p in r.get('Provides', '').split(','):
            p = p.strip().split(' ')[0]
            if p:
                providers.setdefault(p, []).append(name)

    def real(name):
        name = name.split(':')[0]
        return name if name in archive else (providers.get(name) or [None])[0]

    def closure(start, with_recommends, present=frozenset()):
        seen, stack = set(), list(start)
        while stack:
            p = real(stack.pop())
            if not p or p in seen or p in present:
                continue
            seen.add(p)
            for field in ['Depends', 'Pre-Depends'] + (['Recommends'] if with_recommends else []):
                for group in archive[p].get(field, '').split(','):
                    alternatives = [a.strip().split(' ')[0] for a in group.split('|') if a.strip()]
                    if not alternatives or any(real(a) in seen or real(a) in present for a in alternatives):
                        continue
                    chosen = next((a for a in alternatives if real(a)), None)
                    if chosen:
                        stack.append(chosen)
        return seen

    base = closure([n for n, r in archive.items() if r.get('Essential') == 'yes'], False)
    pulled = closure(names, recommends, frozenset(base))
    size_kib = sum(int(archive[p].get('Installed-Size', '0')) for p in pulled)
    print(len(pulled), size_kib // 1024)
    if '--list' in argv:
        print(' '.join(sorted(pulled)))


if __name__ == '__main__':
    main(sys.argv[1:])
