"""Curves through points in the browser, against SciPy 1.10: the page's saved CSV for an open
interpolant and for least squares (every control point free), whose parameters and knots the
session also computes from their definitions, compared with make_interp_spline and
make_lsq_spline on them; a closed interpolant passes through every point; "Open as the scene"
is one step; the editor's frame stays exact with the part open."""

import csv
import math
import os

import numpy
from scipy.interpolate import make_interp_spline, make_lsq_spline

from desktop import Failure, wait_until
from web_scene import Downloads

try:
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import Select
except ImportError:
    pass


# Seven points well inside the editor, so that the fits' polygons stay within its reach.
FIT_POINTS = [(120, 330), (190, 200), (270, 250), (340, 160), (420, 280), (490, 210), (540, 320)]


def read_fit(path):
    rows = {"parameter": [], "knot": [], "point": []}
    with open(path, newline="") as text:
        reader = csv.reader(text)
        if next(reader) != ["what", "index", "u", "x", "y"]:
            raise Failure("the fit's CSV has another header")
        for what, _, u, x, y in reader:
            rows[what].append((float(u) if u else None, float(x) if x else None, float(y) if y else None))
    return rows


def chord_parameters(points):
    steps = [math.dist(a, b) for a, b in zip(points, points[1:])]
    return [sum(steps[:i]) / sum(steps) for i in range(len(points))]


def averaged_knots(u, k):
    inner = [sum(u[j:j + k]) / k for j in range(1, len(u) - k)]
    return [0.0] * (k + 1) + inner + [1.0] * (k + 1)


def least_squares_knots(u, k, controls):
    """The interior knot j at (1 - a) u_(i-1) + a u_i, i + a = j d, d = data over spans."""
    d = len(u) / (controls - k)
    inner = []
    for j in range(1, controls - k):
        i = math.floor(j * d)
        a = j * d - i
        inner.append((1 - a) * u[i - 1] + a * u[i])
    return [0.0] * (k + 1) + inner + [1.0] * (k + 1)


def compare(name, page, expected):
    difference = float(numpy.max(numpy.abs(numpy.array(page) - numpy.array(expected))))
    if difference > 1e-9:
        raise Failure(f"{name}: the page and SciPy differ by {difference}")
    return difference


def saved_fit(browser, downloads):
    browser.find_element(By.ID, "fit-save").click()
    return read_fit(downloads.take("fit.csv"))


def check_against_scipy(browser, downloads, data, k):
    Select(browser.find_element(By.ID, "fit-kind")).select_by_value("interpolate")
    fit = saved_fit(browser, downloads)
    u = [row[0] for row in fit["parameter"]]
    knots = [row[0] for row in fit["knot"]]
    compare("the chord-length parameters", u, chord_parameters(data))
    compare("the averaged knots", knots, averaged_knots(u, k))
    spline = make_interp_spline(u, numpy.array(data), k=k, t=knots)
    largest = compare("the interpolant's points", [row[1:] for row in fit["point"]], spline.c)
    print(f"ok the interpolant equals SciPy's make_interp_spline (largest difference {largest:.1e})")
    Select(browser.find_element(By.ID, "fit-kind")).select_by_value("leastsquares")
    browser.execute_script("const c = document.getElementById('fit-controls'); c.value = '5';"
                           "c.dispatchEvent(new Event('change'));")
    wait_until("five control points", lambda: browser.execute_script(
        "return tavrimo.page.state.view.fitControls === 5 || null;"), timeout=10)
    fit = saved_fit(browser, downloads)
    knots = [row[0] for row in fit["knot"]]
    compare("the least-squares knots", knots, least_squares_knots(u, k, 5))
    spline = make_lsq_spline(u, numpy.array(data), knots, k=k)
    largest = compare("the least-squares points", [row[1:] for row in fit["point"]], spline.c)
    print(f"ok least squares equals SciPy's make_lsq_spline (largest difference {largest:.1e})")


def fit_session(app, browser, points, artifacts):
    """The points placed at degree 3 (client coordinates), the panel closed."""
    downloads = Downloads(browser, os.path.join(artifacts, "fit"))
    row = browser.execute_script("return tavrimo.editor.geometry.worldOriginRow;")
    data = [(x, row - y) for x, y in points]
    browser.find_element(By.ID, "inside-toggle").click()
    check_against_scipy(browser, downloads, data, 3)
    Select(browser.find_element(By.ID, "fit-kind")).select_by_value("interpolate")
    Select(browser.find_element(By.ID, "fit-ends")).select_by_value("closed")
    closed = wait_until("the closed interpolant", lambda: browser.execute_script(
        "const f = tavrimo.fit(); return f && f.parameters && tavrimo.page.state.view.fitClosed ? f : null;"),
        timeout=10)
    if closed["fault"] or closed["largest"] > 1e-9 or len(closed["points"]) != 2 * (len(points) + 3):
        raise Failure(f"the closed interpolant: {closed['fault']!r}, largest distance {closed['largest']}")
    print(f"ok a closed interpolant passes through all {len(points)} points (largest {closed['largest']:.1e})")
    app.input.check_frame("fit-part-open")
    before = app.input.canvas()
    browser.find_element(By.ID, "fit-open").click()
    wait_until("the fit as the scene", lambda: browser.execute_script(
        "return tavrimo.page.state.curve.domain.points;") == len(points) + 3 or None, timeout=10)
    if abs(browser.execute_script("return tavrimo.inside().explored.first;") - closed["knots"][3]) > 1e-12:
        raise Failure("the closed fit opened on other knots")
    browser.find_element(By.ID, "scene-undo").click()
    wait_until("the fit undone", lambda: app.input.canvas() == before or None, timeout=10)
    print("ok \"Open as the scene\" loads the closed fit (points, degree, periodic knots) as one step")
