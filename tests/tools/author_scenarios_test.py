#!/usr/bin/env python3
"""Author scenarios on real tour executables: tours made up under
<build>/scratch-tours, built by the windows build as any tour is, their
resources read back out of the executable and decoded with libjpeg's djpeg,
and one of them run under Wine.

Run by CTest with SOURCE_DIR, BUILD_DIR, CJPEG, DJPEG, WINE_RUN, PREFIX and
TOURSHOT in the environment.
"""
import hashlib
import math
import os
import shutil
import struct
import subprocess
import unittest
import zlib

SOURCE = os.environ["SOURCE_DIR"]
BUILD = os.environ["BUILD_DIR"]
SCRATCH = os.path.join(BUILD, "scratch-tours")
DEMO = os.path.join(SOURCE, "tours", "demo")

# Photo names with blanks, accents and an apostrophe; scene 9 shows scene 0's photo.
ACCENTED = ["Salle à manger.jpg", "Living room.jpg", "Chambre d'été.jpg", "Cuisine équipée.jpg",
            "Façade.jpg", "Salle de bains.jpg", "Bureau.jpg", "Véranda.jpg", "Jardin d'hiver.jpg",
            "Salle à manger.jpg"]


def strip(path, hue):
    """A 1200 x 200 strip that wraps round, mostly of one colour: red,
    green and blue levels (hue * 23) mod 256, 255 - that, 128, with a
    cosine ripple across; written with cjpeg."""
    base = [(hue * 23) % 256, 255 - (hue * 23) % 256, 128]
    row = bytearray()
    for x in range(1200):
        ripple = int(12 * (1 + math.cos(2 * math.pi * x / 1200)))
        row += bytes(min(255, c + ripple) for c in base)
    ppm = path + ".ppm"
    with open(ppm, "wb") as f:
        f.write(b"P6\n1200 200\n255\n" + bytes(row) * 200)
    subprocess.run([os.environ["CJPEG"], "-quality", "90", "-outfile", path, ppm], check=True)
    os.remove(ppm)


def write_tour(name, executable, images, extra=""):
    folder = os.path.join(SCRATCH, name)
    os.makedirs(folder, exist_ok=True)
    demo = os.path.relpath(DEMO, folder)
    lines = ["[tour]", f"executable = {executable}", "[presenter]", "name = Sam Lee",
             "company = Lee & Co.", "phone = (555) 010-0000", "email = sam@lee.example",
             "listing = MLS# 1", "location = Town, ST"]
    for index, image in enumerate(images):
        lines += [f"[scene {index}]", f"image = {image}", f"title = {os.path.splitext(image)[0]}"]
    lines += ["[artwork]"] + [f"{key} = {demo}/{file}" for key, file in [
        ("splash", "splash.bmp"), ("toolbar", "toolbar.bmp"), ("badge", "badge.bmp"),
        ("icon", "app.ico"), ("info_icon", "info.ico"), ("hand_cursor", "hand.cur"),
        ("mail_body", "mail_body.txt")]]
    with open(os.path.join(folder, "tour.ini"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n" + extra)
    return folder


def build(*tours):
    """Builds the tours' executables in this build tree (the 32-bit one or
    its 64-bit twin), going past a broken tour as the presets do; returns
    (status, output)."""
    result = subprocess.run(["cmake", "--build", BUILD, "--target",
                             *[f"{t}_tour_publish" for t in tours], "--", "-k", "0"],
                            cwd=SOURCE, capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def jpeg_resources(executable):
    """The executable's resources of type "JPEG", by name, read from its
    PE resource directory (type -> name -> language -> data)."""
    with open(executable, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    # The data directories follow 96 bytes of a PE32 optional header, 112 of a PE32+ one.
    (magic,) = struct.unpack_from("<H", data, optional)
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]  # resource directory
    table = []
    for i in range(sections):
        virtual_size, address, _, raw = struct.unpack_from("<IIII", data,
                                                           optional + optional_size + 40 * i + 8)
        table.append((address, virtual_size, raw))

    def offset(address):
        for start, size, raw in table:
            if start <= address < start + size:
                return raw + address - start
        raise ValueError("address outside the sections")

    root = offset(rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
            if name & 0x80000000:
                at = root + (name & 0x7FFFFFFF)
                (length,) = struct.unpack_from("<H", data, at)
                name = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target

    found = {}
    for kind, types in entries(root):
        if kind != "JPEG":
            continue
        for name, languages in entries(root + (types & 0x7FFFFFFF)):
            _, leaf = next(entries(root + (languages & 0x7FFFFFFF)))
            address, size = struct.unpack_from("<II", data, root + leaf)
            found[name] = data[offset(address):offset(address) + size]
    return found


def decoded(jpeg_bytes):
    return subprocess.run([os.environ["DJPEG"], "-pnm"], input=jpeg_bytes, capture_output=True,
                          check=True).stdout


def png_pixels(path):
    """(width, height, RGB rows) of an 8-bit RGB PNG without filters, as tourshot writes."""
    with open(path, "rb") as f:
        data = f.read()
    width, height = struct.unpack_from(">II", data, 16)
    chunks, at = b"", 8
    while at < len(data):
        (length,) = struct.unpack_from(">I", data, at)
        if data[at + 4:at + 8] == b"IDAT":
            chunks += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(chunks)
    stride = 1 + 3 * width
    return width, height, [raw[y * stride + 1:(y + 1) * stride] for y in range(height)]


def md5(path):
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()


def published(tour):
    """The tour's executable under the name it was last published as."""
    folder = os.path.join(BUILD, "tours", tour)
    with open(os.path.join(folder, "published.exe.txt")) as f:
        return os.path.join(folder, f.read().strip() + ".exe")


class AuthorScenarios(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        cls.accents = write_tour("scratch_accents", "Accents", ACCENTED)
        for hue, name in enumerate(ACCENTED[:9]):
            strip(os.path.join(cls.accents, name), hue)
        names = [f"room{i}.jpg" for i in range(10)]
        cls.other = write_tour("scratch_other", "Other", names)
        for hue, name in enumerate(names):
            strip(os.path.join(cls.other, name), hue + 3)
        status, output = build("scratch_accents", "scratch_other")
        assert status == 0, output

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        for name in ("scratch_accents", "scratch_other", "scratch_broken"):
            shutil.rmtree(os.path.join(BUILD, "tours", name), ignore_errors=True)

    def test_accented_and_blank_names_start_and_show_their_scenes(self):
        executable = published("scratch_accents")
        self.assertEqual(os.path.basename(executable), "Accents.exe")
        resources = jpeg_resources(executable)
        self.assertEqual(sorted(resources), [f"{i}.JPG" for i in range(9)],
                         "scene 9 shares scene 0's picture")
        for index, name in enumerate(ACCENTED[:9]):
            with open(os.path.join(self.accents, name), "rb") as f:
                self.assertEqual(decoded(resources[f"{index}.JPG"]), decoded(f.read()), name)

        shot = os.path.join(BUILD, "scratch-accents-screenshot.png")
        run = subprocess.run([os.environ["WINE_RUN"], "--prefix", os.environ["PREFIX"],
                              os.environ["TOURSHOT"], shot, executable],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        # The view shows scene 0: its colour, (0, 255, 128) with a ripple of
        # up to 24, fills most of the 320 x 200 view.
        _, _, rows = png_pixels(shot)
        scene0 = sum(1 for row in rows for x in range(0, len(row), 3)
                     if row[x] < 40 and row[x + 1] > 200 and 110 < row[x + 2] < 170)
        self.assertGreater(scene0, 320 * 200 // 2)

    def test_retouching_one_photo_changes_exactly_that_scene(self):
        accents = published("scratch_accents")
        other = published("scratch_other")
        before = jpeg_resources(accents)
        other_md5 = md5(other)
        retouched = os.path.join(self.accents, ACCENTED[4])
        strip(retouched, 17)
        status, output = build("scratch_accents", "scratch_other")
        self.assertEqual(status, 0, output)
        after = jpeg_resources(accents)
        with open(retouched, "rb") as f:
            self.assertEqual(decoded(after["4.JPG"]), decoded(f.read()))
        self.assertNotEqual(decoded(after["4.JPG"]), decoded(before["4.JPG"]))
        self.assertEqual({k: v for k, v in after.items() if k != "4.JPG"},
                         {k: v for k, v in before.items() if k != "4.JPG"})
        self.assertEqual(md5(other), other_md5, "the other tour is untouched")

    def test_renamed_executable_leaves_no_stale_file_and_a_broken_tour_stops_only_itself(self):
        write_tour("scratch_broken", "Broken", [f"../scratch_other/room{i}.jpg" for i in range(10)],
                   extra="[hot spot one]\nrect = 1, 2, 3, 4\n")
        manifest = os.path.join(self.other, "tour.ini")
        with open(manifest, encoding="utf-8") as f:
            text = f.read()
        with open(manifest, "w", encoding="utf-8") as f:
            f.write(text.replace("executable = Other", "executable = Renamed"))
        status, output = build("scratch_broken", "scratch_other")
        self.assertNotEqual(status, 0)
        self.assertIn("scratch_broken/tour.ini, line", output)
        self.assertIn("unknown section [hot spot one]", output)
        folder = os.path.join(BUILD, "tours", "scratch_other")
        self.assertEqual(sorted(f for f in os.listdir(folder) if f.endswith(".exe")),
                         ["Renamed.exe"])

    def test_a_failed_build_leaves_no_executable_that_looks_current(self):
        images = [f"../scratch_other/room{i}.jpg" for i in range(10)]
        folder = write_tour("scratch_withdrawn", "Withdrawn", images)
        self.addCleanup(shutil.rmtree, os.path.join(BUILD, "tours", "scratch_withdrawn"), True)
        status, output = build("scratch_withdrawn")
        self.assertEqual(status, 0, output)
        executable = published("scratch_withdrawn")
        self.assertTrue(os.path.isfile(executable))
        with open(os.path.join(folder, "notes.jpg"), "w") as f:
            f.write("notes")
        write_tour("scratch_withdrawn", "Withdrawn", ["notes.jpg"] + images[1:])
        status, output = build("scratch_withdrawn")
        self.assertNotEqual(status, 0)
        self.assertIn("notes.jpg is not a picture the build reads", output)
        self.assertIn("Withdrawn.exe: removed", output)
        self.assertFalse(os.path.exists(executable))


if __name__ == "__main__":
    unittest.main(verbosity=2)
