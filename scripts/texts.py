#!/usr/bin/python3
"""Maintains the text tables install/texts01.txt and install/texts03.txt (Windows-1252, CR LF, twelve lines a
record: Italian, German, French, Spanish, English, Portuguese, each followed by a separator line).

  scripts/texts.py add [--table 01|03] ITALIAN GERMAN FRENCH SPANISH ENGLISH PORTUGUESE
      adds a record (or replaces the record with the same Italian key, compared without regard to case)
  scripts/texts.py has ITALIAN          tells whether a key is in a table
  scripts/texts.py list                 prints every record, one per line, TAB-separated
  scripts/texts.py count                prints the number of records (the tables hold at most 800 together)
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEPARATOR = '-' * 40


def path(table):
    return os.path.join(ROOT, 'install', 'texts%s.txt' % table)


def read(table):
    return read_path(path(table))


def read_path(p):
    if not os.path.exists(p):
        return []
    lines = open(p, 'rb').read().decode('cp1252').replace('\r\n', '\n').split('\n')
    records, i = [], 0
    while i < len(lines):
        rec = [lines[i + 2 * k] if i + 2 * k < len(lines) else '' for k in range(6)]
        i += 12
        if any(x.strip() for x in rec):
            records.append(rec)
    return records


def write(table, records):
    write_path(path(table), records)


def write_path(p, records):
    out = []
    for rec in records:
        for text in rec:
            out += [text, SEPARATOR]
    data = ('\r\n'.join(out) + '\r\n').encode('cp1252')
    tmp = p + '.tmp'
    open(tmp, 'wb').write(data)
    os.replace(tmp, p)


def main(argv):
    if not argv:
        print(__doc__)
        return 2
    cmd, args = argv[0], argv[1:]
    table = '03'
    if args[:1] == ['--table']:
        table, args = args[1], args[2:]
    if cmd == 'add':
        if len(args) != 6:
            print('add needs six texts: Italian German French Spanish English Portuguese')
            return 2
        for t in args:
            t.encode('cp1252')
        for other in ('01', '03'):
            if other != table and any(r[0].strip().upper() == args[0].strip().upper() for r in read(other)):
                print('already in texts%s.txt: %s' % (other, args[0]))
                return 1
        recs = read(table)
        key = args[0].strip().upper()
        for i, r in enumerate(recs):
            if r[0].strip().upper() == key:
                recs[i] = args
                break
        else:
            recs.append(args)
        write(table, recs)
        return 0
    if cmd == 'has':
        key = ' '.join(args).strip().upper()
        found = [t for t in ('01', '03') if any(r[0].strip().upper() == key for r in read(t))]
        print(', '.join('texts%s.txt' % t for t in found) or 'missing')
        return 0 if found else 1
    if cmd == 'list':
        for t in ('01', '03'):
            for r in read(t):
                print('\t'.join([t] + r))
        return 0
    if cmd == 'count':
        print(sum(len(read(t)) for t in ('01', '03')))
        return 0
    print(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
