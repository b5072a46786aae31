"""The demo tour's page as its reader uses it: the view turns by itself,
scenes switch behind the splash, the toolbar, keys and mouse move it, every
control is reachable with Tab, the dialogs show the tour's texts, and the
page asks for nothing over the network."""

import os
import sys
import tempfile
import time
import unittest
import urllib.parse

from hypothesis import given, settings, strategies as st
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageDriver, PageTestCase  # noqa: E402

LOADING = "Loading new scene ..."
# What anyone may put after the '#' of a link: arbitrary text, and fields
# shaped like the page's own, with any value.
ADDRESS_FIELD = st.tuples(
    st.sampled_from(["scene", "pan", "tilt", "level", "Scene", "zoom", ""]),
    st.sampled_from(["=", "=", "=="]),
    st.one_of(st.integers(-20, 20).map(str), st.integers(-10 ** 7, 10 ** 7).map(str),
              st.sampled_from(["-0", "+3", "09", "1e3", "0x10", " 5", "\u0663", "NaN", ""]),
              st.text(max_size=8))).map("".join)
ADDRESSES = st.lists(st.tuples(st.sampled_from(["", "", "#"]),
                               st.lists(st.one_of(ADDRESS_FIELD, ADDRESS_FIELD,
                                                  st.text(max_size=12)), max_size=6),
                               st.sampled_from(["&", "&", ";"])).map(
    lambda t: t[0] + t[2].join(t[1])), min_size=1, max_size=25)
# Every address goes through the page's own handler, as a followed link's
# does (the page's script keeps its functions to itself), from scene 0 at
# rest; an address of scene 0 sets the view at once.
FOLLOW = """
window.vistelloTour.showView(0, 600, 0, 0);
const errors = [];
const reportError = (event) => errors.push(String(event.message));
window.addEventListener('error', reportError);
const seen = [];
for (const address of arguments[0]) {
  history.replaceState(null, '', '#' + address);
  window.dispatchEvent(new HashChangeEvent('hashchange'));
  seen.push([location.hash, window.vistelloTour.state()]);
}
window.removeEventListener('error', reportError);
return [seen, errors];"""
# The demo's 1200-column strips: the view turns between pan columns m and
# m + 1200, m = 1200 / 4 + 3 = 303; it never tilts past half the strip's
# 200 rows; zoom levels are 0 to 15.
PAN_RANGE = (303, 1503)
TOOLS = ("left", "stop", "right", "zoom-in", "zoom-out", "contact", "send")


class DemoPageTest(PageTestCase):
    def setUp(self):
        self.page.open(self.page_path)

    def state(self):
        return self.page.state()

    def element(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector)

    def tool(self, command):
        return self.element(f'.tool[data-command="{command}"]')

    def still(self):
        """Two captures 300 ms apart are the same picture."""
        first = self.page.canvas_rgb()
        time.sleep(0.3)
        return first == self.page.canvas_rgb()

    def test_start_shows_the_first_title_and_turns_right(self):
        start = self.state()
        self.assertEqual(start["status"], self.tour["scenes"][0]["title"])
        self.assertEqual(start["panSpeed"], 4)
        self.assertEqual(self.tool("right").get_attribute("aria-pressed"), "true")
        self.assertFalse(self.still())
        self.assertGreater(self.state()["pan"], start["pan"])

    def test_a_scene_choice_shows_loading_then_its_title(self):
        before = self.page.canvas_rgb()
        Select(self.element("#scenes")).select_by_index(6)
        self.page.wait_for(lambda: self.state()["status"] == LOADING, "no loading text")
        # The splash: the picture centred on white.
        self.assertEqual(self.page.canvas_rgb()[2][:3], b"\xff\xff\xff")
        self.page.wait_for(lambda: not self.state()["loading"], "the switch never ended")
        after = self.state()
        self.assertEqual((after["scene"], after["status"]), (6, self.tour["scenes"][6]["title"]))
        self.assertNotEqual(self.page.canvas_rgb(), before)

    def test_stop_halts_the_view(self):
        self.tool("stop").click()
        self.assertEqual(self.tool("stop").get_attribute("aria-pressed"), "true")
        self.assertTrue(self.still())
        # Nothing moves and nothing is held: the page asks for no frame at all.
        self.assertEqual(self.page.animation_frames(0.5), 0)

    def canvas_centre(self):
        return self.driver.execute_script(
            "const box = document.getElementById('view').getBoundingClientRect();"
            "return [box.x + box.width / 2, box.y + box.height / 2]")

    def press_key(self, key, code, repeats=0):
        """A key pressed, held for `repeats` key repeats and released."""
        def send(kind, repeat=False):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                "type": kind, "key": key, "code": code, "autoRepeat": repeat,
                "windowsVirtualKeyCode": {" ": 32, "Enter": 13}[key],
                "text": key.replace("Enter", "\r") if kind == "keyDown" else ""})
        send("keyDown")
        for _ in range(repeats):
            send("keyDown", repeat=True)
        send("keyUp")

    def test_a_link_opens_once_per_press(self):
        self.page.intercept_links()
        for key, code in ((" ", "Space"), ("Enter", "Enter")):
            with self.subTest(key=code):
                self.page.run("document.getElementById('badge').focus()")
                self.press_key(key, code, repeats=15)
                self.assertEqual(len(self.page.opened_links()), 1)

    def test_a_zoom_press_is_one_level_and_holding_repeats(self):
        cases = [
            # (button, seconds held, least and most change of the level)
            ("zoom-in", 0.1, 1, 1),
            ("zoom-in", 0.2, 1, 1),
            ("zoom-out", 0.1, -1, -1),
            ("zoom-in", 1.5, 3, 10),  # repeats after a delay, as a held key does
        ]
        for command, held, least, most in cases:
            with self.subTest(command=command, held=held):
                # The press takes the keys from the view, which lets go of its own.
                self.driver.execute_script("window.vistelloTour.showView(0, 900, 0, 5);"
                                           "document.getElementById('view').focus()")
                ActionChains(self.driver).click_and_hold(self.tool(command)).pause(held) \
                    .release().pause(0.3).perform()
                self.assertGreaterEqual(self.state()["level"] - 5, least)
                self.assertLessEqual(self.state()["level"] - 5, most)
        self.driver.execute_script("window.vistelloTour.showView(0, 900, 0, 5)")
        self.tool("zoom-in").send_keys(Keys.ENTER)
        self.assertEqual(self.state()["level"], 6)

    def test_the_wheel_zooms_one_level_per_notch_and_the_page_never_scrolls(self):
        # Small enough that the page has something to scroll.
        self.page.resize(500, 400)
        x, y = self.canvas_centre()
        scrolled = ("return [document.scrollingElement, document.querySelector('.content')]"
                    ".map((e) => [e.scrollTop, e.scrollHeight > e.clientHeight])")
        cases = [
            # (what, wheel deltas in pixels, with Ctrl (a trackpad pinch), change of the level)
            ("three notches up", [-100] * 3, False, 3),
            ("two notches down", [100, 100], False, -2),
            ("fine steps", [-25] * 8, False, 2),
            # A pinch arrives as Ctrl + wheel in small steps: one level is a
            # change of 3 ** (1 / 20) in scale, 100 * ln(3) / 20 = 5.49 pixels.
            ("pinch out", [-3] * 4, True, 2),
            ("Ctrl + a notch up", [-100], True, 1),
        ]
        try:
            self.assertIn(True, [can for _, can in self.page.run(scrolled)])
            for what, deltas, ctrl, change in cases:
                with self.subTest(what):
                    self.driver.execute_script("window.vistelloTour.showView(0, 900, 0, 5)")
                    for delta in deltas:
                        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                            "type": "mouseWheel", "x": x, "y": y, "deltaX": 0, "deltaY": delta,
                            "modifiers": 2 if ctrl else 0})
                    # The wheel reaches the page a moment later.
                    time.sleep(0.3)
                    self.assertEqual(self.state()["level"], 5 + change)
                    self.assertEqual([top for top, _ in self.page.run(scrolled)], [0, 0])
        finally:
            self.page.resize(1280, 800)

    def test_leaving_the_view_releases_held_keys_and_drags(self):
        canvas = self.element("#view")
        hide = ("Object.defineProperty(document, 'visibilityState', "
                "{value: 'hidden', configurable: true});"
                "document.dispatchEvent(new Event('visibilitychange'));"
                "delete document.visibilityState")
        cases = [
            # (what is held, how the page loses it, how it is let go afterwards)
            ("right arrow", lambda a: a.key_down(Keys.ARROW_RIGHT),
             lambda: ActionChains(self.driver).send_keys(Keys.TAB).perform(),
             lambda a: a.key_up(Keys.ARROW_RIGHT)),
            ("left arrow", lambda a: a.key_down(Keys.ARROW_LEFT),
             lambda: self.page.run("window.dispatchEvent(new Event('blur'))"),
             lambda a: a.key_up(Keys.ARROW_LEFT)),
            ("drag", lambda a: a.click_and_hold(canvas).move_by_offset(60, 0),
             lambda: self.page.run(hide), lambda a: a.release()),
        ]
        for what, hold, leave, let_go in cases:
            with self.subTest(what):
                self.driver.execute_script("window.vistelloTour.showView(0, 900, 0, 5);"
                                           "document.getElementById('view').focus()")
                hold(ActionChains(self.driver)).pause(0.2).perform()
                self.assertFalse(self.still())
                leave()
                self.assertTrue(self.still(), "the view still moves")
                let_go(ActionChains(self.driver)).perform()

    def touch(self, kind, *points):
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)]})

    def test_keys_drags_and_fingers_move_the_view(self):
        canvas = self.element("#view")
        x, y = self.canvas_centre()

        def fingers(start, *moves):
            def press(actions):
                self.touch("touchStart", *start)
                for points in moves:
                    self.touch("touchMove", *points)
                return actions
            return press

        def lift(actions):
            self.touch("touchEnd")
            return actions

        cases = [
            # (what, press, release, signs of the change of (pan, level) while held)
            ("left arrow", lambda a: a.key_down(Keys.ARROW_LEFT),
             lambda a: a.key_up(Keys.ARROW_LEFT), (-1, 0)),
            ("right arrow", lambda a: a.key_down(Keys.ARROW_RIGHT),
             lambda a: a.key_up(Keys.ARROW_RIGHT), (1, 0)),
            ("page up", lambda a: a.send_keys(Keys.PAGE_UP * 3), lambda a: a, (0, 1)),
            ("drag right", lambda a: a.click_and_hold(canvas).move_by_offset(60, 0),
             lambda a: a.release(), (1, 0)),
            ("drag left", lambda a: a.click_and_hold(canvas).move_by_offset(-60, 0),
             lambda a: a.release(), (-1, 0)),
            ("shift-drag up", lambda a: a.key_down(Keys.SHIFT).click_and_hold(canvas)
             .move_by_offset(0, -20), lambda a: a.release().key_up(Keys.SHIFT), (0, 1)),
            ("one-finger drag", fingers([(x, y)], [(x + 60, y)]), lift, (1, 0)),
            ("pinch out", fingers([(x - 20, y), (x + 20, y)], [(x - 40, y), (x + 40, y)]), lift,
             (0, 1)),
        ]
        for what, press, release, signs in cases:
            with self.subTest(what):
                # Still, at zoom level 5, with the keys in the view.
                self.driver.execute_script("window.vistelloTour.showView(0, 900, 0, 5);"
                                           "document.getElementById('view').focus()")
                before = self.state()
                press(ActionChains(self.driver)).pause(0.3).perform()
                during = self.state()
                release(ActionChains(self.driver)).perform()
                change = [(during[k] > before[k]) - (during[k] < before[k]) for k in ("pan", "level")]
                self.assertEqual(tuple(change), signs)
                # A key-up, button-up or lifted finger stops the view.
                self.assertEqual(self.state()["panSpeed"], 0)

    def test_tab_reaches_every_control(self):
        self.driver.execute_script("document.activeElement.blur()")
        reached = set()
        for _ in range(20):
            ActionChains(self.driver).send_keys(Keys.TAB).perform()
            reached.add(self.driver.execute_script(
                "const e = document.activeElement;"
                "return e.id || e.dataset.command + ':' + e.tagName.toLowerCase()"))
        wanted = {f"{c}:button" for c in TOOLS} | {"scenes", "view", "badge"}
        self.assertEqual(wanted - reached, set())
        # Enter on a button is its click: Stop.
        self.tool("stop").send_keys(Keys.ENTER)
        self.assertEqual(self.state()["panSpeed"], 0)

    def test_the_contact_box_shows_every_address(self):
        self.tool("contact").click()
        dialog = self.element("#contact-dialog")
        self.assertTrue(dialog.is_displayed())
        text = dialog.text
        presenter = self.tour["presenter"]
        for line in ("name", "company", "phone", "location", "listing"):
            self.assertIn(presenter[line], text)
        for address in presenter["email"].split(";"):
            self.assertIn(address, text)
        # On a phone the number calls and the addresses write.
        links = [a.get_attribute("href") for a in dialog.find_elements(By.CSS_SELECTOR, "a")]
        self.assertEqual(links, ["tel:2075550186",
                                 "mailto:dana.whitfield@harborpointrealty.example",
                                 "mailto:office@harborpointrealty.example"])
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.assertFalse(dialog.is_displayed())

    def test_send_to_a_friend_offers_the_mail_and_a_working_copy(self):
        with tempfile.TemporaryDirectory() as folder:
            self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                        {"behavior": "allow", "downloadPath": folder})
            self.tool("send").click()
            mail = self.element("#write-mail").get_attribute("href")
            self.assertTrue(mail.startswith("mailto:?subject=Orvo(tm)%20Vistello&body=Hi%2C%0D%0A"))
            # Some mail programs cut an address at 2,000 characters.
            self.assertLessEqual(len(mail), 2000)
            body = urllib.parse.unquote(mail)
            self.assertIn("DemoTour.html", body)
            self.assertIn("any web browser", body)
            self.element("#save-copy").click()
            copy = os.path.join(folder, "DemoTour.html")
            self.page.wait_for(lambda: os.path.exists(copy), "no copy was saved")
            # The copy is the tour again: it opens and shows its first frame.
            self.page.open(copy)
            self.assertEqual(self.state()["status"], self.tour["scenes"][0]["title"])

    def test_the_help_and_the_mail_are_written_for_the_page(self):
        self.tool("send").click()
        mail = urllib.parse.unquote(self.element("#write-mail").get_attribute("href"))
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.element('.menu [data-command="help"]').click()
        help_text = self.element("#help-dialog").text
        for what in ("drag", "Page Up", "pinch", "full screen", "F key", "Save a copy"):
            self.assertIn(what, help_text)
        for text in (help_text, mail):
            for executable in ("executable", "double-click", "Macintosh", "floppy"):
                self.assertNotIn(executable, text)

    def test_the_address_names_the_scene_and_the_view(self):
        titles = [scene["title"] for scene in self.tour["scenes"]]
        cases = [
            # (address, scene shown, pan column or None (turning), zoom level)
            ("#scene=3", 3, None, 0),
            ("#scene=3&pan=900&level=5", 3, 900, 5),
            ("#scene=9&level=20&pan=700&tilt=-3", 9, 700, 15),
            ("#scene=10", 0, None, 0),  # no such scene: the tour's start
            ("#scene=2&pan=x", 2, None, 0),
            ("#pan=900", 0, None, 0),
            ("#scene=-1", 0, None, 0),
        ]
        for address, scene, pan, level in cases:
            with self.subTest(address):
                self.page.open(self.page_path, address)
                state = self.state()
                self.assertEqual((state["scene"], state["level"]), (scene, level))
                self.assertEqual(state["pan"] if state["panSpeed"] == 0 else None, pan)
                self.assertEqual(self.driver.title, f"{titles[scene]} - Port Ellery, ME")
        # The address follows the scene shown, and when the view rests, the view.
        self.page.open(self.page_path)
        Select(self.element("#scenes")).select_by_index(6)
        self.page.wait_for(lambda: self.state()["scene"] == 6, "the switch never ended")
        self.assertEqual(self.page.run("return location.hash"), "#scene=6")
        self.assertEqual(self.driver.title, f"{titles[6]} - Port Ellery, ME")
        self.driver.execute_script("window.vistelloTour.showView(6, 1000, 8, 7)")
        self.page.wait_for(lambda: self.page.run("return location.hash")
                           == "#scene=6&pan=1000&tilt=8&level=7", "the address missed the view")

    @settings(max_examples=40, derandomize=True, database=None, deadline=None)
    @given(ADDRESSES)
    def test_any_address_shows_a_scene_and_a_view_within_its_limits(self, addresses):
        seen, errors = self.page.run(FOLLOW, addresses)
        self.assertEqual(errors, [])
        scenes = range(len(self.tour["scenes"]))
        for address, state in seen:
            self.assertIn(state["scene"], scenes, address)
            self.assertIn(state["selected"], scenes, address)
            self.assertIn(state["level"], range(16), address)
            self.assertTrue(PAN_RANGE[0] <= state["pan"] <= PAN_RANGE[1], (address, state))
            self.assertLessEqual(abs(state["tilt"]), 100, (address, state))

    def test_the_page_makes_no_network_request(self):
        Select(self.element("#scenes")).select_by_index(3)
        self.page.wait_for(lambda: not self.state()["loading"], "the switch never ended")
        for command in ("contact", "send"):
            self.tool(command).click()
            ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        # The policy refuses even what the page's own script would ask for.
        refused = self.driver.execute_async_script(
            "const done = arguments[0];"
            "fetch('http://www.orvo.example/').then(() => done(false), () => done(true));")
        self.assertTrue(refused)
        page = "file://" + os.path.abspath(self.page_path)
        outside = [u for u in self.page.requests() if u != page and not u.startswith("data:")]
        self.assertEqual(outside, [])


class ReducedMotionTest(unittest.TestCase):
    def test_no_auto_pan_when_the_reader_asks_for_reduced_motion(self):
        page = PageDriver(reduced_motion=True)
        try:
            page.open(os.environ["VISTELLO_PAGE"])
            self.assertEqual(page.state()["panSpeed"], 0)
            stop = page.driver.find_element(By.CSS_SELECTOR, '.tool[data-command="stop"]')
            self.assertEqual(stop.get_attribute("aria-pressed"), "true")
        finally:
            page.close()


if __name__ == "__main__":
    unittest.main()
