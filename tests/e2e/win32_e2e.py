#!/usr/bin/env python3
"""End-to-end test of the Windows program: tavrimo.exe under Wine in a private Xvfb display,
driven by real synthesized input (xdotool). After each step the client area on the screen is
compared pixel for pixel with the frame tavrimo_replay renders for the same interaction.

usage: win32_e2e.py --exe tavrimo.exe --probe win32_probe.exe --replay tavrimo_replay
                    --message-test win32_message_test.exe --artifacts DIR

It first runs win32_message_test.exe, which sends the real window procedure unknown
messages, commands with high bits set, pointer messages with every class of lParam and key
messages for every virtual key.

On failure the screen captures stay in DIR (NAME.actual.ppm, NAME.expected.ppm,
NAME.screen.ppm); on success DIR keeps only the log."""

import argparse
import os
import shutil
import subprocess
import sys
import time

from desktop import (Display, Driver, Failure, crop, menu_items, remove_captures, run,
                     wait_until, write_ppm)
from session import EditorProgram, editing_session



class WineEditor(EditorProgram):
    """One run of tavrimo.exe, with what the test knows of its window."""

    def __init__(self, display, options, prefix, name):
        self.display = display
        self.options = options
        self.env = dict(display.env, WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.input = Driver(display, name, options.replay, options.artifacts)
        self.process = None
        self.titlebar = None
        self.bar = None

    # --- the program and its window --------------------------------------------------------

    def start(self):
        self.process = subprocess.Popen(["wine", self.options.exe], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        geometry = wait_until("the editor's window", self.read_geometry, timeout=60, interval=0.5)
        self.input.client = geometry["client"]
        self.titlebar = geometry.get("titlebar")
        width, height = self.input.client[2:]
        # A first move inside the window gives it the keyboard focus (no window manager).
        self.input.move(width // 2, height // 2)
        self.input.check_frame("start")
        client_y = self.input.client[1]
        top = self.titlebar[1] + self.titlebar[3] if self.titlebar else client_y - 20
        self.bar = self.input.menu_bar(top, client_y)

    def probe(self, *args):
        try:
            return run(["wine", self.options.probe, *args], env=self.env, timeout=30,
                       check=False).stdout.splitlines()
        except subprocess.TimeoutExpired:
            return []  # the callers' own deadlines decide

    def read_geometry(self):
        found = {}
        for line in self.probe("client"):
            words = line.split()
            if len(words) == 5 and words[0] in ("client", "window", "titlebar"):
                found[words[0]] = tuple(int(w) for w in words[1:])
        return found if "client" in found else None

    # --- the menu ----------------------------------------------------------------------------

    def open_popup(self, popup):
        self.display.xdotool("mousemove", *self.bar[popup])
        self.display.xdotool("click", 1)

        def shown():
            for line in self.probe("popup"):
                words = line.split()
                if words[0] == "popup":
                    return tuple(int(w) for w in words[1:])
            return None

        x, y, w, h = wait_until("the popup menu", shown, timeout=15, interval=0.2)
        time.sleep(0.3)  # let it finish drawing
        inner = crop(self.display.capture(), x + 2, y + 2, w - 4, h - 4)
        write_ppm(os.path.join(self.options.artifacts, f"{self.input.name}-popup-{popup}.ppm"), inner)
        items = menu_items(inner, range(0, 17), 550)
        return x, w, [(row + y + 2, checked) for row, checked in items]

    def close_popup(self):
        self.display.xdotool("key", "Escape")
        time.sleep(0.2)
        self.display.xdotool("key", "Escape")
        wait_until("the popup to close",
                   lambda: True if any(l.startswith("nopopup") for l in self.probe("popup")) else None,
                   timeout=15, interval=0.3)

    # --- message boxes -----------------------------------------------------------------------

    def message_box(self, title, text):
        def shown():
            lines = self.probe("box", title)
            return lines if lines and lines[0].startswith("box owner") else None

        lines = wait_until(f'the "{title}" box', shown, timeout=15, interval=0.3)
        if lines[0] != "box owner editor":
            raise Failure(f'the "{title}" box is not owned by the editor: {lines[0]}')
        texts = [line.split(" ", 6)[6] for line in lines
                 if line.startswith("child Static") and len(line.split(" ", 6)) == 7]
        if text is not None and text not in texts:
            raise Failure(f'the "{title}" box says {texts}, expected {text!r}')
        if text is None and not any("Tavrimo" in t for t in texts):
            raise Failure(f'the "{title}" box says {texts}, expected a notice naming Tavrimo')
        button = next(line.split()[2:6] for line in lines if line.startswith("child Button"))
        bx, by, bw, bh = (int(v) for v in button)
        self.display.xdotool("mousemove", bx + bw // 2, by + bh // 2)
        self.display.xdotool("click", 1)
        wait_until(f'the "{title}" box to close',
                   lambda: True if self.probe("box", title)[:1] == ["nobox"] else None,
                   timeout=15, interval=0.3)
        print(f'ok message box "{title}"')


def session_editing(display, options, prefix):
    app = WineEditor(display, options, prefix, "editing")
    try:
        app.start()
        editing_session(app, release_outside=False)
    finally:
        app.stop()


def session_close_button(display, options, prefix):
    app = WineEditor(display, options, prefix, "close")
    try:
        app.start()
        for x, y in [(100, 100), (200, 200), (300, 100)]:
            app.input.click(x, y)
        app.input.check_frame("three-points")
        if app.titlebar is None:
            raise Failure("the probe found no title bar")
        x, y, w, h = app.titlebar
        display.xdotool("mousemove", x + w - 10, y + h // 2)  # the close button
        display.xdotool("click", 1)
        app.wait_for_exit("the close button")
        print("ok the close button ends the program with exit code 0")
    finally:
        app.stop()


def session_message_path(display, options, prefix):
    """The real window procedure under the real window system, through real messages."""
    env = dict(display.env, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    result = run(["wine", options.message_test], env=env, timeout=180, check=False)
    print(result.stdout.strip())
    if result.returncode != 0:
        raise Failure(f"win32_message_test exited {result.returncode}")


def make_prefix(display, path):
    shutil.rmtree(path, ignore_errors=True)
    env = dict(display.env, WINEPREFIX=path, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    run(["wineboot", "-i"], env=env, timeout=300)
    # Without a window manager Wine draws the title bar (and its close button) itself.
    run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/d", "N",
         "/f"], env=env, timeout=120)
    run(["wineserver", "-w"], env=env, timeout=120)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--replay", required=True)
    parser.add_argument("--message-test", required=True)
    parser.add_argument("--artifacts", required=True)
    options = parser.parse_args()
    shutil.rmtree(options.artifacts, ignore_errors=True)
    os.makedirs(options.artifacts)
    prefix = os.path.abspath(os.path.join(options.artifacts, "wineprefix"))

    display = Display()
    passed, failed = 0, 0
    try:
        make_prefix(display, prefix)
        for session in (session_message_path, session_editing, session_close_button):
            try:
                session(display, options, prefix)
                passed += 1
            except (Failure, subprocess.TimeoutExpired, StopIteration) as failure:
                failed += 1
                print(f"FAILED {session.__name__}: {failure}")
    finally:
        run(["wineserver", "-k"], env=dict(display.env, WINEPREFIX=prefix), check=False)
        display.close()
    shutil.rmtree(prefix, ignore_errors=True)
    if not failed:
        remove_captures(options.artifacts)
    if failed:
        print(f"screen captures of the failure are in {os.path.abspath(options.artifacts)}")
    print(f"win32 end-to-end: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
