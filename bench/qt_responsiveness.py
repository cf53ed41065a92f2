#!/usr/bin/env python3
"""Responsiveness of the Linux program under Xvfb. Not a test: it prints figures.

Small scene: places 200 points, selects degree 9, drags one point through 500 pointer moves,
and reports how long after the last move the screen shows the point at its final place, and
how many input messages the program handled per second while the points were placed.

Scale (--scale): places 8192 points spread by a fixed seed, selects degree 9, and drags the
last point up and down a strip the others leave empty, one position at a time: each move waits
until the screen shows the point's marker there. Reports positions shown per second.

usage: qt_responsiveness.py --exe tavrimo --x11-tool x11_tool --replay tavrimo_replay [--scale]"""

import argparse
import os
import random
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Display, Failure, run, run_main  # noqa: E402
from qt_e2e import QtEditor  # noqa: E402

GREEN = (0, 255, 0)


def pixel(image, x, y):
    width, _, pixels = image
    index = (y * width + x) * 3
    return tuple(pixels[index:index + 3])


def new_green_pixel(before, after, around):
    """A pixel near `around` that is green in `after` and not in `before`."""
    cx, cy = around
    for y in range(cy - 4, cy + 4):
        for x in range(cx - 4, cx + 4):
            if pixel(after, x, y) == GREEN and pixel(before, x, y) != GREEN:
                return x, y
    raise Failure(f"no new green pixel around {around}")


def wait_for_pixel(options, display, screen_xy, timeout_ms=20000):
    result = run([options.x11_tool, "wait-pixel", str(screen_xy[0]), str(screen_xy[1]), "00ff00",
                  str(timeout_ms)], env=display.env, timeout=timeout_ms / 1000 + 10)
    return float(result.stdout.strip())


def wait_until_idle(process):
    """Until the program's main thread stops using the processor: its queue is empty."""
    def busy_nanoseconds():
        with open(f"/proc/{process.pid}/schedstat") as stat:
            return int(stat.read().split()[0])
    before = busy_nanoseconds()
    while True:
        time.sleep(0.1)
        now = busy_nanoseconds()
        if now - before < 2_000_000:
            return
        before = now


def place_in_bursts(options, display, ui, points, burst, process=None):
    """Places the points, a move, a press and a release each, sent by xdotool in bursts of
    `burst` points. With a process, waits after each burst until it has handled it: like
    Windows, the program keeps at most 10,000 pending input messages and drops the rest.
    Returns the seconds until the last point's marker showed, and xdotool's own."""
    cx, cy, _, _ = ui.client
    bursts = []
    for first in range(0, len(points), burst):
        commands = []
        for x, y in points[first:first + burst]:
            commands += ["mousemove", str(cx + x), str(cy + y), "mousedown", "1", "mouseup", "1"]
            ui.expect.add(f"move {x} {y}")
            ui.expect.add(f"ldown {x} {y}")
            ui.expect.add("lup")
        bursts.append(commands)
    before, _ = ui.expect.render(640, 480, "before-last-point")
    # The frame without the last point tells which pixels the last marker adds.
    last = ui.expect.events[-3:]
    ui.expect.events = ui.expect.events[:-3]
    without_last, _ = ui.expect.render(640, 480, "without-last-point")
    ui.expect.events += last
    marker = new_green_pixel(without_last, before, points[-1])
    start = time.monotonic()
    for commands in bursts:
        run(["xdotool", *commands], env=display.env, timeout=600)
        if process is not None:
            wait_until_idle(process)
    sent = time.monotonic()
    shown = wait_for_pixel(options, display, (cx + marker[0], cy + marker[1]), 600000)
    return shown - start, sent - start


def small_scene(options, display):
    app = QtEditor(display, options, "bench")
    try:
        app.start()
        ui = app.input
        cx, cy, _, _ = ui.client

        # 200 points on a 20 x 10 grid.
        points = [(20 + 30 * (n % 20), 20 + 45 * (n // 20)) for n in range(200)]
        placing, sending = place_in_bursts(options, display, ui, points, burst=len(points))
        messages = 3 * len(points)

        ui.move(630, 470)
        ui.key("9", 0x39)
        ui.check_frame("degree-9")

        # Drag point 105 through 500 moves, rightwards with a small vertical jitter.
        start_x, start_y = points[105]
        ui.move(start_x, start_y)
        ui.press(1)
        path = [(start_x + (4 * step) // 5, start_y + step % 3 - 1) for step in range(1, 501)]
        final = path[-1]
        before_drag, _ = ui.expect.render(640, 480, "before-drag")
        for x, y in path:
            ui.expect.add(f"move {x} {y}")
        after_drag, _ = ui.expect.render(640, 480, "after-drag")
        target = new_green_pixel(before_drag, after_drag, final)
        moves = []
        for x, y in path:
            moves += ["mousemove", str(cx + x), str(cy + y)]
        drag_start = time.monotonic()
        run(["xdotool", *moves], env=display.env, timeout=120)
        last_move = time.monotonic()
        final_shown = wait_for_pixel(options, display, (cx + target[0], cy + target[1]))
        ui.release(1)
        ui.check_frame("after-drag")  # the whole picture is right, not just one pixel

        print(f"placing 200 points: {messages} messages in {placing * 1000:.0f} ms "
              f"(xdotool sent them in {sending * 1000:.0f} ms): "
              f"{messages / placing:.0f} messages handled per second")
        print(f"dragging through 500 moves at degree 9 with 200 points: sent in "
              f"{(last_move - drag_start) * 1000:.0f} ms; final picture "
              f"{(final_shown - last_move) * 1000:.1f} ms after the last move")
        run([options.x11_tool, "close", app.window], env=display.env)
        app.wait_for_exit("close")
    finally:
        app.stop()


STRIP_X = 600  # no point but the dragged one lies right of column 560


def scale_scene(options, display):
    app = QtEditor(display, options, "bench-scale")
    try:
        app.start()
        ui = app.input
        cx, cy, _, _ = ui.client

        # Cells of a 5-pixel grid in a random order, so that no click picks an earlier point.
        cells = [(x, y) for x in range(5, 555, 5) for y in range(5, 475, 5)]
        points = random.Random(20261208).sample(cells, 8191) + [(STRIP_X, 240)]
        placing, _ = place_in_bursts(options, display, ui, points, 100, app.process)
        print(f"placing {len(points)} points: {placing:.1f} s")
        ui.check_frame("placed")

        ui.move(630, 470)
        ui.key("9", 0x39)
        ui.check_frame("degree-9")

        # Up and down the strip in steps of 12 rows, so that each new marker lies clear of
        # the last; the watched pixel is in the marker's right column, which the polygon
        # line from the points on the left never reaches.
        ui.move(STRIP_X, 240)
        ui.press(1)
        rows = list(range(240, 20, -12)) + list(range(20, 460, 12)) + list(range(460, 240, -12))
        path = [(STRIP_X, y) for y in rows * 3]
        lines = []
        for x, y in path:
            ui.expect.add(f"move {x} {y}")
            lines.append(f"{cx + x} {cy + y} {cx + x + 3} {cy + y}")
        result = subprocess.run([options.x11_tool, "follow", "00ff00", "10000"],
                                input="\n".join(lines) + "\n", capture_output=True, text=True,
                                env=display.env, timeout=600)
        if result.returncode != 0:
            raise Failure(result.stderr.strip())
        shown, seconds = result.stdout.split()
        ui.release(1)
        ui.check_frame("after-drag")  # the whole picture is right, not just one pixel
        print(f"dragging the last of {len(points)} points at degree 9: {shown} positions shown "
              f"one after another in {float(seconds):.2f} s: "
              f"{int(shown) / float(seconds):.0f} positions shown per second")
        run([options.x11_tool, "close", app.window], env=display.env)
        app.wait_for_exit("close")
    finally:
        app.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--x11-tool", required=True)
    parser.add_argument("--replay", required=True)
    parser.add_argument("--scale", action="store_true", help="the 8192-point scene instead")
    options = parser.parse_args()
    options.exe = os.path.abspath(options.exe)
    options.artifacts = tempfile.mkdtemp(prefix="tavrimo-bench-")

    display = Display()
    try:
        (scale_scene if options.scale else small_scene)(options, display)
    finally:
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
