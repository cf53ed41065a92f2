"""The panel's operations in the browser page, their numbers read from the page's own CSV tables
and compared with SciPy: a knot inserted once and three times (scipy.interpolate.insert), the
derivatives and curvature (BSpline's derivatives), the arc length (scipy.integrate.quad over the
speed), the triangle and the basis at t, the Bezier pieces and the raised degree evaluated by
BSpline; on the editor's own knots and on a custom vector. A refinement opened as the scene is
the same curve, undone in one step; a link keeps the view, and a damaged view is refused with
the scene kept. The editor's frames stay exactly as without any of it."""

import csv
import io
import random

import numpy
from scipy.integrate import quad
from scipy.interpolate import BSpline, insert

from desktop import Failure, wait_until
from web_knots import CUSTOM, set_t, wait_state
from web_panel import text_of, type_into

try:
    from selenium.webdriver.common.by import By
except ImportError:
    pass

VIEWS = ["op-pieces", "op-raised", "op-first", "op-second", "op-comb", "op-ticks"]
OPERATIONS = "return tavrimo.operations();"


HEADS = {
    "triangle": ["t", "level", "index", "point", "blossom", "x", "y", "weight"],
    "basis": ["t", "point", "N_j,{k}"],
    "refinement": ["index", "x", "y", "weight", "knot"],
    "derivatives": ["t", "x", "y", "dx", "dy", "ddx", "ddy", "curvature", "length to t", "length"],
}


def table(browser, kind):
    rows = list(csv.reader(io.StringIO(browser.execute_script(
        "return tavrimo.operationsTable(arguments[0], false);", kind), newline="")))
    head = rows[0]
    expected = [name.replace("{k}", head[-1][4:]) for name in HEADS[kind]]
    if head != expected or (kind == "basis" and not head[-1][4:].isdigit()):
        raise Failure(f"the {kind} table's header is {head}, not {HEADS[kind]}")
    for row in rows[1:]:
        if len(row) != len(head):
            raise Failure(f"the {kind} table's row {row} does not have the {len(head)} fields of "
                          f"its header {head}")
    return head, [[float(cell) if cell not in ("",) and cell[0] not in "Pp" else cell
                   for cell in row] for row in rows[1:]]


def insertions(browser, count):
    while browser.execute_script(OPERATIONS)["inserts"] > 0:
        browser.find_element(By.ID, "op-remove").click()
    for _ in range(count):
        browser.find_element(By.ID, "op-insert").click()
    return wait_until(f"{count} insertions", lambda: (lambda s: s if s and s["at"]["inserted"] == count
                                                     else None)(browser.execute_script(OPERATIONS)),
                      timeout=10)


def compare(browser, knots, world, k, ts, largest):
    """Every operation at each t against SciPy for the spline (knots, world, k): the largest
    difference per operation, updated in `largest`."""
    reference = BSpline(knots, world, k)
    # BSpline's own derivatives (its derivative() refuses a knot k times, whose curve has none
    # across it; evaluated within the spans they are the same).
    def first(u):
        return reference(u, 1)

    def second(u):
        return reference(u, 2)

    domain = (knots[k], knots[len(world)])

    def speed(u):
        return float(numpy.hypot(*first(u)))

    def note(name, value):
        largest[name] = max(largest.get(name, 0.0), float(value))

    total = quad(speed, *domain, points=list(knots[k:len(world) + 1]), epsabs=1e-13, epsrel=1e-13,
                 limit=500)[0]
    for typed in ts:
        set_t(browser, typed)
        _, rows = table(browser, "triangle")
        t = rows[0][0]  # the t the page works at (the editor's own curve: float32)
        top = rows[-1]
        note("de Boor's triangle: C(t)", max(abs(top[5] - reference(t)[0]), abs(top[6] - reference(t)[1])))
        _, basis = table(browser, "basis")
        design = BSpline.design_matrix(numpy.array([t]), knots, k).toarray()[0]
        note("basis at t", max(abs(row[2] - design[int(row[1][2:])]) for row in basis))
        _, (row,) = table(browser, "derivatives")
        d1, d2 = first(t), second(t)
        curvature = (d1[0] * d2[1] - d1[1] * d2[0]) / numpy.hypot(*d1) ** 3
        note("C'(t)", max(abs(row[3] - d1[0]), abs(row[4] - d1[1])) / max(1.0, numpy.abs(d1).max()))
        note("C''(t)", max(abs(row[5] - d2[0]), abs(row[6] - d2[1])) / max(1.0, numpy.abs(d2).max()))
        note("curvature", abs(row[7] - curvature) / max(1e-3, abs(curvature)))
        to_t = quad(speed, domain[0], t, points=[u for u in knots if domain[0] < u < t],
                    epsabs=1e-13, epsrel=1e-13, limit=500)[0]
        note("arc length", max(abs(row[8] - to_t), abs(row[9] - total)) / total)
        for times in sorted({1, k - int(numpy.count_nonzero(knots == t))}):
            insertions(browser, times)
            _, refined = table(browser, "refinement")
            expected = insert(t, (knots, [world[:, 0], world[:, 1]], k), m=times)
            count = len(world) + times
            got_points = numpy.array([[row[1], row[2]] for row in refined[:count]])
            got_knots = numpy.array([row[4] for row in refined])
            if len(got_knots) != len(expected[0]):
                raise Failure(f"t = {t} inserted {times} times gives {len(got_knots)} knots, "
                              f"SciPy {len(expected[0])}")
            note(f"knot insertion ({times}x)", max(
                numpy.abs(got_knots - expected[0]).max(),
                numpy.abs(got_points[:, 0] - expected[1][0][:count]).max(),
                numpy.abs(got_points[:, 1] - expected[1][1][:count]).max()))
        insertions(browser, 0)
    # The Bezier pieces and the raised degree, evaluated by de Casteljau and by BSpline.
    module = "window.tavrimo.module"
    pieces = browser.execute_script(f"return Array.from({module}.bezierPieces());")
    stride = 2 + 2 * (k + 1)
    for p in range(0, len(pieces), stride):
        a, b = pieces[p], pieces[p + 1]
        polygon = numpy.array(pieces[p + 2:p + stride]).reshape(k + 1, 2)
        for f in (0.0, 0.25, 0.6, 1.0):
            level = polygon.copy()
            for r in range(k):
                level = (1 - f) * level[:-1] + f * level[1:]
            note("Bezier pieces", numpy.abs(level[0] - reference(a + (b - a) * f)).max())
    raised = browser.execute_script(f"return {module}.raisedDegree();")
    elevated = BSpline(numpy.array(raised["knots"]), numpy.array(raised["points"]).reshape(-1, 2),
                       raised["degree"])
    for u in numpy.linspace(*domain, 41):
        note("degree raised", numpy.abs(elevated(u) - reference(u)).max())


def operations_session(app, browser, points, new_editor):
    """Seven points at degree 3 (world coordinates from `points`) with the panel open: the
    operations on the editor's knots and on a custom vector against SciPy, every view drawn
    with the editor's frame unchanged, a refinement opened and undone, the view in a link."""
    frame = app.input.canvas()
    browser.find_element(By.ID, "inside-toggle").click()
    world = numpy.array([(x, 239 - y) for x, y in points], dtype=float)
    largest = {}
    compare(browser, numpy.arange(11, dtype=float), world, 3, (3.0, 4.3, 5.5, 6.95), largest)
    type_into(browser, browser.find_element(By.ID, "knot-text"), " ".join(str(u) for u in CUSTOM))
    wait_state(browser, "the custom vector", lambda s: s["explored"]["knots"] == CUSTOM)
    compare(browser, numpy.array(CUSTOM, dtype=float), world, 3, (1.3, 1.7, 2.2, 2.9), largest)
    for name, value in largest.items():
        print(f"ok {name} matches SciPy to {value:.1e}")
    if max(largest.values()) > 1e-9:
        raise Failure(f"the page's operations differ from SciPy: {largest}")

    # Every view on, the triangle named and stepped: the editor's picture is untouched.
    for view in VIEWS:
        browser.find_element(By.ID, view).click()
    browser.execute_script("const l = document.getElementById('op-labels'); l.value = 'blossoms';"
                           "l.dispatchEvent(new Event('change'));")
    browser.find_element(By.ID, "op-step").click()
    browser.find_element(By.ID, "op-level-up").click()
    set_t(browser, 2.2)
    insertions(browser, 3)
    if browser.execute_script(OPERATIONS)["at"].get("before") is None:
        raise Failure("t inserted three times does not split the cubic")
    shown = browser.execute_script(OPERATIONS)
    if shown["level"] != 1:
        raise Failure("the triangle's step did not reach level 1")
    # What was drawn is what the core gives, though the comb and the ticks were asked for after.
    pieces = browser.execute_script("return Array.from(window.tavrimo.module.bezierPieces());")
    if shown["drawn"]["pieces"] != pieces or not shown["drawn"]["comb"] or not shown["drawn"]["ticks"]:
        raise Failure("the pieces drawn are not the core's, or the comb or the ticks are missing")
    # Pointing at the curve picks the span there: its piece drawn thicker.
    point = shown["at"]["point"]
    app.input.measure()  # the page has scrolled to the panel's controls
    app.input._move_to(round(point["x"]), 239 - round(point["y"]))
    wait_until("a piece picked", lambda: browser.execute_script(OPERATIONS)["highlighted"] >= 0 or None,
               timeout=10)
    if app.input.canvas() != frame:
        raise Failure("the editor's picture changed with the operations' views on")
    print("ok the editor's frame is unchanged with every view on, the curve split at t = 2.2, a "
          "piece picked by pointing at it")

    # A refinement opened as the scene is the same curve on more points; Undo restores it.
    insertions(browser, 1)
    before = [browser.execute_script("return window.tavrimo.module.exploredAt(arguments[0]).point;", u)
              for u in (1.2, 2.6)]
    browser.find_element(By.ID, "op-open-refined").click()
    opened = wait_state(browser, "the refinement as the scene", lambda s: s["explored"]["points"] == 8)
    after = [browser.execute_script("return window.tavrimo.module.exploredAt(arguments[0]).point;", u)
             for u in (1.2, 2.6)]
    off = max(max(abs(p["x"] - q["x"]), abs(p["y"] - q["y"])) for p, q in zip(before, after))
    if off > 1e-3 or 2.2 not in opened["explored"]["knots"]:
        raise Failure(f"the opened refinement is off the curve by {off}")
    browser.find_element(By.ID, "scene-undo").click()
    wait_state(browser, "the refinement undone", lambda s: s["explored"]["points"] == 7)
    print(f"ok the refinement opened as the scene is the same curve (to {off:.1e}), undone in one step")

    # The view in a link; a damaged view refuses the link and keeps the scene.
    set_t(browser, 2.2)
    insertions(browser, 2)
    browser.find_element(By.ID, "scene-link").click()
    link = wait_until("the link", lambda: (lambda u: u if "&insert=2" in u else None)(
        browser.current_url), timeout=10)
    new_editor(link, "web-operations-link", start_frame=False)
    shown = wait_until("the view from the link", lambda: browser.execute_script(OPERATIONS), timeout=10)
    checked = [browser.find_element(By.ID, view).is_selected() for view in VIEWS]
    if shown["inserts"] != 2 or abs(shown["t"] - 2.2) > 1e-12 or not all(checked) or shown["level"] != 1:
        raise Failure(f"the link brings {shown['inserts']} insertions at t = {shown['t']}, views "
                      f"{checked}, level {shown['level']}")
    print("ok the link opens the panel at t = 2.2 with two insertions, every view and level 1")
    scene = browser.execute_script("return window.tavrimo.module.sceneText();")
    generator = random.Random(27)
    alphabet = "abcdefghijklmnopqrstuvwxyz0123456789=&,.+-%"
    damaged = ["insert=x", "show=comb,nothing", "t=1e999x", "panel=shut", "level=10", "comb=9",
               "labels=names&labels=names", "unknown=1"]
    damaged += ["".join(generator.choice(alphabet) for _ in range(generator.randint(1, 30)))
                for _ in range(40)]
    base = link.split("&")[0]
    for view in damaged:
        browser.execute_script("location.hash = arguments[0];", "#" + base.split("#", 1)[1] + "&" + view)
        message = wait_until("the link's answer", lambda: text_of(browser, "scene-message") or None,
                             timeout=10)
        if browser.execute_script("return window.tavrimo.module.sceneText();") != scene:
            raise Failure(f"the view \"{view}\" changed the scene")
        browser.execute_script("document.getElementById('scene-message').textContent = '';")
    # Out of range is set aside with its reason, never brought inside; the good pairs are kept.
    browser.execute_script("location.hash = arguments[0];", "#" + base.split("#", 1)[1] + "&t=99&show=pieces")
    message = wait_until("t=99 set aside", lambda: (lambda m: m if "t=99 (t runs from" in m else None)(
        text_of(browser, "scene-message")), timeout=10)
    view = browser.execute_script("return tavrimo.page.state.view;")
    if view["t"] is not None or view["shown"] != ["pieces"]:
        raise Failure(f"the link with t=99 gives t = {view['t']} and the views {view['shown']}")
    errors = [entry["message"] for entry in browser.get_log("browser")
              if entry["level"] == "SEVERE" and "favicon" not in entry["message"]]
    if errors:
        raise Failure("the page reported errors: " + "; ".join(errors))
    print(f"ok {len(damaged)} damaged views leave the scene as it was, with no error on the page "
          f"(\"{message}\")")
