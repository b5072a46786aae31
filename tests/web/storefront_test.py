"""The storefront tour's page: its e-commerce panel and logo, the hot spots'
status texts, and a hot-spot click that opens the spot's link with the
selected scene's query (intercepted, not followed); and the page at every
window size: no control covered or out of reach, the view filling the
width of phones and tablets, touch targets a finger can hit, readable
toolbar labels, and full screen."""

import os
import sys
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageTestCase  # noqa: E402


# Widths 320 .. 1680 and heights 400 .. 900: 35 x 6 = 210 window sizes.
SIZES = [(width, height) for width in range(320, 1681, 40) for height in range(400, 901, 100)]

# The shown controls that, once scrolled into view as keyboard focus would
# scroll them, do not show as much of themselves as the window (and the
# page's scrolling part) can hold, or are hidden there at one of five
# points (the centre and the corners, just inside) by something else: the
# status line, the toolbar. A hot spot is part of its panel and the view's
# own buttons part of the view: each group may overlap itself.
COVERED = """
const covered = [];
const content = document.querySelector('.content').getBoundingClientRect();
for (const control of document.querySelectorAll('button, a[href], select, canvas, #panel')) {
  if (control.getClientRects().length === 0 ||
      (control.closest('#panel') && control.id !== 'panel')) {
    continue;
  }
  control.scrollIntoView({block: 'nearest', inline: 'nearest'});
  const box = control.getBoundingClientRect();
  const inContent = control.closest('.content') !== null;
  const left = Math.max(box.left, 0, inContent ? content.left : 0);
  const top = Math.max(box.top, 0, inContent ? content.top : 0);
  const right = Math.min(box.right, innerWidth, inContent ? content.right : innerWidth);
  const bottom = Math.min(box.bottom, innerHeight, inContent ? content.bottom : innerHeight);
  const room = [inContent ? Math.min(content.width, innerWidth) : innerWidth,
                inContent ? Math.min(content.height, innerHeight) : innerHeight];
  const group = control.closest('.view-area, #panel') || control;
  const inset = Math.min(3, (right - left) / 4, (bottom - top) / 4);
  const points = [[(left + right) / 2, (top + bottom) / 2],
                  [left + inset, top + inset], [right - inset, top + inset],
                  [left + inset, bottom - inset], [right - inset, bottom - inset]];
  if (right - left < Math.min(box.width, room[0]) - 1 ||
      bottom - top < Math.min(box.height, room[1]) - 1 ||
      points.some(([x, y]) => !group.contains(document.elementFromPoint(x, y)))) {
    covered.push(control.id || control.dataset.command || control.textContent.trim());
  }
}
return covered;"""

# Controls smaller than 24 x 24 CSS pixels, list rows included.
SMALL = """
return [...document.querySelectorAll('button, a[href], select, option, canvas')]
    .filter((e) => e.getClientRects().length > 0)
    .map((e) => [e.id || e.dataset.command || e.textContent.trim(), e.getBoundingClientRect()])
    .filter(([, box]) => box.width < 24 || box.height < 24)
    .map(([name, box]) => `${name} ${box.width.toFixed(1)} x ${box.height.toFixed(1)}`);"""

VIEW_BOX = """
const box = document.getElementById('view').getBoundingClientRect();
return [box.width, box.height, innerWidth, innerHeight];"""


class StorefrontPageTest(PageTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.page.open(cls.page_path)
        cls.image = cls.driver.find_element(By.ID, "panel-image")
        cls.page.intercept_links()

    def at(self, x, y):
        """Actions at image pixel (x, y) of the panel, wherever it is shown."""
        size = self.image.size
        scale = size["width"] / 528
        return ActionChains(self.driver).move_to_element_with_offset(
            self.image, (x + 0.5) * scale - size["width"] / 2,
            (y + 0.5) * scale - size["height"] / 2)

    def test_the_panel_and_the_logo_are_shown(self):
        self.assertTrue(self.image.is_displayed())
        self.assertEqual(self.image.get_property("naturalWidth"), 528)
        logo = self.driver.find_element(By.ID, "logo")
        self.assertTrue(logo.is_displayed())
        self.assertEqual(logo.get_property("naturalWidth"), 48)

    def test_hovering_shows_the_status_texts(self):
        title = self.tour["scenes"][0]["title"]
        cases = [
            # (image point or element, status afterwards): spot 1 has no
            # text, so it shows the title, as off every spot.
            ((50, 30), "Book a room at the Harbor Point Inn"),
            ((150, 30), title),
            ((2, 2), title),
            ((300, 30), "More photos of the inn"),
            ((400, 62), "Seasonal offers"),
            ("#badge", "Visit Orvo(tm) Website"),
            ("#view", title),
        ]
        # Scene 0 at once: no switch under way changes the status line meanwhile.
        self.driver.execute_script("window.vistelloTour.showView(0, 442, 0, 0)")
        for where, status in cases:
            with self.subTest(where=where):
                if isinstance(where, str):
                    ActionChains(self.driver).move_to_element(
                        self.driver.find_element(By.CSS_SELECTOR, where)).perform()
                else:
                    self.at(*where).perform()
                self.assertEqual(self.page.state()["status"], status)

    def test_a_hot_spot_click_opens_its_link_with_the_scene_query(self):
        cases = [
            # (scene, image point, link opened or None)
            (0, (50, 30), "http://www.harborpointinn.example/book?scene=lobby"),
            (1, (250, 30), "http://www.harborpointinn.example/photos?scene=boardroom&size=12"),
            (2, (450, 30), "http://www.harborpointinn.example/rates"),  # no query
            (2, (104, 30), None),  # the right edge of spot 0 is outside it
        ]
        for scene, point, link in cases:
            with self.subTest(scene=scene, point=point):
                self.driver.execute_script("window.vistelloTour.selectScene(arguments[0])", scene)
                self.page.opened_links()
                self.at(*point).click().perform()
                self.assertEqual(self.page.opened_links(), [link] if link else [])


class LayoutTest(PageTestCase):
    def setUp(self):
        self.page.open(self.page_path)

    def tearDown(self):
        self.page.resize(1280, 800)

    def test_no_control_is_covered_at_any_window_size(self):
        covered = {}
        for width, height in SIZES:
            self.page.resize(width, height)
            hidden = self.page.run(COVERED)
            if hidden:
                covered[(width, height)] = hidden
        print(f"\nsweep: {len(covered)} of {len(SIZES)} window sizes with a covered control",
              file=sys.stderr)
        self.assertEqual(covered, {})

    def test_the_view_fills_the_width_of_phones_and_tablets(self):
        for width, height, ratio in ((390, 844, 3.0), (820, 1180, 2.0)):
            with self.subTest(width=width, height=height):
                self.page.resize(width, height, ratio, mobile=True)
                shown, shown_height, _, _ = self.page.run(VIEW_BOX)
                print(f"\nview at {width} x {height}: {shown:.1f} x {shown_height:.1f}, "
                      f"{100 * shown / width:.1f} % of the width", file=sys.stderr)
                self.assertGreaterEqual(shown / width, 0.95)
                # Enlarged by the page, the canvas still holds one frame.
                self.assertEqual(self.page.run("return document.getElementById('view').width"), 320)

    def test_touch_targets_and_toolbar_labels_on_phones_and_tablets(self):
        for width, height, ratio in ((390, 844, 3.0), (844, 390, 3.0), (820, 1180, 2.0)):
            with self.subTest(width=width, height=height):
                self.page.resize(width, height, ratio, mobile=True)
                self.assertEqual(self.page.run(SMALL), [])
                self.driver.find_element(By.CSS_SELECTOR, '.tool[data-command="contact"]').click()
                self.assertEqual(self.page.run(SMALL), [])
                ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
                # The toolbar's 6 to 7 pixel labels shown at least 1.5 times as large.
                button = self.page.run(
                    "return document.querySelector('.tool').getBoundingClientRect().width")
                self.assertGreaterEqual(button, 1.5 * 40)

    def test_full_screen_from_the_button_or_the_f_key(self):
        # Whole device pixels a frame pixel where that fills 90 % of the screen.
        fills = ("const [w, h, width, height] = arguments[0];"
                 "return Math.max(w / width, h / height) >= 0.9")
        no_api = "Object.defineProperty(document, 'fullscreenEnabled', {value: false})"
        cases = [
            # (the browser lacks the Fullscreen API, how it starts, how it ends)
            (False, "button", "button"),
            (False, "F", "Escape"),
            (True, "button", "button"),
            (True, "F", "Escape"),
        ]
        for without_api, start, end in cases:
            with self.subTest(without_api=without_api, start=start, end=end):
                self.page.open(self.page_path)
                if without_api:
                    self.page.run(no_api)
                button = self.driver.find_element(By.ID, "fullscreen")
                for full, key in ((True, start), (False, end)):
                    if key == "button":
                        button.click()
                    else:
                        ActionChains(self.driver).send_keys(key.lower() if key == "F" else
                                                            Keys.ESCAPE).perform()
                    self.page.wait_for(
                        lambda: self.page.run(fills, self.page.run(VIEW_BOX)) == full,
                        f"{key}: the view does not {'fill' if full else 'leave'} the screen")
                    self.assertEqual(button.get_attribute("aria-pressed"), str(full).lower())


if __name__ == "__main__":
    unittest.main()
