#!/usr/bin/python3
"""Reads the reference DXF drawing of the plot tests with a real DXF reader: reading must not raise, the audit
must find nothing to report or repair, and the drawing must hold what the small plot drew."""
import sys

import ezdxf

path = sys.argv[1]
doc = ezdxf.readfile(path)
auditor = doc.audit()
for e in auditor.errors:
    print('error:', e)
for f in auditor.fixes:
    print('fix:', f)
if auditor.has_errors or auditor.has_fixes:
    sys.exit(1)

msp = doc.modelspace()
lines = [e for e in msp if e.dxftype() == 'LINE']
texts = [e for e in msp if e.dxftype() == 'TEXT']
assert [l.dxf.layer for l in lines] == ['15', '12', '4', '4', '15'], [l.dxf.layer for l in lines]
assert tuple(lines[0].dxf.start)[:2] == (1.0, 2.0) and tuple(lines[0].dxf.end)[:2] == (3.5, 4.25)
assert [t.dxf.text for t in texts] == ['RILIEVO STRUTTURALE', 'N', '1.25',
                                       'Immersione 45\u00b0 - caratteristiche \u00e8'], [t.dxf.text for t in texts]
assert texts[0].dxf.halign == 1 and tuple(texts[0].dxf.align_point)[:2] == (10.0, 27.0)
assert texts[2].dxf.rotation == 30.0 and texts[0].dxf.style == 'MONOTXT'
assert [l.dxf.name for l in doc.layers if l.dxf.name != 'Defpoints'] == [str(n) for n in range(16)]
assert [doc.layers.get(str(n)).dxf.color for n in range(16)] == [7, 5, 3, 4, 1, 6, 2, 7, 7, 5, 3, 4, 1, 6, 2, 7]
assert doc.header['$TEXTSTYLE'] == 'MONOTXT'
assert tuple(doc.header['$EXTMAX'])[:2] == (19.4, 27.7)
print('read back: %d lines, %d texts, audit clean' % (len(lines), len(texts)))
