"""The storefront tour's page: its e-commerce panel and logo, the hot spots'
status texts, and a hot-spot click that opens the spot's link with the
selected scene's query (intercepted, not followed)."""

import os
import sys
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageTestCase  # noqa: E402


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


if __name__ == "__main__":
    unittest.main()
