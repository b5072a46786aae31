"""The page's frames are the executable's: for a spread of scenes, pan
columns, tilts and zoom levels, the canvas holds exactly the frame that the
native build's render_frame writes from the same JPEG."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageTestCase  # noqa: E402

# The demo strips are 1200 x 200: margin 303, widened width 1806, so the
# view pans over 303 .. 1503. The columns cover both ends of that range and
# the start column 442; the tilts lie inside, on and beyond the level 15
# margin of 56; the levels run through 0 .. 15.
SCENES = (0, 3, 6, 9)
PANS = (303, 304, 442, 500, 600, 777, 903, 1000, 1111, 1200, 1250, 1380, 1502, 1503, 350)
TILTS = (-100, -57, -56, -1, 0, 1, 30, 55, 56, 100)
SETTINGS = [(scene, pan, TILTS[(j + scene) % len(TILTS)], (j + 4 * scene) % 16)
            for scene in SCENES for j, pan in enumerate(PANS)]

# Turning the phone, from the view at pan 442, level 15, tilt 0: the strip's
# 1200 columns are 360 degrees, so a degree is 10/3 columns of pan and, at
# the horizon, 10/3 rows of tilt (positive up), limited as a tick limits
# it at level 15: -56 .. 55. The view looks out of the phone's back: held upright
# (beta 90), turning right lowers alpha and turning the back upwards raises
# beta; in landscape (gamma -90) alpha turns as well.
TURNS = [
    # (alpha, beta, gamma at the start, alpha, beta, gamma turned, pan, tilt)
    ((0, 90, 0), (0, 90, 0), 442, 0),
    ((0, 90, 0), (-30, 90, 0), 542, 0),
    ((10, 90, 0), (355, 90, 0), 492, 0),  # across north: 15 degrees right
    ((0, 90, 0), (90, 90, 0), 1342, 0),  # 300 columns left of 442 wraps past 303
    ((0, 90, 0), (0, 99, 0), 442, 30),  # 9 degrees up: 30 rows
    ((0, 90, 0), (0, 150, 0), 442, 55),  # 60 degrees up, held at the limit
    ((0, 90, 0), (0, 45, 0), 442, -56),
    ((0, 0, -90), (-30, 0, -90), 542, 0),  # landscape
]


def reference_frame(image, pan, tilt, level):
    """render_frame's frame as top-down RGB bytes."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "frame.bmp")
        subprocess.run([os.environ["VISTELLO_RENDER_FRAME"], "--pan", str(pan), "--tilt",
                        str(tilt), "--level", str(level), image, path],
                       check=True, stderr=subprocess.DEVNULL)
        with open(path, "rb") as f:
            bmp = f.read()
    offset, = struct.unpack_from("<I", bmp, 10)
    width, height = struct.unpack_from("<ii", bmp, 18)
    stride = (3 * width + 3) & ~3
    rows = []
    for row in reversed(range(height)):  # stored bottom-up, blue-green-red
        bgr = bmp[offset + row * stride:offset + row * stride + 3 * width]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, b"".join(rows)


class FrameTest(PageTestCase):
    @classmethod
    def setUpClass(cls):
        reference = os.environ["VISTELLO_RENDER_FRAME"]
        if not os.access(reference, os.X_OK):
            raise AssertionError(f"no {reference}: build the native preset first")
        super().setUpClass()
        cls.images = [scene["image"] for scene in cls.tour["scenes"]]
        cls.page.open(cls.page_path)

    def canvas_at(self, scene, pan, tilt, level):
        shown = self.page.run("return window.vistelloTour.showView(...arguments)",
                              scene, pan, tilt, level)
        self.assertTrue(shown)
        return self.page.canvas_rgb()

    def test_canvas_equals_render_frame(self):
        equal = 0
        for scene, pan, tilt, level in SETTINGS:
            with self.subTest(scene=scene, pan=pan, tilt=tilt, level=level):
                canvas = self.canvas_at(scene, pan, tilt, level)
                reference = reference_frame(self.images[scene], pan, tilt, level)
                self.assertEqual(canvas[:2], reference[:2])
                self.assertTrue(canvas[2] == reference[2], "the canvas differs from render_frame")
                equal += 1
        print(f"\nframes: {equal} of {len(SETTINGS)} settings equal to render_frame",
              file=sys.stderr)

    def test_turning_the_phone_shows_the_core_frames(self):
        turn = ("window.dispatchEvent(new DeviceOrientationEvent('deviceorientation', "
                "{alpha: arguments[0], beta: arguments[1], gamma: arguments[2]}))")
        try:
            self.page.resize(390, 844, 3.0, mobile=True)
            for start, turned, pan, tilt in TURNS:
                with self.subTest(start=start, turned=turned):
                    self.page.open(self.page_path)
                    self.canvas_at(0, 442, 0, 15)
                    self.page.run("document.getElementById('orientation').click()")
                    self.page.run(turn, *start)
                    self.page.run(turn, *turned)
                    self.page.wait_for(lambda: [self.page.state()[k] for k in ("pan", "tilt")]
                                       == [pan, tilt], f"the view never turned to {pan}, {tilt}")
                    self.assertTrue(self.page.run("return window.vistelloTour.redraw()"))
                    self.assertEqual(self.page.canvas_rgb(),
                                     reference_frame(self.images[0], pan, tilt, 15))
        finally:
            self.page.resize(1280, 800)
            self.page.open(self.page_path)

    def test_a_wrong_setting_differs(self):
        # One column off: the comparison above can fail.
        canvas = self.canvas_at(3, 777, 0, 4)
        reference = reference_frame(self.images[3], 778, 0, 4)
        self.assertNotEqual(canvas[2], reference[2])


if __name__ == "__main__":
    unittest.main()
