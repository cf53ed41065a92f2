"""The browser page beside the editor: the panel "Inside the curve" over a real editing
session (frames still compared exactly with tavrimo_replay's), the menus and the panel from
the keyboard alone, and axe-core's accessibility rules with the panel closed and open."""

import os

from desktop import Failure, wait_until

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    pass

DEGREE_5 = 40062
BLUE = (0, 0, 255)

STATE = "return InsidePanel.state();"

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


def panel_session(app, browser, axe_path):
    """Seven points at degree 3, the panel opened and t moved by keys; the overlay's curve
    point lies on the editor's blue chain; the editor's frames are unchanged through it all."""
    if not os.path.isfile(axe_path):
        raise Failure(f"axe-core is not installed ({axe_path}): ./scripts/setup test installs it")
    check_accessible(browser, axe_path, "closed")
    points = [(70, 380), (130, 110), (250, 70), (320, 300), (400, 410), (490, 320), (560, 120)]
    for x, y in points[:2]:
        app.input.click(x, y)
    toggle = browser.find_element(By.ID, "inside-toggle")
    toggle.click()
    status = browser.find_element(By.ID, "inside-status").get_attribute("textContent")
    if status != "Place 2 more points for a curve of degree 3.":
        raise Failure(f"with 2 points the panel says {status!r}")
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
    if abs(construction["t"] - 3.3) > 1e-5 or len(construction["levels"]) != 4:
        raise Failure(f"three steps from t = 3 the panel has t = {construction['t']} "
                      f"with {len(construction['levels'])} levels (the slider was at {start})")
    column, row = (int(v) for v in construction["pixel"])
    pixel = tuple(browser.execute_script(CANVAS_PIXEL, column, row))
    if pixel != BLUE:
        raise Failure(f"C(t) at t = {construction['t']} is pixel {column},{row}, which is {pixel}, "
                      "not the curve's blue")
    total = sum(construction["basis"])
    if abs(total - 1) > 1e-9:
        raise Failure(f"the basis values at t sum to {total}")
    print(f"ok C({construction['t']:.7g}) is on the blue curve at {column},{row}")
    if browser.execute_script(OVERLAY_DRAWN) == 0:
        raise Failure("the panel is open but the overlay is empty")

    # Through the overlay: a new point, and a drag of the fourth, as without it.
    app.input.click(600, 440)
    app.input.drag(1, points[3], (340, 250))
    app.input.check_frame("through-the-overlay")
    state = wait_until("the panel after the edits", lambda: (
        lambda s: s if s["domain"]["points"] == 8 else None)(browser.execute_script(STATE)),
        timeout=10)
    print(f"ok the panel follows the edits: {state['domain']['points']} points")

    # The menus from the keyboard alone: Degree, then its fifth item.
    browser.execute_script("document.activeElement.blur(); document.body.focus();")
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

    toggle.click()
    if browser.execute_script(OVERLAY_DRAWN) != 0:
        raise Failure("closing the panel leaves the overlay drawn")
    app.input.check_frame("panel-closed")
    print("ok closing the panel clears the overlay")
