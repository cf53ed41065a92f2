#!/usr/bin/env python3
"""End-to-end test of the Windows program: tavrimo.exe under Wine in a private Xvfb display,
driven by real synthesized input (xdotool). After each step the client area on the screen is
compared pixel for pixel with the frame tavrimo_replay renders for the same interaction.

usage: win32_e2e.py --win32 BUILD --win64 BUILD --replay tavrimo_replay --artifacts DIR

BUILD: the build trees of the win32 and win64 presets. The shipped 32-bit tavrimo.exe is
always checked as a file: a PE32 i386 GUI program that imports only Windows' own DLLs. The
sessions run it under 32-bit Wine where this machine executes 32-bit programs; where it does
not, they run the x86-64 build of the same program under 64-bit Wine, and say so.

It first runs win32_message_test.exe, which sends the real window procedure unknown
messages, commands with high bits set, pointer messages with every class of lParam and key
messages for every virtual key.

On failure the screen captures stay in DIR (NAME.actual.ppm, NAME.expected.ppm,
NAME.screen.ppm); on success DIR keeps only the log."""

import argparse
import errno
import os
import re
import shutil
import subprocess
import sys
import time

from desktop import (Display, Driver, Failure, crop, dark_row_runs, is_dark, menu_items,
                     remove_captures, run, run_main, start, wait_until, write_ppm)
from session import EditorProgram, editing_session

WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"
WINE64_SERVER = "/usr/lib/wine/wineserver64"
# What a bare Windows provides; the shipped program must need nothing else.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
               "shell32.dll", "comctl32.dll", "comdlg32.dll", "ole32.dll"}


def require_built(path, preset):
    if not os.path.exists(path):
        raise Failure(f"{path} is missing: cmake --preset {preset} && cmake --build --preset "
                      f"{preset} builds it")



def text_left(image):
    """The column where the items' text begins: the median of each item's leftmost dark
    column (Wine's popups do not always leave the same margin for the check marks)."""
    width, _, pixels = image
    lefts = []
    for first, last in dark_row_runs(image, gap=3):
        lefts.append(min((column for row in range(first, last + 1) for column in range(width)
                          if is_dark(pixels, (row * width + column) * 3)), default=width))
    lefts.sort()
    return lefts[len(lefts) // 2] if lefts else width

class Wine:
    """One Windows build and the Wine that runs it, in a prefix of its own."""

    def __init__(self, build, bits, why):
        self.bits = bits
        self.why = why
        self.exe = os.path.join(build, "app", "win32", "tavrimo.exe")
        self.probe = os.path.join(build, "tests", "e2e", "win32_probe.exe")
        self.message_test = os.path.join(build, "tests", "e2e", "win32_message_test.exe")
        preset = "win32" if bits == 32 else "win64"
        for path in (self.exe, self.probe, self.message_test):
            require_built(path, preset)
        if bits == 32:
            # Debian's wrappers, which start the 32-bit loader and its server.
            self.loader, self.boot, self.server, self.arch = ["wine"], ["wineboot"], "wineserver", None
        else:
            self.loader, self.server, self.arch = [WINE64_LOADER], WINE64_SERVER, "win64"
            self.boot = [WINE64_LOADER, "wineboot"]
        self.env = None

    def describe(self):
        build = "win32 (i686) build under 32-bit Wine" if self.bits == 32 else \
            "win64 (x86-64) build under 64-bit Wine"
        return f"Windows program: the {build}, because {self.why}"

    def use_prefix(self, display, prefix):
        self.env = dict(display.env, WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        if self.arch:
            self.env["WINEARCH"] = self.arch

    def command(self, program, *args):
        return [*self.loader, program, *args]


def runs_32_bit():
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                          "runs-32-bit")
    return subprocess.run([script], timeout=60).returncode == 0


def choose_wine(options):
    """The 32-bit build under 32-bit Wine where this machine runs it, else the x86-64 build
    under 64-bit Wine; either way with the reason in words."""
    try:
        result = subprocess.run([WINE32_LOADER, "--version"], capture_output=True, text=True,
                                timeout=60)
        if result.returncode == 0 and shutil.which("wine"):
            return Wine(options.win32, 32, f"this machine runs it ({result.stdout.strip()})")
        why_not = (f"32-bit Wine fails to start (exit {result.returncode})" if result.returncode
                   else "Debian's wine wrapper (package wine) is not installed")
    except FileNotFoundError:
        why_not = ("this machine does not execute 32-bit programs (so 32-bit Wine is not "
                   "installed)" if not runs_32_bit() else
                   "32-bit Wine (Debian package wine32:i386) is not installed")
    except subprocess.TimeoutExpired:
        why_not = "32-bit Wine did not answer within 60 s"
    except OSError as error:
        why_not = ("this machine does not execute 32-bit programs" if error.errno == errno.ENOEXEC
                   else f"32-bit Wine cannot start: {error.strerror}")
    if not os.path.exists(WINE64_LOADER):
        raise Failure(f"no Wine can run here: {why_not}, and 64-bit Wine (Debian package "
                      "wine64) is not installed; ./scripts/setup test installs what can run")
    return Wine(options.win64, 64, why_not)


def check_shipped_program(options):
    """The shipped 32-bit program, as a file: a PE32 i386 GUI executable whose imports are
    only Windows' own DLLs, so that it runs on a bare Windows."""
    path = os.path.join(options.win32, "app", "win32", "tavrimo.exe")
    require_built(path, "win32")
    dump = run(["i686-w64-mingw32-objdump", "-p", path]).stdout
    if "file format pei-i386" not in dump:
        raise Failure(f"{path} is not a PE32 i386 program")
    subsystem = re.search(r"^Subsystem\s+(\w+)", dump, re.MULTILINE)
    if not subsystem or int(subsystem.group(1), 16) != 2:
        raise Failure(f"{path} is not a Windows GUI program: subsystem "
                      f"{subsystem.group(1) if subsystem else 'not found'}")
    dlls = re.findall(r"DLL Name: (\S+)", dump)
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    if foreign or "kernel32.dll" not in (dll.lower() for dll in dlls):
        raise Failure(f"{path} imports {dlls}; a bare Windows has only {sorted(SYSTEM_DLLS)}")
    print(f"ok {path}: a PE32 i386 GUI program importing only {', '.join(dlls)}")



class WineEditor(EditorProgram):
    """One run of tavrimo.exe, with what the test knows of its window."""

    def __init__(self, display, options, wine, name):
        self.display = display
        self.options = options
        self.wine = wine
        self.input = Driver(display, name, options.replay, options.artifacts)
        self.process = None
        self.titlebar = None
        self.bar = None

    # --- the program and its window --------------------------------------------------------

    def start(self):
        self.process = start(self.wine.command(self.wine.exe), self.wine.env)
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
            return run(self.wine.command(self.wine.probe, *args), env=self.wine.env, timeout=30,
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
        items = menu_items(inner, range(0, text_left(inner) - 2), 550)
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


def session_editing(display, options, wine):
    app = WineEditor(display, options, wine, "editing")
    try:
        app.start()
        editing_session(app, release_outside=False)
    finally:
        app.stop()


def session_close_button(display, options, wine):
    app = WineEditor(display, options, wine, "close")
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


def session_message_path(display, options, wine):
    """The real window procedure under the real window system, through real messages."""
    del display, options
    result = run(wine.command(wine.message_test), env=wine.env, timeout=180, check=False)
    print(result.stdout.strip())
    if result.returncode != 0:
        raise Failure(f"win32_message_test exited {result.returncode}")


def make_prefix(wine, display, path):
    shutil.rmtree(path, ignore_errors=True)
    wine.use_prefix(display, path)
    result = run([*wine.boot, "-i"], env=wine.env, timeout=300, check=False)
    if result.returncode != 0:
        last = (result.stderr.strip().splitlines() or ["no message"])[-1]
        raise Failure(f"the Wine prefix did not boot ({' '.join(wine.boot)} -i exited "
                      f"{result.returncode}: {last})")
    # Without a window manager Wine draws the title bar (and its close button) itself.
    run(wine.command("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/d",
                     "N", "/f"), env=wine.env, timeout=120)
    run([wine.server, "-w"], env=wine.env, timeout=120)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--win32", required=True, help="the win32 preset's build tree")
    parser.add_argument("--win64", required=True, help="the win64 preset's build tree")
    parser.add_argument("--replay", required=True)
    parser.add_argument("--artifacts", required=True)
    options = parser.parse_args()
    shutil.rmtree(options.artifacts, ignore_errors=True)
    os.makedirs(options.artifacts)
    prefix = os.path.abspath(os.path.join(options.artifacts, "wineprefix"))

    passed, failed = 0, 0
    try:
        check_shipped_program(options)
        passed += 1
    except Failure as failure:
        failed += 1
        print(f"FAILED check_shipped_program: {failure}")

    display = wine = None
    try:
        wine = choose_wine(options)
        print(wine.describe())
        display = Display()
        make_prefix(wine, display, prefix)
        for session in (session_message_path, session_editing, session_close_button):
            try:
                session(display, options, wine)
                passed += 1
            except (Failure, subprocess.TimeoutExpired, StopIteration) as failure:
                failed += 1
                print(f"FAILED {session.__name__}: {failure}")
    except (Failure, subprocess.TimeoutExpired) as failure:
        failed += 1
        print(f"FAILED the Windows sessions cannot run: {failure}")
    finally:
        if wine is not None and wine.env is not None:
            run([wine.server, "-k"], env=wine.env, check=False)
        if display is not None:
            display.close()
    shutil.rmtree(prefix, ignore_errors=True)
    if failed:
        print(f"screen captures of the failure are in {os.path.abspath(options.artifacts)}")
    else:
        remove_captures(options.artifacts)
    print(f"win32 end-to-end: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(run_main(main))
