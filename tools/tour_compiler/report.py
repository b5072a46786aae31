"""Messages of a tour build: every error, warning and note names the file
and, where there is one, the line it concerns. A build reports all of
them at once, each once, in the order of the files and lines."""

import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def shown_path(path):
    """A path as the author knows it: relative to the repository when inside it."""
    absolute = os.path.abspath(path)
    if absolute.startswith(REPO + os.sep):
        return os.path.relpath(absolute, REPO)
    return absolute


class Message:
    def __init__(self, kind, path, problem, fix=None, line=None):
        self.kind = kind  # "error", "warning" or "note"
        self.path = path
        self.problem = problem
        self.fix = fix
        self.line = line

    def text(self):
        where = shown_path(self.path) + (f", line {self.line}" if self.line else "")
        return f"{where}: {self.problem}" + (f"\n  fix: {self.fix}" if self.fix else "")

    def key(self):
        return self.path, self.line or 0


class TourError(Exception):
    """A problem after which the build cannot look any further (the
    manifest cannot be read); everything else is collected in a Report."""

    def __init__(self, path, problem, fix, line=None):
        super().__init__(problem)
        self.message = Message("error", path, problem, fix, line)


class Report:
    def __init__(self):
        self.messages = []

    def add(self, kind, path, problem, fix=None, line=None):
        message = Message(kind, path, problem, fix, line)
        if all(m.text() != message.text() for m in self.messages):
            self.messages.append(message)

    def error(self, path, problem, fix, line=None):
        self.add("error", path, problem, fix, line)

    def warn(self, path, problem, fix, line=None):
        self.add("warning", path, problem, fix, line)

    def note(self, path, problem, line=None):
        self.add("note", path, problem, None, line)

    def of_kind(self, kind):
        return sorted((m for m in self.messages if m.kind == kind), key=Message.key)

    @property
    def errors(self):
        return self.of_kind("error")

    @property
    def warnings(self):
        return self.of_kind("warning")

    def print(self, stream=sys.stderr):
        for kind in ("note", "warning", "error"):
            for message in self.of_kind(kind):
                print(f"tour-compile: {kind}: {message.text()}", file=stream)
