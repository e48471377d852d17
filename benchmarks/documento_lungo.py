#!/usr/bin/python3 -B
"""A report with one long table (the wedge table of a large session: 8 columns) exported by wenlow, then opened by
LibreOffice (soffice --headless --convert-to pdf), timed as whole runs; the program folders given are timed in
turn, so that two builds compare in one run. A conversion that takes longer than the limit is stopped and shown as
"> limit".
    benchmarks/documento_lungo.py [rows] [limit seconds] [program folder ...]   (default 15000 rows, 1800 s,
                                                                                 build/bin)
"""
import os
import shutil
import signal
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
        f.write(text.replace("\n", "\r\n").encode("cp1252"))


def document(path, rows):
    head = "imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]"
    lines = ["#RESET 2,2,2,2,2,2,10,Arial", "#HEADER Program FRATTIX", "#CENTER", "FATTORI DI SICUREZZA", "#LEFT",
             "#STARTTABLE", head]
    for i in range(rows):
        lines.append("%.1f\t%.1f\t%s\t%.1f\t%.1f\t%s\t%.2f\t%.2f" % (
            (i * 7) % 360, 10 + i % 80, "SI" if i % 3 else "NO", (i * 13) % 360, 5 + i % 85, "NO" if i % 5 else "SI",
            0.5 + (i % 400) / 100, 1 + (i % 1000) * 0.37))
    lines += ["#ENDTABLE", "#ENDDOCUMENT"]
    write(path, "\n".join(lines) + "\n")


def main():
    p = argomenti.parser(__doc__, __file__)
    p.add_argument("rows", nargs="?", type=argomenti.whole_from(1), default=15000,
                   help="rows of the table (default 15000)")
    p.add_argument("limit", nargs="?", type=argomenti.seconds, default=1800,
                   help="seconds after which a conversion is stopped (default 1800)")
    p.add_argument("folders", nargs="*", metavar="program folder", type=argomenti.program_folder("wenlow"),
                   help="the program folders timed in turn (default build/bin)")
    args = p.parse_args()
    rows, limit = args.rows, args.limit
    folders = argomenti.program_folders(p, args, "wenlow", ROOT)
    if not shutil.which("soffice"):
        p.error("LibreOffice's soffice is not installed (apt-get install libreoffice-writer-nogui)")
    with tempfile.TemporaryDirectory() as top:
        for k, folder in enumerate(folders):
            program, data = os.path.join(top, "program%d" % k), os.path.join(top, "data%d" % k)
            shutil.copytree(folder, program)
            os.makedirs(data)
            write(os.path.join(program, "language.cfg"), " 1 \n")
            document(os.path.join(data, "lungo.tab"), rows)
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=data)
            for v in ("FRATTIX_UI_LOG", "FRATTIX_UI_SCRIPT"):
                env.pop(v, None)
            start = time.perf_counter()
            subprocess.run([os.path.join(program, "wenlow"), os.path.join(data, "lungo.tab")], env=env, cwd=data,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=1800)
            export = time.perf_counter() - start
            # LibreOffice keeps its profile in a folder of its own for the run.
            profile = "file://" + os.path.join(top, "profile%d" % k)
            start = time.perf_counter()
            # A session of its own, so that a conversion that runs too long is stopped with everything it started.
            soffice = subprocess.Popen(["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to",
                                        "pdf", "--outdir", data, os.path.join(data, "lungo.DOC")], env=env, cwd=data,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
            try:
                soffice.wait(timeout=limit)
                opened = time.perf_counter() - start
                result = "%.1f s" % opened if os.path.exists(os.path.join(data, "lungo.pdf")) else "no PDF"
            except subprocess.TimeoutExpired:
                os.killpg(soffice.pid, signal.SIGKILL)
                soffice.wait()
                result = "> %.0f s" % limit
            print("%s: %d rows, wenlow %.1f s, LibreOffice %s" % (folder, rows, export, result), flush=True)


if __name__ == "__main__":
    main()
