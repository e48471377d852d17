#!/usr/bin/python3 -B
"""Maintains the text tables install/texts01.txt and install/texts03.txt (Windows-1252, CR LF, twelve lines a
record: Italian, German, French, Spanish, English, Portuguese, each followed by a separator line).
    scripts/texts.py add [--table 01|03] ITALIAN GERMAN FRENCH SPANISH ENGLISH PORTUGUESE
        adds a record (or replaces the record with the same Italian key, compared without regard to case)
    scripts/texts.py has ITALIAN      tells whether a key is in a table (exit code 1 when it is not)
    scripts/texts.py list             prints every record, one per line, TAB-separated
    scripts/texts.py count            prints the number of records (the tables hold at most 800 together)
A text that begins with "-" comes after "--".
"""
import os
import sys

import argomenti

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


def arguments(argv):
    """The command and its arguments; a wrong command line ends the script with the usage (exit code 2)."""
    p = argomenti.parser(__doc__, __file__)
    p.epilog = __doc__[__doc__.index("\n    scripts/texts.py"):].rstrip()
    commands = p.add_subparsers(dest="command", required=True, metavar="add|has|list|count")
    add = commands.add_parser("add")
    add.add_argument("--table", choices=("01", "03"), default="03", help="the table (default 03)")
    add.add_argument("texts", nargs=6, metavar="TEXT", help="Italian German French Spanish English Portuguese")
    has = commands.add_parser("has")
    has.add_argument("key", nargs="+", metavar="ITALIAN")
    commands.add_parser("list")
    commands.add_parser("count")
    args = p.parse_args(argv)
    if args.command == "add":
        for t in args.texts:
            try:
                t.encode('cp1252')
            except UnicodeEncodeError:
                add.error('%r cannot be written in Windows-1252' % t)
    return args


def main(argv):
    args = arguments(argv)
    if args.command == 'add':
        texts, table = args.texts, args.table
        for other in ('01', '03'):
            if other != table and any(r[0].strip().upper() == texts[0].strip().upper() for r in read(other)):
                print('already in texts%s.txt: %s' % (other, texts[0]))
                return 1
        recs = read(table)
        key = texts[0].strip().upper()
        for i, r in enumerate(recs):
            if r[0].strip().upper() == key:
                recs[i] = texts
                break
        else:
            recs.append(texts)
        write(table, recs)
        return 0
    if args.command == 'has':
        key = ' '.join(args.key).strip().upper()
        found = [t for t in ('01', '03') if any(r[0].strip().upper() == key for r in read(t))]
        print(', '.join('texts%s.txt' % t for t in found) or 'missing')
        return 0 if found else 1
    if args.command == 'list':
        for t in ('01', '03'):
            for r in read(t):
                print('\t'.join([t] + r))
        return 0
    print(sum(len(read(t)) for t in ('01', '03')))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
