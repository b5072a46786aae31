"""Texts of a tour: how files of text are read, which characters the
viewer can show, links, the mail text, and whether texts fit the fields
the viewer shows them in."""

import codecs
import math
import re
import unicodedata
import urllib.parse

# --- reading text -----------------------------------------------------------

BYTE_ORDER_MARKS = [(codecs.BOM_UTF8, "utf-8"), (codecs.BOM_UTF16_LE, "utf-16-le"),
                    (codecs.BOM_UTF16_BE, "utf-16-be")]


def decode_text(report, path, data):
    """The text of a file in UTF-8 or Windows-1252, or in UTF-8 or UTF-16
    with a byte-order mark; None (with the error reported) otherwise."""
    for mark, encoding in BYTE_ORDER_MARKS:
        if data.startswith(mark):
            try:
                return data[len(mark):].decode(encoding)
            except UnicodeDecodeError as e:
                body = data[len(mark):len(mark) + e.start]
                line = body.decode(encoding, errors="replace").count("\n") + 1
                report.error(path, f"starts as {encoding.upper()} text but byte "
                                   f"{e.start + len(mark)} is not part of it",
                             "save the file again as UTF-8 text", line)
                return None
    if b"\0" in data:
        report.error(path, "holds zero bytes, as UTF-16 text without its byte-order mark "
                           "does, or a file that is not text", "save it as UTF-8 text", 1)
        return None
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        pass
    for number, line in enumerate(data.split(b"\n"), 1):
        for column, byte in enumerate(line, 1):
            try:
                bytes([byte]).decode("cp1252")
            except UnicodeDecodeError:
                report.error(path, f"byte 0x{byte:02X} at column {column} is neither UTF-8 nor "
                                   "a Windows-1252 character",
                             "save the file as UTF-8 or Windows-1252 (ANSI) text", number)
                return None
    return data.decode("cp1252")


def text_lines(text):
    """The lines of a text, as editors number them."""
    return re.split(r"\r\n|\r|\n", text)


def character_name(ch):
    return f"U+{ord(ch):04X} {unicodedata.name(ch, 'character')}"


def check_ansi(report, path, text, line, start_column, what):
    """Every character must have a Windows-1252 form and not be a control
    character; returns whether all have."""
    for offset, ch in enumerate(text):
        column = start_column + offset
        if ch == "\t" or (ord(ch) < 0x20 or 0x7F <= ord(ch) < 0xA0):
            report.error(path, f"{what} holds the control character {character_name(ch)} at "
                               f"column {column}", "remove it", line)
            return False
        try:
            ch.encode("cp1252")
        except UnicodeEncodeError:
            report.error(path, f"{what} holds {ch!r} ({character_name(ch)}) at column {column}, "
                               "which the viewer cannot show: it shows Windows-1252 (ANSI) text",
                         "replace it with a similar Windows-1252 character (straight or curly "
                         "quotes, dashes and accented Latin letters are fine)", line)
            return False
    return True


# --- links ------------------------------------------------------------------

# Characters a browser's command line or address bar would take apart.
UNSAFE_IN_LINKS = re.compile(r"[^A-Za-z0-9\-._~:/?#\[\]@!$&'()*+,;=%]")


def link_text(manifest, name, key, required=True):
    """A link or link query goes onto the browser's command line: control
    characters are refused, blanks, quotes and letters beyond ASCII are
    percent-encoded (UTF-8, as browsers do)."""
    entry = manifest.entry(name, key, required)
    if entry is None:
        return ""
    for offset, ch in enumerate(entry.value):
        if ord(ch) < 0x20 or 0x7F <= ord(ch) < 0xA0:
            manifest.report.error(manifest.path, f"[{name}] {key} holds the control character "
                                                 f"{character_name(ch)} at column "
                                                 f"{entry.column + offset}", "remove it",
                                  entry.line)
            return ""
    encoded = UNSAFE_IN_LINKS.sub(lambda m: urllib.parse.quote(m.group(0), safe=""), entry.value)
    if encoded != entry.value:
        manifest.report.note(manifest.path, f"[{name}] {key} is written percent-encoded as "
                                            f"{encoded}", entry.line)
    return encoded


# --- the mail body ----------------------------------------------------------

def read_mail_body(report, path):
    """The mail text as Windows-1252 bytes with CR LF line ends; None when
    it cannot be read or holds what the viewer cannot send."""
    with open(path, "rb") as f:
        text = decode_text(report, path, f.read())
    if text is None:
        return None
    lines = text_lines(text)
    if not text.strip():
        report.error(path, "the mail text is empty", "write the message that goes with the tour "
                                                     "when a reader sends it on", 1)
        return None
    good = all([check_ansi(report, path, line.replace("\t", " "), number, 1, "the mail text")
                for number, line in enumerate(lines, 1)])
    return "\r\n".join(lines).encode("cp1252") if good else None


# --- texts in their fields ----------------------------------------------------

# Fonts of the viewer (Arial, metric-compatible with Liberation Sans) at
# 96 dpi: an em of MulDiv(points, 96, 72) pixels.
REGULAR = "LiberationSans-Regular.ttf"
BOLD = "LiberationSans-Bold.ttf"
PT7, PT8, PT10 = 9, 11, 13
# The main window is 534 pixels wide with a 3-pixel fixed frame each side;
# its right column starts 328 pixels into the 528-pixel client area.
RIGHT_COLUMN = 534 - 2 * 3 - 328
# The scene list's text: the column less its client edge (2 + 2), the
# vertical scroll bar its ten titles need (16) and the item indent (2).
LIST_TEXT = RIGHT_COLUMN - 4 - 16 - 2
# The contact dialog's text fields are 139 dialog units wide, in the dialog
# font, Arial 8 pt.
CONTACT_FIELD_UNITS = 139
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"


def check_fields(manifest, tools, texts, scenes, logo_width):
    """Warns of every text wider than its field: static texts wrap at word
    boundaries into lines their controls have no room for, or are cut. (The
    contact box's e-mail line is not among them: it gives every address a
    line of its own and grows to fit.)"""
    base = (tools.measure(REGULAR, PT8, [ALPHABET])[0] // 26 + 1) // 2
    contact = (CONTACT_FIELD_UNITS * base + 2) // 4
    presenter_line = RIGHT_COLUMN - 2 - logo_width
    fields = [  # section, key, font, pixels, points, width, where
        ("presenter", "location", BOLD, PT10, 10, RIGHT_COLUMN, "the main window's location line"),
        ("presenter", "listing", REGULAR, PT8, 8, RIGHT_COLUMN, "the main window's listing line"),
        ("presenter", "name", BOLD, PT8, 8, presenter_line, "the main window's presenter line"),
        ("presenter", "company", REGULAR, PT8, 8, presenter_line, "the main window's company line"),
        ("presenter", "name", BOLD, PT10, 10, contact, "the contact box's name line"),
        ("presenter", "company", BOLD, PT8, 8, contact, "the contact box's company line"),
        ("presenter", "phone", REGULAR, PT8, 8, contact, "the contact box's telephone line"),
        ("presenter", "location", REGULAR, PT8, 8, contact, "the contact box's location line"),
        ("presenter", "listing", REGULAR, PT8, 8, contact, "the contact box's listing line"),
    ]
    fields = [(s, k, texts[k], f, px, pt, w, where) for s, k, f, px, pt, w, where in fields]
    fields += [(scene.section, "title", scene.title, REGULAR, PT8, 8, LIST_TEXT,
                "the scene list") for scene in scenes]
    for font, pixels in sorted({(f[3], f[4]) for f in fields}):
        group = [f for f in fields if (f[3], f[4]) == (font, pixels)]
        average = tools.measure(font, pixels, [ALPHABET])[0] / len(ALPHABET)
        widths = tools.measure(font, pixels, [f[2] or " " for f in group])
        for (section, key, text, _, _, points, width, where), measured in zip(group, widths):
            if measured > width:
                entry = manifest.entry(section, key)
                weight = "bold " if font == BOLD else ""
                manifest.report.warn(
                    manifest.path, f"[{section}] {key} \"{text}\" is {measured} pixels wide in "
                                   f"Arial {points} pt {weight}but {where} is {width} pixels: it "
                                   "will be cut off or wrap out of sight",
                    f"shorten it by about {math.ceil((measured - width) / average)} characters",
                    entry.line)
