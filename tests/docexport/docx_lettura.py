#!/usr/bin/python3
"""Reads a Word document (any file name) with python-docx and prints its body as JSON, block by block:
{"p": text, "align": alignment or null, "runs": [{"t", "font", "size", "italic"}]} for a paragraph,
{"table": rows of cells {"t", "align", "italic"}, "jc": row alignment or null} for a table."""
import json
import sys

import docx
from docx.table import Table, _Cell
from docx.text.paragraph import Paragraph


def align(p):
    return None if p.alignment is None else int(p.alignment)


def paragraph(p):
    return {"p": p.text, "align": align(p),
            "runs": [{"t": r.text, "font": r.font.name, "size": None if r.font.size is None else r.font.size.pt,
                      "italic": r.italic} for r in p.runs]}


def cell(c):
    ps = c.paragraphs
    runs = [r for p in ps for r in p.runs]
    return {"t": c.text, "align": align(ps[0]) if ps else None,
            "italic": runs[0].italic if runs else None,
            "font": runs[0].font.name if runs else None,
            "size": runs[0].font.size.pt if runs and runs[0].font.size is not None else None}


def table(t):
    jc = t._tbl.tblPr.find(docx.oxml.ns.qn("w:jc"))
    # Cells straight from the rows' elements: python-docx's row.cells recomputes the grid at every call.
    rows = [[cell(_Cell(tc, t)) for tc in tr.tc_lst] for tr in t._tbl.tr_lst]
    return {"table": rows,
            "jc": None if jc is None else jc.get(docx.oxml.ns.qn("w:val"))}


def main():
    d = docx.Document(sys.argv[1])
    body = []
    for el in d.element.body.iterchildren():
        tag = el.tag.split("}")[1]
        if tag == "p":
            body.append(paragraph(Paragraph(el, d)))
        elif tag == "tbl":
            body.append(table(Table(el, d)))
    json.dump(body, sys.stdout, ensure_ascii=False)


main()
