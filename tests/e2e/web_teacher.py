"""What a teacher takes from the page: the figure of every view as SVG (well formed, the explored
curve and the triangle's names as text), as TikZ and every LaTeX table compiled by pdflatex with
no line too wide, the PNG at 2x; the scene file keeping the whole view with a lesson's title and
note; "Back to the shared scene" and its undoing."""

import os
import subprocess

from desktop import Failure, not_installed, wait_until
from web_scene import Downloads, open_file, save_figure, says

try:
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import Select
except ImportError:
    pass

VIEWS = ["op-pieces", "op-raised", "op-first", "op-second", "op-comb", "op-ticks"]
TABLES = ["triangle", "basis", "refinement", "derivatives"]


def compile_latex(directory, name, body, packages):
    """body in a plain article with the packages; pdflatex's complaint if it fails or a line is
    too wide, else None."""
    path = os.path.join(directory, name + ".tex")
    with open(path, "w", encoding="utf-8") as document:
        document.write("\\documentclass{article}\n" + "".join(
            f"\\usepackage{{{p}}}\n" for p in packages) + "\\begin{document}\n" + body +
            "\n\\end{document}\n")
    try:
        run = subprocess.run(["pdflatex", "-interaction=nonstopmode", "-halt-on-error", name + ".tex"],
                             cwd=directory, capture_output=True, text=True, timeout=120)
    except FileNotFoundError:
        raise not_installed("pdflatex") from None
    log = run.stdout
    if run.returncode != 0:
        return "\n".join(line for line in log.splitlines() if line.startswith("!"))[:600]
    wide = [line for line in log.splitlines() if line.startswith("Overfull \\hbox")]
    return "; ".join(wide) if wide else None


def check_figures(browser, downloads, directory):
    """Every view on, the triangle named: the SVG well formed with the explored curve and the
    names as text; the TikZ compiles; the PNG at 2x is twice the canvas."""
    for box in VIEWS:
        browser.find_element(By.ID, box).click()
    Select(browser.find_element(By.ID, "op-labels")).select_by_value("names")
    save_figure(browser, "svg", with_plot=True)
    svg = downloads.take("figure.svg")
    try:
        lint = subprocess.run(["xmllint", "--noout", svg], capture_output=True, text=True)
    except FileNotFoundError:
        raise not_installed("xmllint") from None
    if lint.returncode != 0:
        raise Failure(f"the figure's SVG is not well formed: {lint.stderr[:400]}")
    with open(svg, encoding="utf-8") as text:
        figure = text.read()
    names = browser.execute_script("return tavrimo.inside().construction.first;")
    for expected in [f">P{names}<", ">P\u2083\u00b9<" if names <= 3 else ">P", "id=\"curve\"",
                     "stroke=\"#e66100\"", "<text x=\"1172\""]:
        if expected not in figure:
            raise Failure(f"the figure's SVG has no {expected!r}")
    print("ok the figure as SVG is well formed, with the explored curve, the triangle's names "
          "and the basis plot as text")
    save_figure(browser, "tikz", with_plot=True)
    with open(downloads.take("figure.tex"), encoding="utf-8") as text:
        tikz = text.read()
    fault = compile_latex(directory, "figure", tikz, ["tikz"])
    if fault:
        raise Failure(f"the figure's TikZ does not compile: {fault}")
    print(f"ok the figure as TikZ ({len(tikz)} characters) compiles with tikz alone")
    save_figure(browser, "png2")
    with open(downloads.take("figure@2x.png"), "rb") as png:
        head = png.read(24)
    size = int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
    if size != (1280, 960):
        raise Failure(f"the figure at 2x is {size}, not 1280 x 960")
    print("ok the figure at 2x is 1280 x 960")


def check_tables(browser, directory):
    """Every table as LaTeX, at 4 and at 8 digits: each compiles with booktabs and amsmath and
    fits the page's width."""
    body = []
    for digits in (4, 8):
        for kind in TABLES:
            text = browser.execute_script(
                "return tavrimo.operationsTable(arguments[0], true, arguments[1]);", kind, digits)
            if "\\toprule" not in text:
                raise Failure(f"the {kind} table as LaTeX has no booktabs rules: {text[:200]!r}")
            body.append(text)
    fault = compile_latex(directory, "tables", "\n\\bigskip\n".join(body), ["booktabs", "amsmath"])
    if fault:
        raise Failure(f"the tables do not compile or do not fit: {fault}")
    print(f"ok {len(body)} LaTeX tables compile with booktabs and amsmath, each within the page")


def view(browser):
    return browser.execute_script("return tavrimo.page.state.view;")


def check_lesson(app, browser, downloads):
    """A title and note, the play speed and the continuity list set, saved and opened again: the
    file keeps them; a point dragged, "Back to the shared scene" brings the scene back as one
    step, and Undo takes that step back."""
    browser.find_element(By.ID, "lesson-edit").click()
    browser.find_element(By.ID, "lesson-title-field").send_keys("Knots & ends: 100 % \u00fcber")
    browser.find_element(By.ID, "lesson-note-field").send_keys("Drag P3; watch the comb.")
    Select(browser.find_element(By.ID, "t-speed")).select_by_value("0")
    browser.find_element(By.CSS_SELECTOR, "#op-continuity-box summary").click()
    wait_until("the view with the lesson", lambda: view(browser)["continuityOpen"] or None, timeout=10)
    before = view(browser)
    browser.find_element(By.ID, "scene-save").click()
    saved = downloads.take("scene.tavrimo")
    with open(saved, encoding="utf-8") as text:
        last = text.read().splitlines()[-1]
    for pair in ["speed=0", "continuity=open", "title=Knots%20%26%20ends%3A%20100%20%25%20%C3%BCber",
                 "show=pieces,raised,first,second,comb,ticks", "labels=names"]:
        if pair not in last.split("&") and pair not in last[5:].split("&"):
            raise Failure(f"the scene file's view line has no {pair}: {last!r}")
    browser.find_element(By.ID, "lesson-title-field").clear()
    open_file(browser, saved)
    says(browser, "Opened \u201ckept-scene.tavrimo\u201d.")
    opened = view(browser)
    if opened != before:
        raise Failure(f"the file opened the view {opened}, not the one saved {before}")
    if browser.find_element(By.ID, "lesson-title").text != before["title"]:
        raise Failure("the lesson's title is not shown above the editor")
    print("ok the scene file keeps the whole view, the lesson's title and note shown above the editor")
    shared = app.input.canvas()
    app.input.drag(1, (320, 300), (330, 200))
    wait_until("the drag shown", lambda: app.input.canvas() != shared or None, timeout=10)
    dragged = app.input.canvas()
    browser.find_element(By.ID, "lesson-back").click()
    wait_until("the shared scene back", lambda: app.input.canvas() == shared or None, timeout=10)
    says(browser, "Back to the shared scene.")
    browser.find_element(By.ID, "scene-undo").click()
    wait_until("the way back undone", lambda: app.input.canvas() == dragged or None, timeout=10)
    print("ok \"Back to the shared scene\" restores it as one step, and Undo takes it back")


def teacher_session(app, browser, artifacts):
    """Seven points at degree 3, placed."""
    directory = os.path.join(artifacts, "teacher")
    downloads = Downloads(browser, directory)
    browser.find_element(By.ID, "inside-toggle").click()
    Select(browser.find_element(By.ID, "knot-mode")).select_by_value("clamped")
    check_figures(browser, downloads, directory)
    check_tables(browser, directory)
    check_lesson(app, browser, downloads)
