"""Prints the skips of the Wine script tests, with the reason of each, and the Wine runs started
again because their program never ran, after a ctest run: the skips.txt and retries.txt files
that scripttest.py and clienttest.py leave in the test folders below the build tree.

    python3 tests/harness/skipsummary.py build/native [--since <file>]

--since takes only the test folders written after that file's time (the start of the run).
Exit code 0; the verdict on each skip is the script test's own (a skip off the allow-list
fails it), and a run started again is judged by its second run alone.
"""

from __future__ import annotations

import argparse
import sys
from pathlib import Path


def collect(build_dir: Path, since: float = 0.0) -> list[list[str]]:
    """[arch, script, reason, why] of every skip recorded below build_dir/<env>/tests/."""
    found = []
    for skips in sorted(build_dir.glob("*/tests/*/skips.txt")):
        if skips.stat().st_mtime < since:
            continue
        for line in skips.read_text(encoding="utf-8").splitlines():
            fields = line.split("\t")
            if len(fields) == 4:
                found.append(fields)
    return found


def collect_retries(build_dir: Path, since: float = 0.0) -> list[list[str]]:
    """[environment, test, exit code, seconds] of every retry recorded below build_dir/<env>/."""
    found = []
    for retries in sorted([*build_dir.glob("*/tests/*/retries.txt"), *build_dir.glob("*/clients/*/retries.txt")]):
        if retries.stat().st_mtime < since:
            continue
        for line in retries.read_text(encoding="utf-8").splitlines():
            found.append([retries.parent.parent.parent.name, retries.parent.name, *line.split("\t")[:2]])
    return found


def summary(skips: list[list[str]], retries: list[list[str]] = ()) -> str:
    lines = [f"Script tests: {len(skips)} skip(s):" if skips else "Script tests: 0 skips"]
    for arch, script, reason, why in skips:
        lines.append(f"  {arch} {script}: {reason} -- {why}")
    lines.append(f"Wine runs started again (the loader failed before the program ran): {len(retries)}")
    for env, test, code, seconds in retries:
        lines.append(f"  {env} {test}: exit code {code} after {seconds} s")
    return "\n".join(lines)


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("build_dir")
    ap.add_argument("--since", help="only folders newer than this file")
    args = ap.parse_args(argv)
    since = 0.0
    if args.since and Path(args.since).exists():
        since = Path(args.since).stat().st_mtime
    print(summary(collect(Path(args.build_dir), since), collect_retries(Path(args.build_dir), since)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
