"""Checks of the rest of a tour: the executable's name, the artwork, the
e-commerce panel and its hot spots, the [web] section, and the template's
placeholders an author has not replaced yet."""

import os
import re

from .output import file_digest
from .report import REPO, shown_path
from .template import PRESENTER_PLACEHOLDERS

INVALID_IN_FILE_NAMES = set('<>:"/\\|?*')
RESERVED_NAMES = {"CON", "PRN", "AUX", "NUL"} | {f"{d}{i}" for d in ("COM", "LPT")
                                                 for i in range(1, 10)}

# The kind of file each artwork entry must be, and the size the viewer lays
# a bitmap out at.
ARTWORK_SHAPES = {"toolbar": ("BMP", 400, 38), "badge": ("BMP", 46, 46),
                  "splash": ("BMP", 190, 150), "icon": ("ICO",), "info_icon": ("ICO",),
                  "hand_cursor": ("CUR",), "image": ("BMP",), "logo": ("BMP",)}
SIGNATURES = {"BMP": b"BM", "ICO": b"\0\0\1\0", "CUR": b"\0\0\2\0"}

DEMO = os.path.join(REPO, "tours", "demo")


def executable_name(manifest):
    entry = manifest.entry("tour", "executable")
    if entry is None:
        return None
    name = entry.value
    if name.lower().endswith(".exe"):
        name = name[:-4]
    bad = sorted({ch for ch in name if ch in INVALID_IN_FILE_NAMES or not 0x20 <= ord(ch) < 0x7F})
    if not name or bad or name[-1] in ". " or name.split(".")[0].upper() in RESERVED_NAMES:
        problem = f"executable = {entry.value} is not a file name that travels well"
        if bad:
            problem += " (it holds " + " ".join(repr(ch) for ch in bad) + ")"
        manifest.error(problem, "use ASCII letters, digits, blanks, '-' and '_', e.g. "
                                "executable = MapleStreetTour", entry.line)
        return None
    return name


def bitmap_size(path):
    with open(path, "rb") as f:
        header = f.read(26)
    if header[:2] != b"BM" or len(header) < 26:
        return 0, 0
    width, height = int.from_bytes(header[18:22], "little", signed=True), \
        int.from_bytes(header[22:26], "little", signed=True)
    return abs(width), abs(height)


def check_artwork(manifest, section, key, path):
    """The resource compiler takes only real Windows bitmaps, icons and
    cursors; a bitmap of another size is laid out wrongly."""
    kind, *size = ARTWORK_SHAPES[key]
    entry = manifest.entry(section, key)
    with open(path, "rb") as f:
        if not f.read(4).startswith(SIGNATURES[kind]):
            manifest.error(f"[{section}] {key} = {entry.value}: {shown_path(path)} is not a "
                           f"Windows {kind} file", f"save it as {kind} from an image editor (see "
                                                   "the README's artwork table)", entry.line)
            return
    if size and bitmap_size(path) != tuple(size):
        width, height = bitmap_size(path)
        manifest.report.warn(manifest.path, f"[{section}] {key} = {entry.value} is {width} x "
                                            f"{height} pixels, but the viewer lays it out as "
                                            f"{size[0]} x {size[1]}",
                             f"make it {size[0]} x {size[1]} pixels", entry.line)


def parse_rect(manifest, section):
    entry = manifest.entry(section, "rect")
    if entry is None:
        return None
    parts = [p.strip() for p in entry.value.split(",")]
    if len(parts) != 4 or not all(re.fullmatch(r"[+-]?[0-9]+", p) for p in parts):
        manifest.error(f"[{section}] rect = {entry.value} is not four whole numbers",
                       "write rect = left, top, right, bottom, in pixels of the panel image",
                       entry.line)
        return None
    # Compared as floats, which any length of digits gives (int() refuses
    # thousands); within 32 bits they are exact.
    values = [float(p) for p in parts]
    if any(not -2 ** 31 <= v < 2 ** 31 for v in values):
        manifest.error(f"[{section}] rect = {entry.value} has a value beyond 32 bits",
                       "give pixel positions inside the panel image", entry.line)
        return None
    values = [int(v) for v in values]
    left, top, right, bottom = values
    if left >= right or top >= bottom:
        manifest.error(f"[{section}] rect {entry.value} is empty",
                       "give the left edge before the right and the top before the bottom",
                       entry.line)
        return None
    return left, top, right, bottom


def hot_spot_sections(manifest):
    found = sorted((s.index, s) for s in manifest.order if s.kind == "hot spot")
    for expected, (index, section) in enumerate(found):
        if index != expected:
            manifest.error(f"hot spots are numbered from 0 without gaps; [hot spot {expected}] "
                           "is missing", f"renumber [{section.name}] as [hot spot {expected}]",
                           section.line)
            return []
    return [s.name for _, s in found]


def check_overlaps(manifest, spots):
    """Warns of hot spots that share pixels: a point is inside a spot when
    strictly between its edges, and where spots overlap the lowest number
    takes the click."""
    for later, (name, rect) in enumerate(spots):
        for earlier_name, earlier in spots[:later]:
            if rect is None or earlier is None:
                continue
            left, top = max(rect[0], earlier[0]) + 1, max(rect[1], earlier[1]) + 1
            right, bottom = min(rect[2], earlier[2]) - 1, min(rect[3], earlier[3]) - 1
            if left <= right and top <= bottom:
                line = manifest.entry(name, "rect").line
                earlier_line = manifest.entry(earlier_name, "rect").line
                manifest.report.warn(
                    manifest.path, f"[{name}] overlaps [{earlier_name}] (line {earlier_line}): "
                                   f"at x {left} to {right}, y {top} to {bottom} "
                                   f"a click opens [{earlier_name}]'s link, the lower number",
                    "move the rectangles apart, unless the lower spot is meant to win there", line)


def check_placeholders(manifest, texts, artwork, scenes):
    """Warns of the template's stand-ins left in: the presenter texts
    tools/tour new writes, and the demo tour's artwork and photos (a tour
    of the demo's own folder excepted)."""
    report = manifest.report
    left = [(key, manifest.entry("presenter", key).line) for key, value in texts.items()
            if value is not None and PRESENTER_PLACEHOLDERS.get(key) == value]
    if left:
        report.warn(manifest.path, "the template's stand-in details are still in: " +
                    ", ".join(f"[presenter] {key} = {texts[key]} (line {line})"
                              for key, line in left),
                    "put in your own name, company, phone, e-mail, listing and location",
                    left[0][1])
    if os.path.realpath(manifest.directory) == os.path.realpath(DEMO):
        return
    demo_files = {file_digest(os.path.join(DEMO, name))
                  for name in os.listdir(DEMO) if os.path.isfile(os.path.join(DEMO, name))}
    borrowed = [key for key, path in artwork.items() if path and file_digest(path) in demo_files]
    if borrowed:
        report.warn(manifest.path, "[artwork] " + ", ".join(borrowed) + " are the demo tour's "
                                   "pictures", "draw your own (see the README's artwork table)",
                    manifest.entry("artwork", borrowed[0]).line)
    photos = [scene for scene in scenes if file_digest(scene.source) in demo_files]
    if photos:
        report.warn(manifest.path, ", ".join(f"[{s.section}]" for s in photos) +
                    " show the demo tour's photos", "put your own photos in the tour folder and "
                                                    "name them under image =", photos[0].line)


def web_scale(manifest):
    scale = manifest.value("web", "scale", required=False) or "fill"
    if scale not in ("fill", "whole", "smooth"):
        entry = manifest.entry("web", "scale")
        manifest.error(f"[web] scale = {scale} is not a scaling",
                       "write scale = fill, scale = whole or scale = smooth", entry.line)
    return scale
