"""The page's one state in the browser: after each action a newcomer takes, and after Undo, every
part shows the same moment, read from the part itself and compared with the page's state: the
knots part after a change undone, t kept through knot changes, an insertion undone before the
point placed earlier, nothing to press without a curve and no note left from before, the keys on
a knot tick and a point's row, the canvas in view while the operations are used, and the
accessibility rules with every view on."""

from desktop import Failure, wait_until
from web_knots import choose_mode, set_t, state, wait_state
from web_panel import check_accessible, press_keys, text_of, type_into, value_of

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    pass

VIEWS = ["op-pieces", "op-raised", "op-first", "op-second", "op-comb", "op-ticks", "op-step"]


def view(browser):
    return browser.execute_script("return tavrimo.page.state.view;")


def undo(browser):
    browser.find_element(By.ID, "scene-undo").click()


def check_knots_follow_undo(browser):
    """A mode changed and undone: the knots part shows the mode and vector of the step shown, and
    t stays where the learner left it through the change and its undoing."""
    set_t(browser, 3.7)
    uniform = value_of(browser, "knot-text")
    choose_mode(browser, "clamped")
    if abs(view(browser)["t"] - 3.7) > 1e-12:
        raise Failure(f"t moved to {view(browser)['t']} when the knots became clamped (from 0 to 4)")
    undo(browser)
    wait_until("the knots part after Undo", lambda: (value_of(browser, "knot-mode") == "uniform" and
                                                    value_of(browser, "knot-text") == uniform) or None,
               timeout=10)
    shown = wait_state(browser, "the panel after Undo", lambda s: s["explored"]["mode"] == "uniform")
    if abs(shown["t"]["nominal"] - 3.7) > 1e-12 or "99999" in value_of(browser, "t-value"):
        raise Failure(f"after Undo t is {shown['t']}, shown as {value_of(browser, 't-value')!r}")
    panel = text_of(browser, "curve-point")
    operations = browser.execute_script("return document.querySelector('#op-values td').textContent;")
    if panel != "C(3.7) = " + operations:
        raise Failure(f"C(t) reads {panel!r} in the panel and {operations!r} in the operations")
    print("ok a knot change undone: the knots part, t = 3.7 and C(t) agree in every part")


def check_insertion_is_a_step(app, browser):
    """Insert t, then Undo: the insertion goes, the points stay; Redo brings it back."""
    points = state(browser)["domain"]["points"]
    browser.find_element(By.ID, "op-insert").click()
    wait_until("one insertion", lambda: view(browser)["insertions"] == 1 or None, timeout=10)
    undo(browser)
    wait_until("the insertion undone", lambda: view(browser)["insertions"] == 0 or None, timeout=10)
    if state(browser)["domain"]["points"] != points:
        raise Failure("Undo after Insert t took back a point")
    browser.find_element(By.ID, "scene-redo").click()
    wait_until("the insertion redone", lambda: view(browser)["insertions"] == 1 or None, timeout=10)
    print("ok Insert t is a step: Undo takes it back before the points, Redo brings it again")


def check_keys(browser):
    """+ on a focused knot tick keeps the focus on its tick; Shift+Right moves it by 0.01 exactly;
    focusing a point's row weighs that point."""
    tick = browser.find_element(By.CSS_SELECTOR, "#knot-ticks .knot[data-index='5']")
    browser.execute_script("arguments[0].focus();", tick)
    ActionChains(browser).key_down(Keys.SHIFT).send_keys(Keys.ARROW_RIGHT).key_up(Keys.SHIFT).perform()
    wait_until("the knot moved by 0.01", lambda: " 5.01 " in value_of(browser, "knot-text") or None,
               timeout=10)
    press_keys(browser, "+")
    wait_until("the knot raised", lambda: value_of(browser, "knot-text").count("5.01") == 2 or None,
               timeout=10)
    focused = browser.execute_script("return document.activeElement.className;")
    if "knot" not in focused:
        raise Failure(f"after + the focus is on {focused!r}, not on the knot's tick")
    browser.find_element(By.CSS_SELECTOR, "#points-table input[data-index='3'][data-axis='x']").click()
    wait_until("P3's weight", lambda: text_of(browser, "weight-label") == "Weight of P3" or None, timeout=10)
    undo(browser)
    undo(browser)
    print("ok + keeps the focus on its knot, Shift+Right moves it by 0.01, P3's row weighs P3")


def check_canvas_in_view(browser):
    """The operations' last buttons pressed at 1400 x 1000: the canvas stays on the screen."""
    size = browser.get_window_size()
    browser.set_window_size(1400, 1000)
    browser.execute_script("document.getElementById('op-level-up').scrollIntoView();")
    for box in ("op-step",):
        browser.find_element(By.ID, box).click()
    browser.find_element(By.ID, "op-level-up").click()
    top, bottom, height = browser.execute_script(
        "const r = document.getElementById('tavrimo').getBoundingClientRect();"
        "return [r.top, r.bottom, innerHeight];")
    browser.find_element(By.ID, "op-step").click()
    browser.set_window_size(size["width"], size["height"])
    if top < 0 or bottom > height:
        raise Failure(f"with the operations in use the canvas is at {top}..{bottom} of {height}")
    print("ok the canvas stays in view while the operations are used")


def check_no_curve(app, browser):
    """Degree 9 over fewer than 10 points: nothing in the operations can be pressed, and a
    refusal said before goes once the tenth point is placed."""
    browser.find_element(By.CSS_SELECTOR, "#tavrimo").send_keys("9")
    wait_until("degree 9", lambda: state(browser)["domain"]["degree"] == 9 or None, timeout=10)
    acting = ("return Array.from(document.querySelectorAll('#operations-part button, #operations-part input'))"
              ".filter(e => !e.disabled).map(e => e.id);")
    try:
        wait_until("nothing to press without a curve", lambda: browser.execute_script(acting) == [] or None,
                   timeout=5)
    except Failure:
        raise Failure(f"with no curve these still act: {browser.execute_script(acting)}")
    type_into(browser, browser.find_element(By.ID, "knot-text"), "0 1 x")
    refusal = wait_until("the knots' refusal", lambda: text_of(browser, "knot-message") or None, timeout=10)
    count = state(browser)["domain"]["points"]
    app.input.measure()  # the page has scrolled; the canvas has stayed in view
    for n in range(10 - count):
        app.input.click(40 + 50 * n, 450)
    wait_until("the tenth point", lambda: state(browser)["domain"]["points"] == 10 or None, timeout=10)
    if text_of(browser, "knot-message") != "":
        raise Failure(f"with the tenth point placed, the knots part still says {text_of(browser, 'knot-message')!r}")
    print(f"ok without a curve nothing acts; \"{refusal}\" goes once the curve is there")


def state_session(app, browser, axe_path):
    """Seven points at degree 3 placed, the panel open."""
    browser.find_element(By.ID, "inside-toggle").click()
    check_knots_follow_undo(browser)
    check_insertion_is_a_step(app, browser)
    check_keys(browser)
    for box in VIEWS:
        browser.find_element(By.ID, box).click()
    check_accessible(browser, axe_path, "open with every view on")
    for box in VIEWS:
        browser.find_element(By.ID, box).click()
    check_canvas_in_view(browser)
    check_no_curve(app, browser)
