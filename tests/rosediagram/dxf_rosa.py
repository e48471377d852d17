#!/usr/bin/python3
"""Reads a rose diagram exported as DXF with a real DXF reader and checks its geometry against the sector counts
given on the command line ("sector:count,..."; sectors not named have none): the audit finds nothing, the titles
and compass labels are where they belong, the compass circle and its ticks, and the 36 sectors with radii
proportional to their counts, each out from the centre along its 10 degrees of arc and back."""
import math
import sys

import ezdxf

CENTRE = (10.0, 14.0)
R = 8.0
EPS = 2e-3  # the drawing keeps three decimals of a centimetre


def fail(msg):
    print('FAIL:', msg)
    sys.exit(1)


def near(a, b):
    return abs(a - b) < EPS


def radius(p):
    return math.hypot(p[0] - CENTRE[0], p[1] - CENTRE[1])


path, wanted = sys.argv[1], sys.argv[2]
counts = [0] * 37
for item in filter(None, wanted.split(',')):
    k, n = item.split(':')
    counts[int(k)] = int(n)
largest = max(counts)

doc = ezdxf.readfile(path)
auditor = doc.audit()
if auditor.has_errors or auditor.has_fixes:
    fail('audit: %s %s' % ([str(e) for e in auditor.errors], [str(f) for f in auditor.fixes]))

msp = doc.modelspace()
lines = [(tuple(e.dxf.start)[:2], tuple(e.dxf.end)[:2], e.dxf.layer) for e in msp if e.dxftype() == 'LINE']
texts = [e for e in msp if e.dxftype() == 'TEXT']
if len(lines) != 205 + 36 * 13:
    fail('%d lines' % len(lines))

# Titles centred on x = 10, labels from their point.
if len(texts) != 10:
    fail('%d texts' % len(texts))
for t, y in zip(texts[:6], (27, 26.4, 25.7, 25.2, 24.7, 24.2)):
    ap = tuple(t.dxf.align_point)[:2]
    if t.dxf.halign != 1 or not (near(ap[0], 10) and near(ap[1], y)):
        fail('title %r at %s' % (t.dxf.text, ap))
for t, (s, x, y) in zip(texts[6:], (('N', 9.9, 22.1), ('E', 18.1, 13.9), ('S', 9.9, 5.7), ('W', 1.7, 13.9))):
    p = tuple(t.dxf.insert)[:2]
    if t.dxf.text != s or not (near(p[0], x) and near(p[1], y)):
        fail('label %r at %s' % (t.dxf.text, p))

# The circle: 201 strokes from north clockwise on radius 8, closed; four ticks of 0.2 inside it.
circle = lines[:201]
if not (near(circle[0][0][0], 10) and near(circle[0][0][1], 22) and near(circle[-1][1][1], 22)):
    fail('circle does not start and end at north')
for a, b, _ in circle:
    if not (near(radius(a), R) and near(radius(b), R)):
        fail('circle stroke off the circle: %s %s' % (a, b))
if not near(circle[50][1][0], 18):
    fail('circle does not run clockwise')
for (a, b, _), want in zip(lines[201:205], ((10, 21.8, 10, 22), (17.8, 14, 18, 14), (10, 6.2, 10, 6), (2.2, 14, 2, 14))):
    if not all(near(u, v) for u, v in zip(a + b, want)):
        fail('tick %s %s' % (a, b))

# The sectors, counter-clockwise from east: sector k spans 10(k-1) to 10k degrees; its first stroke runs out from
# the centre, eleven strokes follow the arc a degree apart, the last runs back to the centre.
sector_layers = {l for _, _, l in lines[205:]}
if len(sector_layers) != 1 or sector_layers == {lines[0][2]}:
    fail('sector layers %s' % sector_layers)
for k in range(1, 37):
    group = lines[205 + (k - 1) * 13: 205 + k * 13]
    r = counts[k] * R / largest if largest else 0.0
    if not (near(group[0][0][0], 10) and near(group[0][0][1], 14)) or not near(radius(group[-1][1]), 0):
        fail('sector %d does not start and end at the centre' % k)
    for i, (_, b, _) in enumerate(group[:-1]):
        a = math.radians(10.0 * (k - 1) + max(0, i - 1))
        x, y = CENTRE[0] + r * math.cos(a), CENTRE[1] + r * math.sin(a)
        if not (near(b[0], x) and near(b[1], y)):
            fail('sector %d: point %d at %s, expected (%.3f, %.3f)' % (k, i, b, x, y))
print('read back: %d lines, %d texts; sector radii as counted' % (len(lines), len(texts)))
