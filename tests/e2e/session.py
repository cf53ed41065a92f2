"""What both front ends' end-to-end tests share: the running program's menu operations built
on each front end's own open_popup and close_popup, its exit, and the editing session that
both must pass step for step."""

import subprocess
import time

from desktop import Failure

FILE, DEGREE, HELP = 0, 1, 2
CLEAR_LINES, QUIT, INSTRUCTIONS_ITEM, ABOUT_ITEM = 40003, 40004, 40067, 40069
DEGREE_2, DEGREE_9 = 40059, 40066

INSTRUCTIONS = ("To place a point, left click in an open area. \\n\\nTo Change the Degree of the "
                "curve, you can select 1-9 on the keyboard or in the menu. \\n\\tYou must have "
                "enough points to be able to see the curve. \\n\\nTo move a point, click on the "
                "point with either the left or right mouse button.")


class EditorProgram:
    """A running editor. A front end's class gives display, input (a Driver), process,
    open_popup(popup) -> (x, width, [(row, checked)]), close_popup() and
    message_box(title, text)."""

    def wait_for_exit(self, what, timeout=20):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{what}: the program did not end within {timeout} s")
        if code != 0:
            raise Failure(f"{what}: exit code {code}, expected 0")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)

    def choose(self, popup, item, command):
        x, w, items = self.open_popup(popup)
        if item >= len(items):
            raise Failure(f"popup {popup} shows {len(items)} items, wanted item {item}")
        self.display.xdotool("mousemove", x + w // 2, items[item][0])
        time.sleep(0.1)
        self.display.xdotool("click", 1)
        self.input.command(command)
        time.sleep(0.2)

    def check_marks(self, name, expected):
        _, _, items = self.open_popup(DEGREE)
        if len(items) != 9:
            raise Failure(f"the Degree menu shows {len(items)} items, expected 9: {items}")
        self.close_popup()
        shown = [index + 1 for index, (_, checked) in enumerate(items) if checked]
        if shown != expected:
            raise Failure(f"{name}: the Degree menu checks {shown}, expected {expected}")
        print(f"ok check marks {name}: {shown}")


def editing_session(app, release_outside):
    """Placing, dragging with either button, keys, the menus with their check marks, both
    message boxes, "Clear Lines" and "Quit", each step checked on the screen.
    release_outside: the front end sees a release outside its window (the Qt program does;
    the Windows program takes no capture and does not)."""
    ui = app.input
    app.check_marks("at start", [3])
    for x, y in [(60, 300), (160, 120), (260, 330), (360, 100), (460, 280)]:
        ui.click(x, y)
    ui.check_frame("five-points")
    ui.drag(1, (161, 121), (200, 180))
    ui.check_frame("left-drag")
    ui.drag(3, (360, 100), (330, 60))
    ui.check_frame("right-drag")

    if release_outside:
        # The moves out there are not delivered, the release is, and the point stays where
        # it was last seen.
        ui.move(460, 280)
        ui.press(1)
        ui.move(520, 300)
        ui.move(600, 470)
        ui.display.xdotool("mousemove", 900, 700)
        time.sleep(0.1)
        ui.release(1)
        ui.move(300, 400)
        ui.check_frame("release-outside")

    ui.move(600, 400)
    ui.press(3)  # a right press on empty space places nothing
    ui.release(3)
    for x, y in [(560, 200), (620, 330), (400, 450), (100, 460)]:
        ui.click(x, y)
    ui.check_frame("nine-points")

    ui.move(420, 420)
    ui.key("7", 0x37)
    ui.check_frame("key-7")
    app.check_marks("after key 7", [7])
    ui.move(420, 420)
    ui.key("KP_2")
    ui.key("KP_End")
    ui.key("a", 0x41)
    ui.key("0", 0x30)
    ui.check_frame("keypad-and-others-ignored")
    app.check_marks("after keypad 2", [7])

    app.choose(DEGREE, 1, DEGREE_2)
    ui.move(420, 420)
    ui.check_frame("menu-degree-2")
    app.check_marks("after menu 2", [2])
    app.choose(DEGREE, 8, DEGREE_9)
    ui.move(420, 420)
    ui.check_frame("menu-degree-9")
    app.check_marks("after menu 9", [9])

    app.choose(HELP, 0, INSTRUCTIONS_ITEM)
    app.message_box("Instructions", INSTRUCTIONS)
    app.choose(HELP, 1, ABOUT_ITEM)
    app.message_box("About", None)
    ui.move(420, 420)
    ui.check_frame("after-boxes")

    app.choose(FILE, 0, CLEAR_LINES)
    ui.move(420, 420)
    ui.check_frame("clear-lines")
    app.check_marks("after Clear Lines", [9])
    ui.click(300, 200)
    ui.check_frame("point-after-clear")

    app.choose(FILE, 1, QUIT)
    app.wait_for_exit("Quit")
    print("ok Quit ends the program with exit code 0")
