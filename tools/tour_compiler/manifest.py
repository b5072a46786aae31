"""tour.ini, the one place a tour is described: [sections] of key = value
lines. Full-line comments start with # or ;. A trailing comment is a
blank, then # or ;, then a blank or the end of the line ("Suite #2" and
"a@b.example;c@d.example" stay whole).

Reading goes on past a bad line, so that one build reports every problem
of the manifest; what a bad line would have given is left out."""

import difflib
import os
import re

from .report import TourError, shown_path
from .texts import check_ansi, decode_text, text_lines

SCENE_COUNT = 10
PRESENTER_FIELDS = ["name", "company", "phone", "email", "listing", "location"]
ARTWORK_FIELDS = ["splash", "toolbar", "badge", "icon", "info_icon", "hand_cursor"]

# Keys each kind of section takes, and whether they are required.
SECTION_KEYS = {
    "tour": {"executable": True, "size_budget_kb": False},
    "presenter": {key: True for key in PRESENTER_FIELDS},
    "scene": {"image": True, "title": True, "link_query": False, "width": False,
              "degrees": False, "fill": False, "look": False, "horizon": False},
    "artwork": dict({key: True for key in ARTWORK_FIELDS}, mail_body=True),
    "ecommerce": {"show_image": False, "show_logo": False, "image": False, "logo": False},
    "hot spot": {"rect": True, "link": True, "status": False},
    "web": {"scale": False},
}


class Entry:
    def __init__(self, value, line, column):
        self.value = value
        self.line = line
        self.column = column  # of the value's first character


class Section:
    def __init__(self, name, kind, index, line):
        self.name = name  # normalised: "scene 3", "hot spot 0", "tour"
        self.kind = kind
        self.index = index
        self.line = line
        self.entries = {}


class Manifest:
    TRAILING_COMMENT = re.compile(r"\s[#;](\s|$)")

    def __init__(self, directory, report):
        self.directory = os.path.abspath(directory)
        self.path = os.path.join(self.directory, "tour.ini")
        self.report = report
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except OSError as e:
            raise TourError(self.path, f"cannot be read ({e.strerror})", "a tour folder needs its "
                            "manifest, tour.ini (tools/tour new writes one)")
        self.sections = {}
        self.order = []
        # (section, key) reported as missing or as misspelt: said once.
        self.missing = set()
        text = decode_text(report, self.path, data)
        if text is None:
            raise TourError(self.path, "cannot be read as text", "save it as UTF-8 text", 1)
        lines = text_lines(text)
        self.last_line = max(1, len(lines) - (lines[-1] == ""))
        self.parse(lines)

    def error(self, problem, fix, line):
        self.report.error(self.path, problem, fix, line)

    def parse(self, lines):
        section = None  # None before the first header; False after a bad one
        for number, raw in enumerate(lines, 1):
            line = raw.strip()
            if not line or line[0] in "#;":
                continue
            comment = self.TRAILING_COMMENT.search(line)
            if line.startswith("["):
                header = line[:comment.start()].rstrip() if comment else line
                if not header.endswith("]"):
                    self.error(f"{line!r} is not a section header",
                               "write a section as [name] alone on its line, a comment after a "
                               "blank and # or ;", number)
                    section = False
                else:
                    section = self.add_section(header[1:-1], number)
                continue
            if "=" not in line:
                self.error(f"{line!r} is neither a [section], a key = value line nor a comment",
                           "start comments with # or ;", number)
                continue
            equals = raw.index("=")
            key = raw[:equals].strip().lower()
            rest = raw[equals + 1:]
            value = rest.lstrip()
            value_column = equals + 2 + len(rest) - len(value)  # 1-based
            comment = self.TRAILING_COMMENT.search(value) or re.match(r"[#;](\s|$)", value)
            if comment:
                if key == "email" and comment.group(0).strip() == ";":
                    self.error("a blank before ';' starts a comment, so the addresses after it "
                               "would be lost",
                               "separate e-mail addresses with ';' and no blank before it", number)
                    continue
                value = value[:comment.start()]
            value = value.rstrip()
            if section is None:
                self.error(f"{key} = ... comes before any [section]",
                           "put it under its section, e.g. [tour]", number)
            elif section:
                self.add_entry(section, key, Entry(value, number, value_column))

    def add_section(self, header, line):
        """The section a header opens, or False when it is not one."""
        name = " ".join(header.split()).lower()
        # ASCII digits, at most six: no tour has a million hot spots, and
        # Python refuses to turn thousands of digits into a number.
        match = re.fullmatch(r"(scene|hot spot) ([0-9]{1,6})", name)
        if match:
            # [hot spot 00] is [hot spot 0]: one number, one section.
            kind, index = match.group(1), int(match.group(2))
            name = f"{kind} {index}"
            if kind == "scene" and index >= SCENE_COUNT:
                self.error(f"[{header}]: a tour has exactly {SCENE_COUNT} scenes",
                           f"number them [scene 0] to [scene {SCENE_COUNT - 1}]", line)
                return False
        elif name in SECTION_KEYS and name not in ("scene", "hot spot"):
            kind, index = name, None
        else:
            known = ["tour", "presenter", "artwork", "ecommerce", "web", "scene 0", "hot spot 0"]
            guess = difflib.get_close_matches(name, known, n=1, cutoff=0.5)
            if name.startswith("hot spot") or (guess and guess[0] == "hot spot 0"):
                fix = "hot spots are numbered from 0: [hot spot 0], [hot spot 1], ..."
            elif name.startswith("scene") or (guess and guess[0] == "scene 0"):
                fix = f"scenes are numbered [scene 0] to [scene {SCENE_COUNT - 1}]"
            elif guess:
                fix = f"did you mean [{guess[0]}]?"
            else:
                fix = "the sections are [tour], [presenter], [scene N], [artwork], " \
                      "[ecommerce], [hot spot N] and [web]"
            self.error(f"unknown section [{header}]", fix, line)
            return False
        if name in self.sections:
            self.error(f"[{name}] appears twice (first on line {self.sections[name].line})",
                       "merge the two into one section", line)
            return False
        section = Section(name, kind, index, line)
        self.sections[name] = section
        self.order.append(section)
        return section

    def add_entry(self, section, key, entry):
        allowed = SECTION_KEYS[section.kind]
        if key not in allowed:
            guess = difflib.get_close_matches(key, list(allowed), n=1, cutoff=0.5)
            fix = f"did you mean {guess[0]}?" if guess else \
                f"[{section.name}] takes {', '.join(allowed)}"
            if guess:
                self.missing.add((section.name, guess[0]))
            self.error(f"[{section.name}] has no entry {key!r}", fix, entry.line)
        elif key in section.entries:
            self.error(f"[{section.name}] {key} is given twice (first on line "
                       f"{section.entries[key].line})", "keep one of them", entry.line)
        else:
            section.entries[key] = entry

    # --- reading values: each reports its own problem and gives None -------

    def section(self, name):
        return self.sections.get(name)

    def entry(self, name, key, required=True):
        section = self.sections.get(name)
        entry = section.entries.get(key) if section else None
        if entry is None and required and (name, key) not in self.missing:
            self.missing.add((name, key))
            if section is None and (name, None) not in self.missing:
                self.missing.add((name, None))
                self.error(f"[{name}] is missing", f"add a [{name}] section (see the README's "
                                                   "manifest)", self.last_line)
            elif section is not None:
                self.error(f"[{name}] needs a '{key}' entry", f"add '{key} = ...' under [{name}]",
                           section.line)
        return entry

    def value(self, name, key, required=True, default=""):
        entry = self.entry(name, key, required)
        return entry.value if entry else default

    def text(self, name, key, required=True, empty=True):
        """A text the viewer shows: Windows-1252, no control characters;
        None when it is missing or bad."""
        entry = self.entry(name, key, required)
        if entry is None:
            return None if required else ""
        if not empty and not entry.value:
            self.error(f"[{name}] {key} is empty", f"give the {key}: the viewer shows it",
                       entry.line)
            return None
        good = check_ansi(self.report, self.path, entry.value, entry.line, entry.column,
                          f"[{name}] {key}")
        return entry.value if good else None

    def number(self, name, key, low, high, default, whole=True):
        """A number from low to high; the default when absent, None when bad."""
        entry = self.entry(name, key, required=False)
        if entry is None:
            return default
        pattern = r"[+-]?[0-9]+" if whole else r"[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)"
        kind = "whole number" if whole else "number"
        if re.fullmatch(pattern, entry.value):
            # Compared as a float, which any length of digits gives (int()
            # refuses thousands); the ranges are well within its exact whole
            # numbers.
            value = float(entry.value)
            if low <= value <= high:
                return int(value) if whole else value
            fix = f"give {key} = {high if value > high else low}" + \
                (" at most" if value > high else " at least")
        else:
            fix = f"give {key} as a {kind} from {low} to {high}"
        self.error(f"[{name}] {key} = {entry.value} is not a {kind} from {low} to {high}", fix,
                   entry.line)
        return None

    def flag(self, name, key):
        entry = self.entry(name, key, required=False)
        if entry is None or entry.value.lower() in ("no", "false", "0"):
            return False
        if entry.value.lower() in ("yes", "true", "1"):
            return True
        self.error(f"[{name}] {key} = {entry.value} is neither yes nor no",
                   f"write {key} = yes or {key} = no", entry.line)
        return False

    def file(self, name, key, required=True):
        """The path of a file the entry names, relative to the tour folder;
        None when absent or missing."""
        entry = self.entry(name, key, required)
        if entry is None or entry.value == "":
            if entry is not None and required:
                self.error(f"[{name}] {key} names no file", f"give the file, e.g. {key} = ...",
                           entry.line)
            return None
        path = os.path.normpath(os.path.join(self.directory, entry.value))
        if not os.path.isfile(path):
            folder = os.path.dirname(path)
            present = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
            near = difflib.get_close_matches(os.path.basename(path), present, n=3, cutoff=0.4)
            fix = "check the name: blanks, accents and capitals must match the file exactly"
            if near:
                fix += "; similar files there: " + ", ".join(near)
            elif not os.path.isdir(folder):
                fix = f"the folder {shown_path(folder)} does not exist; check the path"
            self.error(f"[{name}] {key} = {entry.value}: no such file", fix, entry.line)
            return None
        return path
