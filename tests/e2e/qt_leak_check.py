#!/usr/bin/env python3
"""Runs the Linux program under valgrind through a scripted session (placing, dragging,
degrees, a message box, "Clear Lines", more points, then "Quit") and requires that nothing
leaked: 0 bytes definitely and 0 bytes indirectly lost.

usage: qt_leak_check.py --exe tavrimo --x11-tool x11_tool --replay tavrimo_replay --artifacts DIR

Qt's GLib event dispatcher and its D-Bus connection keep per-thread allocations of their
own that valgrind reports at exit; the session runs with QT_NO_GLIB=1 and no session bus so
that what is left to report is the program's own."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

from desktop import Display, Failure, run_main
from qt_e2e import QtEditor
from session import CLEAR_LINES, DEGREE, DEGREE_2, FILE, HELP, INSTRUCTIONS_ITEM, QUIT


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--x11-tool", required=True)
    parser.add_argument("--replay", required=True)
    parser.add_argument("--artifacts", required=True)
    options = parser.parse_args()
    options.exe = os.path.abspath(options.exe)
    shutil.rmtree(options.artifacts, ignore_errors=True)
    os.makedirs(options.artifacts)
    log = os.path.join(os.path.abspath(options.artifacts), "valgrind.log")

    display = Display()
    app = QtEditor(display, options, "leaks",
                   launcher=["valgrind", "--leak-check=full", f"--log-file={log}"],
                   env={"QT_NO_GLIB": "1", "DBUS_SESSION_BUS_ADDRESS": "disabled:"})
    try:
        app.start()
        ui = app.input
        # Under valgrind each step takes a while: let it settle rather than compare frames.
        for x, y in [(100, 100), (200, 300), (300, 120), (400, 350), (500, 200)]:
            ui.click(x, y)
            time.sleep(0.3)
        ui.drag(1, (200, 300), (250, 260))
        ui.key("7", 0x37)
        app.choose(DEGREE, 1, DEGREE_2)
        time.sleep(1)
        app.choose(HELP, 0, INSTRUCTIONS_ITEM)
        app.message_box("Instructions", None)
        app.choose(FILE, 0, CLEAR_LINES)
        time.sleep(1)
        for x, y in [(120, 140), (220, 240)]:
            ui.click(x, y)
            time.sleep(0.3)
        app.choose(FILE, 1, QUIT)
        app.wait_for_exit("Quit under valgrind", timeout=180)
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"FAILED the scripted session: {failure}")
        print("leak check: 0 passed, 1 failed")
        return 1
    finally:
        app.stop()
        display.close()

    with open(log) as f:
        report = f.read()
    lost = {kind: int(re.search(rf"{kind} lost: ([\d,]+) bytes", report).group(1).replace(",", ""))
            for kind in ("definitely", "indirectly")}
    print(f"valgrind: definitely lost {lost['definitely']} bytes, indirectly lost "
          f"{lost['indirectly']} bytes (report in {log})")
    failed = 1 if any(lost.values()) else 0
    print(f"leak check: {1 - failed} passed, {failed} failed")
    return failed


if __name__ == "__main__":
    sys.exit(run_main(main))
