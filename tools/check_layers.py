#!/usr/bin/env python3
"""Checks that the product's includes point down its layers.

Every folder of the product is in one layer, and LAYERS below says which folders each may
include. A project header is included as "folder/File.h", relative to the top of the tree; an
include without a folder, one of a file that does not exist, or one of a folder that the
including folder may not use is a violation. <...> headers are the system's: a folder whose
entry lacks "<system>" may include only the C++ standard library's headers (no <windows.h>, no
COM header, nothing else that is not standard C++).

Prints each violation as `file:line: includes "x" (layer A may not include layer B)` and exits
1; otherwise prints how many files were checked and the includes between folders (from-folder
-> to-folder counts) and exits 0. `--matrix` prints only the counts, whatever the violations, and
exits 0. `--root DIR` checks another tree laid out the same way (the tests use a small one).
"""

from __future__ import annotations

import argparse
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# The one table to change when the layers change: folder -> the folders its files may include.
# Its keys are the folders checked. "generated" is the build's output (the widl header), which
# exists only in a build folder; "<system>" allows any <...> header.
LAYERS: dict[str, tuple[str, ...]] = {
    "core":      ("core",),
    "platform":  ("core", "platform", "<system>"),
    "host":      ("core", "platform", "host", "chores", "<system>"),
    "discovery": ("core", "platform", "discovery", "<system>"),
    "chores":    ("core", "platform", "chores", "<system>"),
    "server":    ("core", "platform", "host", "discovery", "chores", "server", "generated", "<system>"),
}
# Folders whose headers the build writes: their includes are not looked for in the tree.
GENERATED = ("generated",)
SYSTEM = "<system>"
SUFFIXES = (".h", ".cpp")

# The C++20 standard library's headers, the <cxxx> C ones included. The C library's <xxx.h>
# names are left out on purpose: the portable core uses the <cxxx> ones.
STANDARD_HEADERS = frozenset("""
algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex concepts
condition_variable coroutine deque exception execution filesystem format forward_list fstream
functional future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list
locale map memory memory_resource mutex new numbers numeric optional ostream queue random ranges
ratio regex scoped_allocator semaphore set shared_mutex source_location span sstream stack
stdexcept stop_token streambuf string string_view strstream syncstream system_error thread tuple
type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector version
cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg cstddef
cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype
""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]*)[>"]')
BLOCK_COMMENT = re.compile(r"/\*.*?\*/", re.S)


def include_lines(text: str):
    """(line number, delimiter, name) of each #include; includes inside /* */ comments are not seen."""
    # Comments are blanked out keeping their line breaks, so the line numbers stay right.
    text = BLOCK_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
    for number, line in enumerate(text.splitlines(), 1):
        m = INCLUDE.match(line)
        if m:
            yield number, m.group(1), m.group(2)


def check(root: Path):
    """Returns (files checked, violations as text, counts {(from folder, to): n})."""
    violations: list[str] = []
    counts: dict[tuple[str, str], int] = {}
    files = 0
    for layer, allowed in LAYERS.items():
        folder = root / layer
        if not folder.is_dir():
            continue
        for path in sorted(p for p in folder.rglob("*") if p.suffix in SUFFIXES and p.is_file()):
            files += 1
            shown = path.relative_to(root).as_posix()
            text = path.read_text(encoding="utf-8", errors="replace")
            for line, delim, name in include_lines(text):
                where = f"{shown}:{line}: includes " + (f"<{name}>" if delim == "<" else f'"{name}"')
                if delim == "<":
                    kind = "<std>" if name in STANDARD_HEADERS else SYSTEM
                    counts[(layer, kind)] = counts.get((layer, kind), 0) + 1
                    if kind == SYSTEM and SYSTEM not in allowed:
                        violations.append(f"{where} (layer {layer} may not include a non-standard header)")
                    continue
                parts = name.split("/")
                if len(parts) < 2 or any(p in ("", ".", "..") for p in parts):
                    violations.append(f'{where} (a project header is included as "folder/File.h")')
                    continue
                target = parts[0]
                counts[(layer, target)] = counts.get((layer, target), 0) + 1
                if target not in allowed:
                    violations.append(f"{where} (layer {layer} may not include layer {target})")
                elif target not in GENERATED and not (root / name).is_file():
                    violations.append(f"{where} (no such file in the tree)")
    return files, violations, counts


def matrix(counts: dict[tuple[str, str], int]) -> str:
    """The include counts as a table: one row per including folder, one column per included one."""
    columns = [c for c in list(LAYERS) + list(GENERATED) + ["<std>", SYSTEM]
               if any(to == c for _, to in counts)]
    columns += sorted({to for _, to in counts} - set(columns))
    width = max([len(c) for c in columns] + [len(r) for r in LAYERS] + [9])
    lines = ["from \\ to".ljust(width) + "".join(c.rjust(width + 1) for c in columns)]
    for row in LAYERS:
        cells = [counts.get((row, c), 0) for c in columns]
        lines.append(row.ljust(width) + "".join((str(n) if n else ".").rjust(width + 1) for n in cells))
    return "\n".join(lines)


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", type=Path, default=ROOT, help="top of the tree to check (default: this one)")
    parser.add_argument("--matrix", action="store_true", help="print only the include counts between folders")
    args = parser.parse_args(argv)
    root = args.root.resolve()
    files, violations, counts = check(root)
    if files == 0:
        print(f"check_layers: no .h or .cpp file under {root} in {', '.join(LAYERS)}", file=sys.stderr)
        return 2
    if args.matrix:
        print(matrix(counts))
        return 0
    for v in violations:
        print(v)
    if violations:
        print(f"check_layers: {len(violations)} include(s) against the layers in {files} files")
        return 1
    print(f"check_layers: {files} files checked, every include points down its layers")
    print(matrix(counts))
    return 0

if __name__ == "__main__":
    sys.exit(main())
