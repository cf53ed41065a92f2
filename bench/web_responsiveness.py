#!/usr/bin/env python3
"""The browser program in headless Chromium: the time of one pass of the main loop during a
drag at degree 9 (the core's frame and the present to the canvas) at 16, 128, 1,024 and 8,192
points, beside tavrimo_bench's BM_Frame for the same counts run in the same sitting; then real
drags at degree 9 with 1,024 and with 200 points, with the panel "Inside the curve" closed,
open, and open with every view of its operations on: positions shown per second, and the main
thread's time per position shown as the browser counts it (its TaskDuration: script, style,
layout and painting); with --scale also with 8,192 points; with --fit only drags with
"Through the points" open, at 1,024 points against the panel closed and at 200; and the CPU time of the browser's
renderer processes while the page is idle, the panel closed and open. Not a test: it prints
figures. Build the site and the benchmarks first (./scripts/web --build-only,
the linux preset); run with Debian's Python, which has Selenium:

usage: /usr/bin/python3 bench/web_responsiveness.py --site build/web
           [--bench build/linux/bench/tavrimo_bench] [--scale] [--fit]"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Failure, run_main, wait_until  # noqa: E402
from web_e2e import ActionBuilder, MouseButton, Site, fresh_tab, start_browser  # noqa: E402

COUNT_FRAMES = """
window.frames_shown = [];
if (!window.counting_frames) {
  window.counting_frames = true;
  const page = window.tavrimo.module.page, show = page.showFrame;
  page.showFrame = function () { window.frames_shown.push(performance.now()); show.apply(null, arguments); };
}
"""


COUNTS = (16, 128, 1024, 8192)

# The page's own module, driven directly: points placed by presses at places drawn by a fixed
# seed over the whole canvas (as BM_Frame spreads its points), one pass each at degree 1; then
# at degree 9 a point is picked and moved by one pixel to and fro, one pass a move, in batches
# of 20 passes timed together (performance.now() steps by 0.1 ms here).
PASSES = """
const M = window.tavrimo.module, counts = arguments[0], batches = arguments[1];
const language = M.language();
const busy = language.passes.busy;
function queue(kind, x, y, value) { M.queue(language.events[kind], x, y, value); }
function drain() { while (M.pass() === busy) {} }
let seed = 12345, placed = 0, last = [0, 0];
function random(n) { seed = (seed * 1103515245 + 12345) % 2147483648; return Math.floor(seed / 2147483648 * n); }
const result = {};
// Batches of 20 passes, each a one-pixel move of the picked point and `after`, timed together.
function timed(after) {
  const times = [];
  for (let b = 0; b < batches; ++b) {
    const start = performance.now();
    for (let i = 0; i < 20; ++i) {
      queue("move", Math.min(last[0] + (i % 2), 639), last[1], 0);
      M.pass();
      after();
    }
    times.push((performance.now() - start) / 20);
  }
  return times;
}
queue("key", 0, 0, 0x31); drain();
for (const count of counts) {
  queue("move", 0, 0, 0); drain();  // parked where no point is placed, so presses place
  while (placed < count) {
    const x = random(640), y = random(480);
    if (x < 7 && y < 7) continue;
    queue("ldown", x, y, 0); drain();
    placed += 1; last = [x, y];
  }
  queue("lup", 0, 0, 0); queue("key", 0, 0, 0x39); drain();
  queue("move", last[0], last[1], 0); queue("ldown", last[0], last[1], 0); drain();
  const times = timed(function () {});
  queue("lup", 0, 0, 0); queue("key", 0, 0, 0x31); drain();
  result[count] = times;
}
return result;
"""


# Every view of the panel's operations on, t in the middle of the domain and inserted three
# times, the triangle named by blossoms and shown level by level, the continuity listed.
EVERY_VIEW = """
function everyView() {
  for (const id of ["op-pieces", "op-raised", "op-first", "op-second", "op-comb", "op-ticks", "op-step"]) {
    const box = document.getElementById(id);
    if (!box.checked) { box.checked = true; box.dispatchEvent(new Event("change")); }
  }
  const labels = document.getElementById("op-labels");
  labels.value = "blossoms";
  labels.dispatchEvent(new Event("change"));
  document.getElementById("op-continuity-box").open = true;
  const slider = document.getElementById("t-slider");
  slider.value = String(Math.floor(Number(slider.max) / 2));
  slider.dispatchEvent(new Event("input"));
  for (let j = 0; j < 3; ++j) document.getElementById("op-insert").click();
}
"""

# Points placed through the module as PASSES places them, at degree 9; the last one's place.
PLACE = PASSES.replace("return result;", "return last;")


def native_frames(bench):
    """BM_Frame's min and median over 5 repeats, in ms, for each count."""
    filter_ = "BM_Frame/(" + "|".join(str(c) for c in COUNTS) + ")$"
    output = subprocess.run([bench, f"--benchmark_filter={filter_}", "--benchmark_repetitions=5",
                             "--benchmark_format=json"], capture_output=True, text=True,
                            check=True).stdout
    times = {}
    for run in json.loads(output)["benchmarks"]:
        if run.get("run_type") == "iteration":
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[run["time_unit"]]
            times.setdefault(int(run["run_name"].split("/")[1]), []).append(run["real_time"] * scale)
    return {count: (min(t), statistics.median(t)) for count, t in times.items()}


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


def drag_end(start, moves):
    """Where drag() leaves the point."""
    x = start[0] + (4 * moves) // 5 if start[0] < 320 else start[0] - (4 * moves) // 5
    return (min(max(x, 0), 639), start[1] + moves % 3 - 1)


def main_thread_seconds(browser):
    """The renderer's main thread busy so far, as Chromium counts it."""
    metrics = browser.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "TaskDuration")


def drag(browser, left, top, start, moves, per_frame=None):
    """Drags the point at start through real (WebDriver) moves; the frames shown, as a line.
    With per_frame, the main thread's milliseconds per frame shown are added to it."""
    browser.execute_script(COUNT_FRAMES)
    busy = main_thread_seconds(browser)
    start_x, start_y = start

    def steps(pointer):
        pointer.move_to_location(int(left + start_x), int(top + start_y))
        pointer.pointer_down(MouseButton.LEFT)
        for step in range(1, moves + 1):
            x, y = drag_end(start, step)
            pointer.move_to_location(int(left + x), int(top + y))
        pointer.pointer_up(MouseButton.LEFT)
    actions = ActionBuilder(browser, duration=0)
    steps(actions.pointer_action)
    sent = time.monotonic()
    actions.perform()
    sending = time.monotonic() - sent
    time.sleep(1)
    shown = browser.execute_script("return window.frames_shown")
    if len(shown) < 2:
        raise Failure(f"only {len(shown)} frames were shown during the drag")
    span = (shown[-1] - shown[0]) / 1000
    main = (main_thread_seconds(browser) - busy) * 1000 / len(shown)
    if per_frame is not None:
        per_frame.append(main)
    # Chromium delivers synthesized moves at its own frame pace; moves that arrive while a pass
    # is busy coalesce, so fewer frames than moves means the program fell behind.
    return (f"Chromium delivered them in {sending * 1000:.0f} ms; {len(shown)} frames shown in "
            f"{span * 1000:.0f} ms: {(len(shown) - 1) / span:.0f} positions shown per second, "
            f"the main thread busy {main:.2f} ms a position")


def idle(browser, what):
    time.sleep(2)
    before = renderer_seconds()
    time.sleep(10)
    used = renderer_seconds() - before
    print(f"idle page with 200 points at degree 9{what}: the renderer processes used "
          f"{used:.2f} s of CPU in 10 s ({used * 10:.1f} % of one core)")


def print_against_closed(times, degree, others):
    """The main thread's time per position in each of the others' drags, against the closed."""
    closed = times["closed"]
    print(f" 1024 points, degree {degree}, a real drag: the main thread per position shown, panel closed "
          f"{min(closed):.2f} / {statistics.median(closed):.2f} ms (min / median of 3)")
    for name, what in others:
        t = times[name]
        print(f"    panel {what}: {min(t):.2f} / {statistics.median(t):.2f} ms; / closed "
              f"{min(t) / min(closed):.2f} (min) {statistics.median(t) / statistics.median(closed):.2f} (median)")


def drags_at_1024(browser, open_page):
    """Real drags at 1,024 points and degree 9: the panel closed, open, and open with every
    view on; the main thread's time per position against the closed pass, in three rounds."""
    times = {"closed": [], "open": [], "every": []}
    for _ in range(3):
        left, top = open_page()
        last = browser.execute_script(PLACE, [1024], 0)
        end = drag_end(last, 300)
        drag(browser, left, top, last, 300, times["closed"])
        browser.find_element("css selector", "#inside-toggle").click()
        time.sleep(0.5)
        drag(browser, left, top, end, 300, times["open"])
        browser.execute_script(EVERY_VIEW + "everyView();")
        time.sleep(0.5)
        drag(browser, left, top, last, 300, times["every"])
    print_against_closed(times, 9, (("open", "open"), ("every", "open with every operation's view on")))


FIT = """
const page = window.tavrimo.page;
page.dispatch({ type: "view", change: { fit: arguments[0] } });
"""


def drags_with_fit(browser, open_page):
    """"Through the points" at degree 3: real drags at 1,024 points with the panel closed and with
    the part open on an interpolant, in three rounds, and at 200 points with it open on least
    squares: positions shown per second."""
    times = {"closed": [], "open": [], "fit": []}
    for _ in range(3):
        left, top = open_page()
        last = browser.execute_script(PLACE, [1024], 0)
        browser.find_element("css selector", "#tavrimo").send_keys("3")
        time.sleep(0.5)
        end = drag_end(last, 300)
        drag(browser, left, top, last, 300, times["closed"])
        browser.find_element("css selector", "#inside-toggle").click()
        time.sleep(0.5)
        drag(browser, left, top, end, 300, times["open"])
        browser.execute_script(FIT, "interpolate")
        time.sleep(0.5)
        if browser.execute_script("return tavrimo.fit().fault;"):
            raise Failure("no fit of the 1,024 points: " + browser.execute_script("return tavrimo.fit().fault;"))
        drag(browser, left, top, last, 300, times["fit"])
    print_against_closed(times, 3, (("open", "open"), ("fit", "open, interpolating all the points")))
    left, top = open_page()
    browser.execute_script(PLACE, [200], 0)
    browser.find_element("css selector", "#tavrimo").send_keys("3")
    browser.find_element("css selector", "#inside-toggle").click()
    browser.execute_script(FIT, "leastsquares")
    time.sleep(1)
    last = browser.execute_script("const p = tavrimo.module.pointsView(); return [p[p.length - 2], "
                                  "tavrimo.editor.geometry.worldOriginRow - p[p.length - 1]];")
    print(" 200 points, degree 3, least squares on: " + drag(browser, left, top, last, 500))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--bench", default="build/linux/bench/tavrimo_bench")
    parser.add_argument("--scale", action="store_true",
                        help="also drag a point through 300 moves at 8,192 points")
    parser.add_argument("--fit", action="store_true",
                        help="only the drags with \"Through the points\" open")
    options = parser.parse_args()
    if not os.access(options.bench, os.X_OK):
        raise Failure(f"no {options.bench}: build the linux preset first")
    site = Site(os.path.abspath(options.site))
    browser = start_browser()

    def open_page():
        fresh_tab(browser)
        browser.get(site.url)
        browser.execute_cdp_cmd("Performance.enable", {})
        wait_until("the page", lambda: browser.execute_script(
            "return document.querySelectorAll('#menubar button.popup').length === 3 || null"),
            timeout=30)
        return browser.execute_script(
            "const r = document.getElementById('tavrimo').getBoundingClientRect();"
            "return [r.left, r.top];")

    try:
        open_page()
        browser.set_script_timeout(600)
        if options.fit:
            drags_with_fit(browser, open_page)
            return 0
        passes = browser.execute_script(PASSES, list(COUNTS), 10)
        native = native_frames(options.bench)
        for count in COUNTS:
            times = passes[str(count)]
            low, middle = min(times), statistics.median(times)
            native_low, native_middle = native[count]
            print(f"{count:5} points, degree 9: browser pass {low:.3f} / {middle:.3f} ms "
                  f"(min / median of 10 batches of 20); native BM_Frame/{count} "
                  f"{native_low:.3f} / {native_middle:.3f} ms; browser / native "
                  f"{low / native_low:.2f} (min) {middle / native_middle:.2f} (median)")
        drags_at_1024(browser, open_page)
        left, top = open_page()
        points = [(20 + 30 * (n % 20), 20 + 45 * (n // 20)) for n in range(200)]
        actions = ActionBuilder(browser, duration=0)
        for x, y in points:
            actions.pointer_action.move_to_location(int(left + x), int(top + y))
            actions.pointer_action.pointer_down(MouseButton.LEFT).pointer_up(MouseButton.LEFT)
        actions.perform()
        browser.find_element("css selector", "#tavrimo").send_keys("9")
        time.sleep(1)
        closed = []
        print("dragging through 500 moves at degree 9 with 200 points: " +
              drag(browser, left, top, points[105], 500, closed))

        idle(browser, "")

        # The same with the panel "Inside the curve" open: the overlay follows every frame.
        browser.find_element("css selector", "#inside-toggle").click()
        time.sleep(1)
        print("with the panel open, dragging back through 500 moves: " +
              drag(browser, left, top, drag_end(points[105], 500), 500))
        idle(browser, ", the panel open")
        browser.execute_script("const m = document.getElementById('knot-mode'); m.value = 'custom';"
                               "m.dispatchEvent(new Event('change'));")
        time.sleep(1)
        print("with the panel open on custom knots, dragging through 500 moves: " +
              drag(browser, left, top, points[105], 500))
        idle(browser, ", the panel open on custom knots")
        browser.execute_script(EVERY_VIEW + "everyView();")
        time.sleep(1)
        every = []
        print("with every operation's view on (custom knots), dragging back through 500 moves: " +
              drag(browser, left, top, drag_end(points[105], 500), 500, every))
        print(f"  200 points: the main thread {every[0]:.2f} ms a position with every view on, "
              f"{closed[0]:.2f} ms closed")
        idle(browser, ", every operation's view on")

        if options.scale:
            left, top = open_page()
            last = browser.execute_script(PLACE, [8192], 0)
            browser.find_element("css selector", "#tavrimo").send_keys("9")
            time.sleep(1)
            print("dragging through 300 moves at degree 9 with 8,192 points: " +
                  drag(browser, left, top, last, 300))
    finally:
        browser.quit()
        site.close()
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
