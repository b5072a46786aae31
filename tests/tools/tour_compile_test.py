#!/usr/bin/env python3
"""The tour build: a manifest becomes the tour's constants and resource
entries, and every scene image is checked so that no author ships an
executable that fails or shows garbage at the recipient's.

Run by CTest with TOUR_COMPILE, CJPEG, DJPEG and TOURS_DIR in the environment.
"""
import os
import shutil
import subprocess
import tempfile
import unittest

TOUR_COMPILE = os.environ["TOUR_COMPILE"]
CJPEG = os.environ["CJPEG"]
DJPEG = os.environ["DJPEG"]
TOURS_DIR = os.environ["TOURS_DIR"]

ARTWORK = ["splash.bmp", "toolbar.bmp", "badge.bmp", "app.ico", "info.ico", "hand.cur",
           "mail_body.txt"]


def netpbm(width, height, components):
    """A smooth test picture as PPM (3 components) or PGM (1 component)."""
    kind = b"P6" if components == 3 else b"P5"
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            value = (x * 255 // max(width - 1, 1))
            pixels += bytes([value, (y * 7) % 256, 90][:components])
    return kind + b"\n%d %d\n255\n" % (width, height) + bytes(pixels)


class TourBuild(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tour-compile-")
        self.tour = os.path.join(self.work, "tour")
        self.out = os.path.join(self.work, "out")
        os.makedirs(self.tour)
        for name in ARTWORK:
            shutil.copy(os.path.join(TOURS_DIR, "demo", name), self.tour)
        self.images = {i: os.path.join(TOURS_DIR, "demo", f"{i}.JPG") for i in range(10)}
        self.extra = ""

    def tearDown(self):
        shutil.rmtree(self.work)

    def make_jpeg(self, name, width, height, components=3, options=()):
        source = os.path.join(self.work, name + (".ppm" if components == 3 else ".pgm"))
        with open(source, "wb") as f:
            f.write(netpbm(width, height, components))
        path = os.path.join(self.tour, name)
        subprocess.run([CJPEG, *options, "-outfile", path, source], check=True)
        return path

    def write_manifest(self):
        lines = ["[tour]", "executable = Test", "", "[presenter]",
                 "name = Sam Lee", "company = Lee & Co.", "phone = (555) 010-0000",
                 "email = sam@lee.example;sam@lee.example", "listing = MLS# 1",
                 "location = Town, ST", ""]
        for i in range(10):
            lines += [f"[scene {i}]", f"image = {os.path.relpath(self.images[i], self.tour)}",
                      f"title = Room \"{i}\"", "link_query = " + ("a=1&b=?" if i == 2 else ""), ""]
        lines += ["[artwork]"] + [f"{k} = {v}" for k, v in [
            ("splash", "splash.bmp"), ("toolbar", "toolbar.bmp"), ("badge", "badge.bmp"),
            ("icon", "app.ico"), ("info_icon", "info.ico"), ("hand_cursor", "hand.cur"),
            ("mail_body", "mail_body.txt")]]
        lines.append(self.extra)
        with open(os.path.join(self.tour, "tour.ini"), "w") as f:
            f.write("\n".join(lines) + "\n")

    def compile(self):
        self.write_manifest()
        return subprocess.run([TOUR_COMPILE, "--djpeg", DJPEG, self.tour, self.out],
                              capture_output=True, text=True)

    def assert_rejected(self, image, *phrases):
        result = self.compile()
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(image, result.stderr)
        for phrase in phrases:
            self.assertIn(phrase, result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.out, "tour_data.cpp")),
                         "nothing is written when a check fails")

    def test_a_good_tour_gives_constants_and_resources(self):
        self.extra = "\n".join([
            "[ecommerce]", "show_image = yes", "show_logo = no", "image = panel.bmp", "",
            "[hot spot 0]", "rect = 1, 2, 30, 40", "link = http://a.example/x", "status = Go",
            "", "[hot spot 1]", "rect = 5, 6, 7, 8", "link = http://b.example/", "status ="])
        shutil.copy(os.path.join(TOURS_DIR, "demo", "splash.bmp"),
                    os.path.join(self.tour, "panel.bmp"))
        result = self.compile()
        self.assertEqual(result.returncode, 0, result.stderr)
        data = open(os.path.join(self.out, "tour_data.cpp")).read()
        self.assertIn('{"0.jpg", "Room \\"0\\"", ""}', data)
        self.assertIn('"a=1&b=\\077"', data, "question marks are escaped against trigraphs")
        self.assertIn('"Lee & Co."', data)
        self.assertIn('{{1, 2, 30, 40}, "http://a.example/x", "Go"}', data)
        self.assertIn('{{5, 6, 7, 8}, "http://b.example/", ""}', data)
        self.assertIn("kHotSpots,\n    2,\n    true,\n    false,", data)
        rc = open(os.path.join(self.out, "tour_resources.rc")).read()
        self.assertIn('"0.JPG" JPEG', rc)
        self.assertIn("ECOMMERCEIMAGE BITMAP", rc)
        self.assertNotIn("ECOMMERCELOGO", rc)
        body = open(os.path.join(self.out, "mail_body.txt"), "rb").read()
        self.assertNotIn(b"\n", body.replace(b"\r\n", b""), "CR LF line ends only")

    def test_progressive_images_are_accepted(self):
        self.images[4] = self.make_jpeg("prog.jpg", 1200, 200, options=["-progressive"])
        self.assertEqual(self.compile().returncode, 0)

    def test_greyscale_image_is_rejected(self):
        self.images[3] = self.make_jpeg("grey.jpg", 1200, 200, components=1)
        self.assert_rejected("grey.jpg", "greyscale", "three components")

    def test_too_narrow_strip_is_rejected(self):
        self.images[5] = self.make_jpeg("narrow.jpg", 560, 200)
        self.assert_rejected("narrow.jpg", "560 pixels wide", "at least 583")

    def test_narrowest_accepted_strip(self):
        self.images[5] = self.make_jpeg("edge.jpg", 583, 120)
        self.assertEqual(self.compile().returncode, 0)

    def test_non_jpeg_file_is_rejected(self):
        path = os.path.join(self.tour, "notes.jpg")
        with open(path, "w") as f:
            f.write("not a picture")
        self.images[0] = path
        self.assert_rejected("notes.jpg", "is not a JPEG file")

    def test_arithmetic_coding_is_rejected(self):
        self.images[1] = self.make_jpeg("arith.jpg", 1200, 200, options=["-arithmetic"])
        self.assert_rejected("arith.jpg", "arithmetic-coded", "baseline or progressive")

    def test_truncated_image_is_rejected_by_the_decoder_check(self):
        good = open(self.make_jpeg("whole.jpg", 1200, 200), "rb").read()
        path = os.path.join(self.tour, "cut.jpg")
        with open(path, "wb") as f:
            f.write(good[: len(good) // 2])
        self.images[6] = path
        self.assert_rejected("cut.jpg", "is damaged", "Premature end of JPEG file")

    def test_missing_scene_and_bad_hot_spot_are_reported(self):
        self.write_manifest()
        manifest = os.path.join(self.tour, "tour.ini")
        text = open(manifest).read().replace("[scene 7]", "[scene seven]")
        open(manifest, "w").write(text)
        result = subprocess.run([TOUR_COMPILE, self.tour, self.out], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn("[scene 7] is missing", result.stderr)

        self.extra = "[hot spot 0]\nrect = 10, 10, 5, 20\nlink = x\n"
        result = self.compile()
        self.assertEqual(result.returncode, 1)
        self.assertIn("rect 10, 10, 5, 20 is empty", result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
