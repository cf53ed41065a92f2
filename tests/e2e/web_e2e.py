#!/usr/bin/env python3
"""End-to-end test of the browser program in headless Chromium, driven through
chromium-driver with Selenium: the desktop programs' editing session step for step, each
frame read back from the canvas and compared exactly with tavrimo_replay's; the check marks;
both dialogs' titles and texts; "Quit"; the panel "Inside the curve" and the page's
accessibility (web_panel.py); undo, the link, the scene file, PNG, SVG and the page offline
(web_scene.py); a phone's screen and finger. Failures keep screenshots.

usage: web_e2e.py --site build/web --replay tavrimo_replay --artifacts DIR"""

import argparse
import base64
import functools
import http.server
import math
import os
import shutil
import socketserver
import sys
import threading
import time

from desktop import Driver, Failure, differences, remove_captures, run_main, wait_until, \
    write_ppm
from session import DEGREE, INSTRUCTIONS, EditorProgram, editing_session
from web_embed import docs_directory, embed_session
from web_fit import FIT_POINTS, fit_session
from web_knots import knots_session
from web_operations import operations_session
from web_panel import panel_session
from web_scene import offline_session, scene_session
from web_state import state_session
from web_teacher import teacher_session

try:
    from selenium import webdriver
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.actions.mouse_button import MouseButton
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    webdriver = None

WIDTH, HEIGHT = 640, 480
BUTTONS = {1: MouseButton.LEFT, 3: MouseButton.RIGHT} if webdriver else {}
KEYS = {"KP_2": "NUMPAD2", "KP_End": "NUMPAD1"}

CANVAS_RGB = """
const data = document.getElementById("tavrimo").getContext("2d")
    .getImageData(0, 0, arguments[0], arguments[1]).data;
let s = "";
for (let i = 0; i < data.length; i += 4) s += String.fromCharCode(data[i], data[i + 1], data[i + 2]);
return btoa(s);
"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm",
                             ".webmanifest": "application/manifest+json"})

    def log_message(self, *args):
        pass


class Site:
    """The static site on a free loopback port, served from a thread."""

    def __init__(self, directory):
        handler = functools.partial(QuietHandler, directory=directory)
        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        if self.server is not None:
            self.server.shutdown()
            self.server.server_close()
            self.server = None


class PageInput(Driver):
    """The desktop Driver over Selenium: pointer and keys on the canvas, recorded as
    tavrimo_replay's events, and frames read back from the canvas. Clicks, drags and
    commands are the Driver's own."""

    def __init__(self, browser, replay, artifacts, name):
        # The session moves off the window through display.xdotool: this class does it.
        super().__init__(self, name, replay, artifacts)
        self.browser = browser
        self.measure()

    def measure(self):
        """Where the canvas is in the viewport and how many CSS pixels a canvas pixel takes."""
        left, top, width = self.browser.execute_script(
            "const r = document.getElementById('tavrimo').getBoundingClientRect();"
            "return [r.left, r.top, r.width];")
        self.origin = (left, top)
        self.scale = width / WIDTH

    def _pointer(self, do):
        actions = ActionBuilder(self.browser, duration=0)
        do(actions.pointer_action)
        actions.perform()

    def _move_to(self, x, y):
        # WebDriver takes whole CSS pixels: the first one inside the canvas pixel.
        self._pointer(lambda p: p.move_to_location(math.ceil(self.origin[0] + x * self.scale),
                                                   math.ceil(self.origin[1] + y * self.scale)))

    def xdotool(self, command, x, y):
        if command != "mousemove":
            raise Failure(f"the page test has no {command}")
        self._pointer(lambda p: p.move_to_location(x, y))  # off the canvas: not delivered

    def move(self, x, y, delivered=True):
        self._move_to(x, y)
        if delivered:
            self.pointer = (x, y)
            self.expect.add(f"move {x} {y}")

    def press(self, button):
        self._pointer(lambda p: p.pointer_down(BUTTONS[button]))
        x, y = self.pointer
        self.expect.add(f"ldown {x} {y}" if button == 1 else "rdown")

    def release(self, button):
        self._pointer(lambda p: p.pointer_up(BUTTONS[button]))
        self.expect.add("lup" if button == 1 else "rup")

    def key(self, keysym, virtual_key=None, modifier=None):
        key = getattr(Keys, KEYS[keysym]) if keysym in KEYS else keysym
        chain = ActionChains(self.browser)
        if modifier:
            chain.key_down(modifier)
        chain.send_keys(key)
        if modifier:
            chain.key_up(modifier)
        chain.perform()
        if virtual_key is not None:
            self.expect.add(f"key {virtual_key}")

    def canvas(self):
        data = base64.b64decode(self.browser.execute_script(CANVAS_RGB, WIDTH, HEIGHT))
        return (WIDTH, HEIGHT, data)

    def check_frame(self, name):
        """Waits (at most 10 s) until the canvas holds exactly the expected frame."""
        self.steps += 1
        name = f"{self.name}-{self.steps:02d}-{name}"
        expected, checked = self.expect.render(WIDTH, HEIGHT, name)
        last = {}

        def matches():
            last["actual"] = self.canvas()
            return True if last["actual"] == expected else None

        try:
            wait_until(f"frame {name}", matches, timeout=10, interval=0.1)
        except Failure:
            count, first = differences(last["actual"], expected)
            write_ppm(os.path.join(self.artifacts, f"{name}.actual.ppm"), last["actual"])
            self.browser.save_screenshot(os.path.join(self.artifacts, f"{name}.page.png"))
            raise Failure(f"frame {name}: {count} pixels differ, the first at column,row {first}")
        os.remove(os.path.join(self.artifacts, f"{name}.expected.ppm"))
        print(f"ok frame {name}")
        return checked


def fresh_tab(browser):
    """The browser in a tab of its own, the old one closed: the page keeps its state in the tab's
    storage over a reload, so a page opened anew starts from a tab that has none."""
    old = browser.current_window_handle
    browser.switch_to.new_window("tab")
    fresh = browser.current_window_handle
    browser.switch_to.window(old)
    browser.close()
    browser.switch_to.window(fresh)


class WebEditor(EditorProgram):
    """The page in the browser, with the menu, check marks and dialogs read from its DOM."""

    def __init__(self, browser, url, options, name, start_frame=True, load=True):
        self.browser = browser
        self.options = options
        if load:
            fresh_tab(browser)
            browser.get(url)
        wait_until("the editor's first frame", lambda: browser.execute_script(
            "return document.querySelectorAll('#menubar button.popup').length === 3 || null"),
            timeout=30)
        if browser.title != "Tavrimo":
            raise Failure(f"the page is titled {browser.title!r}")
        self.input = PageInput(browser, options.replay, options.artifacts, name)
        self.process = None
        if start_frame:
            self.input.move(WIDTH // 2, HEIGHT // 2)
            self.input.check_frame("start")

    def popups(self):
        return self.browser.find_elements(By.CSS_SELECTOR, "#menubar button.popup")

    def choose(self, popup, item, command):
        self.popups()[popup].click()
        items = self.browser.find_elements(By.CSS_SELECTOR, f"#menubar > li:nth-child({popup + 1}) .items button")
        items[item].click()
        self.input.command(command)

    def check_marks(self, name, expected):
        items = self.browser.find_elements(By.CSS_SELECTOR, "#menubar > li:nth-child(2) .items button")
        texts = [item.get_attribute("textContent").replace("\u2713", "") for item in items]
        if texts != [str(d) for d in range(1, 10)]:
            raise Failure(f"the Degree menu's items are {texts}")
        shown = [index + 1 for index, item in enumerate(items)
                 if item.get_attribute("aria-checked") == "true"]
        marked = [index + 1 for index, item in enumerate(items)
                  if item.find_element(By.CSS_SELECTOR, ".mark").get_attribute("textContent")]
        if shown != expected or marked != expected:
            raise Failure(f"{name}: the Degree menu checks {shown} (marks {marked}), expected {expected}")
        print(f"ok check marks {name}: {shown}")

    def message_box(self, title, text):
        dialog = self.browser.find_element(By.ID, "box")
        wait_until(f'the "{title}" dialog', lambda: dialog.get_attribute("open") is not None or None,
                   timeout=10)
        shown_title = self.browser.find_element(By.ID, "box-title").get_attribute("textContent")
        shown_text = self.browser.find_element(By.ID, "box-text").get_attribute("textContent")
        wanted = text.replace("\\n", "\n").replace("\\t", "\t") if text else None
        if shown_title != title or (wanted is not None and shown_text != wanted) or \
                (wanted is None and not shown_text.startswith("Tavrimo 1.0.0\n")):
            raise Failure(f'the "{title}" dialog shows {shown_title!r}: {shown_text!r}')
        # Modal: a click on the canvas and a key do nothing while it is open.
        self.input._move_to(20, HEIGHT - 20)
        self.input._pointer(lambda p: p.pointer_down(MouseButton.LEFT).pointer_up(MouseButton.LEFT))
        self.browser.find_element(By.ID, "box-ok").click()
        wait_until(f'the "{title}" dialog to close',
                   lambda: dialog.get_attribute("open") is None or None, timeout=10)
        print(f'ok dialog "{title}"')

    def wait_for_exit(self, what, timeout=20):
        wait_until(what, lambda: self.browser.execute_script(
            "return getComputedStyle(document.getElementById('quit')).display === 'block' && "
            "getComputedStyle(document.getElementById('editor')).display === 'none' && "
            "getComputedStyle(document.getElementById('scene-tools')).display === 'none' || null"),
            timeout=timeout)

    def stop(self):
        pass


def start_browser(phone=False):
    if webdriver is None:
        raise Failure("python3-selenium is not installed: ./scripts/setup test installs it")
    for tool, package in (("chromium", "chromium"), ("chromedriver", "chromium-driver")):
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is not installed (Debian package {package}): ./scripts/setup test installs it")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    if phone:
        options.add_experimental_option("mobileEmulation", {"deviceMetrics": {
            "width": 390, "height": 844, "pixelRatio": 2.0, "touch": True}})
    for argument in ("--headless=new", "--no-sandbox", "--window-size=1400,1300",
                     "--force-device-scale-factor=1", "--disable-gpu"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "SEVERE"})
    try:
        return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    except WebDriverException as error:
        raise Failure(f"Chromium did not start: {error.msg}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--replay", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--axe", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "npm", "node_modules",
        "axe-core", "axe.min.js"))
    options = parser.parse_args()
    if not os.path.isfile(os.path.join(options.site, "tavrimo.wasm")):
        raise Failure(f"no browser program in {options.site}: ./scripts/web --build-only builds it")
    shutil.rmtree(options.artifacts, ignore_errors=True)
    os.makedirs(options.artifacts)
    site = Site(os.path.abspath(options.site))
    browser = start_browser()
    try:
        app = WebEditor(browser, site.url, options, "web")
        editing_session(app, release_outside=True)
        # A fresh page: keys with Alt (system keys) and with Ctrl (the browser's) are not
        # digits; the keypad's were checked in the session.
        # The click after them shows, in the same frame, that they changed nothing. The page
        # is zoomed to 150 %: the pointer still lands on the canvas pixel under it.
        app = WebEditor(browser, site.url, options, "web-keys")
        browser.execute_script("document.documentElement.style.zoom = '1.5'")
        app.input.measure()
        if abs(app.input.scale - 1.5) > 0.01:
            raise Failure(f"the zoomed canvas takes {app.input.scale} CSS pixels a pixel, not 1.5")
        for x, y in [(60, 300), (160, 120), (260, 330), (360, 100), (460, 280), (560, 200)]:
            app.input.click(x, y)
        for modifier in (Keys.ALT, Keys.CONTROL):
            app.input.key("5", None, modifier)
        app.input.click(600, 420)
        app.input.check_frame("alt-and-ctrl-digits-ignored")
        app.check_marks("after Alt+5 and Ctrl+5", [3])
        app = WebEditor(browser, site.url, options, "web-panel")
        panel_session(app, browser, options.axe)
        app = WebEditor(browser, site.url, options, "web-knots")
        knot_points = [(70, 380), (130, 110), (250, 70), (320, 300), (400, 410), (490, 320),
                       (560, 120)]
        for x, y in knot_points:
            app.input.click(x, y)
        app.input.check_frame("seven-points")

        def new_editor(url, name, start_frame=True):
            browser.get("about:blank")  # a link differing only in its fragment is a new page too
            return WebEditor(browser, url, options, name, start_frame)
        knots_session(app, browser, knot_points, new_editor, site)
        app = WebEditor(browser, site.url, options, "web-operations")
        for x, y in knot_points:
            app.input.click(x, y)
        app.input.check_frame("seven-points")
        operations_session(app, browser, knot_points, new_editor)
        app = WebEditor(browser, site.url, options, "web-state")
        for x, y in knot_points:
            app.input.click(x, y)
        app.input.check_frame("seven-points")
        state_session(app, browser, options.axe)
        app = WebEditor(browser, site.url, options, "web-teacher")
        for x, y in knot_points:
            app.input.click(x, y)
        app.input.check_frame("seven-points")
        teacher_session(app, browser, options.artifacts)
        app = WebEditor(browser, site.url, options, "web-fit")
        for x, y in FIT_POINTS:
            app.input.click(x, y)
        app.input.check_frame("seven-points")
        fit_session(app, browser, FIT_POINTS, options.artifacts)
        docs_site = Site(docs_directory())
        try:
            embed_session(browser, site, docs_site, fresh_tab)
        finally:
            docs_site.close()
        scene_session(browser, new_editor, site, options.artifacts)
        from web_phone import phone_session  # it drives PageInput, made here
        phone_session(site, options)
        offline_site = Site(os.path.abspath(options.site))
        try:
            offline_session(browser, new_editor, offline_site)
        finally:
            offline_site.close()
    except (Failure, WebDriverException) as failure:
        browser.save_screenshot(os.path.join(options.artifacts, "failure.page.png"))
        print(f"screen captures of the failure are in {os.path.abspath(options.artifacts)}")
        if isinstance(failure, WebDriverException):
            raise Failure(f"the browser refused a step: {failure.msg}")
        raise
    finally:
        browser.quit()
        site.close()
    remove_captures(options.artifacts)
    print("web end-to-end: passed")
    return 0


if __name__ == "__main__":
    sys.exit(run_main(main))
