"""Panel files (.kvr) of lighting-control desks: their pictures, records and rendering.

The same loader as trovelin-cli, compiled into this package::

    import trovelin
    panel = trovelin.open("samples/console-desk.kvr")
    for picture in panel.pictures:
        pixels = picture.to_numpy()      # (height, width, 4) uint8 RGBA, top row first
    image = panel.render()               # the panel as `trovelin-cli render` paints it

trovelin.harvest() and trovelin.extract() are the programs' harvest and extract;
trovelin.dask.extract() spreads an extraction over the workers of a Dask cluster.
Every call that reads files lets other Python threads run meanwhile.
"""

from __future__ import annotations

import json
import os
import re
from dataclasses import dataclass, field
from typing import Any, Iterable, Optional, Union

from ._trovelin import PanelError, Picture
from . import _trovelin

os.register_at_fork(before=_trovelin._before_fork)

__all__ = ["open", "harvest", "extract", "Panel", "Picture", "Record", "Harvest", "Extraction", "PanelError"]

PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
MemorySize = Union[int, str, None]


def _paths(paths: Union[PathLike, Iterable[PathLike]]) -> list:
    # One path stands for itself, not for the characters of its name.
    if isinstance(paths, (str, bytes, os.PathLike)):
        return [os.fspath(paths)]
    return [os.fspath(p) for p in paths]


def _event(file: str, kind: str, text: str) -> dict:
    return {"file": file, "kind": kind, "text": text}


_QUOTED = re.compile(r"'((?:[^']|'')*)'|#(\d+)")
_NUMBER = re.compile(r"-?\d+\Z")
_REAL = re.compile(r"-?\d+\.\d+(?:[eE][-+]?\d+)?\Z")


def _value(text: str) -> Any:
    """A property's value as dump prints it, as the Python value it stands for: numbers,
    True and False, strings (quoted, with #codes for other characters); anything else
    (identifiers, sets, binary data, collections) stays the text dump prints."""
    if _NUMBER.match(text):
        return int(text)
    if _REAL.match(text):
        return float(text)
    if text in ("True", "False"):
        return text == "True"
    if text[:1] in ("'", "#"):
        pieces = []
        position = 0
        for match in _QUOTED.finditer(text):
            if match.start() != position:
                return text
            pieces.append(match.group(1).replace("''", "'") if match.group(2) is None else chr(int(match.group(2))))
            position = match.end()
        if position == len(text):
            return "".join(pieces)
    return text


def _no_longer_a_panel(path, events: list) -> PanelError:
    """The error of a file that was a panel when opened and has since gone or been replaced."""
    opened = not any(event["kind"] == "error" for event in events)
    error = PanelError(events[0]["text"] if events else "not a panel file")
    error.path = path
    error.kind = "not a panel file" if opened else "cannot open"
    error.events = [(event["file"], event["kind"], event["text"]) for event in events]
    return error


@dataclass(frozen=True)
class Record:
    """One component record of a panel file, as `trovelin-cli dump` shows it."""

    cls: str
    name: str
    properties: dict
    children: list = field(default_factory=list)
    loader: str = ""  # what the loader does with it: background, read, skipped or refused

    @staticmethod
    def _from_dump(node: dict, loader: str = "") -> "Record":
        return Record(node["class"], node["name"], {p["name"]: _value(p["value"]) for p in node["properties"]},
                      [Record._from_dump(child) for child in node["children"]], loader)


class Panel:
    """One panel file, loaded: its title, pictures, records and what the loader reported."""

    def __init__(self, path: str, max_memory: MemorySize = None):
        pictures, events, title = _trovelin._open(path, max_memory)
        self.path: str = path
        self.title: str = json.loads(title)
        self.pictures: list[Picture] = pictures
        self.events: list[dict] = [_event(*e) for e in events]
        self._max_memory = max_memory
        self._records: Optional[list[Record]] = None

    @property
    def records(self) -> list[Record]:
        """Every record, in file order, the background first; read on first use."""
        if self._records is None:
            dump = json.loads(_trovelin._dump_json(self.path, self._max_memory))
            if "title" not in dump:
                raise _no_longer_a_panel(self.path, dump["events"])
            self._records = [Record._from_dump(r["record"], r["loader"]) for r in dump.get("records", [])]
        return self._records

    def render(self):
        """The panel as its designer saw it: a (height, width, 4) uint8 RGBA array holding
        exactly the pixels `trovelin-cli render` writes, alpha 255."""
        return _trovelin._render(self.path, self._max_memory)

    def __repr__(self) -> str:
        return f"<Panel {self.path!r}: {self.title!r}, {len(self.pictures)} pictures>"


def open(path: PathLike, max_memory: MemorySize = None) -> Panel:
    """Loads one panel file. Raises PanelError, with the loader's message, for a file that
    cannot be opened, is no panel file or whose load stops before its end. max_memory limits
    the decoded pixels held at once, as --max-memory does (bytes, or "512M" and the like)."""
    return Panel(os.fspath(path), max_memory)


@dataclass(frozen=True)
class Harvest:
    """What `trovelin-cli harvest` reports: one picture list of at most 512 pictures, the
    events of the loads, and whether the program would have failed (exit status 1)."""

    pictures: list
    events: list
    failed: bool


def harvest(paths: Union[PathLike, Iterable[PathLike]], keep_going: bool = False, max_memory: MemorySize = None) -> Harvest:
    """The harvest of `trovelin-cli harvest PATHS`: panel files (folders stand for their *.kvr
    files) loaded in order into one list, stopping when it holds 512 pictures, and at the first
    file that fails unless keep_going."""
    pictures, events, failed = _trovelin._harvest(_paths(paths), keep_going, max_memory)
    return Harvest(pictures, [_event(*e) for e in events], failed)


@dataclass(frozen=True)
class Extraction:
    """What `trovelin-cli extract` did: the manifest's entries in file order (pictures and
    events, as manifest.jsonl holds them), whether every file loaded and every picture was
    written, and what the program would have said on its error stream."""

    manifest: list
    ok: bool
    report: str = ""


def extract(paths: Union[PathLike, Iterable[PathLike]], out: Optional[PathLike], unique: bool = False, jobs: Optional[int] = None,
            max_memory: MemorySize = None) -> Extraction:
    """`trovelin-cli extract`: every picture of every panel file below PATHS written as PNG
    below out (None: none written), with out/manifest.jsonl; unique writes each content once.
    jobs files are loaded at once (None: one per processor)."""
    status, manifest, report = _trovelin._extract(_paths(paths),
                                                  "" if out is None else os.fspath(out), unique, jobs, max_memory)
    return Extraction([json.loads(line) for line in manifest.splitlines()], status == 0, report)
