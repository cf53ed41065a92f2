"""The scene kept and shared in the browser page: undo and redo across a placement, a drag and
a degree change (Ctrl+Z from the t slider too); a link opened in a new page and in the same
page; the address no longer a link after a change; Save then Open; a bad link and a bad file,
each shown and leaving the scene as it was; the figure as PNG and SVG, each action saying what it
did; "Quit" and a start again with the scene as it was; the page opened by its service worker
with the server stopped. Frames are compared exactly with tavrimo_replay's,
or with frames the session checked so."""

import base64
import os
import shutil
import time
import xml.etree.ElementTree as ElementTree

from desktop import Failure, wait_until

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select
except ImportError:
    pass

DEGREE_2 = 40059
QUIT = 40004


# The PNG's pixels as the page's canvas holds them: equal when the canvas's own are equal.
PNG_EQUALS_CANVAS = """
const done = arguments[arguments.length - 1];
const bytes = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));
createImageBitmap(new Blob([bytes], {type: "image/png"})).then(bitmap => {
  const copy = new OffscreenCanvas(bitmap.width, bitmap.height).getContext("2d");
  copy.drawImage(bitmap, 0, 0);
  const a = copy.getImageData(0, 0, bitmap.width, bitmap.height).data;
  const b = document.getElementById("tavrimo").getContext("2d").getImageData(0, 0, 640, 480).data;
  done(bitmap.width === 640 && bitmap.height === 480 && a.every((v, i) => v === b[i]));
}, () => done(false));
"""


class Downloads:
    def __init__(self, browser, directory):
        self.directory = directory
        shutil.rmtree(directory, ignore_errors=True)
        os.makedirs(directory)
        browser.execute_cdp_cmd("Browser.setDownloadBehavior",
                                {"behavior": "allow", "downloadPath": directory})

    def take(self, name):
        """Waits for the downloaded file and moves it out of the way; its path."""
        path = os.path.join(self.directory, name)
        wait_until(f"the download {name}", lambda: os.path.isfile(path) or None, timeout=20)
        kept = os.path.join(self.directory, "kept-" + name)
        time.sleep(0.2)
        os.replace(path, kept)
        return kept


def save_figure(browser, format_name, with_plot=False):
    Select(browser.find_element(By.ID, "figure-format")).select_by_value(format_name)
    box = browser.find_element(By.ID, "figure-basis")
    if box.is_selected() != with_plot:
        box.click()
    browser.find_element(By.ID, "figure-save").click()


def message(browser):
    return browser.find_element(By.ID, "scene-message").get_attribute("textContent")


def keys_with_control(browser, key, shift=False):
    chain = ActionChains(browser).key_down(Keys.CONTROL)
    if shift:
        chain.key_down(Keys.SHIFT)
    chain.send_keys(key)
    if shift:
        chain.key_up(Keys.SHIFT)
    chain.key_up(Keys.CONTROL).perform()


def wait_for_canvas(app, frame, what):
    wait_until(what, lambda: app.input.canvas() == frame or None, timeout=10)
    print(f"ok {what}")


def open_file(browser, path):
    chooser = browser.find_element(By.ID, "scene-file")
    browser.execute_script("arguments[0].hidden = false;", chooser)
    chooser.send_keys(os.path.abspath(path))
    browser.execute_script("arguments[0].hidden = true;", chooser)


def scene_session(browser, new_editor, site, artifacts):
    """new_editor(url, name): the page opened at url, its first frame checked."""
    app = new_editor(site.url, "web-scene")
    downloads = Downloads(browser, os.path.join(artifacts, "downloads"))  # for this page's tab
    points = [(80, 360), (170, 110), (300, 300), (420, 80), (540, 330)]
    for x, y in points[:4]:
        app.input.click(x, y)
    app.input.check_frame("four-points")
    four = app.input.canvas()
    app.input.click(*points[4])
    app.input.check_frame("five-points")
    placed = app.input.canvas()
    app.input.drag(1, points[2], (320, 200))
    app.input.check_frame("drag")
    dragged = app.input.canvas()
    app.choose(1, 1, DEGREE_2)
    app.input.check_frame("degree-2")
    final = app.input.canvas()

    # With the t slider focused: it is not a text field, so Ctrl+Z is still undo.
    browser.find_element(By.ID, "inside-toggle").click()
    browser.find_element(By.ID, "t-slider").click()
    keys_with_control(browser, "z")
    wait_for_canvas(app, dragged, "Ctrl+Z on the t slider undoes the degree change")
    browser.find_element(By.ID, "inside-toggle").click()
    app.check_marks("after undoing the degree", [3])
    browser.find_element(By.ID, "scene-undo").click()
    wait_for_canvas(app, placed, "Undo undoes the whole drag")
    keys_with_control(browser, "z")
    wait_for_canvas(app, four, "Ctrl+Z undoes the last placed point")
    browser.find_element(By.ID, "scene-redo").click()
    wait_for_canvas(app, placed, "Redo places it again")
    keys_with_control(browser, "z", shift=True)
    wait_for_canvas(app, dragged, "Ctrl+Shift+Z redoes the drag")
    keys_with_control(browser, "y")
    wait_for_canvas(app, final, "Ctrl+Y redoes the degree change")
    app.check_marks("after redoing the degree", [2])

    browser.find_element(By.ID, "scene-save").click()
    saved = downloads.take("scene.tavrimo")
    says(browser, "Saved the scene and its view as scene.tavrimo.")
    save_figure(browser, "png1")
    with open(downloads.take("figure.png"), "rb") as png:
        data = png.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n" or not browser.execute_async_script(
            PNG_EQUALS_CANVAS, base64.b64encode(data).decode()):
        raise Failure("the figure at 1x with the panel closed is not the canvas's 640 x 480 picture")
    print("ok the PNG holds exactly the canvas's pixels")
    says(browser, "Saved the figure as figure.png.")
    save_figure(browser, "svg")
    svg = ElementTree.parse(downloads.take("figure.svg")).getroot()
    namespace = {"svg": "http://www.w3.org/2000/svg"}
    polygon = svg.find(".//svg:polyline[@id='polygon']", namespace).get("points").split()
    moved = points[:2] + [(320, 200)] + points[3:]
    markers = svg.find(".//svg:path[@id='markers']", namespace)
    if polygon != [f"{x + 0.5},{y + 0.5}" for x, y in moved] or markers is None or \
            markers.get("d").count("M") != 5 or \
            svg.find(".//svg:polyline[@id='curve']", namespace) is None:
        raise Failure(f"the SVG holds the polygon {polygon}, not the scene's points {moved}")
    print("ok the SVG holds the scene's points, markers and curve")

    browser.find_element(By.ID, "scene-link").click()
    link = wait_until("the link in the address", lambda: (
        lambda url: url if "#scene=" in url else None)(browser.current_url), timeout=10)
    if len(link) > 2000:
        raise Failure(f"the link of 5 points is {len(link)} characters long")
    app.input.click(600, 60)
    wait_until("the address without the link after a change",
               lambda: "#scene=" not in browser.current_url or None, timeout=10)
    print("ok after a change the address is no longer the old scene's link")
    linked = new_editor(link, "web-scene-link", start_frame=False)
    wait_for_canvas(linked, final, "the link opens the same scene in a new page")
    linked.check_marks("opened by the link", [2])

    bad = new_editor(site.url + "#scene=tavrimo-scene,1;degree,12;1,2", "web-scene-bad-link")
    text = message(browser)
    if "line 2" not in text or "degree" not in text:
        raise Failure(f"a bad link shows {text!r}")
    print(f"ok a bad link says: {text}")
    browser.execute_script("location.hash = arguments[0];", link[link.index("#"):])
    wait_for_canvas(bad, final, "a link opened in the same page opens its scene")

    opened = new_editor(site.url, "web-scene-open")
    open_file(browser, saved)
    wait_for_canvas(opened, final, "Open takes the saved scene")
    opened.check_marks("opened from the file", [2])
    broken = os.path.join(downloads.directory, "broken.tavrimo")
    with open(broken, "w") as out:
        out.write("tavrimo-scene 1\ndegree 3\n10 20\n1e39 5\n")
    open_file(browser, broken)
    wait_until("the bad file's message", lambda: "line 4" in message(browser) or None, timeout=10)
    print(f"ok a bad file says: {message(browser)}")
    wait_for_canvas(opened, final, "a bad file leaves the scene as it was")
    opened.check_marks("after the bad file", [2])

    opened.choose(0, 1, QUIT)
    opened.wait_for_exit("Quit")
    browser.find_element(By.ID, "restart").click()
    again = new_editor_here(browser, opened, "web-scene-restart")
    wait_for_canvas(again, final, "after Quit, starting again restores the scene as it was")
    again.check_marks("started again", [2])

    # A reload brings back the scene and the view: the panel open at the t typed, P1 looked at.
    browser.find_element(By.ID, "inside-toggle").click()
    field = browser.find_element(By.ID, "t-value")
    field.send_keys(Keys.CONTROL, "a")
    field.send_keys("2.5" + Keys.ENTER)
    browser.execute_script("tavrimo.page.dispatch({ type: 'view', change: { looked: 1 } });")
    wait_until("t typed", lambda: browser.execute_script("return tavrimo.page.state.view.t") == 2.5 or None,
               timeout=10)
    time.sleep(1)  # the state is kept once the changes pause
    browser.refresh()
    reloaded = new_editor_here(browser, again, "web-scene-reload")
    wait_for_canvas(reloaded, final, "a reload brings the scene back")
    view = wait_until("the view after the reload", lambda: browser.execute_script(
        "const v = tavrimo.page.state.view; return v.panelOpen && v.t === 2.5 && v.looked === 1 && v;"),
        timeout=10)
    print(f"ok a reload brings back the scene, the panel open at t = {view['t']}, P1 looked at")


def says(browser, text):
    if message(browser) != text:
        raise Failure(f"the status line says {message(browser)!r}, not {text!r}")
    print(f"ok the status line says: {text}")


def new_editor_here(browser, previous, name):
    """The page the browser shows now (reloaded by the page itself), once its editor is up."""
    wait_until("the page to start again", lambda: browser.execute_script(
        "return document.querySelectorAll('#menubar button.popup').length === 3 && "
        "getComputedStyle(document.getElementById('editor')).display !== 'none' || null"),
        timeout=30)
    return previous.__class__(browser, browser.current_url, previous.options, name,
                              start_frame=False, load=False)


def offline_session(browser, new_editor, site):
    """Opened once, the page opens again from its service worker with the server stopped."""
    new_editor(site.url, "web-offline")
    browser.set_script_timeout(30)
    browser.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "navigator.serviceWorker.ready.then(() => done(true), () => done(false));")
    site.close()
    app = new_editor(site.url, "web-offline-again")
    controlled = browser.execute_script("return Boolean(navigator.serviceWorker.controller)")
    if not controlled:
        raise Failure("the page opened with the server stopped, but not from its service worker")
    print("ok the page opens from its service worker with the server stopped")
    return app
