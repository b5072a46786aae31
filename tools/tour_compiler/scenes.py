"""Scenes and their coverage: which photo each scene shows and how it
becomes a strip the viewer turns round.

With the authoring tools, photo_convert decides: it reads how far round a
photo reaches (the manifest's degrees =, the photo's GPano metadata, the
2:1 shape of a 360 x 180 degree photo, or a strip of the scene's size),
converts what needs converting into a lossless strip (cached by the
photo's content and options), and says when a ready strip goes in as it
is. The converted strips are then coded at the one JPEG quality that keeps
the executable within its budget, and every strip is decoded with the
executable's own decoder. Without the tools only ready strips pass."""

import hashlib
import math
import os
import re
import struct
import subprocess

from .manifest import SCENE_COUNT
from .output import file_digest, replace_if_changed
from .report import shown_path
from .texts import link_text

VIEW_COLUMNS = 320
STRIP_HEIGHT = 200  # the view is a 320 x 200 picture of rows 1:1 from the strip
DEFAULT_STRIP_WIDTH = 1200
MAX_STRIP_WIDTH = 8192
# The executable without its scenes and artwork: program code, dialogs,
# strings and the resource directory. Measured on the 32-bit demo tour:
# 394,752 bytes less 194,560 of scenes and 44,184 of artwork and mail text
# leave 156,008 bytes; a little room on top for the program's growth.
PROGRAM_BYTES = 156 * 1024

ACCEPTED_FRAMES = {0xC0: "baseline", 0xC1: "extended sequential", 0xC2: "progressive"}


class Tools:
    """The authoring tools of the build (see tools/authoring)."""

    def __init__(self, directory):
        self.directory = directory

    def path(self, name):
        return os.path.join(self.directory, name)

    def run(self, name, *args, given=None):
        return subprocess.run([self.path(name), *args], input=given, capture_output=True,
                              text=True)

    def fingerprint(self):
        stat = os.stat(self.path("photo_convert"))
        return f"{stat.st_size}:{stat.st_mtime_ns}"

    def measure(self, font, pixels, texts):
        # A line each on its standard input: a text may be longer than a
        # command-line argument may be.
        result = self.run("text_width", font, str(pixels),
                          given="".join(text + "\n" for text in texts))
        if result.returncode != 0:
            raise OSError(f"{self.path('text_width')}: {result.stderr.strip()}; run tools/setup, "
                          "which installs fonts-liberation")
        return [int(v) for v in result.stdout.split()]


# --- the view's geometry ------------------------------------------------------

def strip_geometry(width):
    """Read extent of the projection for a strip of this width, in widened columns.

    Mirrors the engine: margin m = w / 4 + 3, widened width W' = w + 2m,
    projection distance d = 2 * W' * (2/3) / (2 pi); view column j samples
    d * atan((j - 160) / d) columns from the pan column, plus the right-hand
    neighbour for the bilinear weights.
    """
    margin = width // 4 + 3
    widened = width + 2 * margin
    d = 2 * widened * 0.6666666666666666 * 0.15915494309189535
    left = math.floor(d * math.atan(-VIEW_COLUMNS / 2 / d))
    right = math.floor(d * math.atan((VIEW_COLUMNS / 2 - 1) / d)) + 1
    return margin, widened, left, right


def strip_is_wide_enough(width):
    """Whether every pan column the viewer uses keeps its reads inside the strip.

    The animation keeps the pan column between m and W' - m, and a scene
    starts at W' / 3 - 160.
    """
    margin, widened, left, right = strip_geometry(width)
    lowest = min(margin, widened // 3 - VIEW_COLUMNS // 2)
    highest = widened - margin
    return lowest + left >= 0 and highest + right <= widened - 1


def minimum_strip_width():
    width = 16
    while not strip_is_wide_enough(width):
        width += 1
    return width


# --- a scene as the manifest gives it -------------------------------------------

class Scene:
    def __init__(self, index, section):
        self.index = index
        self.section = section
        self.line = None       # of the image entry
        self.image = ""        # the image entry's value
        self.source = None     # the photo
        self.title = ""
        self.link_query = ""
        self.width = 0         # the entries that shape the strip; 0, "" or None when absent
        self.degrees = 0
        self.fill = ""
        self.look = None
        self.horizon = None
        self.request = []      # photo_convert options
        self.ready = False     # used as it is
        self.how = ""          # what the photo was and became
        self.notes = []        # coverage, view, start, horizon, rows
        self.lossless = None   # converted strip, before its JPEG coding
        self.coded = None      # its JPEG coding
        self.strip = None      # the JPEG that goes into the executable
        self.resource = None   # (first scene index showing it, staged file)


def read_scene(manifest, index):
    """The scene's entries; None when its photo cannot be used, with every
    problem of its entries reported."""
    name = f"scene {index}"
    if manifest.section(name) is None:
        manifest.error(f"[{name}] is missing",
                       f"a tour has exactly {SCENE_COUNT} scenes, [scene 0] to "
                       f"[scene {SCENE_COUNT - 1}]; add [{name}] with image = and title =",
                       manifest.last_line)
        return None
    scene = Scene(index, name)
    errors = len(manifest.report.errors)
    image = manifest.entry(name, "image")
    scene.line = image.line if image else manifest.section(name).line
    scene.image = image.value if image else ""
    scene.source = manifest.file(name, "image")
    scene.title = manifest.text(name, "title", empty=False)
    scene.link_query = link_text(manifest, name, "link_query", required=False)
    scene.width = manifest.number(name, "width", minimum_strip_width(), MAX_STRIP_WIDTH, 0)
    scene.degrees = manifest.number(name, "degrees", 1, 360, 0)
    scene.look = manifest.number(name, "look", -360, 360, None, whole=False)
    scene.horizon = manifest.number(name, "horizon", 1, 99, None, whole=False)
    scene.fill = manifest.value(name, "fill", required=False)
    if scene.fill not in ("", "blend", "stretch"):
        manifest.error(f"[{name}] fill = {scene.fill} is not a way to fill",
                       "write fill = blend or fill = stretch", manifest.entry(name, "fill").line)
    if len(manifest.report.errors) > errors or scene.source is None or scene.title is None:
        return None
    for key, value in (("width", scene.width), ("degrees", scene.degrees), ("fill", scene.fill),
                       ("look", scene.look), ("horizon", scene.horizon)):
        if value not in (0, "", None) or (key == "look" and value is not None):
            scene.request += [f"--{key}", f"{value:g}" if isinstance(value, float) else str(value)]
    return scene


# --- ready strips without the tools --------------------------------------------

def jpeg_facts(path):
    """(frame marker, precision, height, width, components, EXIF orientation), or
    None when the file is not a JPEG that can be read as one."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"\xff\xd8":
        return None
    orientation = 1
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            return None
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        if marker in (0xD8, 0x01) or 0xD0 <= marker <= 0xD7:
            pos += 2
            continue
        (length,) = struct.unpack(">H", data[pos + 2:pos + 4])
        segment = data[pos + 4:pos + 2 + length]
        if marker == 0xE1 and segment[:6] == b"Exif\0\0":
            orientation = exif_orientation(segment[6:])
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            if len(segment) < 6:
                return None
            precision, height, width, components = struct.unpack(">BHHB", segment[:6])
            return marker, precision, height, width, components, orientation
        if marker in (0xD9, 0xDA):
            return None
        pos += 2 + length
    return None


def exif_orientation(tiff):
    """The orientation tag (0x0112) of IFD0 of an EXIF block; 1 when absent."""
    try:
        order = {b"II": "<", b"MM": ">"}[tiff[:2]]
        (ifd,) = struct.unpack(order + "I", tiff[4:8])
        (count,) = struct.unpack(order + "H", tiff[ifd:ifd + 2])
        for i in range(count):
            tag, kind, _, value = struct.unpack(order + "HHI4s", tiff[ifd + 2 + 12 * i:
                                                                      ifd + 14 + 12 * i])
            if tag == 0x0112 and kind == 3:
                return struct.unpack(order + "H", value[:2])[0]
    except (KeyError, struct.error):
        pass
    return 1


def is_ready_strip(scene):
    """Whether the photo is a strip the view shows as it is: an upright
    8-bit colour JPEG, 200 rows high, a whole turn (as wide as the scene's
    strip, or degrees = 360), and nothing asked of it."""
    facts = jpeg_facts(scene.source)
    if facts is None or scene.fill or scene.look is not None or scene.horizon is not None:
        return False
    frame, precision, height, width, components, orientation = facts
    whole_turn = scene.degrees == 360 or width == (scene.width or DEFAULT_STRIP_WIDTH)
    return (frame in ACCEPTED_FRAMES and precision == 8 and components == 3 and orientation == 1
            and height == STRIP_HEIGHT and minimum_strip_width() <= width <= MAX_STRIP_WIDTH
            and whole_turn and scene.width in (0, width))


# --- conversion ----------------------------------------------------------------

def prepare_scenes(manifest, scenes, tools, out_dir):
    """Settles how each scene's photo becomes its strip: with the tools,
    converted (or found ready) by photo_convert, its report kept beside the
    cached strip; without them, ready strips only."""
    report = manifest.report
    if tools is None:
        for scene in scenes:
            if is_ready_strip(scene):
                scene.ready = True
                scene.strip = scene.source
                width = jpeg_facts(scene.source)[3]
                scene.how = f"ready {width} x {STRIP_HEIGHT} strip, used as it is"
            else:
                report.error(manifest.path, f"[{scene.section}] image = {scene.image}: "
                                            f"{shown_path(scene.source)} is not a ready strip: the "
                                            f"view shows JPEG strips exactly {STRIP_HEIGHT} rows "
                                            "high (a taller one shows its top rows, a lower one "
                                            f"leaves a blank band), {minimum_strip_width()} to "
                                            f"{MAX_STRIP_WIDTH} columns wide and a whole turn "
                                            "round, in colour and upright",
                             "build the tour with tools/tour build, which converts photos",
                             scene.line)
        return
    cache = os.path.join(out_dir, "convert")
    os.makedirs(cache, exist_ok=True)
    used = set()
    for scene in scenes:
        key = hashlib.sha256((file_digest(scene.source) + " ".join(scene.request) +
                              tools.fingerprint()).encode()).hexdigest()[:20]
        lossless = os.path.join(cache, key + ".png")
        said = os.path.join(cache, key + ".txt")
        used.update({key + ".png", key + ".jpg", key + ".txt"})
        if not os.path.isfile(said):
            result = tools.run("photo_convert", "strip", *scene.request, scene.source, lossless)
            if result.returncode != 0:
                problem, _, fix = (result.stderr.strip() or
                                   f"ended with status {result.returncode}").partition("\nfix: ")
                report.error(manifest.path, f"[{scene.section}] image = {scene.image}: "
                                            f"{shown_path(scene.source)} {problem}",
                             fix or "see the problem above", scene.line)
                continue
            with open(said, "w") as f:
                f.write(result.stdout)
        with open(said) as f:
            lines = f.read().splitlines()
        read_conversion(manifest, scene, lines)
        if scene.ready:
            scene.strip = scene.source
        else:
            scene.lossless = lossless
            scene.coded = os.path.join(cache, key + ".jpg")
        if not scene.ready and not os.path.isfile(lossless):
            os.remove(said)  # a cache entry whose strip went missing is made again next time
            report.error(manifest.path, f"[{scene.section}]: the converted strip "
                                        f"{shown_path(lossless)} went missing",
                         "run the build again", scene.line)
    for name in os.listdir(cache):
        if name not in used:
            os.remove(os.path.join(cache, name))


def read_conversion(manifest, scene, lines):
    """photo_convert's report of one photo: "name: text" lines."""
    warning = None
    for line in lines:
        name, _, text = line.partition(": ")
        if name == "summary":
            scene.how = text
        elif name == "ready":
            scene.ready = True
        elif name == "warning":
            warning = text
        elif name == "fix" and warning is not None:
            manifest.report.warn(manifest.path, f"[{scene.section}] image = {scene.image}: "
                                                f"{shown_path(scene.source)} {warning}", text,
                                 scene.line)
            warning = None
        elif text:
            scene.notes.append(line)


def code_strips(manifest, scenes, tools, budget):
    """Codes the converted strips at the quality that fits the budget; a
    photo shown by several scenes is coded once. Returns the quality."""
    converted = {s.lossless: s.coded for s in scenes if s.lossless}
    if not converted:
        return None
    arguments = ["encode", "--budget", str(max(budget, 0))]
    for lossless, coded in converted.items():
        arguments += [lossless, coded + ".new"]
    result = tools.run("photo_convert", *arguments)
    if result.returncode != 0:
        manifest.report.error(manifest.path, "the converted strips could not be coded: " +
                              result.stderr.strip(), "check the free disk space of the build "
                                                     "folder")
        return None
    quality = int(re.search(r"quality (\d+)", result.stdout).group(1))
    for coded in converted.values():
        replace_if_changed(coded + ".new", coded)
    for scene in scenes:
        if scene.lossless:
            scene.strip = scene.coded
            scene.how += f", JPEG quality {quality}"
    if "over" in result.stdout.split():
        manifest.report.warn(manifest.path, f"even at JPEG quality {quality} the converted "
                                            "scenes do not fit the size budget",
                             "raise [tour] size_budget_kb, or use fewer or smaller photos",
                             manifest.entry("tour", "executable").line)
    return quality


def check_decodes(manifest, scene, tools):
    """The executable's own decoder must read the strip cleanly, 24-bit."""
    result = tools.run("scene_check", scene.strip)
    message = result.stderr.strip()
    if result.returncode != 0 or message:
        detail = message.splitlines()[-1] if message else f"status {result.returncode}"
        manifest.report.error(manifest.path, f"[{scene.section}] image = {scene.image}: the "
                                             "viewer's decoder cannot read "
                                             f"{shown_path(scene.strip)} cleanly: \"{detail}\"; "
                                             "the tour would stop at every start",
                              "open the photo in an editor and save it again as JPEG", scene.line)
        return
    width, height, bits = (int(v) for v in result.stdout.split())
    if height != STRIP_HEIGHT or bits != 24:
        manifest.report.error(manifest.path, f"[{scene.section}] {shown_path(scene.strip)} "
                                             f"decodes to {width} x {height} at {bits} bits",
                              "convert the photo with tools/tour build", scene.line)
