"""The page on a phone-sized screen, in Chromium's phone emulation (390 x 844, touch through the
DevTools protocol): the editor fits the width, a finger taps points in place and drags one by a
press beside its marker, the frames as tavrimo_replay's; with the panel open the page still fits,
and what a finger takes is large enough for one."""

import math

from desktop import Failure, wait_until
from web_e2e import HEIGHT, WIDTH, PageInput, start_browser


class FingerInput(PageInput):
    """A finger on a phone's screen, through the DevTools protocol's touch events."""

    def touch(self, kind, x, y):
        """A touch at CSS pixel (x, y) of the viewport; the canvas pixel under it."""
        self.browser.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [] if kind == "touchEnd" else [{"x": x, "y": y, "id": 1}]})
        box = self.browser.execute_script(
            "const r = document.getElementById('tavrimo').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")
        # As the page works it out.
        return (math.floor((x - box[0]) * WIDTH / box[2]), math.floor((y - box[1]) * HEIGHT / box[3]))

    def css(self, x, y):
        """Whole CSS pixels inside canvas pixel (x, y)."""
        return (math.ceil(self.origin[0] + (x + 0.5) * self.scale),
                math.ceil(self.origin[1] + (y + 0.5) * self.scale))

    def tap(self, x, y):
        """A tap on an empty spot: a move there, a press, a release."""
        px, py = self.touch("touchStart", *self.css(x, y))
        self.touch("touchEnd", 0, 0)
        self.expect.add(f"move {px} {py}")
        self.expect.add(f"ldown {px} {py}")
        self.expect.add("lup")

    def finger_drag(self, near, point, by):
        """A press at canvas pixel `near`, within reach of the marker of `point` (placed
        first of those within reach), dragged by `by` canvas pixels: the point follows."""
        fx, fy = self.touch("touchStart", *self.css(*near))
        self.expect.add(f"move {point[0]} {point[1]}")
        self.expect.add(f"ldown {point[0]} {point[1]}")
        offset = (point[0] - fx, point[1] - fy)
        for step in range(1, 5):
            mx, my = self.touch("touchMove", *self.css(near[0] + by[0] * step // 4,
                                                       near[1] + by[1] * step // 4))
            self.expect.add(f"move {mx + offset[0]} {my + offset[1]}")
        self.touch("touchEnd", 0, 0)
        self.expect.add("lup")


def phone_session(site, options):
    """The page on a phone-sized screen: it fits the width, and a finger places points and
    drags one by a press beside its marker."""
    browser = start_browser(phone=True)
    try:
        browser.get(site.url)
        wait_until("the editor on a phone", lambda: browser.execute_script(
            "return document.querySelectorAll('#menubar button.popup').length === 3 || null"),
            timeout=30)
        right, width = browser.execute_script(
            "return [document.getElementById('editor').getBoundingClientRect().right, "
            "document.documentElement.clientWidth];")
        if right > width:
            raise Failure(f"the editor reaches {right} CSS pixels on a screen {width} wide")
        finger = FingerInput(browser, options.replay, options.artifacts, "web-phone")
        if not 0.4 < finger.scale < 1:
            raise Failure(f"on a {width}-pixel screen a canvas pixel takes {finger.scale} CSS pixels")
        print(f"ok the editor fits a {width}-pixel screen, at {finger.scale:.3f} of its size")
        for x, y in [(100, 120), (300, 360), (520, 150)]:
            finger.tap(x, y)
        finger.check_frame("three-taps")
        # 20 canvas pixels right of the second point: far outside its pick square.
        finger.finger_drag((320, 360), (300, 360), (60, -80))
        finger.check_frame("finger-drag")
        finger.tap(600, 440)
        finger.check_frame("tap-away")
        browser.execute_script("document.getElementById('inside-toggle').click();")
        wide, screen = browser.execute_script(
            "return [document.documentElement.scrollWidth, document.documentElement.clientWidth];")
        if wide > screen:
            raise Failure(f"with the panel open the page is {wide} CSS pixels wide on a {screen}-pixel screen")
        print(f"ok with the panel open the page fits the {screen}-pixel screen")
        # What a finger takes is large enough for one: the knots' ticks, the raised degree's
        # "Open as the scene" on the line of its box.
        tick, opener, box = wait_until("the knots' ticks", lambda: browser.execute_script(
            "const t = document.querySelector('#knot-ticks .knot'); if (!t) return null;"
            "const r = t.getBoundingClientRect();"
            "const o = document.getElementById('op-open-raised').getBoundingClientRect();"
            "const b = document.getElementById('op-raised').getBoundingClientRect();"
            "return [[r.width, r.height], o.top, b.top];"), timeout=10)
        if min(tick) < 44 or abs(opener - box) > 20:
            raise Failure(f"on a phone a knot's tick is {tick[0]:.0f} x {tick[1]:.0f} CSS pixels and the "
                          f"raised degree's opener is {opener - box:.0f} pixels off its box's line")
        print(f"ok on a phone a knot's tick is {tick[0]:.0f} x {tick[1]:.0f} CSS pixels")
    finally:
        browser.quit()
