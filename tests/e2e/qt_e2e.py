#!/usr/bin/env python3
"""End-to-end test of the Linux program: the Qt build of tavrimo in a private Xvfb display,
driven by real synthesized X input (xdotool). After each step the canvas on the screen is
compared pixel for pixel with the frame tavrimo_replay renders for the same interaction.

usage: qt_e2e.py --exe tavrimo --x11-tool x11_tool --replay tavrimo_replay --artifacts DIR

On failure the screen captures stay in DIR (NAME.actual.ppm, NAME.expected.ppm,
NAME.screen.ppm)."""

import argparse
import os
import shutil
import subprocess
import sys
import time

from desktop import (Display, Driver, Failure, crop, menu_items, remove_captures, run, run_main,
                     start, wait_until, write_ppm)
from session import EditorProgram, editing_session

CANVAS_WIDTH, CANVAS_HEIGHT = 640, 480


def window_geometry(display, window):
    values = {}
    for line in run(["xdotool", "getwindowgeometry", "--shell", window], env=display.env).stdout.split():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.isdigit() else value
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def visible_windows(display, name, by="--name"):
    result = run(["xdotool", "search", "--onlyvisible", by, name], env=display.env, check=False)
    return result.stdout.split()


class QtEditor(EditorProgram):
    """One run of the Linux program, with what the test knows of its window."""

    def __init__(self, display, options, name, launcher=(), env=None):
        self.display = display
        self.options = options
        self.launcher = list(launcher)
        self.env = dict(display.env, QT_QPA_PLATFORM="xcb", **(env or {}))
        self.input = Driver(display, name, options.replay, options.artifacts)
        self.process = None
        self.window = None
        self.bar = None

    def start(self):
        self.process = start([*self.launcher, self.options.exe], self.env)

        def main_window():
            for window in visible_windows(self.display, "^Tavrimo$"):
                if window_geometry(self.display, window)[2] == CANVAS_WIDTH:
                    return window
            return None

        self.window = wait_until("the editor's window", main_window, timeout=90, interval=0.2)
        x, y, width, height = window_geometry(self.display, self.window)
        # The canvas fills the window below the menu bar.
        self.input.client = (x, y + height - CANVAS_HEIGHT, CANVAS_WIDTH, CANVAS_HEIGHT)
        self.input.move(CANVAS_WIDTH // 2, CANVAS_HEIGHT // 2)  # focus follows the pointer
        self.input.check_frame("start")
        self.bar = self.input.menu_bar(y, y + height - CANVAS_HEIGHT)

    # --- the menu ----------------------------------------------------------------------------

    def popup_geometry(self):
        # Popups carry the program's class but no name.
        for window in visible_windows(self.display, "^tavrimo$", by="--class"):
            if window != self.window:
                return window_geometry(self.display, window)
        return None

    def open_popup(self, popup):
        self.display.xdotool("mousemove", *self.bar[popup])
        self.display.xdotool("click", 1)
        x, y, w, h = wait_until("the popup menu", self.popup_geometry, timeout=15, interval=0.1)
        time.sleep(0.3)  # let it finish drawing
        inner = crop(self.display.capture(), x + 2, y + 2, w - 4, h - 4)
        write_ppm(os.path.join(self.options.artifacts, f"{self.input.name}-popup-{popup}.ppm"), inner)
        # Items have a grey check box; only the check mark inside it is black.
        items = menu_items(inner, range(4, 22), 250)
        return x, w, [(row + y + 2, checked) for row, checked in items]

    def close_popup(self):
        self.display.xdotool("key", "Escape")
        wait_until("the popup to close",
                   lambda: True if self.popup_geometry() is None else None, timeout=15)

    # --- message boxes -----------------------------------------------------------------------

    def message_box(self, title, text):
        """Title, modality and closing; the text itself is checked offscreen, where the box
        can be read (tests/qt_frontend_test.cpp)."""
        del text
        box = wait_until(f'the "{title}" box',
                         lambda: (visible_windows(self.display, f"^{title}$") or [None])[0],
                         timeout=15, interval=0.2)
        bx, by, bw, bh = window_geometry(self.display, box)
        # The box is modal: a click on the canvas beside it does nothing.
        cx, cy, _, _ = self.input.client
        self.display.xdotool("mousemove", cx + 20, cy + CANVAS_HEIGHT - 20)
        self.display.xdotool("click", 1)
        self.display.xdotool("mousemove", bx + bw // 2, by + bh // 2)
        time.sleep(0.2)
        self.display.xdotool("key", "Return")
        wait_until(f'the "{title}" box to close',
                   lambda: True if not visible_windows(self.display, f"^{title}$") else None,
                   timeout=15, interval=0.2)
        print(f'ok message box "{title}"')


def session_editing(display, options):
    app = QtEditor(display, options, "editing")
    try:
        app.start()
        editing_session(app, release_outside=True)
    finally:
        app.stop()


def session_window_close(display, options):
    app = QtEditor(display, options, "close")
    try:
        app.start()
        for x, y in [(100, 100), (200, 200), (300, 100)]:
            app.input.click(x, y)
        app.input.check_frame("three-points")
        run([options.x11_tool, "close", app.window], env=display.env)
        app.wait_for_exit("the window manager's close")
        print("ok the window's close ends the program with exit code 0")
    finally:
        app.stop()


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

    display = Display()
    passed, failed = 0, 0
    try:
        for session in (session_editing, session_window_close):
            try:
                session(display, options)
                passed += 1
            except (Failure, subprocess.TimeoutExpired, StopIteration) as failure:
                failed += 1
                print(f"FAILED {session.__name__}: {failure}")
    finally:
        display.close()
    if failed:
        print(f"screen captures of the failure are in {os.path.abspath(options.artifacts)}")
    else:
        remove_captures(options.artifacts)
    print(f"qt end-to-end: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(run_main(main))
