"""Reads batch files (.cmd) for the ways a folder name breaks them, without running them.

Windows' cmd.exe expands %...% before it parses a line, so a value such as the script's own
folder (%~dp0) becomes part of the command text: an unquoted ")" in it ends a parenthesised
block early, an unquoted "&" starts a new command, and CALL expands any %...% in it a second
time. Wine's cmd parses blocks more leniently, so a script can pass under Wine and fail on
Windows; this reading does not depend on either. A value counts as a path when it comes from
the command line, from the environment, or from a variable set from such a value; variables set
to fixed text only (and ERRORLEVEL) are harmless. Reported, with the line number:
- a path expanded outside double quotes (inside a block or not);
- a path handed to CALL;
- a path expanded with %...% while delayed expansion is on (a "!" in it is lost).
Standard library only.
"""

from __future__ import annotations

import re
import sys
from dataclasses import dataclass
from pathlib import Path

HARMLESS_ENV = {"errorlevel"}
_ARG = re.compile(r"%(~[a-z$:]*)?([0-9*])", re.I)
_VAR = re.compile(r"%([^%\s:][^%:]*?)(:[^%]*)?%")


@dataclass
class Expansion:
    name: str          # variable name in lower case; "%1", "%*", "%~1" ... for arguments
    start: int
    end: int
    quoted: bool
    depth: int         # parenthesised blocks open around it


def expansions(line: str) -> list[Expansion]:
    """The %-expansions of one line with their quoting; %% is a literal percent sign."""
    found = []
    quoted = False
    i = 0
    while i < len(line):
        ch = line[i]
        if ch == '"':
            quoted = not quoted
        elif ch == "%":
            if line.startswith("%%", i):
                i += 2
                continue
            m = _ARG.match(line, i)
            if m:
                tilde = "~" if m.group(1) else ""
                found.append(Expansion("%" + tilde + m.group(2), i, m.end(), quoted, 0))
                i = m.end()
                continue
            m = _VAR.match(line, i)
            if m:
                found.append(Expansion(m.group(1).lower(), i, m.end(), quoted, 0))
                i = m.end()
                continue
        i += 1
    return found


def _words(text: str) -> list[str]:
    return re.findall(r"[^\s&|()]+", text.lower())


def _comment_or_label(stripped: str) -> bool:
    s = stripped.lstrip("@").lstrip()
    return s.startswith("::") or s.startswith(":") or re.match(r"rem(\s|$)", s, re.I) is not None


def _assignments(lines: list[str]) -> dict[str, list[str]]:
    """name -> the values the script assigns to it with set (quoted or not)."""
    sets: dict[str, list[str]] = {}
    for line in lines:
        for m in re.finditer(r'(?:^|[\s&(@])set\s+(?:/a\s+)?"?([^="\s/][^="]*?)=([^"&]*)', line, re.I):
            sets.setdefault(m.group(1).strip().lower(), []).append(m.group(2))
    return sets


def path_variables(lines: list[str]) -> set[str]:
    """The variables that may hold a path, or any text the user chose: every one that the
    environment gives or that is set from such a value. "%~1" stands for an argument without its
    quotes, "%0" for the script as it was started; "%1" and "%*" keep the quotes the caller gave."""
    sets = _assignments(lines)
    tainted = {f"%~{d}" for d in "0123456789*"} | {"%0"}
    for line in lines:
        for e in expansions(line):
            if e.name not in sets and e.name not in HARMLESS_ENV and not e.name.startswith("%"):
                tainted.add(e.name)
    changed = True
    while changed:
        changed = False
        for name, values in sets.items():
            if name in tainted:
                continue
            if any(e.name in tainted for v in values for e in expansions(v)):
                tainted.add(name)
                changed = True
    return tainted


def check(text: str) -> list[tuple[int, str]]:
    """(line number, fault) for each unsafe expansion of a path in a batch file's text."""
    lines = text.replace("\r\n", "\n").split("\n")
    code = [("" if _comment_or_label(l.strip()) else l) for l in lines]
    tainted = path_variables(code)
    faults: list[tuple[int, str]] = []
    depth = 0
    delayed: list[bool] = [False]
    for no, line in enumerate(code, 1):
        if not line.strip():
            continue
        # Blocks: an unquoted, unescaped "(" opens one unless an echo/set/title command has
        # begun in the same command (its parentheses are text); ")" closes an open one.
        depth_at: list[int] = []
        quoted = False
        segment = ""
        i = 0
        while i < len(line):
            ch = line[i]
            depth_at.append(depth)
            if ch == '"':
                quoted = not quoted
            elif not quoted and ch == "^":
                depth_at.append(depth)
                i += 2
                segment += "x"
                continue
            elif not quoted and ch in "&|":
                segment = ""
            elif not quoted and ch == "(":
                words = _words(segment)
                if not any(w in ("echo", "echo.", "set", "title") for w in words):
                    depth += 1
                    segment = ""
            elif not quoted and ch == ")" and depth > 0:
                depth -= 1
                segment = ""
            segment += ch
            i += 1
        calls = re.search(r"(?:^|[\s&|(@])call\s", line, re.I) is not None
        for e in expansions(line):
            if e.name.startswith("%") and calls:
                faults.append((no, f"{line[e.start:e.end]} is handed to CALL, which expands a '%' in it again"))
                continue
            if e.name not in tainted:
                continue
            where = depth_at[e.start] if e.start < len(depth_at) else depth
            shown = line[e.start:e.end]
            if not e.quoted:
                inside = "inside a parenthesised block" if where > 0 else "outside a block"
                faults.append((no, f"{shown} is expanded without quotes {inside}: a ')' or '&' in it breaks the line"))
            if calls:
                faults.append((no, f"{shown} is handed to CALL, which expands a '%' in it again"))
            if delayed[-1]:
                faults.append((no, f"{shown} is expanded with % while delayed expansion is on: a '!' in it is lost"))
        low = line.lower()
        for m in re.finditer(r"\b(setlocal|endlocal)\b([^&|]*)", low):
            if m.group(1) == "setlocal":
                opts = m.group(2)
                on = "enabledelayedexpansion" in opts or (delayed[-1] and "disabledelayedexpansion" not in opts)
                delayed.append(on)
            elif len(delayed) > 1:
                delayed.pop()
    return faults


def main(argv: list[str]) -> int:
    bad = 0
    for name in argv:
        for no, fault in check(Path(name).read_text(encoding="latin-1")):
            print(f"{name}:{no}: {fault}")
            bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
