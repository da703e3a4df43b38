#!/usr/bin/python3
"""The window program's web page in a real browser (headless Chromium through chromedriver).

usage: browser_test.py SITE_DIR MTD_SIM PROBE EXAMPLES_DIR [SCREENSHOT.png]

Serves SITE_DIR on 127.0.0.1 and checks what a user sees: the first frame against the display's
own layout (the end-to-end probe), the menu's state and keys, Pause holding the picture, the
pace keys, Reset, an edited and a refused init.txt, the text surviving a reload, the same shown
blocks as mtd-sim, and Quit with its offer to start again. Exit status 77 when a tool is
missing. Every wait polls with a generous deadline: the machine may be loaded.
"""

import base64
import functools
import http.server
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77
PROFILE_FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run",
                 "--window-size=1280,800"]

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions import interaction
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.actions.pointer_input import PointerInput
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError:
    print("SKIP: python3-selenium is missing")
    sys.exit(SKIP)

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

# A configuration other than the defaults, for the edited-p and the exactness checks; a short
# run, so that mtd-sim's transcript stays small.
EDITED_CONFIG = """nbl=600   block length
kst=3   seed
p=0.05   channel bit-error probability
ndn=11 checks
kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}
ktrh={10,2,1,0,0,0,0,0,0,0,0,0}
maxBlock=300
ddn=22
check
"""

# kfp[24] raises nbl far above the block capacity: the loader refuses the file.
REFUSED_CONFIG = """nbl=-2147483648
kst=7
p=0.06
ndn=11 checks
kfp={24,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,2147483647}
ktrh={10,2,1,0,0,0,0,0,0,0,0,0}
maxBlock=2000
ddn=24
check
"""


# Above the decoding threshold: in 40 trial blocks none meets the selection rule (the test
# checks that against mtd-sim first).
NO_BLOCK_CONFIG = EDITED_CONFIG.replace("p=0.05", "p=0.08").replace("maxBlock=300", "maxBlock=40")

# The menu bar as the tables have it: '-' is a separator.
MENU_LAYOUT = [
    {"text": "File", "entries": ["Run", "Pause", "Step", "Reset", "Grow", "Low", "-",
                                 "Show every block", "Settings...", "-", "Quit"]},
    {"text": "Help", "entries": ["Colours", "About"]},
]
P_FIELD = "settings-field-0"
MAX_BLOCK_FIELD = "settings-field-3"
ITERATIONS_FIELD = "settings-field-7"


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok:", what, flush=True)


def wait_until(seconds, what, predicate, interval=0.05):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise Failure(f"timed out after {seconds} s waiting for {what}")


def reset_run(page):
    """F2 until the run has ended: Reset is grayed during the timed waits, and a fast run on a
    loaded machine may be in one when a single F2 arrives."""
    deadline = time.monotonic() + 90
    while time.monotonic() < deadline:
        page.keys(Keys.F2)
        try:
            wait_until(3, "F2 to end the run", lambda: page.menu()["Run"]["enabled"])
            return
        except Failure:
            pass
    raise Failure("timed out after 90 s waiting for F2 to end the run")


class Page:
    def __init__(self, driver, url, work, probe):
        self.driver = driver
        self.url = url
        self.work = work
        self.probe_tool = probe
        self.downloads = driver.downloads

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def load(self):
        self.driver.get(self.url)
        self.wait_started()

    def wait_started(self):
        wait_until(60, "the program's first frame",
                   lambda: self.js("return window.mtdTest && mtdTest.firstFrameMilliseconds !== null"
                                   " && document.querySelectorAll('[data-command]').length > 0"))
        # The empty grid is drawn in one go once the size is known.
        wait_until(30, "the empty grid", lambda: self.probe("grid", quiet=True))

    def keys(self, *keys):
        for key in keys:
            ActionChains(self.driver).send_keys(key).perform()

    def press_taken(self, key):
        """Presses a key and waits until the program has taken it from its queue."""
        self.keys(key)
        wait_until(30, f"the program to take {key!r}", lambda: self.js("return mtdTest.queued") == 0)

    def tap(self, element):
        touch = PointerInput(interaction.POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.driver, mouse=touch)
        actions.pointer_action.move_to(element).pointer_down().pointer_up()
        actions.perform()

    def menu(self):
        return self.js("return mtdTest.menu()")

    def drawings(self):
        return self.js("return mtdTest.windowDrawings")

    def canvas_size(self):
        return self.js("const c = document.getElementById('canvas'); return [c.width, c.height]")

    def shot(self, name="shot.ppm", canvas="canvas"):
        path = os.path.join(self.work, name)
        with open(path, "wb") as out:
            out.write(base64.b64decode(self.js("return mtdTest.canvasPpm(arguments[0])", canvas)))
        return path

    def run_probe(self, command, config_dir=None, argument=None):
        """The end-to-end probe on a fresh shot of the whole canvas, read with the given
        init.txt's layout."""
        width, height = self.canvas_size()
        args = [self.probe_tool, command, config_dir or self.config_dir, self.shot(),
                f"{width}x{height}+0+0"]
        if argument is not None:
            args.append(str(argument))
        return subprocess.run(args, capture_output=True, text=True)

    def probe(self, command, config_dir=None, argument=None, quiet=False):
        result = self.run_probe(command, config_dir, argument)
        if result.returncode != 0 and not quiet:
            print(result.stdout + result.stderr, file=sys.stderr)
        return result.returncode == 0

    def set_config(self, text):
        # As a user edits it: the panel's input event stores and hands the text over.
        self.js("const a = document.getElementById('init-text'); a.value = arguments[0];"
                "a.dispatchEvent(new Event('input'));", text)
        self.driver.find_element(By.TAG_NAME, "body").click()

    def menu_button(self, label):
        return self.driver.find_element(By.CSS_SELECTOR,
                                        f"button[data-command='{self.menu()[label]['id']}']")

    def click_menu(self, label):
        """Opens the item's popup and clicks the item, as a mouse does."""
        popup = self.menu()[label]["popup"]
        self.driver.find_element(By.ID, "menu-" + popup.lower()).click()
        self.menu_button(label).click()

    def frontier(self, config_dir):
        """How many cells of the information row the noise pass has painted, by the probe."""
        result = self.run_probe("frontier", config_dir)
        return int(result.stdout) if result.returncode == 0 else None

    def value(self, element_id):
        return self.js("return document.getElementById(arguments[0]).value", element_id)

    def is_open(self, element_id):
        return self.js("return document.getElementById(arguments[0]).open", element_id)


def config_dir(work, name, text):
    directory = os.path.join(work, name)
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, "init.txt"), "w") as out:
        out.write(text)
    return directory


def sim_blocks(mtd_sim, directory):
    """mtd-sim's shown blocks: block number and the statistics screen's lines."""
    text = subprocess.run([mtd_sim, "-C", directory], capture_output=True, text=True, check=True).stdout
    blocks = []
    for line in text.splitlines():
        if line.startswith("SHOWN BLOCK:"):
            number = int(line.split("BLOCK NUMBER = ")[1].split(" ")[0])
            blocks.append({"block": number, "statistics": [], "status": line})
        elif blocks and len(blocks[-1]["statistics"]) < 11 and not line.startswith(("TRIALS=", "SHOWN BLOCKS=")):
            blocks[-1]["statistics"].append(line)
    return blocks


def pace(page, seconds):
    """Animated steps per second: the program looks at its queue once per step."""
    start, begun = page.js("return mtdTest.pumps"), time.monotonic()
    time.sleep(seconds)
    return (page.js("return mtdTest.pumps") - start) / (time.monotonic() - begun)


def pace_ratio(page):
    """Restarts the run and compares the pace before l and after it, three times over."""
    reset_run(page)
    page.keys(Keys.F5)
    wait_until(30, "F5 to start a run", lambda: not page.menu()["Run"]["enabled"])
    page.press_taken("l")
    shorter = longer = 0.0
    for _ in range(3):
        shorter += pace(page, 1.0)
        page.press_taken("l")
        longer += pace(page, 1.0)
        page.press_taken("g")
    return shorter / max(longer, 0.1)


def settled_drawings(page, what="the picture to settle", quiet=0.4, seconds=30):
    """Waits until no drawing has come for `quiet` seconds; returns the drawing count."""
    last = [page.drawings(), time.monotonic()]

    def settled():
        now = page.drawings()
        if now != last[0]:
            last[:] = [now, time.monotonic()]
        return time.monotonic() - last[1] > quiet
    wait_until(seconds, what, settled)
    return last[0]


def held_still(page):
    """Waits for the hold to take, then whether the picture stays unchanged for a second."""
    settled_drawings(page, "the animation to stop after F6", quiet=0.3, seconds=20)
    before, picture = page.drawings(), page.js("return mtdTest.canvasHash()")
    time.sleep(1.0)
    return page.drawings() == before and page.js("return mtdTest.canvasHash()") == picture


def run_checks(page, mtd_sim, examples, work, screenshot):
    page.config_dir = examples
    page.driver.get(page.url)
    page.js("localStorage.clear()")
    page.load()
    first_frame = page.js("return mtdTest.firstFrameMilliseconds")
    width, height = page.canvas_size()
    print(f"first frame {first_frame:.0f} ms after navigation, canvas {width}x{height}")
    check(page.probe("grid"), "the first frame: every cell and label where and as the layout has it")

    menu = page.menu()
    grayed = sorted(k for k, v in menu.items() if not v["enabled"])
    check(grayed == ["Pause", "Reset", "Step"]
          and menu["Pause"]["ariaDisabled"] == "true" and menu["Run"]["ariaDisabled"] == "false",
          "before a run Pause, Step and Reset are grayed (disabled, aria-disabled) and the rest enabled")
    example = page.value("init-text")
    with open(os.path.join(examples, "init.txt")) as f:
        check(example == f.read(), "the panel starts with the example init.txt")

    # Grayed keys and a click on a grayed item do nothing.
    picture = page.js("return mtdTest.canvasHash()")
    page.js("window.notReloaded = true")
    page.keys(Keys.F6, Keys.F2)
    page.click_menu("Pause")
    page.keys(Keys.ESCAPE)
    time.sleep(0.5)
    check(page.js("return mtdTest.canvasHash()") == picture and page.menu()["Run"]["enabled"],
          "F6, F2 and a click on the grayed Pause change nothing")

    # F5 runs and the page stays.
    page.keys(Keys.F5)
    wait_until(30, "F5 to start the run", lambda: page.probe("frontier", quiet=True) and
               not page.menu()["Run"]["enabled"])
    wait_until(30, "the noise pass", lambda: page.probe("info", argument=3, quiet=True))
    check(page.js("return window.notReloaded === true"), "F5 runs the program and does not reload the page")
    menu = page.menu()
    check(not menu["Run"]["enabled"] and menu["Pause"]["enabled"] and menu["Reset"]["enabled"],
          "during the run Run is grayed, Pause and Reset enabled")

    # The pace, in the noise pass of the first block: after a first l the delay is the bulk of
    # each step; l doubles it, g halves it again. Other work on the machine slows the steps
    # unevenly, so the two paces take turns in one-second stretches and their sums compare;
    # each try starts the run anew, and there are up to three.
    for attempt in range(3):
        ratio = pace_ratio(page)
        print(f"steps at the shorter delay / steps at the doubled one: {ratio:.2f}", flush=True)
        if 1.4 < ratio < 3.2:
            break
    check(1.4 < ratio < 3.2, "l halves the pace and g doubles it again (about 2x)")

    # F6 holds the picture, F6 again resumes.
    page.keys(Keys.F6)
    check(held_still(page), "F6 holds: no drawing and no pixel change for a second")
    before = page.drawings()
    page.keys(Keys.F6)
    wait_until(20, "F6 to resume", lambda: page.drawings() > before)
    print("ok: F6 again resumes")

    if screenshot:
        # A block being decoded: after its second iteration has begun.
        page.keys(*["g"] * 6)
        wait_until(120, "the decoder's second iteration",
                   lambda: "ITERATION NUMBER=2" in page.js("return mtdTest.texts"), interval=0.2)
        page.driver.save_screenshot(screenshot)

    # F2 resets: the empty grid and the menu of a program at rest.
    page.keys(Keys.F2)
    wait_until(30, "the empty grid after F2", lambda: page.probe("grid", quiet=True))
    menu = page.menu()
    check(menu["Run"]["enabled"] and not menu["Pause"]["enabled"] and not menu["Reset"]["enabled"],
          "F2 resets: the empty grid, Run enabled, Pause and Reset grayed")

    # An edited init.txt: Reset reads it, its p shows in the status line.
    edited = config_dir(work, "edited", EDITED_CONFIG)
    page.set_config(EDITED_CONFIG)
    page.click_menu("Run")
    # The same blocks as mtd-sim: three shown blocks at the shortest pace, statistics and all.
    page.keys(*["g"] * 24)
    wait_until(60, "P=0.05 in the status line",
               lambda: any("P=0.05" in t and "K=856" in t for t in page.js("return mtdTest.texts")))
    print("ok: the edited p (and K raised to kfp[ddn]) shows in the status line of a run started "
          "from the menu")
    expected = sim_blocks(mtd_sim, edited)[:3]
    check(len(expected) == 3, "mtd-sim shows at least three blocks of the edited init.txt")

    def three_blocks():
        shown = page.js("return mtdTest.shownBlocks()")
        done = [b for b in shown if len(b["statistics"]) == 11]
        return done if len(done) >= 3 else None
    shown = wait_until(240, "three shown blocks with their statistics", three_blocks, interval=0.5)
    for want, got in zip(expected, shown):
        if want["block"] != got["block"] or want["statistics"] != got["statistics"]:
            print(f"block {got['block']} against mtd-sim's block {want['block']}:\n"
                  f"page:    {got['statistics']}\nmtd-sim: {want['statistics']}", file=sys.stderr)
    same = [(b["block"], b["statistics"]) for b in shown[:3]] == \
        [(b["block"], b["statistics"]) for b in expected]
    check(same, "the page shows the same three blocks as mtd-sim, number and statistics")
    # Reset is grayed during the statistics screen's wait: F2 until it is taken.
    reset_run(page)

    # The text survives a reload.
    latencies = page.js("return mtdTest.keyLatencies")
    page.driver.refresh()
    page.config_dir = edited
    page.wait_started()
    check(page.value("init-text") == EDITED_CONFIG, "the edited text survives a reload")
    check(page.probe("layout", quiet=True) and page.probe("grid"),
          "after the reload the program starts from the edited text (K=856)")

    # A refused file: the loader's own message in the picture.
    refused = config_dir(work, "refused", REFUSED_CONFIG)
    message = subprocess.run([mtd_sim, "-C", refused], capture_output=True, text=True).stderr.splitlines()[0]
    page.js("mtdTest.clearTexts()")
    page.set_config(REFUSED_CONFIG)
    page.keys(Keys.F5)
    page.keys(Keys.F2)
    page.config_dir = examples

    def refused_line():
        return next((t for t in page.js("return mtdTest.texts") if t.startswith("init.txt:")), None)
    line = wait_until(30, "the refused file's message", refused_line)
    check(message.startswith(line.rstrip()), f"the refused file shows the loader's message ({line!r})")
    check(page.probe("columns", config_dir=refused), "the message stands in the status lines' left column")

    # A resize keeps the layout: the canvas keeps its pixels and the page scales the picture,
    # keeping its proportions, until the page is loaded again.
    size = page.canvas_size()
    page.driver.set_window_size(1000, 700)
    wait_until(10, "the canvas to take the new size", lambda: page.js(
        "return document.getElementById('canvas').getBoundingClientRect().width") < size[0] - 100)
    check(page.canvas_size() == size and page.probe("columns", config_dir=refused),
          "after a resize the picture is the same, scaled by the page")
    page.driver.set_window_size(1280, 800)

    # Open file… reads a file byte for byte into the panel and the program's init.txt; Save
    # file… downloads the text as init.txt.
    opened = os.path.join(config_dir(work, "opened", EDITED_CONFIG.replace("kst=3", "kst=5")), "init.txt")
    page.driver.find_element(By.ID, "file-input").send_keys(opened)
    with open(opened) as f:
        opened_text = f.read()
    wait_until(10, "the opened file in the panel",
               lambda: page.value("init-text") == opened_text)
    check(page.js("return new TextDecoder().decode(Module.FS.readFile('/config/init.txt'))") == opened_text,
          "Open file… puts the file into the panel and the program's init.txt")
    page.driver.find_element(By.ID, "save-file").click()
    saved = os.path.join(page.downloads, "init.txt")

    def saved_text():
        if not os.path.exists(saved):
            return None
        with open(saved) as f:
            return f.read()
    check(wait_until(20, "the saved file", saved_text) == opened_text, "Save file… downloads the text as init.txt")

    # Restore example, then F10 ends the program and the page offers to start again.
    page.driver.find_element(By.ID, "restore-example").click()
    check(page.value("init-text") == example, "Restore example")
    latencies += page.js("return mtdTest.keyLatencies")
    page.keys(Keys.F10)
    wait_until(20, "the end", lambda: page.js("return mtdTest.ended"))
    check(page.driver.find_element(By.ID, "ended").is_displayed() and
          not any(v["enabled"] for v in page.menu().values()),
          "F10 ends the program: the page says so and grays the menu")
    page.driver.find_element(By.ID, "restart").click()
    page.wait_started()
    check(page.menu()["Run"]["enabled"] and not page.js("return mtdTest.ended"),
          "Start again starts the program anew")

    # A finger: a tap opens the menu, a tap on Run runs. Then q, the open menu's mnemonic,
    # quits during the run.
    page.tap(page.driver.find_element(By.ID, "menu-file"))
    page.tap(page.menu_button("Run"))
    wait_until(30, "Run by touch", lambda: not page.menu()["Run"]["enabled"])
    page.driver.find_element(By.ID, "menu-file").click()
    page.keys("q")
    wait_until(30, "Quit by its mnemonic", lambda: page.js("return mtdTest.ended"))
    print("ok: Run by touch; q in the open menu quits")
    return first_frame, latencies


def caption_suffix(page, base):
    caption = page.js("return mtdTest.caption")
    return caption[len(base):] if caption.startswith(base) else None


def teaching_checks(page, mtd_sim, examples, work):
    """Step, Show every block and the no-block message, the caption, the Help popup and the
    settings form, on a fresh page."""
    page.config_dir = examples
    page.js("localStorage.clear()")
    page.load()
    base = page.js("return mtdTest.caption")
    check(page.js("return mtdTest.menuLayout()") == MENU_LAYOUT and
          page.js("return document.querySelectorAll('#menubar [role=separator]').length") == 2,
          "the menu bar has File and Help, with File's two separators")
    check(page.js("return new Set([...document.querySelectorAll('#menubar > .menu > button')]"
                  ".map((b) => Math.round(b.getBoundingClientRect().top))).size") == 1,
          "File and Help stand side by side in one bar")
    menu = page.menu()
    check(menu["Show every block"]["role"] == "menuitemcheckbox" and
          menu["Show every block"]["checked"] == "false" and not menu["Step"]["enabled"],
          "Show every block is an unchecked menuitemcheckbox, Step grayed at rest")

    # The keyboard moves along the bar; a finger opens Help.
    page.driver.find_element(By.ID, "menu-file").click()
    page.keys(Keys.ARROW_RIGHT)
    check(page.js("return document.getElementById('menu-help').getAttribute('aria-expanded')") == "true"
          and page.js("return document.getElementById('menu-file').getAttribute('aria-expanded')") == "false",
          "the right arrow in the open File menu opens Help")
    page.keys(Keys.ESCAPE)

    # The caption: the speed after g, paused after F6, both gone after F2.
    page.keys(Keys.F5)
    wait_until(30, "F5 to start the run", lambda: not page.menu()["Run"]["enabled"])
    check(not page.menu()["Settings..."]["enabled"], "Settings is grayed during the run, like Run")
    page.press_taken("g")
    wait_until(10, "the speed in the caption", lambda: caption_suffix(page, base) == " \u2014 speed \u00d72")
    print("ok: after g the caption ends with '\u2014 speed \u00d72'")
    page.press_taken("l")
    page.press_taken("l")
    wait_until(10, "the slower speed", lambda: caption_suffix(page, base) == " \u2014 speed \u00d71/2")
    page.press_taken("g")
    page.press_taken(Keys.F6)
    wait_until(10, "paused in the caption", lambda: caption_suffix(page, base) == " \u2014 paused")
    print("ok: after l l the caption says speed \u00d71/2; after g and F6 it says paused")

    # Step, in the noise pass: each s paints exactly one more cell of the information row.
    check(page.menu()["Step"]["enabled"], "Step is enabled while paused")
    settled_drawings(page)
    start = page.frontier(examples)
    check(start is not None and start > 0, f"the probe finds the noise pass's frontier ({start})")
    for n in (1, 2, 3):
        page.press_taken("s")
        settled_drawings(page)
        now = page.frontier(examples)
        check(now == start + n, f"s number {n} paints exactly one more cell ({now} after {start})")
    check(caption_suffix(page, base) == " \u2014 paused", "after the steps the run is still held")
    reset_run(page)
    check(caption_suffix(page, base) == "" and page.menu()["Settings..."]["enabled"] and
          not page.menu()["Step"]["enabled"],
          "after F2 the caption has no suffix, Settings is enabled again and Step grayed")

    # The Help popup: Colours shows the legend in the program's palette, About the version.
    page.click_menu("Colours")
    wait_until(10, "the legend window", lambda: page.is_open("legend-window"))
    legend = subprocess.run([page.probe_tool, "legend", page.shot("legend.ppm", "legend-canvas")],
                            capture_output=True, text=True)
    check(legend.returncode == 0, "Help > Colours: every sample of the legend in its palette colour "
          + legend.stdout.strip() + legend.stderr.strip())
    samples = int(legend.stdout.split("(")[1].split(" ")[0])
    check(page.js("return document.querySelectorAll('#legend-list dd').length") == samples,
          f"the side panel's legend lists the window's {samples} colours")
    page.driver.find_element(By.ID, "legend-close").click()
    page.tap(page.driver.find_element(By.ID, "menu-help"))
    page.tap(page.menu_button("About"))
    wait_until(10, "the About window", lambda: page.is_open("message-window"))
    about = page.js("return document.getElementById('message-text').textContent")
    check(about.startswith("mtd-demo ") and "licence" in about, f"Help > About by touch: {about.splitlines()[0]!r}")
    page.keys(Keys.F5)  # the modal window has the keys: no run starts behind it
    page.driver.find_element(By.ID, "message-ok").click()
    wait_until(10, "About to close", lambda: not page.is_open("message-window"))
    check(page.menu()["Run"]["enabled"], "F5 while About is open does not start a run")

    # No block at p = 0.08: the reason in the status lines; with Show every block the blocks.
    no_block = config_dir(work, "no-block", NO_BLOCK_CONFIG)
    check(sim_blocks(mtd_sim, no_block) == [], "mtd-sim shows no block of the p = 0.08 file")
    page.set_config(NO_BLOCK_CONFIG)
    page.js("mtdTest.clearTexts()")
    page.keys(Keys.F5)
    def message():
        # The status lines wrap the message: its lines are drawn one after another.
        texts = page.js("return mtdTest.texts")
        start = next((i for i, t in enumerate(texts) if t.startswith("NO BLOCK SHOWN")), None)
        return None if start is None else " ".join(" ".join(texts[start:start + 4]).split())
    line = wait_until(60, "the no-block message", message)
    check("NONE OF THE 40 TRIAL BLOCKS MET THE SELECTION RULE" in line,
          f"with Show every block off the run says why nothing was shown ({line!r})")
    wait_until(30, "Run enabled after the run", lambda: page.menu()["Run"]["enabled"])
    page.click_menu("Show every block")
    wait_until(10, "the check mark", lambda: page.menu()["Show every block"]["checked"] == "true")
    print("ok: Show every block is checked (aria-checked) after a click")
    page.keys(Keys.F5, *["g"] * 16)
    wait_until(60, "the first block shown", lambda: any(
        "BLOCK NUMBER = 1" in t for t in page.js("return mtdTest.texts")), interval=0.2)
    print("ok: with Show every block the first block of the p = 0.08 run is animated")
    reset_run(page)

    # Settings: the form has the panel's values; a refused value names its field and changes
    # nothing; OK writes the panel's text, and the next Run shows the new p.
    panel_before = page.value("init-text")
    page.click_menu("Settings...")
    wait_until(10, "the settings form", lambda: page.is_open("settings-window"))
    check(page.value(P_FIELD) == "0.08" and page.value(MAX_BLOCK_FIELD) == "40",
          "Settings opens with the panel's p and maxBlock")
    page.driver.find_element(By.ID, "settings-preset").send_keys("Default code, 8")
    check(page.value(ITERATIONS_FIELD) == "8", "choosing the second code preset fills its 8 iterations")
    field = page.driver.find_element(By.ID, P_FIELD)
    field.clear()
    field.send_keys("1.5")
    page.driver.find_element(By.ID, "settings-ok").click()
    error = wait_until(10, "the refusal", lambda: page.js(
        "return document.getElementById('settings-error').textContent"))
    check(error.startswith("Error probability (p)") and page.is_open("settings-window") and
          page.js("return document.activeElement.id") == P_FIELD and
          page.value("init-text") == panel_before,
          f"p = 1.5 is refused naming the field, which is selected; the panel is unchanged ({error!r})")
    field.clear()
    field.send_keys("0.03")
    page.driver.find_element(By.ID, "settings-ok").click()
    wait_until(10, "the form to close", lambda: not page.is_open("settings-window"))
    text = page.value("init-text")
    check("p=0.03" in text.replace(" ", "") and "ktrh={8,3,2,1," in text.replace(" ", ""),
          "OK writes the panel's init.txt: p=0.03 and the preset's thresholds")
    page.js("mtdTest.clearTexts()")
    page.keys(Keys.F5)
    wait_until(60, "P=0.03 in the status line",
               lambda: any("P=0.03" in t for t in page.js("return mtdTest.texts")))
    print("ok: the next Run's status line shows P=0.03")
    reset_run(page)


def start_browser(work, profile, scale):
    """Headless Chromium with a fresh profile and the given device pixel ratio."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in PROFILE_FLAGS:
        options.add_argument(flag)
    options.add_argument(f"--force-device-scale-factor={scale}")
    options.add_argument(f"--user-data-dir={os.path.join(work, profile)}")
    downloads = os.path.join(work, profile + "-downloads")
    os.makedirs(downloads, exist_ok=True)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.downloads = downloads
    return driver


def high_density_checks(page, examples):
    """On a screen with two device pixels per CSS pixel the canvas has the device's pixels, and
    the program lays its picture out for them."""
    page.config_dir = examples
    page.load()
    css_width, ratio = page.js("return [document.getElementById('canvas').getBoundingClientRect().width,"
                               " window.devicePixelRatio]")
    width, height = page.canvas_size()
    print(f"device pixel ratio {ratio}: canvas {width}x{height} for {css_width:.0f} CSS pixels")
    check(ratio == 2 and abs(width - 2 * css_width) <= 1, "the canvas has the device's pixels")
    check(page.probe("grid"), "the first frame at the device's pixels: every cell and label in place")


def main():
    if len(sys.argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    site, mtd_sim, probe, examples = (os.path.abspath(a) for a in sys.argv[1:5])
    screenshot = os.path.abspath(sys.argv[5]) if len(sys.argv) > 5 else None
    for tool in (CHROMIUM, CHROMEDRIVER):
        if not os.access(tool, os.X_OK):
            print(f"SKIP: {tool} is missing (Debian: chromium chromium-driver)")
            return SKIP
    if not os.path.exists(os.path.join(site, "mtd-demo.wasm")):
        print(f"FAIL: no built page in {site}", file=sys.stderr)
        return 1

    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"

    with tempfile.TemporaryDirectory(prefix="mtd-web-") as work:
        try:
            driver = start_browser(work, "profile", 1)
            try:
                page = Page(driver, url, work, probe)
                first_frame, latencies = run_checks(page, mtd_sim, examples, work, screenshot)
                teaching_checks(page, mtd_sim, examples, work)
            finally:
                driver.quit()
            driver = start_browser(work, "profile-hidpi", 2)
            try:
                high_density_checks(Page(driver, url, work, probe), examples)
            finally:
                driver.quit()
        except Failure as failure:
            print("FAIL:", failure, file=sys.stderr)
            return 1
        finally:
            server.shutdown()
    if latencies:
        print(f"key to program: median {statistics.median(latencies):.1f} ms, "
              f"max {max(latencies):.1f} ms over {len(latencies)} keys")
    print(f"PASS: the page in Chromium (first frame {first_frame:.0f} ms)")
    return 0


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    sys.exit(main())
