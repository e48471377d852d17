#!/usr/bin/python3 -B
"""The report preview kept open: 10, 20, 40 and 80 previews of the sheet report of a survey sheet of 500 records in
one run of frattix32 (each appended below the ones before), timed as whole runs, and 80 previews with the window
closed after each one; the program folders given are timed in turn, so that two builds compare in one run.
    benchmarks/anteprime.py [runs] [program folder ...]      (default 3 runs of build/bin)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The command lines of the scripts are read by one module, in scripts/.
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import argomenti  # noqa: E402


def write(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("latin-1"))


def sheet(path):
    """A survey sheet of 500 records: the example sheet's header and records repeated at growing distances."""
    with open(os.path.join(ROOT, "examples", "fronte_est.sch"), "rb") as f:
        lines = f.read().decode("latin-1").replace("\r\n", "\n").split("\n")
    header, records = lines[:9], [r for r in lines[10:] if r.strip()]
    out = []
    for i in range(500):
        r = records[i % len(records)]
        out.append(r[:3] + ("%5.1f" % (0.4 + i * 0.1)).ljust(5) + r[8:])
    write(path, "\n".join(header) + "\n 500 \n" + "\n".join(out) + "\n")


def run(program, data, previews, close):
    script = "".join("menu StampaAnteprimaScheda\nfile rilievo.sch\n" + ("close Form1\n" if close else "")
                     for _ in range(previews)) + "close menu1\n"
    write(os.path.join(data, "frattix32.script"), script)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", FRATTIX_UI_SCRIPT=os.path.join(data, "frattix32.script"),
               FRATTIX_DRIVE_C=data, HOME=data)
    env.pop("FRATTIX_UI_LOG", None)
    start = time.perf_counter()
    r = subprocess.run([os.path.join(program, "frattix32"), os.path.join(data, "rilievo.ses")], env=env, cwd=data, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, timeout=1800)
    elapsed = time.perf_counter() - start
    if r.returncode != 0:
        sys.exit("frattix32 in %s ended with %d: %s" % (program, r.returncode, r.stderr.decode(errors="replace")))
    return elapsed


def main():
    p = argomenti.parser(__doc__, __file__)
    p.add_argument("runs", nargs="?", type=argomenti.whole_from(1), default=3,
                   help="runs of each case (default 3)")
    p.add_argument("folders", nargs="*", metavar="program folder", type=argomenti.program_folder("frattix32"),
                   help="the program folders timed in turn (default build/bin)")
    args = p.parse_args()
    runs = args.runs
    folders = argomenti.program_folders(p, args, "frattix32", ROOT)
    cases = [(10, False), (20, False), (40, False), (80, False), (80, True)]
    with tempfile.TemporaryDirectory() as top:
        programs = []
        for k, folder in enumerate(folders):
            program = os.path.join(top, "program%d" % k)
            shutil.copytree(folder, program)
            write(os.path.join(program, "language.cfg"), " 1 \n")
            programs.append(program)
        data = os.path.join(top, "data")
        os.makedirs(data)
        sheet(os.path.join(data, "rilievo.sch"))
        write(os.path.join(data, "rilievo.ses"), " 1 \nrilievo.sch\n")
        times = {}
        for _ in range(runs):
            for case in cases:
                for k, program in enumerate(programs):
                    times.setdefault((case, k), []).append(run(program, data, *case))
        for case in cases:
            label = "%d previews%s" % (case[0], ", window closed after each" if case[1] else "")
            cells = ["%s %.2f s" % (folders[k], statistics.median(times[(case, k)])) for k in range(len(programs))]
            if len(programs) == 2:
                cells.append("ratio %.2f" % (statistics.median(times[(case, 0)]) / statistics.median(times[(case, 1)])))
            print("%-42s %s" % (label, "   ".join(cells)))


if __name__ == "__main__":
    main()
