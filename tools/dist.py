#!/usr/bin/env python3
"""Builds the Windows package: <out>/Ombrisk-<version>.zip.

The zip holds one folder Ombrisk-<version>/ with x86\\Ombrisk.dll, x64\\Ombrisk.dll,
install.cmd, uninstall.cmd, diagnose.vbs/.js, README.txt, examples\\ and docs\\. Text files get
CR LF line ends, as Notepad and cmd.exe expect. The entries are written in a fixed order with a fixed time, so
the same inputs give the same zip. Standard library only.
"""

from __future__ import annotations

import argparse
import re
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TEXT_SUFFIXES = {".cmd", ".txt", ".vbs", ".js", ".md", ".inc", ".ini"}
DOCS = ("getting-started.md", "reference.md")
ZIP_TIME = (2026, 1, 1, 0, 0, 0)


def version() -> str:
    """The DLL's file version, as the resource script gives it (FILEVERSION a,b,c,d)."""
    rc = (ROOT / "server" / "Ombrisk.rc.in").read_text()
    m = re.search(r"^FILEVERSION\s+(\d+),(\d+),(\d+),(\d+)", rc, re.MULTILINE)
    if not m:
        raise SystemExit("dist: no FILEVERSION in server/Ombrisk.rc.in")
    return ".".join(m.groups())


def crlf(data: bytes) -> bytes:
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def contents(win: Path, win64: Path, ver: str) -> list[tuple[str, bytes]]:
    """(name inside the package folder, bytes) for every file of the package."""
    items: list[tuple[str, Path]] = [
        ("x86/Ombrisk.dll", win / "bin" / "Ombrisk.dll"),
        ("x64/Ombrisk.dll", win64 / "bin" / "Ombrisk.dll"),
        ("install.cmd", ROOT / "package" / "install.cmd"),
        ("uninstall.cmd", ROOT / "package" / "uninstall.cmd"),
        ("README.txt", ROOT / "package" / "README.txt"),
        ("diagnose.vbs", ROOT / "package" / "diagnose.vbs"),
        ("diagnose.js", ROOT / "package" / "diagnose.js"),
    ]
    items += [(f"docs/{name}", ROOT / "docs" / name) for name in DOCS]
    examples = sorted(p for p in (ROOT / "examples").glob("*") if p.suffix.lower() in (".vbs", ".js"))
    if not examples:
        raise SystemExit("dist: no examples in examples/")
    items += [(f"examples/{p.name}", p) for p in examples]

    missing = [str(path) for _, path in items if not path.is_file()]
    if missing:
        raise SystemExit("dist: missing " + ", ".join(missing) + " (run `make build` first)")
    out = []
    for name, path in items:
        data = path.read_bytes()
        if path.suffix.lower() in TEXT_SUFFIXES:
            data = crlf(data.replace(b"@VERSION@", ver.encode()))
        out.append((name, data))
    return out


def build(win: Path, win64: Path, out_dir: Path) -> Path:
    ver = version()
    folder = f"Ombrisk-{ver}"
    out_dir.mkdir(parents=True, exist_ok=True)
    target = out_dir / f"{folder}.zip"
    tmp = target.with_suffix(".zip.tmp")
    with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED) as zf:
        for name, data in contents(win, win64, ver):
            info = zipfile.ZipInfo(f"{folder}/{name}", date_time=ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            zf.writestr(info, data)
    tmp.replace(target)
    return target


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--win", type=Path, default=ROOT / "build" / "win", help="x86 build folder")
    ap.add_argument("--win64", type=Path, default=ROOT / "build" / "win64", help="x64 build folder")
    ap.add_argument("--out", type=Path, default=ROOT / "dist", help="folder of the zip")
    args = ap.parse_args(argv)
    print(build(args.win, args.win64, args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
