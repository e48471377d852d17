#!/usr/bin/python3
"""Reads the DXF drawing of a stereographic plot with a real DXF reader: the audit must find nothing to report or
repair, every coordinate must be finite and the header and the net must stand in it. Without a second argument the
drawing is the full plot of the unit test, whose worked points must stand in it (net centre (10, 14), radius 8,
equal-area, lower hemisphere); with "cluster" or "poli" it is a plot of a whole run of that kind."""
import math
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print('error:', e)
for f in auditor.fixes:
    print('fix:', f)
if auditor.has_errors or auditor.has_fixes:
    sys.exit(1)

msp = doc.modelspace()
lines = [(tuple(e.dxf.start)[:2], tuple(e.dxf.end)[:2]) for e in msp if e.dxftype() == 'LINE']
texts = [e.dxf.text for e in msp if e.dxftype() == 'TEXT']
assert all(math.isfinite(v) for a, b in lines for v in a + b)


def near(p, q, tol=1e-3):
    return math.hypot(p[0] - q[0], p[1] - q[1]) <= tol


def has_line(a, b):
    return any(near(s, a) and near(e, b) for s, e in lines)


def has_end(p, tol=1e-3):
    return any(near(s, p, tol) or near(e, p, tol) for s, e in lines)


tipo = sys.argv[2] if len(sys.argv) > 2 else None
titolo = 'proiezione stereografica' if tipo == 'poli' else 'cluster analysis'
for t in ('RILIEVO STRUTTURALE', titolo, 'N', 'E', 'S', 'W'):
    assert t in texts, t
assert has_end((10, 22)) and has_end((10, 6)) and has_end((18, 14)) and has_end((2, 14)), 'primitive circle'
if tipo:
    print('read back: %d lines, %d texts, audit clean' % (len(lines), len(texts)))
    sys.exit(0)

assert has_line((10, 9.2987), (10, 14)), 'wedge line of 60/120 and 60/240'
assert has_end((10, 14 + 5.6569)), 'friction circle of 30 degrees'
assert has_end((10, 6)) and has_end((15.6569, 14)) and has_end((10, 22)), 'great circle of 30/90'
assert has_end((7.0718, 14), 0.11), 'pole of 30/90'
assert has_end((10, 8.3431), 0.06), 'pole of 60/0, of no cluster'
for t in ('1', '1.00'):
    assert t in texts, t
print('read back: %d lines, %d texts, audit clean' % (len(lines), len(texts)))
