#!/usr/bin/python3 -B
"""Checks the text tables against the code: every literal the code passes to Traduci has a record in
install/texts01.txt or install/texts03.txt, the tables hold at most 800 records together, and every record has its
five translations (a translation beginning with "@" counts as missing). Exit code 1 when one does not hold.
    scripts/check-texts.py
"""
import os
import re
import sys

import argomenti

argomenti.parser(__doc__, __file__).parse_args()

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def records(path):
    lines = open(path, 'rb').read().decode('cp1252').replace('\r\n', '\n').split('\n')
    out = []
    for i in range(0, len(lines), 12):
        rec = [lines[i + 2 * k] if i + 2 * k < len(lines) else '' for k in range(6)]
        if any(x.strip() for x in rec):
            out.append(rec)
    return out


recs = []
for name in ('texts01.txt', 'texts03.txt'):
    recs += records(os.path.join(root, 'install', name))
keys = {r[0].strip().upper() for r in recs}
lacking = [r[0] for r in recs if any(c.startswith('@') or not c.strip() for c in r[1:])]
pattern = re.compile(r'Traduci\(\s*(?:QStringLiteral\(|QString\(|u8|u)?\s*"((?:[^"\\]|\\.)*)"')
literals = set()
for folder, dirs, files in os.walk(root):
    rel = os.path.relpath(folder, root)
    if rel.startswith(('build', 'tests', '.git')):
        dirs[:] = []
        continue
    for f in files:
        if f.endswith(('.cpp', '.h')):
            for m in pattern.finditer(open(os.path.join(folder, f), errors='replace').read()):
                t = m.group(1).encode().decode('unicode_escape').encode('latin-1').decode('utf-8').strip()
                if t and not (t.startswith('[') and t.endswith(']')):
                    literals.add(t)
missing = sorted(t for t in literals if t.upper() not in keys)
print('%d records (at most 800), %d literals looked up, %d without a record, %d records lacking a translation'
      % (len(recs), len(literals), len(missing), len(lacking)))
for t in missing:
    print('  no record:', t)
for t in lacking:
    print('  untranslated:', t)
sys.exit(1 if missing or lacking or len(recs) > 800 else 0)
