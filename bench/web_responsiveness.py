#!/usr/bin/env python3
"""The browser program in headless Chromium: positions shown per second while a point is
dragged at degree 9 with 200 points, and the CPU time of the browser's renderer processes while
the page is idle. Not a test: it prints figures. Build the site first (./scripts/web
--build-only); run with Debian's Python, which has Selenium:

usage: /usr/bin/python3 bench/web_responsiveness.py --site build/web"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Failure, run_main, wait_until  # noqa: E402
from web_e2e import ActionBuilder, MouseButton, Site, start_browser  # noqa: E402

COUNT_FRAMES = """
window.frames_shown = [];
const show = Tavrimo.showFrame;
Tavrimo.showFrame = function () { window.frames_shown.push(performance.now()); show.apply(null, arguments); };
"""


def renderer_seconds():
    """CPU seconds used so far by every Chromium renderer process."""
    total = 0.0
    pids = subprocess.run(["pgrep", "-f", "type=renderer"], capture_output=True,
                          text=True).stdout.split()
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            total += (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        except (OSError, IndexError):
            pass
    return total


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    options = parser.parse_args()
    site = Site(os.path.abspath(options.site))
    browser = start_browser()
    try:
        browser.get(site.url)
        wait_until("the page", lambda: browser.execute_script(
            "return document.querySelectorAll('#menubar button.popup').length === 3 || null"),
            timeout=30)
        left, top = browser.execute_script(
            "const r = document.getElementById('tavrimo').getBoundingClientRect();"
            "return [r.left, r.top];")

        def act(steps):
            actions = ActionBuilder(browser, duration=0)
            steps(actions.pointer_action)
            actions.perform()

        points = [(20 + 30 * (n % 20), 20 + 45 * (n // 20)) for n in range(200)]

        def place(pointer):
            for x, y in points:
                pointer.move_to_location(int(left + x), int(top + y))
                pointer.pointer_down(MouseButton.LEFT).pointer_up(MouseButton.LEFT)
        act(place)
        browser.find_element("css selector", "#tavrimo").send_keys("9")
        time.sleep(1)
        browser.execute_script(COUNT_FRAMES)

        start_x, start_y = points[105]

        def drag(pointer):
            pointer.move_to_location(int(left + start_x), int(top + start_y))
            pointer.pointer_down(MouseButton.LEFT)
            for step in range(1, 501):
                pointer.move_to_location(int(left + start_x + (4 * step) // 5),
                                         int(top + start_y + step % 3 - 1))
            pointer.pointer_up(MouseButton.LEFT)
        sent = time.monotonic()
        act(drag)
        sending = time.monotonic() - sent
        time.sleep(1)
        shown = browser.execute_script("return window.frames_shown")
        if len(shown) < 2:
            raise Failure(f"only {len(shown)} frames were shown during the drag")
        span = (shown[-1] - shown[0]) / 1000
        # Chromium delivers synthesized moves at its own frame pace; moves that arrive while
        # a pass is busy coalesce, so fewer frames than moves means the program fell behind.
        print(f"dragging through 500 moves at degree 9 with 200 points: Chromium delivered "
              f"them in {sending * 1000:.0f} ms; {len(shown)} frames shown in "
              f"{span * 1000:.0f} ms: {(len(shown) - 1) / span:.0f} positions shown per second")

        time.sleep(2)
        before = renderer_seconds()
        time.sleep(10)
        used = renderer_seconds() - before
        print(f"idle page with 200 points at degree 9: the renderer processes used "
              f"{used:.2f} s of CPU in 10 s ({used * 10:.1f} % of one core)")
    finally:
        browser.quit()
        site.close()
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
