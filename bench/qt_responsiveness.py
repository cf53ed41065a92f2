#!/usr/bin/env python3
"""Responsiveness of the Linux program under Xvfb: places 200 points, selects degree 9, drags
one point through 500 pointer moves, and reports how long after the last move the screen
shows the point at its final place, and how many input messages the program handled per
second while the points were placed. Not a test: it prints figures.

usage: qt_responsiveness.py --exe tavrimo --x11-tool x11_tool --replay tavrimo_replay"""

import argparse
import os
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--x11-tool", required=True)
    parser.add_argument("--replay", required=True)
    options = parser.parse_args()
    options.exe = os.path.abspath(options.exe)
    options.artifacts = tempfile.mkdtemp(prefix="tavrimo-bench-")

    display = Display()
    app = QtEditor(display, options, "bench")
    try:
        app.start()
        ui = app.input
        cx, cy, _, _ = ui.client

        # 200 points on a 20 x 10 grid, every one a move, a press and a release.
        points = [(20 + 30 * (n % 20), 20 + 45 * (n // 20)) for n in range(200)]
        commands = []
        for x, y in points:
            commands += ["mousemove", str(cx + x), str(cy + y), "mousedown", "1", "mouseup", "1"]
            ui.expect.add(f"move {x} {y}")
            ui.expect.add(f"ldown {x} {y}")
            ui.expect.add("lup")
        before, _ = ui.expect.render(640, 480, "before-last-point")
        # The frame without the last point tells which pixels the last marker adds.
        ui.expect.events = ui.expect.events[:-3]
        without_last, _ = ui.expect.render(640, 480, "without-last-point")
        ui.expect.events += [f"move {points[-1][0]} {points[-1][1]}",
                             f"ldown {points[-1][0]} {points[-1][1]}", "lup"]
        marker = new_green_pixel(without_last, before, points[-1])
        start = time.monotonic()
        run(["xdotool", *commands], env=display.env, timeout=120)
        sent = time.monotonic()
        shown = wait_for_pixel(options, display, (cx + marker[0], cy + marker[1]))
        placing = shown - start
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
              f"(xdotool sent them in {(sent - start) * 1000:.0f} ms): "
              f"{messages / placing:.0f} messages handled per second")
        print(f"dragging through 500 moves at degree 9 with 200 points: sent in "
              f"{(last_move - drag_start) * 1000:.0f} ms; final picture "
              f"{(final_shown - last_move) * 1000:.1f} ms after the last move")
        run([options.x11_tool, "close", app.window], env=display.env)
        app.wait_for_exit("close")
    finally:
        app.stop()
        display.close()
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
