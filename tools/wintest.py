#!/usr/bin/env python3
"""Builds the conformance kit: <out>/Ombrisk-wintest-<version>.zip.

The kit runs the Wine suite's scripts and compiled clients on a Windows machine with one
command (`cscript //nologo wintest.js`, or a double-click on wintest.cmd) and writes
wintest-report.txt. The zip holds one folder Ombrisk-wintest-<version>/ with:

  wintest.js, wintest.cmd, README.txt   the runner (tests/wintest) and how to use it
  tests.txt                             what to run: one tab-separated line per script or client
  x86/, x64/                            the DLL, the stand-in host, the clients, the test COM object
  tests/scripts/<file>                  each script's library and test, ready for its prologue
  tests/data/, examples/, package/, server/Ombrisk.idl   what the scripts read

tests.txt comes from the list the build writes of every script and client ctest runs
(build/native/wintest-manifest.tsv), with a rule per test for where it cannot run:
  kit      needs what only the Wine bench does (an X keyboard layout, a per-run locale, each
           test's debug output from Wine's debug channel)
  windows  skipped on Windows (touches the machine's registration, the file manager's own
           registry keys or the session's mouse buttons)
  admin    on Windows only when the console is elevated
Standard library only, besides dist.py and the harness's script builder.
"""

from __future__ import annotations

import argparse
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tools"))
sys.path.insert(0, str(ROOT / "tests" / "harness"))

import dist  # noqa: E402
from scripttest import build_script, script_language  # noqa: E402

SCRIPTS = ROOT / "tests" / "scripts"
# Folder of each environment's binaries inside the kit.
ENV_FOLDERS = {"wine": "x86", "wine64": "x64"}

_DIRECTIVE_RE = re.compile(r"^\s*(?:'|//)\s*(keyboard|locale):", re.IGNORECASE | re.MULTILINE)
_DEBUG_RE = re.compile(r"\bDebug(?:Output|Array|Lines)\s*\(")

# Scripts that change what belongs to the machine or the session, by file name: (rule, reason).
MACHINE_SCRIPTS = {
    "registration.vbs": ("windows", "registers and unregisters Ombrisk for the whole machine"),
    "registration_views.vbs": ("windows", "registers and unregisters Ombrisk for the whole machine"),
    "examples_diagnose.vbs": ("windows", "unregisters Ombrisk for the whole machine"),
    "discovery.vbs": ("windows", "rewrites the file manager's own registry keys and Ombrisk's machine registration"),
    "separator_swapped.vbs": ("windows", "swaps the session's mouse buttons"),
    "setfiledateatr.vbs": ("admin", "registers a test COM object for the machine"),
}


def script_rule(name: str, text: str) -> tuple[str, str]:
    """(rule, reason) of a script; ("", "") when it runs everywhere."""
    directive = _DIRECTIVE_RE.search(text)
    if directive:
        what = directive.group(1).lower()
        return "kit", ("types through the X keyboard layout the bench switches to" if what == "keyboard"
                       else "runs with a user locale the bench sets for its script host")
    if name in MACHINE_SCRIPTS:
        return MACHINE_SCRIPTS[name]
    if _DEBUG_RE.search(text):
        return "kit", "reads each test's OutputDebugString text from Wine's debug channel"
    return "", ""


def manifest_lines(manifest: Path) -> list[str]:
    """The kit's tests.txt lines: kind, environment, name, file in the kit, timeout, rule,
    reason, then a client's H: and A: fields."""
    out = []
    for raw in manifest.read_text(encoding="utf-8").splitlines():
        fields = raw.split("\t")
        kind, env = fields[0], fields[1]
        if kind == "script":
            relative, timeout = fields[2], fields[3]
            text = (SCRIPTS / relative).read_text(encoding="utf-8")
            rule, reason = script_rule(Path(relative).name, text)
            out.append("\t".join(["script", env, Path(relative).name, f"tests/scripts/{relative}", timeout, rule, reason]))
        else:
            name, program, timeout, extra = fields[2], fields[3], fields[4], fields[5:]
            out.append("\t".join(["client", env, name, f"{ENV_FOLDERS[env]}/{program}", timeout, "", "", *extra]))
    return out


def script_bodies() -> list[tuple[str, bytes]]:
    """Library and test of every script as the harness joins them, without the prologue of
    constants, which the runner writes. ASCII only, so the runner may copy them as text in any
    ANSI code page."""
    out = []
    library = {lang: (SCRIPTS / "lib" / f"lib.{lang}").read_text(encoding="utf-8") for lang in ("vbs", "js")}
    for path in sorted(p for p in SCRIPTS.rglob("*") if p.suffix in (".vbs", ".js") and p.parent.name != "lib"):
        lang = script_language(path)
        body = build_script(lang, None, library[lang], path.read_text(encoding="utf-8"))
        try:
            body.decode("ascii")
        except UnicodeDecodeError:
            raise SystemExit(f"wintest: {path} has a character outside ASCII; write it with Chr() instead") from None
        out.append((f"tests/scripts/{path.relative_to(SCRIPTS).as_posix()}", body))
    return out


def contents(win: Path, win64: Path, manifest: Path, ver: str) -> list[tuple[str, bytes]]:
    items: list[tuple[str, bytes]] = [
        ("wintest.js", dist.crlf((ROOT / "tests" / "wintest" / "wintest.js").read_bytes())),
        ("wintest.cmd", dist.crlf((ROOT / "tests" / "wintest" / "wintest.cmd").read_bytes())),
        ("README.txt", dist.crlf((ROOT / "docs" / "wintest.md").read_bytes())),
        ("tests.txt", ("\r\n".join(manifest_lines(manifest)) + "\r\n").encode("ascii")),
        ("server/Ombrisk.idl", dist.crlf((ROOT / "server" / "Ombrisk.idl").read_bytes())),
    ]
    for build, folder in ((win, "x86"), (win64, "x64")):
        dist.check_dll_version(build / "bin" / "Ombrisk.dll", ver)
        for path in sorted((build / "bin").iterdir()):
            if path.suffix in (".exe", ".dll"):
                items.append((f"{folder}/{path.name}", path.read_bytes()))
    items += script_bodies()
    for folder in ("tests/data", "examples", "package"):
        for path in sorted((ROOT / folder).rglob("*")):
            if path.is_file():
                data = path.read_bytes()
                items.append((path.relative_to(ROOT).as_posix(),
                              dist.crlf(data) if path.suffix.lower() in dist.TEXT_SUFFIXES else data))
    return items


def build(win: Path, win64: Path, manifest: Path, out_dir: Path) -> Path:
    ver = dist.version()
    folder = f"Ombrisk-wintest-{ver}"
    return dist.write_zip(out_dir, folder, contents(win, win64, manifest, ver))


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--win", type=Path, default=ROOT / "build" / "win", help="x86 build folder")
    ap.add_argument("--win64", type=Path, default=ROOT / "build" / "win64", help="x64 build folder")
    ap.add_argument("--manifest", type=Path, default=ROOT / "build" / "native" / "wintest-manifest.tsv")
    ap.add_argument("--out", type=Path, default=ROOT / "dist", help="folder of the zip")
    args = ap.parse_args(argv)
    print(build(args.win, args.win64, args.manifest, args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
