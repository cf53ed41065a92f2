#!/usr/bin/env python3
"""Idle cost of the editor: starts each program in a private Xvfb display (the Windows one
under whichever Wine this machine runs), and with no input at all measures the CPU time its
own process uses over a quiet interval, first with an empty scene, then with 200 points at
degree 9 placed with real clicks. Prints % of one core per case, with the X server's (and
wineserver's) share beside it. Not a test: it prints figures.

usage: idle_cpu.py --qt tavrimo --win32 BUILD --win64 BUILD --x11-tool x11_tool
                   --replay tavrimo_replay [--seconds 10] [--only qt|windows]"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Display, run, run_main  # noqa: E402
from qt_e2e import QtEditor, CANVAS_WIDTH, CANVAS_HEIGHT  # noqa: E402
from win32_e2e import WineEditor, choose_wine, make_prefix  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """utime + stime of one process, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def wineserver_pids():
    result = subprocess.run(["pgrep", "-x", "wineserver(32|64)?"], capture_output=True, text=True)
    return [int(p) for p in result.stdout.split()]


def measure(pids, seconds):
    """% of one core each process used over the interval."""
    before = {name: sum(cpu_seconds(p) for p in group) for name, group in pids.items()}
    start = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    return {name: 100 * (sum(cpu_seconds(p) for p in group) - before[name]) / elapsed
            for name, group in pids.items()}


def place_points(app):
    """200 points with real clicks in one burst, then degree 9 by its key; the picture is
    checked, so the scene measured is the one intended."""
    ui = app.input
    cx, cy, _, _ = ui.client
    commands = []
    for n in range(200):
        x, y = 20 + 30 * (n % 20), 20 + 45 * (n // 20)
        commands += ["mousemove", str(cx + x), str(cy + y), "mousedown", "1", "mouseup", "1",
                     "sleep", "0.01"]
        ui.expect.add(f"move {x} {y}")
        ui.expect.add(f"ldown {x} {y}")
        ui.expect.add("lup")
    run(["xdotool", *commands], env=app.display.env, timeout=300)
    ui.move(CANVAS_WIDTH - 10, CANVAS_HEIGHT - 10)
    ui.key("9", 0x39)
    ui.check_frame("200-points-degree-9")


def report(program, case, shares):
    own = shares.pop("program")
    others = ", ".join(f"{name} {share:.1f} %" for name, share in shares.items())
    print(f"{program:8} {case:28} {own:5.1f} % of one core   ({others})")


def measure_program(program, app, server_pids, seconds):
    app.start()
    time.sleep(1)  # let start-up work finish
    pids = {"program": [app.process.pid], **server_pids()}
    report(program, "empty scene", measure(pids, seconds))
    place_points(app)
    time.sleep(1)
    pids = {"program": [app.process.pid], **server_pids()}
    report(program, "200 points, degree 9", measure(pids, seconds))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--qt", required=True, help="the Linux program")
    parser.add_argument("--win32", required=True, help="the win32 preset's build tree")
    parser.add_argument("--win64", required=True, help="the win64 preset's build tree")
    parser.add_argument("--x11-tool", required=True)
    parser.add_argument("--replay", required=True)
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--only", choices=("qt", "windows"))
    options = parser.parse_args()
    options.exe = os.path.abspath(options.qt)
    options.artifacts = tempfile.mkdtemp(prefix="tavrimo-idle-")

    if options.only != "windows":
        display = Display()
        app = QtEditor(display, options, "idle-qt")
        try:
            measure_program("Linux", app, lambda: {"X server": [display.process.pid]},
                            options.seconds)
        finally:
            app.stop()
            display.close()

    if options.only != "qt":
        wine = choose_wine(options)
        print(wine.describe())
        display = Display()
        prefix = os.path.join(options.artifacts, "wineprefix")
        try:
            make_prefix(wine, display, prefix)
            app = WineEditor(display, options, wine, "idle-windows")
            try:
                measure_program("Windows", app, lambda: {
                    "X server": [display.process.pid],
                    "wineserver": wineserver_pids()}, options.seconds)
            finally:
                app.stop()
        finally:
            run([wine.server, "-k"], env=wine.env, check=False)
            display.close()
    shutil.rmtree(options.artifacts, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
