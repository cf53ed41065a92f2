"""The page inside a course page: docs/embedding-example.html, served from a second origin,
embeds the page in an <iframe> and speaks to it through postMessage. It reads the lesson's state,
sets another and reads it back, hears of a drag in the frame, sees a bad state refused with its
reason and the scene left as it was, and the wheel over the frame scrolls the host page. Where
scripts do not run, the page shows a still picture of the editor and says why."""

import os

from desktop import Failure, wait_until

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
    from selenium.webdriver.common.by import By
except ImportError:
    pass

OTHER = "tavrimo-scene,1;degree,2;100,100;300,200;500,100;560,-50&panel=open&t=3.5&title=Set%20by%20the%20host"


def received(browser, kind):
    return [m for m in browser.execute_script("return window.received;") if m["type"] == kind]


def answer(browser, message, kind, count):
    """Sends the message from the host page and waits for the count-th answer of that kind."""
    browser.execute_script("window.send(arguments[0]);", message)
    return wait_until(f"the answer {kind}", lambda: (lambda got: got[count - 1] if len(got) >= count else None)(
        received(browser, kind)), timeout=10)


def in_frame(browser, script):
    frame = browser.find_element(By.ID, "tavrimo")
    browser.switch_to.frame(frame)
    try:
        return script()
    finally:
        browser.switch_to.default_content()


def drag_in_frame(browser, world, by):
    """A left drag in the frame's editor from the world point, by (dx, dy) CSS pixels."""
    def drag():
        canvas = browser.find_element(By.ID, "tavrimo")
        row = browser.execute_script("return tavrimo.editor.geometry.worldOriginRow;")
        x, y = world[0] - 320 + 1, row - world[1] - 240 + 1  # from the canvas's centre
        chain = ActionChains(browser, duration=20).move_to_element_with_offset(canvas, x, y).click_and_hold()
        for step in range(1, 5):
            chain.move_by_offset(by[0] // 4, by[1] // 4)
        chain.release().perform()
    in_frame(browser, drag)


def check_without_scripts(browser, site, fresh_tab):
    fresh_tab(browser)
    browser.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
    try:
        browser.get(site.url)
        still = browser.find_element(By.CSS_SELECTOR, "main img")
        said = browser.find_element(By.TAG_NAME, "main").text
        if not still.is_displayed() or still.size != {"width": 640, "height": 480} or \
                still.get_attribute("naturalWidth") != "640" or "scripts do not run" not in said or \
                browser.find_element(By.ID, "tavrimo").is_displayed():
            raise Failure(f"without scripts the page shows {said[:120]!r} and no still picture")
    finally:
        browser.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})
    print("ok without scripts: a still picture of the editor, and why")


def embed_session(browser, site, docs_site, fresh_tab):
    browser.get(docs_site.url + "embedding-example.html?site=" + site.url)
    header = wait_until("the embedded page", lambda: in_frame(browser, lambda: browser.execute_script(
        "return window.tavrimo && tavrimo.page.state.view.title === 'Lesson 3' ? "
        "getComputedStyle(document.querySelector('h1')).display : null;")), timeout=30)
    if header != "none":
        raise Failure("the embedded page shows its own header")
    state = answer(browser, {"type": "tavrimo:get"}, "tavrimo:state", 1)
    if state["version"] != 1 or not state["state"].startswith("tavrimo-scene,1;degree,3;100,-150;"):
        raise Failure(f"tavrimo:get answered {state}")
    result = answer(browser, {"type": "tavrimo:set", "state": OTHER}, "tavrimo:set-result", 1)
    read = answer(browser, {"type": "tavrimo:get"}, "tavrimo:state", 2)["state"]
    if not result["ok"] or "degree,2;100,100;300,200" not in read or "t=3.5" not in read or \
            "title=Set%20by%20the%20host" not in read:
        raise Failure(f"the state set ({result}) reads back as {read!r}")
    print("ok the host page sets a state and reads it back")
    for bad, reason in [("tavrimo-scene,1;degree,12;1,2", "degree"), ("tavrimo-scene,1;degree,2;1,2&t=99", "t=99"),
                        (42, "not text")]:
        refused = answer(browser, {"type": "tavrimo:set", "state": bad}, "tavrimo:set-result",
                         len(received(browser, "tavrimo:set-result")) + 1)
        if refused["ok"] or reason not in refused["reason"]:
            raise Failure(f"the bad state {bad!r} was answered {refused}")
    browser.execute_script("window.send({type: 'tavrimo:nothing'}); window.send('tavrimo:get');"
                           "window.send({type: 'tavrimo:get', version: 2, extra: [1]});")
    if answer(browser, {"type": "tavrimo:get"}, "tavrimo:state", 4)["state"] != read:
        raise Failure("a bad state or a message of another shape changed the scene")
    if len(received(browser, "tavrimo:state")) != 4:
        raise Failure("a message of another shape was answered")
    print("ok bad states are refused with their reason and change nothing; other shapes are ignored")
    if received(browser, "tavrimo:changed"):
        raise Failure("the page told of a change the learner did not make")
    drag_in_frame(browser, (300, 200), (0, 60))
    changed = wait_until("a change told", lambda: received(browser, "tavrimo:changed") or None, timeout=10)
    points = changed[-1]["state"].split("&")[0].split(";")[2:]
    if len(points) != 4 or points[1] == "300,200" or not points[1].startswith("300,"):
        raise Failure(f"after a drag the page told {changed[-1]}")
    print("ok a drag in the frame is told to the host page with the new state")
    frame = browser.find_element(By.ID, "tavrimo")
    browser.execute_script("window.scrollTo(0, 0);")
    ActionChains(browser).scroll_from_origin(ScrollOrigin.from_element(frame, 0, 100), 0, 300).perform()
    scrolled = wait_until("the host page scrolled", lambda: browser.execute_script("return window.scrollY;") or None,
                          timeout=5)
    inner = in_frame(browser, lambda: browser.execute_script("return document.scrollingElement.scrollTop;"))
    if inner != 0:
        raise Failure(f"the wheel scrolled the embedded page by {inner} pixels")
    print(f"ok the wheel over the frame scrolls the host page ({scrolled} pixels), not the frame")
    check_without_scripts(browser, site, fresh_tab)


def docs_directory():
    """Where the example host page is: a second origin serves it."""
    return os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs"))
