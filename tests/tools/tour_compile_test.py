#!/usr/bin/env python3
"""The tour build: a manifest becomes the tour's constants and resource
entries, photos of every kind become strips the view shows with the
horizon where it belongs, and every input an executable could not start
with, or would show wrongly, is refused with a message naming the file,
the problem and the fix.

Run by CTest with TOUR_COMPILE, TOOLS (the authoring tools), PHOTOS (the
made-up photo writer), RENDER_FRAME, CJPEG, DJPEG, TOURS_DIR and README in
the environment, under a Python with hypothesis (Debian's). The property
test of any manifest tries VISTELLO_TOUR_EXAMPLES (default 40) examples,
the same ones every run; with VISTELLO_TOUR_SECONDS it tries new ones
for that long instead (tools/fuzz tour_compile SECONDS).
"""
import contextlib
import io
import json
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from hypothesis import HealthCheck, given, settings, strategies as st

TOUR_COMPILE = os.environ["TOUR_COMPILE"]
TOOLS = os.environ["TOOLS"]
CJPEG = os.environ["CJPEG"]
DJPEG = os.environ["DJPEG"]
JPEGTRAN = os.environ["JPEGTRAN"]
TOURS_DIR = os.environ["TOURS_DIR"]

sys.dont_write_bytecode = True  # nothing of the test in the source tree
sys.path.insert(0, os.path.dirname(TOUR_COMPILE))
from tour_compiler import Tools, compile_tour  # noqa: E402

ARTWORK = ["splash.bmp", "toolbar.bmp", "badge.bmp", "app.ico", "info.ico", "hand.cur",
           "mail_body.txt"]

# The view's cylinder for a 1200-column strip: widened width
# W' = 1200 + 2 (1200 / 4 + 3) = 1806 and R = W' (2/3) / (2 pi).
RADIUS_1200 = 1806 * 2 / 3 / (2 * math.pi)


def read(path, mode="r"):
    with open(path, mode, **({} if "b" in mode else {"encoding": "utf-8"})) as f:
        return f.read()


def netpbm(width, height, components):
    """A smooth test picture that wraps round, as PPM (3 components) or PGM (1)."""
    kind = b"P6" if components == 3 else b"P5"
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            value = int(127 + 120 * math.cos(2 * math.pi * x / width))
            pixels += bytes([value, (y * 7) % 256, 90][:components])
    return kind + b"\n%d %d\n255\n" % (width, height) + bytes(pixels)


def read_pnm(data):
    """(width, height, rows of RGB bytes) of a binary PPM."""
    fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width, height = int(fields.group(1)), int(fields.group(2))
    pixels = data[fields.end():]
    return width, height, [pixels[3 * width * y:3 * width * (y + 1)] for y in range(height)]


def read_bmp(path):
    """(width, height, rows of RGB bytes, top row first) of a 24-bit bottom-up BMP."""
    data = read(path, "rb")
    offset, width, height = (int.from_bytes(data[a:a + 4], "little") for a in (10, 18, 22))
    stride = (3 * width + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        bgr = data[offset + stride * y:offset + stride * y + 3 * width]
        rgb = bytearray(bgr)
        rgb[0::3], rgb[2::3] = bgr[2::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def band_rows(rows, column, colour):
    """Rows whose pixel in the column is the marker colour ('red' or 'blue')."""
    found = []
    for y, row in enumerate(rows):
        r, g, b = row[3 * column:3 * column + 3]
        if colour == "red" and r > 150 and g < 90 and b < 90:
            found.append(y)
        if colour == "blue" and b > 150 and r < 90 and g < 110:
            found.append(y)
    return found


def post_columns(row, colour):
    """Columns of a frame row showing the green or the magenta post."""
    found = []
    for x in range(len(row) // 3):
        r, g, b = row[3 * x:3 * x + 3]
        if (colour == "green" and g > 150 and r < 90 and b < 90) or \
                (colour == "magenta" and r > 150 and b > 150 and g < 90):
            found.append(x)
    return found


class TourFixture(unittest.TestCase):
    """A tour folder with the demo's artwork and strips, written per test."""

    @classmethod
    def setUpClass(cls):
        cls.photos = tempfile.mkdtemp(prefix="tour-photos-")
        subprocess.run([os.environ["PHOTOS"], cls.photos], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.photos)

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tour-compile-")
        self.tour = os.path.join(self.work, "tour")
        self.out = os.path.join(self.work, "out")
        os.makedirs(self.tour)
        for name in ARTWORK:
            shutil.copy(os.path.join(TOURS_DIR, "demo", name), self.tour)
        self.images = {i: os.path.join(TOURS_DIR, "demo", f"{i}.JPG") for i in range(10)}
        self.scene_extra = {}
        self.link_queries = {2: "a=1&b=?"}
        self.titles = {}
        self.executable = "Test"
        self.budget_kb = None
        self.presenter = {"name": "Sam Lee", "company": "Lee & Co.", "phone": "(207) 555-0143",
                          "email": "sam@lee.example;sam@lee.example", "listing": "MLS# 1",
                          "location": "Port Ellery, ME"}
        self.extra = ""

    def tearDown(self):
        shutil.rmtree(self.work)

    def photo(self, name):
        return os.path.join(self.photos, name)

    def make_jpeg(self, name, width, height, components=3, options=()):
        source = os.path.join(self.work, name + (".ppm" if components == 3 else ".pgm"))
        with open(source, "wb") as f:
            f.write(netpbm(width, height, components))
        path = os.path.join(self.tour, name)
        subprocess.run([CJPEG, *options, "-outfile", path, source], check=True)
        return path

    def write_file(self, name, data):
        path = os.path.join(self.tour, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def write_manifest(self):
        lines = ["[tour]", f"executable = {self.executable}"]
        lines += [f"size_budget_kb = {self.budget_kb}"] if self.budget_kb else []
        lines += ["", "[presenter]"]
        lines += [f"{key} = {value}" for key, value in self.presenter.items()] + [""]
        for i in range(10):
            lines += [f"[scene {i}]", f"image = {os.path.relpath(self.images[i], self.tour)}",
                      "title = " + self.titles.get(i, f'Room "{i}"'),
                      f"link_query = {self.link_queries.get(i, '')}"]
            lines += self.scene_extra.get(i, []) + [""]
        lines += ["[artwork]"] + [f"{k} = {v}" for k, v in [
            ("splash", "splash.bmp"), ("toolbar", "toolbar.bmp"), ("badge", "badge.bmp"),
            ("icon", "app.ico"), ("info_icon", "info.ico"), ("hand_cursor", "hand.cur"),
            ("mail_body", "mail_body.txt")]]
        lines.append(self.extra)
        with open(os.path.join(self.tour, "tour.ini"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")

    def compile(self, tools=True, write=True, published=None):
        if write:
            self.write_manifest()
        return subprocess.run([TOUR_COMPILE, *(["--tools", TOOLS] if tools else []),
                               *(["--published", published] if published else []),
                               self.tour, self.out], capture_output=True, text=True)

    def compiled(self):
        result = self.compile()
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.out, "tour.json"), encoding="utf-8") as f:
            return json.load(f), result.stderr

    def each_case(self, cases):
        """Each row of a table (name, change, phrases) on a fresh tour:
        yields the row's phrases once its change is made."""
        for name, change, phrases in cases:
            with self.subTest(name):
                self.tearDown()
                self.setUp()
                change(self)
                yield phrases

    def assert_rejected(self, result, *phrases):
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("tour.ini", result.stderr)
        self.assertIn("fix: ", result.stderr)
        for phrase in phrases:
            self.assertIn(phrase, result.stderr)
        errors = [line for line in result.stderr.splitlines() if "error: " in line]
        self.assertEqual(len(errors), len(set(errors)), "each error is reported once")
        self.assertFalse(os.path.exists(os.path.join(self.out, "tour_data.cpp")),
                         "nothing is written when a check fails")


class TourBuild(TourFixture):
    def test_a_good_tour_gives_constants_and_resources(self):
        self.extra = "\n".join([
            "[ecommerce]", "show_image = yes", "show_logo = no", "image = panel.bmp", "",
            "[hot spot 0]", "rect = 1, 2, 30, 40", "link = http://a.example/x", "status = Go",
            "", "[hot spot 1]", "rect = 5, 6, 7, 8", "link = http://b.example/", "status ="])
        shutil.copy(os.path.join(TOURS_DIR, "demo", "splash.bmp"),
                    os.path.join(self.tour, "panel.bmp"))
        self.compiled()
        data = read(os.path.join(self.out, "tour_data.cpp"))
        self.assertIn('{"0.jpg", "Room \\"0\\"", ""}', data)
        self.assertIn('"a=1&b=\\077"', data, "question marks are escaped against trigraphs")
        self.assertIn('"Lee & Co."', data)
        self.assertIn('{{1, 2, 30, 40}, "http://a.example/x", "Go"}', data)
        self.assertIn('{{5, 6, 7, 8}, "http://b.example/", ""}', data)
        self.assertIn("kHotSpots,\n    2,\n    true,\n    false,", data)
        rc = read(os.path.join(self.out, "tour_resources.rc"))
        self.assertIn('"0.JPG" JPEG "res/scene0.jpg"', rc)
        self.assertIn("ECOMMERCEIMAGE BITMAP", rc)
        self.assertNotIn("ECOMMERCELOGO", rc)
        body = read(os.path.join(self.out, "res", "mail_body.txt"), "rb")
        self.assertNotIn(b"\n", body.replace(b"\r\n", b""), "CR LF line ends only")

    def test_readme_manifest_builds_as_pasted(self):
        # The README's annotated manifest, comments and all, pasted into a
        # tour folder beside the demo: the values must come out bare.
        readme = read(os.environ["README"])
        block = next(b for b in re.findall(r"```ini\n(.*?)```", readme, re.S) if "[tour]" in b)
        tours = os.path.join(self.work, "tours")
        tour = os.path.join(tours, "pasted")
        os.makedirs(tour)
        os.symlink(os.path.join(TOURS_DIR, "demo"), os.path.join(tours, "demo"))
        with open(os.path.join(tour, "tour.ini"), "w", encoding="utf-8") as f:
            f.write(block)
        with open(os.path.join(tour, "mail_body.txt"), "w") as f:
            f.write("Hello\n")
        result = subprocess.run([TOUR_COMPILE, "--tools", TOOLS, tour, self.out],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        document = json.loads(read(os.path.join(self.out, "tour.json")))
        self.assertRegex(document["executable"], r"^[A-Za-z]+$")
        for text in list(document["presenter"].values()) + \
                [s["title"] for s in document["scenes"]]:
            self.assertNotRegex(text, r"\s[#;](\s|$)|\s$", "no comment stays in a value")

    def test_shared_photos_and_same_names_make_one_resource_each(self):
        # Scene 9 shows scene 0's photo; scene 5 a different file of the same name.
        self.images[9] = self.images[0]
        os.makedirs(os.path.join(self.tour, "other"))
        self.images[5] = os.path.join(self.tour, "other", "0.JPG")
        shutil.copy(os.path.join(TOURS_DIR, "demo", "5.JPG"), self.images[5])
        self.compiled()
        data = read(os.path.join(self.out, "tour_data.cpp"))
        rc = read(os.path.join(self.out, "tour_resources.rc"))
        self.assertIn('{"0.jpg", "Room \\"9\\"", ""}', data)
        self.assertEqual(rc.count(" JPEG "), 9)
        self.assertIn('"5.JPG" JPEG', rc)

    def test_text_encodings(self):
        # UTF-8 and Windows-1252 files both become Windows-1252.
        self.presenter["name"] = "Renée Lefèvre"
        with open(os.path.join(self.tour, "mail_body.txt"), "wb") as f:
            f.write("Café crème\nà bientôt\n".encode("utf-8"))
        self.compiled()
        body = read(os.path.join(self.out, "res", "mail_body.txt"), "rb")
        self.assertEqual(body, b"Caf\xe9 cr\xe8me\r\n\xe0 bient\xf4t\r\n")
        self.assertIn('"Ren\\351e Lef\\350vre"', read(os.path.join(self.out, "tour_data.cpp")))
        with open(os.path.join(self.tour, "mail_body.txt"), "wb") as f:
            f.write(b"Caf\xe9 cr\xe8me \x80 5\r\n")
        self.compiled()
        body = read(os.path.join(self.out, "res", "mail_body.txt"), "rb")
        self.assertEqual(body, b"Caf\xe9 cr\xe8me \x80 5\r\n")
        # UTF-16 with its byte-order mark, as Notepad saves "Unicode".
        self.write_file("tour.ini", read(os.path.join(self.tour, "tour.ini")).encode("utf-16"))
        self.write_file("mail_body.txt", "Café\n".encode("utf-16-be").join([b"\xfe\xff", b""]))
        result = self.compile(write=False)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(read(os.path.join(self.out, "res", "mail_body.txt"), "rb"),
                         b"Caf\xe9\r\n")
        self.assertIn('"Ren\\351e Lef\\350vre"', read(os.path.join(self.out, "tour_data.cpp")))

    def test_a_failed_build_withdraws_its_outputs_and_what_was_published(self):
        published = os.path.join(self.work, "published")
        os.makedirs(published)
        self.compiled()
        for name, text in (("published.exe.txt", "Test\n"), ("Test.exe", "MZ"),
                           ("published.html.txt", "Test\n"), ("Test.html", "<!DOCTYPE html>")):
            with open(os.path.join(published, name), "w") as f:
                f.write(text)
        self.images[0] = self.write_file("notes.jpg", b"notes")
        result = self.compile(published=published)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(os.listdir(published), [])
        self.assertFalse({"tour_data.cpp", "tour_resources.rc", "tour.rc", "executable.txt",
                          "tour.json"} & set(os.listdir(self.out)))
        self.assertIn("Test.exe: removed", result.stderr)
        self.assertIn("Test.html: removed", result.stderr)

    def test_links_with_blanks_and_quotes_are_percent_encoded(self):
        self.link_queries[4] = 'room="blue suite"'
        self.extra = "\n".join(["[ecommerce]", "show_image = yes", "image = splash.bmp", "",
                                "[hot spot 0]", "rect = 1, 2, 30, 40",
                                "link = http://a.example/my page"])
        document, _ = self.compiled()
        self.assertEqual(document["hot_spots"][0]["link"], "http://a.example/my%20page")
        self.assertEqual(document["scenes"][4]["link_query"], "room=%22blue%20suite%22")

    def test_texts_too_wide_for_their_fields_are_warned_of(self):
        self.presenter["company"] = "Harbor Point Realty and Associates of Greater Maine"
        document, stderr = self.compiled()
        self.assertIn("warning", stderr)
        self.assertIn("[presenter] company", stderr)
        self.assertIn("the main window's company line is 198 pixels", stderr)
        self.assertIn("the contact box's company line", stderr)
        self.assertNotIn("[presenter] phone", stderr)


class Refusals(TourFixture):
    """Each input the viewer could not start with or would show wrongly."""

    CASES = [
        # name, how to break the tour, phrases of the message
        ("section unknown", lambda t: setattr(t, "extra", "[hot spot one]\nrect = 1, 2, 3, 4"),
         ["unknown section [hot spot one]", "hot spots are numbered from 0"]),
        ("key misspelt", lambda t: t.scene_extra.update({3: ["tilte = Lounge"]}),
         ["[scene 3] has no entry 'tilte'", "did you mean title?"]),
        ("rect beyond 32 bits", lambda t: setattr(
            t, "extra", "[ecommerce]\nshow_image = yes\nimage = splash.bmp\n[hot spot 0]\n"
                        "rect = 0, 0, 4294967296, 5\nlink = http://a.example/"),
         ["beyond 32 bits"]),
        ("panel shown without its image", lambda t: setattr(t, "extra",
                                                            "[ecommerce]\nshow_image = yes"),
         ["show_image = yes but [ecommerce] names no image"]),
        ("hot spots without a panel", lambda t: setattr(
            t, "extra", "[hot spot 0]\nrect = 1, 2, 3, 4\nlink = http://a.example/"),
         ["hot spots but no e-commerce panel"]),
        ("control character in a link query", lambda t: t.link_queries.update({1: "a\tb"}),
         ["control character U+0009", "column 15"]),
        ("character without a Windows-1252 form", lambda t: t.presenter.update(
            {"location": "Town \u2192 Harbour"}), ["U+2192 RIGHTWARDS ARROW", "column 17",
                                                   "line 10"]),
        ("blank before ';' in the e-mail list", lambda t: t.presenter.update(
            {"email": "a@b.example ; c@d.example"}), ["separate e-mail addresses with ';'"]),
        ("executable name with a folder", lambda t: setattr(t, "executable", "tours/Maple"),
         ["is not a file name that travels well", "'/'"]),
        # A phone panorama of 200 degrees without degrees = or metadata: its
        # 5:1 shape says nothing, and no fix may guess a coverage.
        ("phone panorama", lambda t: t.images.update({2: t.photo("phone_pano.jpg")}),
         ["4000 x 800 pixels, and nothing says how far round it reaches", "degrees = N"]),
        # The first 700 of a demo room's 1200 columns.
        ("panorama cut out of a room", lambda t: t.images.update({1: t.cut_demo(1, 700)}),
         ["[scene 1]", "700 x 200 pixels, and nothing says how far round"]),
        ("fill for a whole turn", lambda t: t.scene_extra.update(
            {2: ["degrees = 360", "fill = blend"]}), ["nothing to fill"]),
        ("strip too low for the view", lambda t: (
            t.images.update({6: t.make_jpeg("low.jpg", 2400, 300)}),
            t.scene_extra.update({6: ["degrees = 360", "width = 1200"]})),
         ["150 rows above its horizon", "give this scene width = "]),
        ("not a picture", lambda t: t.images.update({0: t.write_file("notes.jpg", b"notes")}),
         ["is not a picture the build reads"]),
        ("HEIC photo", lambda t: t.images.update({4: t.write_file(
            "IMG_0001.HEIC", b"\0\0\0\x18ftypheic\0\0\0\0mif1heic" + bytes(64))}),
         ["is a HEIC photo", "save it as JPEG"]),
        # A PNG header claiming 30000 x 30000 pixels (2.7 GB decoded).
        ("photo beyond the size limit", lambda t: t.images.update({4: t.write_file(
            "huge.png", b"\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR" + struct.pack(">II", 30000, 30000) +
            bytes(64))}),
         ["30000 x 30000 pixels", "at most 100 megapixels and 65535 pixels a side"]),
        # A 2400 x 400 strip cut off half way: its lower half would be grey.
        ("photo cut short", lambda t: (
            t.images.update({3: t.write_file("half.jpg", read(t.photo("strip2400.jpg"), "rb")[
                :os.path.getsize(t.photo("strip2400.jpg")) // 2])}),
            t.scene_extra.update({3: ["degrees = 360"]})),
         ["half.jpg cannot be decoded cleanly: \"Premature end of JPEG file\""]),
        # A byte of the PNG strip's pixel data turned: its own message, with
        # libpng's words, not after them.
        ("PNG damaged", lambda t: t.images.update({3: t.write_file("crc.png", bytes(
            b ^ (i == 100) for i, b in enumerate(read(t.photo("strip.png"), "rb"))))}),
         ['crc.png cannot be decoded: the PNG file is damaged',
          'its decoder: "libpng error: IDAT: CRC error"']),
        ("degrees beyond a turn", lambda t: t.scene_extra.update({2: ["degrees = 400"]}),
         ["degrees = 400 is not a whole number from 1 to 360", "give degrees = 360 at most"]),
        ("empty title", lambda t: t.titles.update({3: ""}), ["[scene 3] title is empty"]),
        ("empty mail text", lambda t: t.write_file("mail_body.txt", b"\r\n"),
         ["mail_body.txt, line 1: the mail text is empty"]),
        ("UTF-16 mail text without its byte-order mark", lambda t: t.write_file(
            "mail_body.txt", "Hello\n".encode("utf-16-le")), ["holds zero bytes, as UTF-16"]),
        ("three mistakes at once", lambda t: (
            setattr(t, "executable", "a/b"), t.scene_extra.update({4: ["tilte = Lounge"]}),
            setattr(t, "extra", "[hot spot one]\nrect = 1, 2, 3, 4")),
         ["'/'", "[scene 4] has no entry 'tilte'", "unknown section [hot spot one]"]),
        ("missing file", lambda t: t.images.update({7: os.path.join(t.tour, "Lounge.jpg")}),
         ["[scene 7] image = Lounge.jpg: no such file"]),
        # Found by the manifest property test: more digits than Python
        # turns into a number.
        ("section numbered with 5000 digits", lambda t: setattr(
            t, "extra", "[scene " + "9" * 5000 + "]"), ["scenes are numbered [scene 0] to"]),
        ("width of 8192 digits", lambda t: t.scene_extra.update({1: ["width = " + "9" * 8192]}),
         ["[scene 1] width = 9999", "give width = 8192 at most"]),
        ("rect with a number of 5000 digits", lambda t: setattr(
            t, "extra", "[ecommerce]\nshow_image = yes\nimage = splash.bmp\n[hot spot 0]\n"
                        "rect = 0, 0, 1" + "0" * 5000 + ", 5\nlink = http://a.example/"),
         ["beyond 32 bits"]),
        ("hot spot numbered twice, once with a leading zero", lambda t: setattr(
            t, "extra", "[ecommerce]\nshow_image = yes\nimage = splash.bmp\n[hot spot 0]\n"
                        "rect = 1, 2, 3, 4\nlink = http://a.example/\n[hot spot 00]\n"
                        "rect = 5, 6, 7, 8\nlink = http://b.example/"),
         ["[hot spot 0] appears twice"]),
        ("artwork of the wrong kind", lambda t: shutil.copy(
            os.path.join(t.tour, "mail_body.txt"), os.path.join(t.tour, "toolbar.bmp")),
         ["[artwork] toolbar = toolbar.bmp", "is not a Windows BMP file"]),
    ]

    def cut_demo(self, index, columns):
        path = os.path.join(self.tour, f"cut{index}.jpg")
        subprocess.run([JPEGTRAN, "-crop", f"{columns}x200+0+0", "-outfile", path,
                        os.path.join(TOURS_DIR, "demo", f"{index}.JPG")], check=True)
        return path

    def test_each_refused_input_gives_its_message(self):
        for phrases in self.each_case(self.CASES):
            self.assert_rejected(self.compile(), *phrases)

    def test_mail_body_character_without_windows_1252_form(self):
        with open(os.path.join(self.tour, "mail_body.txt"), "w", encoding="utf-8") as f:
            f.write("Hello,\nsee the \u2605 rooms\n")
        result = self.compile()
        self.assertEqual(result.returncode, 1)
        self.assertIn("mail_body.txt, line 2", result.stderr)
        self.assertIn("U+2605 BLACK STAR", result.stderr)
        self.assertIn("column 9", result.stderr)

    def test_damaged_image_is_refused_by_the_viewers_decoder(self):
        good = read(self.make_jpeg("whole.jpg", 1200, 200), "rb")
        path = os.path.join(self.tour, "cut.jpg")
        with open(path, "wb") as f:
            f.write(good[: len(good) // 2])
        self.images[6] = path
        self.assert_rejected(self.compile(), "cut.jpg", "cannot be decoded cleanly",
                             "Premature end of JPEG file")

    def test_without_tools_only_ready_strips_pass(self):
        # The narrowest ready strip is accepted; a strip the view cannot show
        # as it is needs the converter, and the message says what the view shows.
        self.images[5] = self.make_jpeg("edge.jpg", 583, 200)
        self.scene_extra[5] = ["degrees = 360"]
        self.assertEqual(self.compile(tools=False).returncode, 0)
        self.images[5] = self.make_jpeg("narrow.jpg", 560, 200)
        self.out = os.path.join(self.work, "out2")
        self.assert_rejected(self.compile(tools=False), "narrow.jpg", "exactly 200 rows high",
                             "583 to 8192", "tools/tour build")

    def test_missing_scene_and_bad_hot_spot_are_reported(self):
        self.write_manifest()
        manifest = os.path.join(self.tour, "tour.ini")
        text = read(manifest).replace("[scene 7]", "[scene seven]")
        with open(manifest, "w", encoding="utf-8") as f:
            f.write(text)
        result = self.compile(write=False)
        self.assertEqual(result.returncode, 1)
        self.assertIn("scenes are numbered [scene 0] to [scene 9]", result.stderr)

        self.extra = "[ecommerce]\nshow_image = yes\nimage = splash.bmp\n" \
                     "[hot spot 0]\nrect = 10, 10, 5, 20\nlink = x\n"
        result = self.compile()
        self.assertEqual(result.returncode, 1)
        self.assertIn("rect 10, 10, 5, 20 is empty", result.stderr)


class Conversion(TourFixture):
    """Photos of every kind become strips of the view's geometry."""

    def test_every_kind_of_photo_becomes_a_strip_with_the_horizon_in_the_middle(self):
        kinds = {0: "room360.jpg", 1: "strip2400.jpg", 3: "strip.png", 4: "cmyk.jpg",
                 5: "grey.jpg", 6: "rotated.jpg", 7: "Salle à manger.jpg"}
        for index, name in kinds.items():
            self.images[index] = self.photo(name)
        self.scene_extra = {1: ["degrees = 360"], 4: ["degrees = 360"]}
        document, _ = self.compiled()
        for index, name in kinds.items():
            with self.subTest(name):
                decoded = subprocess.run([DJPEG, "-pnm", document["scenes"][index]["image"]],
                                         capture_output=True, check=True).stdout
                width, height, rows = read_pnm(decoded)
                self.assertEqual((width, height), (1200, 200))
                if name == "grey.jpg":
                    # No red here: the darkest band is the blue marker's,
                    # 12 degrees up, R tan 12 = 40.7 rows above the middle.
                    band = [y for y, row in enumerate(rows) if row[3 * 600] < 60]
                    low, high = 56, 62
                else:
                    # The horizon lies between rows 99 and 100; the band is
                    # +-0.8 degrees, +-2.7 rows at R = 191.6.
                    band = band_rows(rows, 600, "red")
                    low, high = 96, 103
                self.assertTrue(band and min(band) >= low and max(band) <= high, (name, band))
        self.assertIn("CMYK JPEG", document["scenes"][4]["how"])
        self.assertIn("EXIF-rotated JPEG", document["scenes"][6]["how"])
        self.assertEqual(document["scenes"][7]["how"], "ready 1200 x 200 strip, used as it is")

    # Where the markers land in the start frame (render_frame, the view's
    # own code): photo, scene entries, the post that must face the view,
    # its frame column, the blue band's row at column 160 (the red horizon
    # band's is always 99.5, between rows 99 and 100).
    #
    # Width 1200: m = 303, W' = 1806, R = W' (2/3) / (2 pi) = 191.62 and
    # d = 2R = 383.24; the start column W' / 3 - 160 - m = 139 shows
    # `look` degrees right of the photo's centre, at frame column 160. The
    # green post is the centre (a 360 camera's front), the magenta one 90
    # degrees to its right. With look = -30 the centre lies 30 degrees =
    # 100 strip columns right of the start column, at frame column
    # 160 + d tan(100 / d) = 160 + 383.24 tan(0.26093) = 262.33. The blue
    # band, 12 degrees up, lies R tan 12 = 40.73 rows above the middle
    # line: row 100 - 40.73 - 0.5 = 58.77.
    # Width 2400: m = 603, W' = 3606, R = 382.61: row 100 - 81.33 - 0.5 =
    # 18.17. The partial panoramas' horizon is 40 % down the photo (the
    # metadata's crop: 1800 - 1480 = 320 of 800 rows; or horizon = 40).
    START_FRAMES = [
        ("room360.jpg", [], "green", 160, 58.77),
        ("room360.jpg", ["look = 90"], "magenta", 160, 58.77),
        ("room360.jpg", ["look = -30"], "green", 262.33, 58.77),
        ("strip2400.jpg", ["degrees = 360"], "green", 160, 58.77),
        ("gpano_pano.jpg", ["width = 2400"], "green", 160, 18.17),
        ("phone_pano.jpg", ["degrees = 200", "horizon = 40", "width = 2400"], "green", 160, 18.17),
    ]

    def test_start_frames_face_the_look_with_the_horizon_on_the_middle_row(self):
        for index, (name, entries, _, _, _) in enumerate(self.START_FRAMES):
            self.images[index] = self.photo(name)
            self.scene_extra[index] = entries
        document, _ = self.compiled()
        for index, (name, entries, post, column, blue_row) in enumerate(self.START_FRAMES):
            with self.subTest(f"{name} {entries}"):
                frame = os.path.join(self.work, f"frame{index}.bmp")
                subprocess.run([os.environ["RENDER_FRAME"], document["scenes"][index]["image"],
                                frame], check=True)
                width, height, rows = read_bmp(frame)
                self.assertEqual((width, height), (320, 200))
                # The posts stand 1.5 to 10 degrees above and below the horizon.
                found = [x for y in range(70, 90) for x in post_columns(rows[y], post)]
                red = band_rows(rows, 160, "red")
                blue = band_rows(rows, 160, "blue")
                self.assertTrue(found and abs(sum(found) / len(found) - column) <= 1, found)
                self.assertTrue(red and abs(sum(red) / len(red) - 99.5) <= 1, red)
                self.assertTrue(blue and abs(sum(blue) / len(blue) - blue_row) <= 1.5, blue)

    # What each photo's report says: photo, scene entries, phrases. The
    # field of view is 2 d atan(160 / d) strip columns of 360 / W degrees
    # each: 90.9 at W = 1200 (d = 383.24), 69.8 at 1600 (d = 510.57), 62.4
    # at 1800 (d = 574.23). A ready 1200-column strip widened to 1600 has
    # a cylinder of 1200 / 2 pi = 190.99 rows' radius, and the strip's
    # edges at R = 255.28 show 100 / R of it above and below the horizon:
    # 74.81 rows, so 25 whole rows at the top and 25 at the bottom are left
    # out.
    REPORTS = [
        ("room360.jpg", [], ["coverage: 360 degrees, from its 2:1 shape",
                             "view: 91 degrees across", "start: facing the photo's centre"]),
        ("gpano_pano.jpg", [], ["coverage: 200 degrees, from its GPano metadata",
                                "horizon: 40 % down the photo, from its GPano metadata"]),
        ("phone_pano.jpg", ["degrees = 200"], ["coverage: 200 degrees, from degrees = 200",
                                               "panorama of 200 degrees, the rest blended",
                                               "chosen so that the photo fills the view's height"]),
        ("Salle à manger.jpg", [], ["coverage: 360 degrees, from its size",
                                    "start: as the strip is, 42 degrees round"]),
        ("Salle à manger.jpg", ["width = 1600"], [
            "view: 70 degrees across", "rows: the view shows rows 25 to 175 of the photo's 200; "
                                       "25 at the top and 25 at the bottom are left out"]),
        ("Salle à manger.jpg", ["width = 1800"], ["view: 62 degrees across"]),
    ]

    def test_each_photo_says_what_gave_its_coverage_and_what_the_view_shows(self):
        for index, (name, entries, _) in enumerate(self.REPORTS):
            self.images[index] = self.photo(name)
            self.scene_extra[index] = entries
        document, _ = self.compiled()
        for index, (name, entries, phrases) in enumerate(self.REPORTS):
            scene = document["scenes"][index]
            said = "\n".join([scene["how"]] + scene["notes"])
            for phrase in phrases:
                self.assertIn(phrase, said, f"{name} {entries}")

    def test_quality_is_chosen_for_the_size_budget(self):
        # Eight different conversions of one photo (widths 1200 to 1900).
        for index in range(8):
            self.images[index] = self.photo("room360.jpg")
            self.scene_extra[index] = [f"width = {1200 + 100 * index}"]
        roomy, _ = self.compiled()
        # Scenes 8 and 9 stay ready demo strips; the program (measured on the
        # demo tour: 156 KiB with room to grow), the demo artwork and those
        # two take the rest of a 380 KiB budget.
        self.budget_kb = 380
        tight, _ = self.compiled()
        self.assertLess(tight["jpeg_quality"], roomy["jpeg_quality"])
        self.assertGreater(tight["jpeg_quality"], 40)
        converted = sum(s["bytes"] for s in tight["scenes"][:8])
        fixed = 156 * 1024 + sum(os.path.getsize(os.path.join(self.tour, n)) for n in ARTWORK)
        ready = sum(os.path.getsize(os.path.join(TOURS_DIR, "demo", f"{i}.JPG")) for i in (8, 9))
        self.assertLessEqual(converted + fixed + ready, 380 * 1024)


class Warnings(TourFixture):
    """What builds but may not be what the author means."""

    CASES = [
        # name, how to change the tour, phrases of the warnings
        ("the template's stand-ins", lambda t: t.presenter.update(
            {"name": "Your Name", "email": "you@example.com"}),
         ["stand-in details are still in: [presenter] name = Your Name (line 5), "
          "[presenter] email = you@example.com (line 8)"]),
        ("the demo tour's artwork and photos", lambda t: None,
         ["[artwork] splash, toolbar, badge, icon, info_icon, hand_cursor are the demo tour's",
          "[scene 0], [scene 1], [scene 2]", "show the demo tour's photos"]),
        ("a small picture enlarged", lambda t: (
            t.images.update({2: t.make_jpeg("small.jpg", 100, 20)}),
            t.scene_extra.update({2: ["degrees = 360"]})), ["small.jpg is enlarged 12.0 times"]),
        ("a 500 x 200 strip enlarged", lambda t: (
            t.images.update({2: t.make_jpeg("s500.jpg", 500, 200)}),
            t.scene_extra.update({2: ["degrees = 360"]})), ["s500.jpg is enlarged 2.4 times"]),
        ("a 2:1 photo whose edges do not meet", lambda t: t.images.update(
            {2: t.photo("room360.jpg")}), ["taken as a whole turn from its 2:1 shape",
                                           "edges do not meet"]),
        # Longer than a command-line argument may be (128 KiB in UTF-8).
        ("a title of 70,000 characters", lambda t: t.titles.update({0: "\xe9" * 70000}),
         ["[scene 0] title \"\xe9\xe9"]),
        # Interiors 1..99 x 1..39 and 51..149 x 11..29 share 51..99 x 11..29.
        ("hot spots that overlap", lambda t: setattr(t, "extra", "\n".join(
            ["[ecommerce]", "show_image = yes", "image = splash.bmp",
             "[hot spot 0]", "rect = 0, 0, 100, 40", "link = http://a.example/",
             "[hot spot 1]", "rect = 50, 10, 150, 30", "link = http://b.example/"])),
         ["[hot spot 1] overlaps [hot spot 0] (line", "x 51 to 99, y 11 to 29"]),
    ]

    def test_each_warning_is_given_once_and_the_tour_still_builds(self):
        for phrases in self.each_case(self.CASES):
            _, stderr = self.compiled()
            for phrase in phrases:
                self.assertEqual(stderr.count(phrase), 1, (phrase, stderr))


# --- any manifest at all -------------------------------------------------------

NAMES = ["tour", "presenter", "artwork", "ecommerce", "web", "scene 3", "hot spot 0",
         "hot spot 1"]
KEYS = ["executable", "size_budget_kb", "name", "company", "phone", "email", "listing",
        "location", "image", "title", "link_query", "width", "degrees", "fill", "look",
        "horizon", "splash", "mail_body", "show_image", "show_logo", "image", "logo", "rect",
        "link", "status", "scale"]
VALUES = ["room.jpg", "pano.jpg", "splash.bmp", "mail_body.txt", "tour.ini", "..", "yes", "no",
          "blend", "stretch", "whole", "smooth", "360", "200", "-30", "40.5", "1600", "583",
          "0, 0, 10, 10", "http://a.example/x y"]
# Lengths at every scale, up to lines of a quarter of a million characters.
LENGTHS = st.integers(0, 18).map(lambda k: 2 ** k)
# Numbers of every length, in every script's digits.
NUMBERS = st.one_of(st.integers(-10 ** 9, 10 ** 9).map(str), st.floats().map(repr),
                    LENGTHS.map(lambda n: "9" * n),
                    st.text(alphabet="0123456789\u0663\uff10+-. ", max_size=8))
VALUE = st.one_of(st.sampled_from(VALUES), NUMBERS, NUMBERS, st.text(),
                  LENGTHS.map(lambda n: "\xe9" * n))
# Section numbers mostly small, sometimes written with leading zeros.
PADDED = st.tuples(st.sampled_from(["", "0", "00"]), st.integers(0, 12)).map(
    lambda t: f"{t[0]}{t[1]}")
HEADER = st.one_of(st.sampled_from(NAMES),
                   st.tuples(st.sampled_from(["scene", "hot spot"]),
                             st.one_of(PADDED, PADDED, NUMBERS)).map(" ".join),
                   st.text()).map(lambda name: f"[{name}]")
KEY_LINE = st.tuples(st.one_of(st.sampled_from(KEYS), st.text()),
                     st.sampled_from(["=", " = ", "= "]), VALUE).map("".join)
LINE = st.one_of(HEADER, HEADER, KEY_LINE, KEY_LINE,
                 st.tuples(st.sampled_from(["#", ";", " # ", "\t; "]), st.text()).map("".join),
                 st.text())
# Where a text goes, in what encoding and with what line ends, and bytes
# that may break it.
TEXT_FILE = st.tuples(st.sampled_from(["utf-8", "utf-8-sig", "cp1252", "utf-16", "utf-16-le",
                                       "utf-16-be"]), st.sampled_from(["\n", "\r\n", "\r"]),
                      st.lists(st.tuples(st.integers(0, 10 ** 6), st.binary(min_size=1,
                                                                           max_size=3)),
                               max_size=2))
MANIFEST = st.tuples(
    st.lists(st.one_of(st.tuples(st.sampled_from(["insert", "replace", "delete", "comment"]),
                                 st.integers(0, 10 ** 6), LINE),
                       st.tuples(st.just("value"), st.integers(0, 10 ** 6), VALUE)),
             max_size=6),
    TEXT_FILE, st.one_of(st.just("Hello,\nsee the tour.\n"), st.text()), TEXT_FILE)


def encode(lines, how):
    """The lines as a file's bytes: joined, encoded (a byte-order mark for
    UTF-16 big-endian; other text when the encoding has no form for it),
    then damaged."""
    encoding, end, damage = how
    text = end.join(lines)
    try:
        data = text.encode(encoding)
    except UnicodeEncodeError:
        data = text.encode("utf-8")
    if encoding == "utf-16-be":
        data = b"\xfe\xff" + data
    for at, junk in damage:
        at %= len(data) + 1
        data = data[:at] + junk + data[at:]
    return data


class ManifestProperties(TourFixture):
    """Whatever a manifest holds, the build ends in a tour or in errors that
    each name a file of the tour and a line of it; never in a traceback."""

    def setUp(self):
        super().setUp()
        self.examples = 0
        self.reached = contextlib.nullcontext()
        for name, photo in (("room.jpg", "room360.jpg"), ("pano.jpg", "phone_pano.jpg")):
            pixels = subprocess.run([DJPEG, "-scale", "1/8", self.photo(photo)],
                                    capture_output=True, check=True).stdout
            subprocess.run([CJPEG, "-outfile", os.path.join(self.tour, name)], input=pixels,
                           check=True)
        # A tour with an entry of every kind, for edits to change.
        self.budget_kb = 1024
        self.images.update({4: os.path.join(self.tour, "pano.jpg"),
                            5: os.path.join(self.tour, "room.jpg")})
        self.scene_extra = {1: ["width = 1600"], 2: ["look = -30", "horizon = 50"],
                            4: ["degrees = 200", "horizon = 40", "fill = stretch"]}
        self.extra = "\n".join(["[ecommerce]", "show_image = yes", "image = splash.bmp",
                                "[hot spot 0]", "rect = 1, 2, 30, 40", "link = http://a.example/",
                                "[web]", "scale = fill"])
        self.write_manifest()
        self.lines = read(os.path.join(self.tour, "tour.ini")).splitlines()

    def build(self, case):
        edits, manifest_file, mail, mail_file = case
        self.examples += 1
        lines = list(self.lines)
        for kind, at, line in edits:
            at %= len(lines) + 1
            if kind == "insert" or at == len(lines):
                lines.insert(at, line)
            elif kind == "replace":
                lines[at] = line
            elif kind == "delete":
                del lines[at]
            elif kind == "value":
                lines[at] = lines[at].partition("=")[0] + "= " + line
            else:
                lines[at] += line
        self.write_file("tour.ini", encode(lines, manifest_file))
        self.write_file("mail_body.txt", encode(mail.split("\n"), mail_file))
        for name in ("tour_data.cpp", "tour.json"):
            if os.path.exists(os.path.join(self.out, name)):
                os.remove(os.path.join(self.out, name))

        with self.reached:
            report, _ = compile_tour(self.tour, self.out, Tools(TOOLS))
        report.print(io.StringIO())
        for error in report.errors:
            with open(error.path, "rb") as f:
                lines_there = len(re.split(rb"\r\n|\r|\n", f.read()))
            self.assertEqual(os.path.dirname(error.path), self.tour, error.text())
            self.assertTrue(error.line and 1 <= error.line <= lines_there, error.text())
        built = [os.path.exists(os.path.join(self.out, name))
                 for name in ("tour_data.cpp", "tour.json")]
        self.assertEqual(built, [not report.errors] * 2, [m.text() for m in report.messages])

    def test_any_manifest_builds_or_names_the_file_and_line(self):
        seconds = float(os.environ.get("VISTELLO_TOUR_SECONDS", 0))
        examples = int(os.environ.get("VISTELLO_TOUR_EXAMPLES", 40))
        options = dict(database=None, deadline=None,
                       suppress_health_check=[HealthCheck.too_slow, HealthCheck.data_too_large])
        if not seconds:
            settings(max_examples=examples, derandomize=True, **options)(
                given(MANIFEST)(self.build))()
            return
        # A long run counts the compiler's lines it reaches, as a fuzzer
        # counts edges.
        self.reached = reached = CompilerLines()
        end = time.monotonic() + seconds
        try:
            while time.monotonic() < end:
                settings(max_examples=25, **options)(given(MANIFEST)(self.build))()
        finally:
            print(f"tour_compile: {self.examples} manifests; compiler lines reached: "
                  f"{reached.first} with the first, {len(reached.lines)} in all, of "
                  f"{reached.total}", file=sys.stderr)


class CompilerLines:
    """The lines of tools/tour_compiler run while it is entered: `first`
    after the first time, `lines` in all, of `total` that hold code."""

    FOLDER = os.path.join(os.path.dirname(os.path.abspath(TOUR_COMPILE)), "tour_compiler")

    def __init__(self):
        self.lines = set()
        self.first = 0
        self.total = 0
        for name in os.listdir(self.FOLDER):
            if name.endswith(".py"):
                with open(os.path.join(self.FOLDER, name), encoding="utf-8") as f:
                    codes = [compile(f.read(), name, "exec")]
                lines = set()
                while codes:
                    code = codes.pop()
                    lines.update(line for _, _, line in code.co_lines() if line)
                    codes += [c for c in code.co_consts if hasattr(c, "co_lines")]
                self.total += len(lines)

    def trace(self, frame, event, arg):
        if not frame.f_code.co_filename.startswith(self.FOLDER):
            return None
        if event == "line":
            self.lines.add((frame.f_code.co_filename, frame.f_lineno))
        return self.trace

    def __enter__(self):
        sys.settrace(self.trace)

    def __exit__(self, *error):
        sys.settrace(None)
        self.first = self.first or len(self.lines)


def load_tests(loader, tests, pattern):
    """Every class but those named in LEAVE_OUT: CTest runs the slowest
    class as a test of its own, beside the rest."""
    leave_out = set(os.environ.get("LEAVE_OUT", "").split())
    kept = unittest.TestSuite()
    for case in (case for group in tests for case in group):
        if type(case).__name__ not in leave_out:
            kept.addTest(case)
    return kept


if __name__ == "__main__":
    unittest.main(verbosity=2)
