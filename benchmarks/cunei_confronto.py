#!/usr/bin/python3 -B
"""The wedge tables of two builds of peldrix compared on random slope files: every row of the first build must
stand, byte for byte, in the table of the second, and every row that the second adds must be a wedge of the
independent solid (the half-spaces of its bounding planes intersected by scipy), of the volume and, without a
seismic force, the factor of safety written. Random slopes: dry and wet, loaded, anchored, seismic, heights of
0.5 to 500 m, tension cracks of any orientation at distances from a two-thousandth to three times the height; then
slopes whose crack passes exactly through the toe, a crest point or the top of a wedge. The added rows are counted
by what makes them wedges: a crack that closes a wedge whose line of intersection runs under the upper surface,
a crack that the whole wedge lies in front of, a vertex on the crack.
    benchmarks/cunei_confronto.py [files] [old program folder] [new program folder]
"""
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

import numpy as np
from scipy.spatial import ConvexHull, HalfspaceIntersection
from scipy.optimize import linprog

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The command lines of the scripts are read by one module, in scripts/.
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import argomenti  # noqa: E402
RAD = math.pi / 180
FAMILIES = 8


def write(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("cp1252"))


def num(v):
    return repr(float(v))


def normal(dip, direction):
    return np.array([math.sin(dip * RAD) * math.sin(direction * RAD), math.sin(dip * RAD) * math.cos(direction * RAD),
                     math.cos(dip * RAD)])


def force(plunge, trend):
    return np.array([math.cos(plunge * RAD) * math.sin(trend * RAD), math.cos(plunge * RAD) * math.cos(trend * RAD),
                     -math.sin(plunge * RAD)])


def stored(dip, direction):
    """The orientation of a family as the clustering result holds it (radians)."""
    return math.pi / 2 - dip * RAD, math.fmod(math.pi / 2 - direction * RAD + 4 * math.pi, 2 * math.pi)


def from_stored(incl, imm):
    """The plane of a stored orientation: dip and dip direction (degrees) as peldrix takes them back."""
    psi = math.pi / 2 - incl
    alfa = math.pi / 2 - imm
    if psi < 0:
        psi += 2 * math.pi
    if alfa < 0:
        alfa += 2 * math.pi
    return psi / RAD, alfa / RAD


def random_slope(rng):
    s = {}
    s["faceDip"], s["faceDir"] = rng.uniform(40, 89), rng.uniform(0, 360)
    s["upperDip"], s["upperDir"] = rng.uniform(0, 35), rng.uniform(0, 360)
    s["c"], s["phi"] = rng.choice([0, rng.uniform(0, 3)]), rng.uniform(10, 45)
    s["rock"], s["water"] = rng.uniform(2.2, 2.8), rng.choice([0, 1.0])
    s["height"] = math.exp(rng.uniform(math.log(0.5), math.log(500)))
    s["load"] = s["loadPlunge"] = s["loadTrend"] = 0.0
    s["anchor"] = s["anchorPlunge"] = s["anchorTrend"] = 0.0
    scale = min(s["rock"] * s["height"] ** 3 / 20, 1e6)  # the loads of the slope file reach 10^6
    if rng.random() < 0.3:
        s["load"], s["loadPlunge"], s["loadTrend"] = rng.uniform(0, scale), rng.uniform(-30, 90), rng.uniform(0, 360)
    if rng.random() < 0.3:
        s["anchor"], s["anchorPlunge"], s["anchorTrend"] = (rng.uniform(0, scale), rng.uniform(-30, 60),
                                                            rng.uniform(0, 360))
    s["crack"] = s["height"] * (rng.uniform(0.0005, 0.05) if rng.random() < 0.25 else rng.uniform(0.05, 3))
    if rng.random() < 0.2:
        s["crack"] = 0.0
    s["crackDip"] = 90.0 if rng.random() < 0.15 else rng.uniform(0, 90)
    s["crackDir"] = rng.uniform(0, 360)
    s["seismic"] = rng.uniform(0.01, 0.3) if rng.random() < 0.2 else 0.0
    return s


def random_families(rng):
    """Families whose rounded dip directions differ, so that the angle cells of a row name its pair."""
    directions = rng.sample(range(0, 360), FAMILIES)
    return [(rng.uniform(5, 89), d + rng.uniform(-0.45, 0.45), rng.uniform(10, 45), rng.choice([0, rng.uniform(0, 3)]))
            for d in directions]


def slope_values(s):
    return [s["faceDip"], s["faceDir"], s["upperDip"], s["upperDir"], s["c"], s["phi"], s["rock"], s["water"],
            s["height"], s["load"], s["loadPlunge"], s["loadTrend"], s["anchor"], s["anchorPlunge"],
            s["anchorTrend"], s["crack"], s["crackDip"], s["crackDir"], s["seismic"]]


def write_session(data, s, families):
    write(os.path.join(data, "site.fro"), "".join(num(v) + "\n" for v in slope_values(s)))
    text = "".join("Titolo %d\n" % k for k in range(1, 10)) + " %d \n" % len(families)
    for dip, direction, _, _ in families:
        incl, imm = stored(dip, direction)
        text += "%s\n%s\n%s\n%s\n" % (num(incl), num(imm), num(incl), num(imm))
    text += " %d \n .3490659 \n" % len(families) + "".join(" 1 \n %d \n" % (k + 1) for k in range(len(families)))
    write(os.path.join(data, "site.dat"), text)
    write(os.path.join(data, "site.pgm"), "".join("%s\n%s\n" % (num(phi), num(c)) for _, _, phi, c in families))


def run(program, data):
    write(os.path.join(program, "temporan"), "0\n-2\n\n 0 \nsite.ses\n")
    env = {"PATH": os.environ.get("PATH", ""), "QT_QPA_PLATFORM": "offscreen", "FRATTIX_DRIVE_C": data,
           "FRATTIX_UI_LOG": os.path.join(data, "ui.log"), "FRATTIX_UI_SCRIPT": os.path.join(data, "script")}
    write(os.path.join(data, "script"), "answer OK\n")
    gmc = os.path.join(data, "site.GMC")
    if os.path.exists(gmc):
        os.remove(gmc)
    r = subprocess.run([os.path.join(program, "peldrix")], cwd=data, env=env, capture_output=True)
    if r.returncode != 0:
        log = open(os.path.join(data, "ui.log"), errors="replace").read() if os.path.exists(os.path.join(data, "ui.log")) else ""
        sys.exit("peldrix in %s ended with %d: %s%s" % (program, r.returncode, r.stderr.decode(errors="replace"), log))
    with open(gmc, "rb") as f:
        return f.read().split(b"\r\n")[1:-1]


# The independent solid ----------------------------------------------------------------------------------------

def meet(n1, c1, n2, c2, n3, c3):
    m = np.array([n1, n2, n3])
    if abs(np.linalg.det(m)) < 1e-12:
        return None
    return np.linalg.solve(m, [c1, c2, c3])


def clip(halves, size):
    """Volume and face areas (one per half-space n·x <= c) of the solid common to the half-spaces, or None when it
    is empty or unbounded. A box a million times the size closes it; a solid that reaches the box is unbounded."""
    box = 1e6 * size
    A = [h[0] for h in halves] + [e for k in range(3) for e in (np.eye(3)[k], -np.eye(3)[k])]
    b = [h[1] for h in halves] + [box] * 6
    A, b = np.array(A), np.array(b)
    norms = np.linalg.norm(A, axis=1)
    # The centre of the largest ball inside: an interior point.
    lp = linprog([0, 0, 0, -1], A_ub=np.hstack([A, norms[:, None]]), b_ub=b, bounds=[(None, None)] * 3 + [(0, None)])
    if lp.status != 0 or lp.x[3] <= 1e-9 * size:
        return None
    try:
        points = HalfspaceIntersection(np.hstack([A, -b[:, None]]), lp.x[:3]).intersections
        hull = ConvexHull(points)
    except Exception:  # qhull refuses a solid without volume
        return None
    if np.max(np.abs(points)) > 0.5 * box:
        return None
    areas = []
    for n, c in halves:
        on = points[np.abs(points @ n - c) <= 1e-7 * size]
        areas.append(face_area(on, n))
    return hull.volume, areas


def face_area(points, n):
    if len(points) < 3:
        return 0.0
    centre = points.mean(axis=0)
    e1 = points[0] - centre
    if np.linalg.norm(e1) == 0:
        e1 = points[1] - centre
    e1 /= np.linalg.norm(e1)
    e2 = np.cross(n, e1)
    order = np.argsort(np.arctan2((points - centre) @ e2, (points - centre) @ e1))
    p = points[order]
    return sum(np.linalg.norm(np.cross(p[k] - centre, p[(k + 1) % len(p)] - centre)) / 2 for k in range(len(p)))


def solid(s, plane1, plane2):
    """What the solid makes of a pair: (kind, volume, factor or None, mode) with kind "none" (no wedge), "plain"
    (no crack, or a crack that the whole wedge lies in front of: "beyond"), "cut" (a crack that cuts the top
    off), "closed" (a crack that closes a wedge without a top) or "near" (a vertex within a billionth of the size
    on the crack)."""
    (dip1, dir1, phi1, c1), (dip2, dir2, phi2, c2) = plane1, plane2
    a, b = normal(dip1, dir1), normal(dip2, dir2)
    f, d = normal(s["faceDip"], s["faceDir"]), normal(s["upperDip"], s["upperDir"])
    trace1 = np.cross(f, a)
    if trace1[2] < 0:
        trace1 = -trace1
    if not trace1[2] > 1e-9 * np.linalg.norm(trace1):
        return ("none",)
    C1 = s["height"] / trace1[2] * trace1
    upper = d @ C1
    C2 = meet(f, 0, b, 0, d, upper)
    line = np.cross(b, a)
    if line[2] < 0:
        line = -line
    if C2 is None or not upper > 0 or not line[2] > 1e-9 * np.linalg.norm(line) or not f @ line < 0:
        return ("none",)
    aIn = a if a @ C2 >= 0 else -a
    bIn = b if b @ C1 >= 0 else -b
    C3 = meet(a, 0, b, 0, d, upper)
    top = C3 is not None and C3 @ line > 0
    halves = [(f, 0.0), (d, upper), (-aIn, 0.0), (-bIn, 0.0)]
    kind = "plain"
    crack_force = np.zeros(3)
    if s["crack"] > 0:
        trace = np.cross(a, d)
        if f @ trace > 0:
            trace = -trace
        C1c = C1 + s["crack"] / np.linalg.norm(trace) * trace
        f5 = normal(s["crackDip"], s["crackDir"])
        if f5 @ (C1 - C1c) < 0:
            f5 = -f5
        c5 = f5 @ C1c
        size = max(s["height"], np.linalg.norm(C1), np.linalg.norm(C2), s["crack"])
        near = 1e-9 * size
        sides = [-c5, f5 @ C2 - c5] + ([f5 @ C3 - c5] if top else [])
        if sides[0] < -near or sides[1] < -near:
            return ("none",)
        if top and sides[2] > near:
            kind = "beyond"
        else:
            # A vertex within the tolerance of the crack counts as on it, on either side.
            kind = "near" if any(abs(x) <= near for x in sides) else "cut" if top else "closed"
            halves.append((-f5, -c5))
    if kind in ("plain", "beyond"):
        if not top:
            return ("none",)
    size = max(np.linalg.norm(C1), np.linalg.norm(C2), np.linalg.norm(C3) if top else 0, s["crack"])
    measured = clip(halves, size)
    if measured is None:
        return ("none",)
    volume, areas = measured
    A1, A2 = areas[2], areas[3]
    if len(halves) == 5:
        O5 = meet(a, 0, b, 0, f5, c5)
        u = s["water"] * max(0, (upper - d[0] * O5[0] - d[1] * O5[1]) / d[2] - O5[2]) / 3
        crack_force = u * areas[4] * f5
    else:
        u = s["water"] * C3[2] / 6
    W = s["rock"] * volume
    P = (np.array([0, 0, -W]) + s["anchor"] * force(s["anchorPlunge"], s["anchorTrend"]) +
         s["load"] * force(s["loadPlunge"], s["loadTrend"]) + u * A1 * aIn + u * A2 * bIn + crack_force)
    r = aIn @ bIn
    Fa, Fb = -P @ aIn, -P @ bIn
    N1, N2 = (Fa - r * Fb) / (1 - r * r), (Fb - r * Fa) / (1 - r * r)
    t1, t2 = math.tan(phi1 * RAD), math.tan(phi2 * RAD)
    along1, along2 = P - (P @ aIn) * aIn, P - (P @ bIn) * bIn
    both = N1 >= 0 and N2 >= 0
    on1 = Fa > 0 and along1 @ bIn > 0
    on2 = Fb > 0 and along2 @ aIn > 0
    free = P @ aIn >= 0 and P @ bIn >= 0
    if both + on1 + on2 + free != 1:
        return (kind, volume, None, "?")
    if free:
        resisting, driving, mode = 0, 1, "00"
    elif on1:
        resisting, driving, mode = Fa * t1 + c1 * A1, np.linalg.norm(along1), "10"
    elif on2:
        resisting, driving, mode = Fb * t2 + c2 * A2, np.linalg.norm(along2), "01"
    else:
        resisting, driving, mode = N1 * t1 + N2 * t2 + c1 * A1 + c2 * A2, -(P @ line) / np.linalg.norm(line), "11"
    factor = 0 if resisting < 0 else min(abs(resisting / driving), 99.99)
    return (kind, volume, factor, mode)


def written(value):
    """The cell of a value: two decimals cut from the value rounded to four."""
    return math.floor(round(value, 4) * 100 + 1e-9) / 100


# Slopes whose crack passes exactly through a vertex --------------------------------------------------------------

def vertex_slope(rng, which):
    """A random slope and families whose crack passes through the toe, the second crest point or the top of the
    wedge of families 1 and 2, which is a wedge without the crack."""
    while True:
        s, families = random_slope(rng), random_families(rng)
        s["seismic"], s["crack"] = 0.0, 0.0
        planes = [from_stored(*stored(dip, direction)) + (phi, c) for dip, direction, phi, c in families[:2]]
        if solid(s, *planes)[0] == "none":
            continue
        a, b = normal(*planes[0][:2]), normal(*planes[1][:2])
        f, d = normal(s["faceDip"], s["faceDir"]), normal(s["upperDip"], s["upperDir"])
        g = np.cross(f, a)
        if g[2] < 0:
            g = -g
        C1 = s["height"] / g[2] * g
        U = d @ C1
        trace = np.cross(a, d)
        if f @ trace > 0:
            trace = -trace
        trace /= np.linalg.norm(trace)
        f5 = normal(s["crackDip"], s["crackDir"])
        target = {"toe": np.zeros(3), "crest": meet(f, 0, b, 0, d, U), "top": meet(a, 0, b, 0, d, U)}[which]
        if abs(f5 @ trace) < 1e-3:
            continue
        s["crack"] = f5 @ (target - C1) / (f5 @ trace)
        if 0 < s["crack"] < 1e4:
            return s, families


def main():
    p = argomenti.parser(__doc__, __file__)
    p.add_argument("files", nargs="?", type=argomenti.whole_from(1), default=3000,
                   help="the random slope files (default 3000; a tenth as many more with a crack through a vertex)")
    p.add_argument("folders", nargs="*", metavar="program folder", type=argomenti.program_folder("peldrix"),
                   help="the old and the new program folder")
    args = p.parse_args()
    if len(args.folders) != 2:
        p.error("name the old and the new program folder")
    rng = random.Random(46)
    sessions = []
    for _ in range(args.files):
        sessions.append(("random", random_slope(rng), random_families(rng)))
    for k in range(args.files // 10):
        which = ("toe", "crest", "top")[k % 3]
        sessions.append((which,) + vertex_slope(rng, which))

    top = tempfile.mkdtemp(prefix="cunei_confronto.")
    workers = 4

    def prepare(w):
        programs = []
        for k, folder in enumerate(args.folders):
            program = os.path.join(top, "w%d_program%d" % (w, k))
            shutil.copytree(folder, program, symlinks=False)
            write(os.path.join(program, "language.cfg"), " 1 \n")
            programs.append(program)
        data = os.path.join(top, "w%d_data" % w)
        os.makedirs(data)
        return programs, data

    slots = [prepare(w) for w in range(workers)]

    def job(w):
        programs, data = slots[w]
        out = []
        for index in range(w, len(sessions), workers):
            sample, s, families = sessions[index]
            write_session(data, s, families)
            out.append((index, run(programs[0], data), run(programs[1], data)))
        return out

    with ThreadPoolExecutor(workers) as pool:
        results = [r for part in pool.map(job, range(workers)) for r in part]
    shutil.rmtree(top)

    kept = removed = added = pairs = 0
    kinds, unstable, refused, samples, vertex = {}, {}, [], {}, {}
    for index, old, new in sorted(results):
        sample, s, families = sessions[index]
        pairs += FAMILIES * (FAMILIES - 1) // 2
        key = lambda row: tuple(row.split(b"\t")[k] for k in (0, 1, 3, 4))
        new_keys = {key(row): row for row in new}
        for row in old:
            if new_keys.get(key(row)) == row:
                kept += 1
            else:
                removed += 1
                refused.append(("removed", index, row, None))
        old_keys = {key(row) for row in old}
        planes = [from_stored(*stored(dip, direction)) + (phi, c) for dip, direction, phi, c in families]
        cells = ["%.1f" % math.floor(pl[1] + 0.5) for pl in planes]
        if sample != "random":
            # The pair of families 1 and 2, whose crack passes through a vertex: is it a wedge, in each table?
            o = solid(s, planes[0], planes[1])
            first = (cells[0].encode(), cells[1].encode())
            rows = lambda table: any((r.split(b"\t")[0], r.split(b"\t")[3]) == first for r in table)
            count = vertex.setdefault(sample, [0, 0, 0])
            if o[0] != "none":
                count[0] += 1
                count[1] += rows(old)
                count[2] += rows(new)
        for row in new:
            if key(row) in old_keys:
                continue
            added += 1
            fields = row.decode("cp1252").split("\t")
            i, j = cells.index(fields[0]), cells.index(fields[3])
            plane_i = planes[i][:2] + (planes[i][2], planes[i][3])
            plane_j = planes[j][:2] + (planes[j][2], planes[j][3])
            o = solid(s, plane_i, plane_j)
            kind = o[0]
            kinds[kind] = kinds.get(kind, 0) + 1
            if float(fields[6]) < 1:
                unstable[kind] = unstable.get(kind, 0) + 1
            samples[sample] = samples.get(sample, 0) + 1
            if kind == "none":
                refused.append(("no wedge", index, row, o))
                continue
            volume_ok = abs(float(fields[7]) - (o[1] - 0.005)) <= 0.0051 + 1e-7 * o[1]
            factor_ok = s["seismic"] != 0 or (o[2] is not None and
                                              abs(float(fields[6]) - (o[2] - 0.005)) <= 0.0051 + 1e-6 * o[2])
            mode_ok = s["seismic"] != 0 or o[3] == ("1" if fields[2] == "SI" else "0") + (
                "1" if fields[5] == "SI" else "0")
            if not (volume_ok and factor_ok and mode_ok):
                refused.append(("differs", index, row, o))
    print("%d slope files (%d with a crack through a vertex), %d pairs" %
          (len(sessions), len(sessions) - args.files, pairs))
    print("rows of the old build: %d kept byte for byte, %d removed or changed" % (kept, removed))
    print("rows added: %d; by kind: %s; of those with a factor of safety below 1: %s; by sample: %s" %
          (added, kinds, unstable, samples))
    for which, (wedges, old_rows, new_rows) in sorted(vertex.items()):
        print("crack through the %s: %d wedges of the solid; the old build has a row for %d, the new for %d" %
              (which, wedges, old_rows, new_rows))
    print("added rows that the solid refuses or measures otherwise: %d" % len(refused))
    for what, index, row, o in refused[:20]:
        print("  %s: file %d %s: %s; the solid: %s" % (what, index, sessions[index][0], row.decode("cp1252"), o))
    return 1 if refused or removed else 0


if __name__ == "__main__":
    sys.exit(main())
