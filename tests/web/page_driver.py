"""Drives a tour page in Debian's headless Chromium through chromedriver:
the shared fixture of the web tests and the web benchmark.

The browser runs with a private profile, no network name resolution (any
address the page tried would fail rather than reach out) and a log of
every request it makes, so a test can check that the page made none.
"""

import base64
import json
import os
import shutil
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"

DESKTOP = {"width": 1280, "height": 800}

# Records the link of a click instead of following it.
INTERCEPT = """
window.openedLinks = [];
document.addEventListener('click', (event) => {
  const link = event.target.closest('a');
  if (link) { window.openedLinks.push(link.href); event.preventDefault(); }
}, true);"""
PHONE = {"width": 390, "height": 844, "pixelRatio": 3.0}


class PageDriver:
    def __init__(self, phone=False, reduced_motion=False):
        self.profile = tempfile.mkdtemp(prefix="vistello-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ("--headless=new", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-extensions", "--no-default-browser-check",
                     "--host-resolver-rules=MAP * ~NOTFOUND",
                     f"--user-data-dir={self.profile}"):
            options.add_argument(flag)
        if os.geteuid() == 0:
            options.add_argument("--no-sandbox")
        if phone:
            options.add_experimental_option("mobileEmulation", {
                "deviceMetrics": PHONE, "userAgent": "Mozilla/5.0 (Linux; Android 13) Mobile"})
        else:
            options.add_argument(f"--window-size={DESKTOP['width']},{DESKTOP['height']}")
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        if reduced_motion:
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
                "features": [{"name": "prefers-reduced-motion", "value": "reduce"}]})

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, page, fragment=""):
        """Opens the page from disk (with an address fragment such as
        "#scene=3") and waits until its first frame is shown."""
        self.driver.get("about:blank")  # a new address even where only the fragment differs
        self.requests()  # from here on, only the page's own
        self.driver.get("file://" + os.path.abspath(page) + fragment)
        self.wait_for(lambda: self.state() is not None and self.state()["firstFrame"] is not None,
                      "the page never showed its first frame")

    def run(self, script, *args):
        return self.driver.execute_script(script, *args)

    def state(self):
        return self.run("return window.vistelloTour ? window.vistelloTour.state() : null")

    def wait_for(self, condition, message, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.02)
        raise AssertionError(message)

    def canvas_rgb(self):
        """The view's canvas as top-down RGB bytes (its own pixels, not the
        enlarged picture on the screen)."""
        encoded = self.run("""
            const canvas = document.getElementById('view');
            const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            const rgb = new Uint8Array(rgba.length / 4 * 3);
            for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) {
              rgb[j] = rgba[i]; rgb[j + 1] = rgba[i + 1]; rgb[j + 2] = rgba[i + 2];
            }
            let text = '';
            for (let i = 0; i < rgb.length; i += 0x8000) {
              text += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
            }
            return [canvas.width, canvas.height, btoa(text)];""")
        width, height, data = encoded
        return width, height, base64.b64decode(data)

    def requests(self):
        """Every URL the browser asked for since the last call."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def screenshot(self, path):
        self.driver.save_screenshot(path)

    def resize(self, width, height, ratio=1.0, mobile=False):
        """Gives the page a viewport of width x height CSS pixels and
        `ratio` device pixels per CSS pixel; mobile adds touch."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                    {"enabled": mobile, "maxTouchPoints": 5})
        self.wait_for(lambda: self.run("return [innerWidth, innerHeight]") == [width, height],
                      f"the viewport never became {width} x {height}")
        # The page's resize handler runs before the next animation frame.
        self.driver.execute_async_script(
            "requestAnimationFrame(() => requestAnimationFrame(arguments[0]))")

    def intercept_links(self):
        """From now on a followed link is recorded in window.openedLinks
        instead of being opened."""
        self.run(INTERCEPT)

    def opened_links(self):
        return self.run("const opened = window.openedLinks; window.openedLinks = []; return opened")

    def animation_frames(self, seconds):
        """How many animation frames the page asks for within `seconds`."""
        return self.driver.execute_async_script("""
            const done = arguments[1];
            const request = window.requestAnimationFrame;
            let count = 0;
            window.requestAnimationFrame = (callback) => { count++; return request(callback); };
            setTimeout(() => { window.requestAnimationFrame = request; done(count); },
                       1000 * arguments[0]);""", seconds)


class PageTestCase(unittest.TestCase):
    """One browser for a class of tests, and the tour as tour-compile
    describes it (VISTELLO_TOUR_JSON); the page is VISTELLO_PAGE."""

    @classmethod
    def setUpClass(cls):
        with open(os.environ["VISTELLO_TOUR_JSON"], encoding="utf-8") as f:
            cls.tour = json.load(f)
        cls.page_path = os.environ["VISTELLO_PAGE"]
        cls.page = PageDriver()
        cls.driver = cls.page.driver

    @classmethod
    def tearDownClass(cls):
        cls.page.close()
