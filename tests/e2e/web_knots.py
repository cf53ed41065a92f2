"""The explored curves in the browser page: a custom knot vector typed in, its C(t) and basis
values compared with SciPy's BSpline for the same knots and points; a clamped curve's ends; a
rational circle's radius; a bad vector refused with nothing changed; a knot moved by the keyboard
and a change of knots undone in one step; the knots and weights carried by a link. The editor's
frames stay exactly as without any of it."""

import numpy
from scipy.interpolate import BSpline

from desktop import Failure, wait_until
from web_panel import STATE, text_of, type_into

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select
except ImportError:
    pass

CUSTOM = [0, 0, 0.5, 1, 1, 1, 2.5, 3, 4, 4.5, 5]
CENTRE, RADIUS = (320, 0), 150


def state(browser):
    return browser.execute_script(STATE)


def wait_state(browser, what, test):
    return wait_until(what, lambda: (lambda s: s if s and test(s) else None)(state(browser)),
                      timeout=10)


def set_t(browser, t):
    type_into(browser, browser.find_element(By.ID, "t-value"), repr(t))
    return wait_state(browser, f"t = {t}", lambda s: abs(s["t"]["nominal"] - t) < 1e-12)


def choose_mode(browser, mode):
    Select(browser.find_element(By.ID, "knot-mode")).select_by_value(mode)
    return wait_state(browser, f"{mode} knots", lambda s: s["explored"]["mode"] == mode)


def knots_session(app, browser, points, new_editor, site):
    """Seven points at degree 3 (world coordinates from `points`, client ones placed), the panel
    open: each mode of the knots, compared with SciPy, and the editor's frame throughout."""
    frame = app.input.canvas()
    browser.find_element(By.ID, "inside-toggle").click()
    text = browser.find_element(By.ID, "knot-text")
    type_into(browser, text, " ".join(str(u) for u in CUSTOM))
    wait_state(browser, "the custom vector", lambda s: s["explored"]["knots"] == CUSTOM)
    world = numpy.array([(x, 239 - y) for x, y in points], dtype=float)
    reference = BSpline(numpy.array(CUSTOM, dtype=float), world, 3)
    largest = 0.0
    for t in (1.0, 1.7, 2.2, 2.5, 2.9):
        shown = set_t(browser, t)
        point = shown["construction"]["point"]
        expected = reference(t)
        basis = shown["basis"]
        design = BSpline.design_matrix(numpy.array([t]), numpy.array(CUSTOM, dtype=float), 3).toarray()[0]
        differences = [abs(point["x"] - expected[0]), abs(point["y"] - expected[1])] + \
            [abs(value - design[basis["first"] + j]) for j, value in enumerate(basis["values"])]
        largest = max(largest, max(differences))
    if largest > 1e-9:
        raise Failure(f"the custom curve differs from SciPy's BSpline by {largest}")
    print(f"ok the custom curve and its basis match SciPy's BSpline to {largest:.1e}")
    if app.input.canvas() != frame:
        raise Failure("the editor's picture changed with custom knots")

    type_into(browser, text, "0 1 x")
    wait_until("the bad vector's message",
               lambda: "not a number" in text_of(browser, "knot-message") or None, timeout=10)
    if state(browser)["explored"]["knots"] != CUSTOM:
        raise Failure("a bad vector changed the knots")
    print(f"ok a bad vector says: {text_of(browser, 'knot-message')}")

    # The second distinct knot (1, three times) moved right by the keyboard, then undone.
    tick = browser.find_element(By.CSS_SELECTOR, "#knot-ticks .knot[data-index='3']")
    tick.send_keys(Keys.ARROW_RIGHT)
    moved = wait_state(browser, "the knot moved", lambda s: s["explored"]["knots"][3:6] == [1.1] * 3)
    browser.find_element(By.ID, "scene-undo").click()
    wait_state(browser, "the knot's move undone", lambda s: s["explored"]["knots"] == CUSTOM)
    print(f"ok a knot moved by the keyboard to {moved['explored']['knots'][3]}, undone in one step")
    browser.find_element(By.CSS_SELECTOR, "#knot-ticks .knot[data-index='6']").click()
    browser.find_element(By.ID, "knot-raise").click()
    # A copy added where it was, the first knot given up: the domain stays [1, 3] around it.
    raised = [0, 0.5, 1, 1, 1, 2.5, 2.5, 3, 4, 4.5, 5]
    wait_state(browser, "the knot 2.5 raised", lambda s: s["explored"]["knots"] == raised)
    browser.find_element(By.ID, "scene-undo").click()
    wait_state(browser, "the raise undone", lambda s: s["explored"]["knots"] == CUSTOM)
    print("ok the knot 2.5 raised to multiplicity 2 by its button, undone in one step")

    shown = choose_mode(browser, "clamped")
    start = set_t(browser, shown["explored"]["first"])["construction"]["point"]
    end = set_t(browser, shown["explored"]["last"])["construction"]["point"]
    if max(abs(start["x"] - world[0][0]), abs(start["y"] - world[0][1]),
           abs(end["x"] - world[-1][0]), abs(end["y"] - world[-1][1])) > 1e-9:
        raise Failure(f"the clamped curve runs from {start} to {end}, not from P0 to P6")
    print("ok the clamped curve starts at the first point and ends at the last")
    choose_mode(browser, "closed")
    if app.input.canvas() != frame:
        raise Failure("the editor's picture changed with the knots' modes")
    print("ok the editor's frame is unchanged in every mode")

    # Looking at a point (its row pointed at) marks it in every view of the explored curve.
    row = browser.find_element(By.CSS_SELECTOR, "#points-table tr[data-point='2']")
    ActionChains(browser).move_to_element(row).perform()
    wait_state(browser, "P2 looked at", lambda s: s["looked"] == 2)
    errors = [entry["message"] for entry in browser.get_log("browser")
              if entry["level"] == "SEVERE" and "favicon" not in entry["message"]]
    if errors:
        raise Failure("the page reported errors: " + "; ".join(errors))
    print("ok looking at P2 on the closed curve marks it, with no error on the page")

    Select(browser.find_element(By.ID, "example")).select_by_value("circle")
    browser.find_element(By.ID, "example-open").click()
    wait_state(browser, "the circle", lambda s: s["explored"]["degree"] == 2 and
               s["explored"]["points"] == 9)
    samples = browser.execute_script(
        "return Array.from(window.tavrimo.module.exploredSamples(0.25));")
    off = max(abs(numpy.hypot(samples[j] - CENTRE[0], samples[j + 1] - CENTRE[1]) - RADIUS)
              for j in range(0, len(samples), 3))
    if off > 1e-9 or len(samples) < 3 * 16:
        raise Failure(f"the rational circle's {len(samples) // 3} samples are up to {off} off its radius")
    print(f"ok the rational circle's {len(samples) // 3} samples lie at its radius to {off:.1e}")

    browser.find_element(By.ID, "scene-link").click()
    link = wait_until("the link", lambda: (lambda u: u if "#scene=" in u else None)(
        browser.current_url), timeout=10)
    linked = new_editor(link, "web-knots-link", start_frame=False)
    # The link keeps the view too: the panel opens by itself.
    again = wait_state(browser, "the circle from its link",
                       lambda s: s["explored"]["points"] == 9)
    weights = browser.execute_script(
        "return [0, 1, 2].map(j => window.tavrimo.module.sliderWeight(j));")
    if again["explored"]["knots"] != [0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4] or \
            abs(weights[1] - 2 ** 0.5 / 2) > 1e-15 or weights[0] != 1:
        raise Failure(f"the link brings knots {again['explored']['knots']} and weights {weights}")
    print("ok the link carries the knots and the weights")
    return linked
