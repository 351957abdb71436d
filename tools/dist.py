#!/usr/bin/env python3
"""Builds the Windows package: <out>/Ombrisk-<version>.zip.

The zip holds one folder Ombrisk-<version>/ with x86\\Ombrisk.dll, x64\\Ombrisk.dll,
install.cmd, uninstall.cmd, README.txt, LICENSE.txt, CHANGELOG.md, examples\\ and docs\\.
<version> comes from the file VERSION, as the DLLs' version resources do; a DLL built with
another version is refused. Text files get CR LF line ends,
as Notepad and cmd.exe expect. The entries are written in a fixed order with a fixed time, so
the same inputs give the same zip. Standard library only.
"""

from __future__ import annotations

import argparse
import re
import struct
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TEXT_SUFFIXES = {".cmd", ".txt", ".vbs", ".js", ".md", ".inc", ".ini"}
DOCS = ("getting-started.md", "reference.md")
ZIP_TIME = (2026, 1, 1, 0, 0, 0)


def version() -> str:
    """The product's one version, a.b.c.d, from the file VERSION (the build gives it to the DLLs)."""
    text = (ROOT / "VERSION").read_text(encoding="ascii").strip()
    if not re.fullmatch(r"\d+\.\d+\.\d+\.\d+", text):
        raise SystemExit(f"dist: VERSION must hold four numbers a.b.c.d, not {text!r}")
    return text


def dll_versions(data: bytes) -> dict[str, str]:
    """The version resource of a DLL: "fixed file" and "fixed product" (the numbers of the
    fixed part, as a.b.c.d) and the texts "FileVersion" and "ProductVersion"; a missing one is
    left out."""
    found: dict[str, str] = {}
    sig = data.find(struct.pack("<I", 0xFEEF04BD))
    if sig >= 0 and sig + 24 <= len(data):
        _, _, fms, fls, pms, pls = struct.unpack_from("<6I", data, sig)

        def dotted(ms: int, ls: int) -> str:
            return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

        found["fixed file"] = dotted(fms, fls)
        found["fixed product"] = dotted(pms, pls)
    for key in ("FileVersion", "ProductVersion"):
        # A String entry: its key in UTF-16 with a NUL, padding to 32 bits, the value with a NUL.
        m = re.search(re.escape(key.encode("utf-16-le")) + rb"\0\0(?:\0\0)?((?:[^\0].|\0[^\0])*?)\0\0",
                      data, re.DOTALL)
        if m:
            found[key] = m.group(1).decode("utf-16-le", errors="replace")
    return found


def check_dll_version(path: Path, ver: str) -> None:
    """Refuses a DLL whose version resource names any other version than the package's."""
    got = dll_versions(path.read_bytes())
    wrong = {k: v for k, v in got.items() if v != ver}
    missing = {"fixed file", "fixed product", "FileVersion", "ProductVersion"} - set(got)
    if wrong or missing:
        raise SystemExit(f"dist: {path} is not version {ver}: " + ", ".join(
            [f"{k} {v!r}" for k, v in wrong.items()] + [f"no {k}" for k in sorted(missing)])
            + " (rebuild it)")


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
        ("LICENSE.txt", ROOT / "LICENSE"),
        ("CHANGELOG.md", ROOT / "CHANGELOG.md"),
    ]
    items += [(f"docs/{name}", ROOT / "docs" / name) for name in DOCS]
    examples = sorted(p for p in (ROOT / "examples").glob("*") if p.suffix.lower() in (".vbs", ".js"))
    if not examples:
        raise SystemExit("dist: no examples in examples/")
    items += [(f"examples/{p.name}", p) for p in examples]

    missing = [str(path) for _, path in items if not path.is_file()]
    if missing:
        raise SystemExit("dist: missing " + ", ".join(missing) + " (run `make build` first)")
    for name, path in items[:2]:
        check_dll_version(path, ver)
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
