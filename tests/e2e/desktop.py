"""Shared pieces of the end-to-end tests: an Xvfb display, screen captures, synthesized input
with xdotool, the expected frame from tavrimo_replay, and bounded waits.

Every wait here has a deadline; nothing blocks for ever."""

import os
import shutil
import subprocess
import time


class Failure(Exception):
    pass


# The Debian packages that give the commands these tests run.
PACKAGES = {"Xvfb": "xvfb", "xdotool": "xdotool", "import": "imagemagick", "valgrind": "valgrind",
            "wine": "wine", "wineboot": "wine", "wineserver": "wine",
            "i686-w64-mingw32-objdump": "binutils-mingw-w64-i686", "pdflatex": "texlive-latex-base",
            "xmllint": "libxml2-utils"}


def not_installed(command):
    name = os.path.basename(command)
    package = PACKAGES.get(name)
    return Failure(f"{name} is not installed" + (f" (Debian package {package})" if package else "")
                   + ": ./scripts/setup test installs what the tests need")


def run_main(main):
    """Runs a test's main(); a broken environment ends it with one line, not a traceback."""
    try:
        return main()
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"FAILED: {failure}")
        return 1


def start(command, env):
    """A program started in the background, its output discarded."""
    try:
        return subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    except FileNotFoundError:
        raise not_installed(command[0]) from None


def run(command, timeout=30, env=None, check=True):
    try:
        result = subprocess.run(command, capture_output=True, text=True, timeout=timeout, env=env)
    except FileNotFoundError:
        raise not_installed(command[0]) from None
    if check and result.returncode != 0:
        raise Failure(f"{' '.join(command)} exited {result.returncode}: {result.stderr.strip()}")
    return result


def wait_until(what, attempt, timeout, interval=0.1):
    """Calls attempt() until it returns something other than None, for at most timeout s."""
    deadline = time.monotonic() + timeout
    while True:
        value = attempt()
        if value is not None:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Display:
    """A private Xvfb server; stopped by close()."""

    def __init__(self, width=1024, height=768):
        # Xvfb picks a free display itself and writes its number to the pipe. Without
        # -noreset it resets whenever its last client leaves, and drops whoever connects
        # meanwhile: a program started just then fails with "could not connect to display".
        for command in ("Xvfb", "xdotool", "import"):
            if shutil.which(command) is None:
                raise not_installed(command)
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number.isdigit():
            self.close()
            raise Failure("Xvfb did not start")
        self.name = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.name)
        wait_until("the X server", lambda: True if run(
            ["xdotool", "getmouselocation"], env=self.env, check=False).returncode == 0 else None,
            timeout=20)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()

    def xdotool(self, *args):
        run(["xdotool", *[str(a) for a in args]], env=self.env)

    def capture(self):
        """The whole screen as (width, height, rgb bytes)."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=30, env=self.env, check=True).stdout
        return parse_ppm(data)


def parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise Failure("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + width * height * 3]
    if len(pixels) != width * height * 3:
        raise Failure("truncated PPM")
    return width, height, pixels


def read_ppm(path):
    with open(path, "rb") as f:
        return parse_ppm(f.read())


def write_ppm(path, image):
    width, height, pixels = image
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(pixels)


def crop(image, x, y, width, height):
    full_width, full_height, pixels = image
    if x < 0 or y < 0 or x + width > full_width or y + height > full_height:
        raise Failure(f"area {width}x{height}+{x}+{y} is not on the {full_width}x{full_height} screen")
    rows = [pixels[((y + row) * full_width + x) * 3:((y + row) * full_width + x + width) * 3]
            for row in range(height)]
    return width, height, b"".join(rows)


def differences(a, b):
    """How many pixels differ, and the first one as (column, row)."""
    width, _, pa = a
    _, _, pb = b
    count, first = 0, None
    for index in range(0, min(len(pa), len(pb)), 3):
        if pa[index:index + 3] != pb[index:index + 3]:
            if first is None:
                first = ((index // 3) % width, (index // 3) // width)
            count += 1
    return count, first


def is_dark(pixels, index, threshold=550):
    # 550 of 765 counts anti-aliased text as dark; check marks are found with a lower one.
    return pixels[index] + pixels[index + 1] + pixels[index + 2] < threshold


def dark_column_runs(image, gap=5):
    """Runs of columns holding dark pixels (text), as (first, last), split at gaps."""
    width, height, pixels = image
    columns = [any(is_dark(pixels, (row * width + column) * 3) for row in range(height))
               for column in range(width)]
    return runs(columns, gap)


def dark_row_runs(image, gap=2):
    width, height, pixels = image
    rows = [any(is_dark(pixels, (row * width + column) * 3) for column in range(width))
            for row in range(height)]
    return runs(rows, gap)


def runs(flags, gap):
    found = []
    start = last = None
    for position, flag in enumerate(flags):
        if not flag:
            continue
        if start is None or position - last > gap:
            if start is not None:
                found.append((start, last))
            start = position
        last = position
    if start is not None:
        found.append((start, last))
    return found


class Expectation:
    """The frame the editor should show after the interactions so far, from tavrimo_replay."""

    def __init__(self, replay, artifacts):
        self.replay = replay
        self.artifacts = artifacts
        self.events = []

    def add(self, event):
        self.events.append(event)

    def render(self, width, height, name):
        path = os.path.join(self.artifacts, f"{name}.expected.ppm")
        result = subprocess.run([self.replay, str(width), str(height), path],
                                input="\n".join(self.events) + "\n", capture_output=True,
                                text=True, timeout=60)
        if result.returncode != 0:
            raise Failure(f"tavrimo_replay failed: {result.stderr.strip()}")
        checked = next(line.split()[1:] for line in result.stdout.splitlines()
                       if line.startswith("checked"))
        return read_ppm(path), [int(d) for d in checked]


def menu_items(image, check_columns, check_threshold):
    """The items of a popup menu image (without its border) as (centre row, checked): one per
    run of rows holding text, checked when very dark pixels lie in check_columns."""
    width, _, pixels = image
    items = []
    for first, last in dark_row_runs(image, gap=3):
        checked = any(is_dark(pixels, (row * width + column) * 3, check_threshold)
                      for row in range(first, last + 1) for column in check_columns)
        items.append(((first + last) // 2, checked))
    return items


class Driver:
    """Synthesized input into a window's client area, recorded as the events tavrimo_replay
    understands, and the comparison of the screen with the frame those events give."""

    def __init__(self, display, name, replay, artifacts):
        self.display = display
        self.name = name
        self.artifacts = artifacts
        self.expect = Expectation(replay, artifacts)
        self.client = None  # (x, y, width, height) on the screen
        self.pointer = None
        self.steps = 0

    def move(self, x, y, delivered=True):
        cx, cy, _, _ = self.client
        self.display.xdotool("mousemove", cx + x, cy + y)
        if delivered:
            self.pointer = (x, y)
            self.expect.add(f"move {x} {y}")
        time.sleep(0.03)

    def press(self, button):
        self.display.xdotool("mousedown", button)
        x, y = self.pointer
        self.expect.add(f"ldown {x} {y}" if button == 1 else "rdown")
        time.sleep(0.03)

    def release(self, button):
        self.display.xdotool("mouseup", button)
        self.expect.add("lup" if button == 1 else "rup")
        time.sleep(0.03)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.press(button)
        self.release(button)

    def drag(self, button, start, end, steps=6):
        self.move(*start)
        self.press(button)
        for step in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * step // steps,
                      start[1] + (end[1] - start[1]) * step // steps)
        self.release(button)

    def key(self, keysym, virtual_key=None):
        """virtual_key: the code the editor should see, or None for a key it never sees as one."""
        self.display.xdotool("key", keysym)
        if virtual_key is not None:
            self.expect.add(f"key {virtual_key}")
        time.sleep(0.05)

    def command(self, number):
        self.expect.add(f"command {number}")

    def check_frame(self, name):
        """Waits (at most 10 s) until the client area shows exactly the expected frame."""
        self.steps += 1
        name = f"{self.name}-{self.steps:02d}-{name}"
        x, y, width, height = self.client
        expected, checked = self.expect.render(width, height, name)
        last = {}

        def matches():
            screen = self.display.capture()
            actual = crop(screen, x, y, width, height)
            last.update(screen=screen, actual=actual)
            return True if actual == expected else None

        try:
            wait_until(f"frame {name}", matches, timeout=10, interval=0.2)
        except Failure:
            count, first = differences(last["actual"], expected)
            write_ppm(os.path.join(self.artifacts, f"{name}.actual.ppm"), last["actual"])
            write_ppm(os.path.join(self.artifacts, f"{name}.screen.ppm"), last["screen"])
            raise Failure(f"frame {name}: {count} pixels differ, the first at column,row {first}")
        os.remove(os.path.join(self.artifacts, f"{name}.expected.ppm"))
        print(f"ok frame {name}")
        return checked

    def menu_bar(self, top, bottom):
        """Centres of the three menu bar items, found as runs of text in the bar's band."""
        x, _, width, _ = self.client
        band = crop(self.display.capture(), x, top, width, bottom - top)
        items = dark_column_runs(band, gap=6)
        if len(items) != 3:
            raise Failure(f"expected 3 menu bar items, found {len(items)} at {items}")
        return [(x + (a + b) // 2, (top + bottom) // 2) for a, b in items]


def remove_captures(artifacts):
    for name in os.listdir(artifacts):
        if name.endswith(".ppm"):
            os.remove(os.path.join(artifacts, name))
