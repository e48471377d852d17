#!/usr/bin/python3 -B
"""Git merge driver of the text tables: merges by record (the Italian key), not by line, since every record's
separator lines look alike to a line merge. Configure once in a clone:

  git config merge.texts.driver "/usr/bin/python3 -B scripts/merge-texts.py %O %A %B"

It writes the merge into OURS: our records in our order, then the records that only their side added; a record only
their side changed takes their change.
    scripts/merge-texts.py BASE OURS THEIRS
"""
import os
import sys

sys.dont_write_bytecode = True  # git calls it as python3 scripts/merge-texts.py
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import argomenti  # noqa: E402
import texts  # noqa: E402


def load(path):
    recs = texts.read_path(path)
    return recs, {r[0].strip().upper(): r for r in recs}


def main(base, ours, theirs):
    _, b = load(base)
    o_list, o = load(ours)
    t_list, t = load(theirs)
    out = []
    for r in o_list:
        k = r[0].strip().upper()
        if k in t and k in b and r == b[k] and t[k] != b[k]:
            r = t[k]  # changed only on their side
        out.append(r)
    for r in t_list:
        k = r[0].strip().upper()
        if k not in o and k not in b:
            out.append(r)
    texts.write_path(ours, out)
    return 0


if __name__ == '__main__':
    p = argomenti.parser(__doc__, __file__)
    p.add_argument('base', metavar='BASE', help="the table as both sides had it")
    p.add_argument('ours', metavar='OURS', help="our table, where the merge is written")
    p.add_argument('theirs', metavar='THEIRS', help="their table")
    args = p.parse_args()
    sys.exit(main(args.base, args.ours, args.theirs))
