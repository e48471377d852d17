#!/usr/bin/python3
"""Git merge driver of the text tables: merges by record (the Italian key), not by line, since every record's
separator lines look alike to a line merge. Configure once in a clone:

  git config merge.texts.driver "/usr/bin/python3 scripts/merge-texts.py %O %A %B"

  merge-texts.py BASE OURS THEIRS   writes the merge into OURS: our records in our order, then the records that only
                                    their side added; a record only their side changed takes their change.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
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
    sys.exit(main(*sys.argv[1:4]))
