#!/usr/bin/python3 -B
"""Start-up of frattix32 (to its ready window) and of peldrix (5 families) beside their floors, a Qt Widgets and a
Qt console "hello", built in the same Release tree and run in turn (A B A B ...): medians and the median of the
pairwise ratios.
    benchmarks/startup.py [runs]        (default 21)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The command lines of the scripts are read by one module, in scripts/.
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import argomenti  # noqa: E402

BUILD = os.environ.get("FRATTIX_BENCH_BUILD", os.path.join(ROOT, "build-bench"))
TARGETS = "frattix32 peldrix install_data bench_hello_widgets bench_hello_console"


def build():
    subprocess.run([os.path.join(ROOT, "scripts", "build"), BUILD, "-DFRATTIX_BENCHMARKS=ON",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL,
                   env=dict(os.environ, FRATTIX_BUILD_TARGETS=TARGETS))


def write(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("latin-1"))


def prepare(top):
    """A program folder (the executables and the installation data) and a data folder with a session of 5 families."""
    program, data = os.path.join(top, "program"), os.path.join(top, "data")
    os.makedirs(data)
    shutil.copytree(os.path.join(BUILD, "bin"), program)
    write(os.path.join(program, "language.cfg"), " 1 \n")
    write(os.path.join(program, "temporan"), "0\n-2\n\n 1 \nrilievo.sch\nbench.ses\n")
    families = [(40, 120), (55, 200), (70, 310), (25, 30), (80, 160)]
    dat = "\n" * 9 + " 5 \n"
    for dip, direction in families:
        i = (90 - dip) * 3.141592653589793 / 180
        d = ((90 - direction) % 360) * 3.141592653589793 / 180
        dat += "%.7g\n%.7g\n%.7g\n%.7g\n" % (i, d, i, d)
    dat += " 5 \n .35 \n" + "".join(" 1 \n %d \n" % f for f in range(1, 6))
    write(os.path.join(data, "bench.dat"), dat)
    write(os.path.join(data, "bench.fro"), "65\n185\n12\n195\n5\n30\n2.6\n1\n30\n300\n70\n200\n500\n20\n10\n0\n70\n165\n0\n")
    write(os.path.join(data, "frattix32.script"), "close menu1\n")
    return program, data


def timed(command, env, cwd):
    # A blocking wait for the child: a wait with a timeout polls it with sleeps of 1, 2, 4, 8 ... ms, which rounds
    # every time up to the next poll (3.5, 7.5, 15.5 ms). A watchdog ends a run that hangs instead.
    children = []
    watchdog = threading.Timer(60, lambda: [c.kill() for c in children])
    watchdog.start()
    try:
        start = time.perf_counter()
        child = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        children.append(child)
        code = child.wait()
        elapsed = (time.perf_counter() - start) * 1000
    finally:
        watchdog.cancel()
    if code != 0:
        sys.exit("%s ended with %d" % (command[0], code))
    return elapsed


def compare(name, a, b, runs, env, cwd):
    timed(a, env, cwd), timed(b, env, cwd)  # warm-up
    ta, tb = [], []
    for _ in range(runs):
        ta.append(timed(a, env, cwd))
        tb.append(timed(b, env, cwd))
    ratio = statistics.median(x / y for x, y in zip(ta, tb))
    print("%-34s %8.1f ms   floor %8.1f ms   ratio %5.2fx" % (name, statistics.median(ta), statistics.median(tb), ratio))


def main():
    p = argomenti.parser(__doc__, __file__)
    p.add_argument("runs", nargs="?", type=argomenti.whole_from(1), default=21,
                   help="paired runs of each comparison (default 21)")
    runs = p.parse_args().runs
    build()
    floors = os.path.join(BUILD, "benchmarks")
    with tempfile.TemporaryDirectory() as top:
        program, data = prepare(top)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", FRATTIX_DRIVE_C=data)
        env.pop("FRATTIX_UI_LOG", None)
        print("median of %d paired runs (A B A B ...), whole processes" % runs)
        # peldrix first: frattix32's exit deletes the hand-over file peldrix reads.
        compare("peldrix, 5 families", [os.path.join(program, "peldrix")],
                [os.path.join(floors, "bench_hello_console")], runs,
                {k: v for k, v in env.items() if k != "FRATTIX_UI_SCRIPT"}, data)
        compare("frattix32 to its ready window", [os.path.join(program, "frattix32"), "none"],
                [os.path.join(floors, "bench_hello_widgets")], runs,
                dict(env, FRATTIX_UI_SCRIPT=os.path.join(data, "frattix32.script")), data)


if __name__ == "__main__":
    main()
