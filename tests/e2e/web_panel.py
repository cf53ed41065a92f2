"""The browser page beside the editor: the panel "Inside the curve" over a real editing
session (frames still compared exactly with tavrimo_replay's), t typed, at the domain's end and
played, the guide line, the menus and the panel from the keyboard alone, the points edited as
numbers (each frame that of placing the same points by hand, each undone in one step), and
axe-core's accessibility rules with the panel closed and open."""

import math
import os
import time

from desktop import Failure, wait_until

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    pass

DEGREE_5 = 40062
BLUE = (0, 0, 255)

STATE = "return tavrimo.inside();"

OVERLAY_DRAWN = """
const c = document.getElementById("overlay");
const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
let drawn = 0;
for (let i = 3; i < data.length; i += 4) if (data[i] !== 0) drawn += 1;
return drawn;
"""

CANVAS_PIXEL = """
const d = document.getElementById("tavrimo").getContext("2d")
    .getImageData(arguments[0], arguments[1], 1, 1).data;
return [d[0], d[1], d[2]];
"""


def axe_violations(browser, axe_path):
    """axe-core's rules over the whole page: the violations as 'rule: elements' lines."""
    with open(axe_path, encoding="utf-8") as source:
        browser.execute_script(source.read())
    result = browser.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document).then(r => done(r.violations.map(v => v.id + ' (' + v.impact + '): ' +"
        " v.nodes.map(n => n.target.join(' ')).join(', '))), e => done(['axe failed: ' + e]));")
    return result


def check_accessible(browser, axe_path, when):
    violations = axe_violations(browser, axe_path)
    if violations:
        raise Failure(f"accessibility rules with the panel {when}:\n  " + "\n  ".join(violations))
    print(f"ok no accessibility violations with the panel {when}")


def press_keys(browser, *keys):
    chain = ActionChains(browser)
    for key in keys:
        chain.send_keys(key)
    chain.perform()


def focused(browser):
    return browser.execute_script(
        "const e = document.activeElement; return (e.id || '') + '|' + e.textContent;")


def panel_state(browser, what):
    return wait_until(what, lambda: browser.execute_script(STATE), timeout=10)


def text_of(browser, element_id):
    return browser.find_element(By.ID, element_id).get_attribute("textContent")


def value_of(browser, element_id):
    return browser.find_element(By.ID, element_id).get_attribute("value")


def basis_rows(browser):
    return browser.execute_script(
        "return Array.from(document.querySelectorAll('#basis-values tbody th'))"
        ".map(th => th.textContent);")


def type_into(browser, element, text):
    element.send_keys(Keys.CONTROL, "a")
    element.send_keys(text + Keys.ENTER)


def check_t(browser):
    """t typed in and out of range, at the domain's end however it got there, exact on demand,
    and "Play" at a pace to follow: seven points at degree 3, t from 3 to 7."""
    field = browser.find_element(By.ID, "t-value")
    browser.find_element(By.ID, "t-slider").send_keys(Keys.END)
    wait_until("t at the end by the slider", lambda: value_of(browser, "t-value") == "7" or None,
               timeout=10)
    by_slider = basis_rows(browser)
    browser.find_element(By.ID, "t-exact").click()
    exact = value_of(browser, "t-value")
    if exact == "7" or abs(float(exact) - 7) > 1e-4:
        raise Failure(f"the exact t of the editor's last sample shows as {exact!r}")
    browser.find_element(By.ID, "t-exact").click()
    type_into(browser, field, "7")
    wait_until("t typed at the end", lambda: value_of(browser, "t-value") == "7" or None,
               timeout=10)
    if basis_rows(browser) != by_slider or len(by_slider) != 4:
        raise Failure(f"at t = 7 the table lists {by_slider} by the slider, "
                      f"{basis_rows(browser)} typed")
    for typed, note in (("12", "outside, so t is 7"), ("abc", "not a number")):
        type_into(browser, field, typed)
        wait_until(f"t typed as {typed!r}", lambda: note in text_of(browser, "t-note") or None,
                   timeout=10)
        if value_of(browser, "t-value") != "7":
            raise Failure(f"after {typed!r} the t field shows {value_of(browser, 't-value')!r}")
    print(f"ok t: 7 at the end however it got there ({exact} exactly), 12 and abc corrected")

    browser.find_element(By.ID, "t-slider").send_keys(Keys.HOME)
    browser.find_element(By.ID, "t-play").click()
    time.sleep(0.5)
    state = browser.execute_script(STATE)
    playing = browser.find_element(By.ID, "t-play").get_attribute("aria-pressed")
    browser.find_element(By.ID, "t-play").click()
    if playing != "true" or state["sampleIndex"] > 15:
        raise Failure(f"half a second into Play at a span a second t is sample "
                      f"{state['sampleIndex']} (playing: {playing})")
    print(f"ok Play at a span a second: sample {state['sampleIndex']} after half a second")


def expect_placed(app, points, degree_command):
    """From now on the expected frame is that of the client points placed by clicks, then the
    degree chosen."""
    app.input.expect.events = []
    for x, y in points:
        app.input.expect.add(f"move {x} {y}")
        app.input.expect.add(f"ldown {x} {y}")
        app.input.expect.add("lup")
    app.input.command(degree_command)


def row_control(browser, index, which):
    selector = f"input[data-index='{index}'][data-axis='{which}']" if which in "xy" else \
        f"button[data-index='{index}'][data-action='{which}']"
    return browser.find_element(By.CSS_SELECTOR, "#points-table " + selector)


def check_points(app, browser, points, degree_command):
    """The points as numbers: a typed x, a delete and an insert, each the frame of the same
    points placed by hand, each undone in one step. `points` in client coordinates."""
    before = app.input.canvas()
    between = ((points[0][0] + points[1][0]) // 2, (points[0][1] + points[1][1]) // 2)
    edits = [
        ("typed-x", lambda: type_into(browser, row_control(browser, 2, "x"), "280"),
         points[:2] + [(280, points[2][1])] + points[3:]),
        ("deleted", lambda: row_control(browser, 4, "delete").click(), points[:4] + points[5:]),
        ("inserted", lambda: row_control(browser, 0, "insert").click(),
         points[:1] + [between] + points[1:]),
    ]
    for what, edit, expected in edits:
        expect_placed(app, expected, degree_command)
        edit()
        app.input.check_frame(f"point-{what}")
        browser.find_element(By.ID, "scene-undo").click()
        wait_until(f"one undo of the point {what}", lambda: app.input.canvas() == before or None,
                   timeout=10)
        print(f"ok the point {what} gives the scene placed by hand, undone in one step")
    expect_placed(app, points, degree_command)


def panel_session(app, browser, axe_path):
    """Seven points at degree 3, the panel opened and t moved by keys; the overlay's curve
    point lies on the editor's blue chain; the editor's frames are unchanged through it all."""
    if not os.path.isfile(axe_path):
        raise Failure(f"axe-core is not installed ({axe_path}): ./scripts/setup test installs it")
    check_accessible(browser, axe_path, "closed")
    points = [(70, 380), (130, 110), (250, 70), (320, 300), (400, 410), (490, 320), (560, 120)]
    if "Click to place points" not in text_of(browser, "guide-hint"):
        raise Failure(f"the first screen's guide says {text_of(browser, 'guide-hint')!r}")
    for x, y in points[:2]:
        app.input.click(x, y)
    wait_until("the guide with two points", lambda: text_of(browser, "guide-hint") ==
               "A curve of degree 3 needs 4 points: place 2 more." or None, timeout=10)
    toggle = browser.find_element(By.ID, "inside-toggle")
    toggle.click()
    status = browser.find_element(By.ID, "inside-status").get_attribute("textContent")
    if status != "Place 2 more points for a curve of degree 3." or \
            browser.find_element(By.ID, "inside-view").is_displayed():
        raise Failure(f"with 2 points the panel says {status!r} and shows its plot")
    for x, y in points[2:]:
        app.input.click(x, y)
    app.input.check_frame("seven-points-panel-open")
    state = panel_state(browser, "the panel's curve")
    if (state["domain"]["degree"], state["domain"]["points"]) != (3, 7):
        raise Failure(f"the panel shows {state['domain']}")
    check_accessible(browser, axe_path, "open")

    # t by the keyboard: the slider steps from sample to sample of the editor's own.
    browser.find_element(By.ID, "t-slider").click()  # a click on the slider: t to that sample
    start = panel_state(browser, "t")["sampleIndex"]
    press_keys(browser, Keys.HOME, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
    state = wait_until("t moved by the arrow keys", lambda: (
        lambda s: s if s["sampleIndex"] == 3 else None)(browser.execute_script(STATE)), timeout=10)
    construction = state["construction"]
    if abs(construction["t"] - 3.3) > 1e-5 or len(construction["levels"]) != 4 or \
            value_of(browser, "t-value") != "3.3":
        raise Failure(f"three steps from t = 3 the panel has t = {construction['t']} "
                      f"with {len(construction['levels'])} levels, shown as "
                      f"{value_of(browser, 't-value')!r} (the slider was at {start})")
    origin = browser.execute_script("return tavrimo.editor.geometry.worldOriginRow;")
    column = math.floor(construction["point"]["x"] + 0.5)
    row = origin - math.floor(construction["point"]["y"] + 0.5)
    pixel = tuple(browser.execute_script(CANVAS_PIXEL, column, row))
    if pixel != BLUE:
        raise Failure(f"C(t) at t = {construction['t']} is pixel {column},{row}, which is {pixel}, "
                      "not the curve's blue")
    total = sum(state["basis"]["values"])
    if abs(total - 1) > 1e-9:
        raise Failure(f"the basis values at t sum to {total}")
    print(f"ok C({construction['t']:.7g}) is on the blue curve at {column},{row}")
    if browser.execute_script(OVERLAY_DRAWN) == 0:
        raise Failure("the panel is open but the overlay is empty")
    check_t(browser)

    # Through the overlay: a new point, and a drag of the fourth, as without it.
    app.input.click(600, 440)
    app.input.drag(1, points[3], (340, 250))
    app.input.check_frame("through-the-overlay")
    state = wait_until("the panel after the edits", lambda: (
        lambda s: s if s["domain"]["points"] == 8 else None)(browser.execute_script(STATE)),
        timeout=10)
    print(f"ok the panel follows the edits: {state['domain']['points']} points")

    # The menus from the keyboard alone: Degree, then its fifth item.
    browser.execute_script("document.getElementById('inside-toggle').focus();")
    for _ in range(20):
        if focused(browser).endswith("|Degree"):
            break
        press_keys(browser, Keys.TAB)
    if not focused(browser).endswith("|Degree"):
        raise Failure(f"Tab does not reach the Degree menu (focus: {focused(browser)!r})")
    press_keys(browser, Keys.ENTER, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN,
               Keys.ARROW_DOWN, Keys.ENTER)
    app.input.command(DEGREE_5)
    app.input.check_frame("degree-5-by-keys")
    app.check_marks("after Degree 5 by keys", [5])
    wait_until("the panel at degree 5", lambda: browser.execute_script(STATE)["domain"]["degree"] == 5
               or None, timeout=10)
    check_points(app, browser, points[:3] + [(340, 250)] + points[4:] + [(600, 440)], DEGREE_5)

    toggle.click()
    if browser.execute_script(OVERLAY_DRAWN) != 0:
        raise Failure("closing the panel leaves the overlay drawn")
    app.input.check_frame("panel-closed")
    print("ok closing the panel clears the overlay")
