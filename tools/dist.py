#!/usr/bin/env python3
"""Builds the Windows package: <out>/Ombrisk-<version>.zip.

The zip holds one folder Ombrisk-<version>/ with x86\\Ombrisk.dll, x64\\Ombrisk.dll,
install.cmd, uninstall.cmd, diagnose.vbs/.js, README.txt, LICENSE.txt, CHANGELOG.md, examples\\ and docs\\.
<version> comes from the file VERSION, as the DLLs' version resources do; a DLL built with
another version is refused. Text files get CR LF line ends, as Notepad and cmd.exe expect; the
Markdown files also a UTF-8 byte-order mark, without which older Notepad shows their non-ASCII
characters garbled. docs\\ also holds the pages rendered as HTML (UTF-8, declared in each page,
styles inside, links between the pages only), made here with the Markdown library Debian
packages as python3-markdown. The entries are written in a fixed order with a fixed time, so the
same inputs give the same zip.

`dist.py --html-only DIR` renders just the HTML pages into DIR (no DLLs needed).
"""

from __future__ import annotations

import argparse
import html
import re
import struct
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TEXT_SUFFIXES = {".cmd", ".txt", ".vbs", ".js", ".md", ".inc", ".ini"}
# The user's pages, in the order of the navigation bar: (source, title in the bar).
DOC_PAGES = (("index.md", "Contents"), ("getting-started.md", "Getting started"),
             ("how-do-i.md", "How do I\u2026"), ("reference.md", "Reference"),
             ("from-vbscript.md", "From VBScript"))
DOCS = tuple(name for name, _ in DOC_PAGES)
UTF8_BOM = b"\xef\xbb\xbf"
CSS = """
body { font-family: "Segoe UI", Tahoma, "DejaVu Sans", sans-serif; margin: 0; color: #1b1b1b; line-height: 1.45; }
header { background: #24425e; padding: .5em 1.5em; }
header a { color: #fff; margin-right: 1.5em; text-decoration: none; font-weight: 600; }
header a.here { text-decoration: underline; }
.page { display: flex; align-items: flex-start; }
nav.toc { flex: 0 0 15em; position: sticky; top: 0; max-height: 100vh; overflow: auto; padding: 1em;
          font-size: 90%; border-right: 1px solid #ddd; }
nav.toc ul { list-style: none; padding-left: 0; margin: 0; }
nav.toc ul ul { padding-left: 1em; }
main { padding: 0 2em 2em 2em; max-width: 60em; min-width: 0; }
h1, h2 { color: #24425e; } h2 { border-bottom: 1px solid #ccc; padding-top: .5em; }
h3 { margin-top: 2em; padding-top: .3em; border-top: 1px dotted #bbb; }
code { font-family: Consolas, "DejaVu Sans Mono", monospace; background: #f1f3f5; padding: 0 .2em; }
pre { background: #f1f3f5; padding: .6em; overflow-x: auto; }
pre code { padding: 0; }
table { border-collapse: collapse; margin: .5em 0; }
th, td { border: 1px solid #ccc; padding: .2em .5em; text-align: left; vertical-align: top; }
th { background: #e8edf2; }
"""
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


def packaged(suffix: str, data: bytes, ver: str) -> bytes:
    """A file's bytes as the package holds them: text with the version filled in and CR LF line
    ends; Markdown also with the UTF-8 byte-order mark."""
    if suffix.lower() in TEXT_SUFFIXES:
        data = crlf(data.replace(b"@VERSION@", ver.encode()))
    if suffix.lower() == ".md" and not data.startswith(UTF8_BOM):
        data = UTF8_BOM + data
    return data


def _md_links_to_html(page: str) -> str:
    """Links to the other Markdown pages point at their HTML form."""
    return re.sub(r'href="([^":#/]+)\.md(#[^"]*)?"', lambda m: f'href="{m.group(1)}.html{m.group(2) or ""}"', page)


def _toc_list(tokens: list[dict], depth: int) -> str:
    items = []
    for t in tokens:
        sub = _toc_list(t["children"], depth - 1) if depth > 1 and t["children"] else ""
        items.append(f'<li><a href="#{t["id"]}">{t["name"]}</a>{sub}</li>')
    return "<ul>" + "".join(items) + "</ul>" if items else ""


def render_page(source: str, name: str, ver: str) -> str:
    """One Markdown page as a whole HTML document."""
    try:
        import markdown
    except ImportError:
        raise SystemExit("dist: the Markdown library is missing: run tools/setup.sh (python3-markdown)")
    md = markdown.Markdown(extensions=["tables", "fenced_code", "sane_lists", "toc"],
                           extension_configs={"toc": {"toc_depth": "1-3"}})
    body = _md_links_to_html(md.convert(source))
    tokens = md.toc_tokens
    title = tokens[0]["name"] if tokens else name
    here = ' class="here"'
    bar = "".join(f'<a href="{Path(n).stem}.html"{here if n == name else ""}>{html.escape(t)}</a>'
                  for n, t in DOC_PAGES)
    # The reference gets its table of contents beside the text: topics and their members.
    toc = ""
    if name == "reference.md" and tokens:
        toc = f'<nav class="toc" aria-label="Contents">{_toc_list(tokens[0]["children"], 2)}</nav>'
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f'<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            f'<title>{title} - Ombrisk {html.escape(ver)}</title>\n<style>{CSS}</style>\n</head>\n<body>\n'
            f'<header>{bar}</header>\n<div class="page">{toc}<main>\n{body}\n</main></div>\n</body>\n</html>\n')


def render_docs(ver: str) -> list[tuple[str, bytes]]:
    """(file name, UTF-8 bytes) of every HTML page."""
    out = []
    for name, _ in DOC_PAGES:
        source = (ROOT / "docs" / name).read_text(encoding="utf-8").replace("@VERSION@", ver)
        out.append((Path(name).stem + ".html", render_page(source, name, ver).encode("utf-8")))
    return out


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
    for name, path in items[:2]:
        check_dll_version(path, ver)
    out = []
    for name, path in items:
        out.append((name, packaged(path.suffix, path.read_bytes(), ver)))
    out += [(f"docs/{name}", data) for name, data in render_docs(ver)]
    return out


def build(win: Path, win64: Path, out_dir: Path) -> Path:
    ver = version()
    folder = f"Ombrisk-{ver}"
    return write_zip(out_dir, folder, contents(win, win64, ver))


def write_zip(out_dir: Path, folder: str, items: list[tuple[str, bytes]]) -> Path:
    """<out_dir>/<folder>.zip with the items below one folder, in the given order and with a
    fixed time, so that the same inputs give the same zip; written aside, then put in place."""
    out_dir.mkdir(parents=True, exist_ok=True)
    target = out_dir / f"{folder}.zip"
    tmp = target.with_suffix(".zip.tmp")
    with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED) as zf:
        for name, data in items:
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
    ap.add_argument("--html-only", type=Path, metavar="DIR", help="only render the HTML pages into DIR")
    args = ap.parse_args(argv)
    if args.html_only:
        args.html_only.mkdir(parents=True, exist_ok=True)
        for name, data in render_docs(version()):
            (args.html_only / name).write_bytes(data)
        print(args.html_only)
        return 0
    print(build(args.win, args.win64, args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
