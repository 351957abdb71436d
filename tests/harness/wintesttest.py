"""The conformance kit (tools/wintest.py) under Wine, as a user runs it on Windows.

`run`: the kit is built, unzipped into a fresh 32-bit prefix of its own, and `cscript wintest.js`
first refuses while a window of the file manager's class is open (a second stand-in here),
changing nothing; then it runs the tests named by --tests and writes its report. Leaving the prefix, nothing of
the library may be left in its registry.
`compare`: the report's checks of each selected test against the results of the same test in
this ctest run of the wine environment: the same checks, with the same verdicts, none missing.
"""

from __future__ import annotations

import argparse
import re
import sys
import zipfile
from pathlib import Path

from packagetest import Checks, FreshPrefix
from wineenv import log, winpath

ROOT = Path(__file__).absolute().parents[2]
sys.path.insert(0, str(ROOT / "tools"))

import wintest  # noqa: E402

KIT_FOLDER = "Ombrisk kit (1) & Co"
REPORT_NAME = "wintest-report.txt"

_CHECK_RE = re.compile(r"^(ok|not ok) (\d+) - (.*)$")
_SKIP_RE = re.compile(r"^# skip: (.*)$")
# What a check reports after its name (": " or " (" and on: measured values, logs, the test's
# own paths), which differs from run to run.
_DETAIL_RE = re.compile(r"(: | \().*$")


def check_name(text: str) -> str:
    return _DETAIL_RE.sub("", text)


def suite_checks(text: str) -> list[tuple[str, str]]:
    """(verdict, "<n> - text") of every check a test printed, as the kit's report names them."""
    out = []
    for line in text.replace("\r\n", "\n").split("\n"):
        m = _CHECK_RE.match(line)
        if m:
            out.append(("PASS" if m.group(1) == "ok" else "FAIL", check_name(f"{m.group(2)} - {m.group(3)}")))
        elif _SKIP_RE.match(line):
            out.append(("SKIP", check_name("- " + _SKIP_RE.match(line).group(1))))
    return out


def report_checks(report: str, env: str, name: str) -> list[tuple[str, str]]:
    prefix = f" {env} {name} "
    out = []
    for line in report.splitlines():
        verdict, _, rest = line.partition(" ")
        if verdict in ("PASS", "FAIL", "SKIP") and (" " + rest).startswith(prefix):
            out.append((verdict, check_name(rest[len(prefix) - 1:])))
    return out


def run(args: argparse.Namespace) -> int:
    state_dir = Path(args.state_dir).absolute()
    checks = Checks()
    zip_path = wintest.build(Path(args.win_build), Path(args.win64_build), Path(args.manifest), state_dir / "out")
    with zipfile.ZipFile(zip_path) as zf:
        top = zf.namelist()[0].split("/")[0]
    prefix = FreshPrefix(state_dir / "env", "win32", zip_path, top, Path(args.win_build), checks, KIT_FOLDER)
    with prefix as kit:
        runner = kit.cpath(kit.folder / "wintest.js")
        standin = str(kit.folder / "x86" / "standin.exe")
        config = kit.work / "other-host.cfg"
        config.write_text(f"log={kit.cpath(kit.folder)}\\..\\other-host.log\r\n", encoding="utf-8")
        kit.run([standin, "ctl", "start", winpath(config)], bits=32)
        rc, out = kit.run(["cscript", "//nologo", runner], bits=32)
        checks.check(rc == 3, "the kit refuses while a window of the file manager's class is open", f"exit {rc}: {out}")
        checks.check("TTOTAL_CMD" in out and "Nothing was changed" in out, "and says why", out)
        checks.check(not (kit.folder / "work").exists() and not (kit.folder / REPORT_NAME).exists(),
                     "and writes nothing")
        kit.run([standin, "ctl", "stop"], bits=32)

        # Within ctest's limit, so that the prefix is still stopped when the kit hangs.
        rc, out = kit.run(["cscript", "//nologo", runner, "/only:" + ",".join(args.tests)], timeout=300, bits=32)
        print(out)
        report_path = kit.folder / REPORT_NAME
        checks.check(rc == 0, "the kit's run passes", f"exit {rc}")
        report = report_path.read_text(encoding="utf-16") if report_path.exists() else ""
        (state_dir / REPORT_NAME).write_text(report, encoding="utf-8")
        print(report)
        for fact in ("Windows:", "Under Wine:        yes", "Keyboard layout:", "Monitors:", "Elevated console:",
                     "VBScript:          installed", "Registration:      for this user (HKCU); for the machine of this Wine"):
            checks.check(f"\n{fact}" in report, f"the report tells {fact}")
        checks.check("SKIP wine sendkeystroke_layout_de.js - needs the Wine bench" in report,
                     "a test that needs the bench is skipped with its reason")
        checks.check("PASS kit registration the registration for this user is taken away again" in report,
                     "the registration for the user is gone at the end")
    print(f"DONE passed={checks.passed} failed={checks.failed}")
    return 0 if checks.failed == 0 and checks.passed > 0 else 1


def compare(args: argparse.Namespace) -> int:
    checks = Checks()
    report_path = Path(args.state_dir).absolute() / REPORT_NAME
    report = report_path.read_text(encoding="utf-8") if report_path.exists() else ""
    checks.check(bool(report), "the kit's report of this run exists", str(report_path))
    results = Path(args.results).absolute()
    # Written while wine.setup of this run started the environment; kept by its teardown.
    ready = results / "resident.ready"
    setup_time = ready.stat().st_mtime if ready.exists() else 0
    for name in args.tests:
        kit_side = report_checks(report, "wine", name)
        if kit_side and all(verdict == "SKIP" for verdict, _ in kit_side) and len(kit_side) == 1:
            continue  # skipped by the kit, with its reason (checked by `run`)
        if name.startswith("client."):
            result = results / "clients" / name[len("client."):] / "report.txt"
        else:
            result = results / "tests" / name / "stdout.txt"
        fresh = result.exists() and result.stat().st_mtime >= setup_time > 0
        if not checks.check(fresh, f"{name}: the suite's result is from this run", str(result)):
            continue
        suite_side = suite_checks(result.read_text(encoding="cp1252", errors="replace"))
        differ = [f"suite {s} / kit {k}" for s, k in zip(suite_side, kit_side) if s != k]
        checks.check(suite_side == kit_side and len(suite_side) > 0,
                     f"{name}: the kit's {len(kit_side)} checks are the suite's {len(suite_side)}",
                     "; ".join(differ[:3]))
    print(f"DONE passed={checks.passed} failed={checks.failed}")
    return 0 if checks.failed == 0 and checks.passed > 0 else 1


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("step", choices=["run", "compare"])
    ap.add_argument("--state-dir", required=True)
    ap.add_argument("--tests", required=True, type=lambda text: text.split(","), help="NAME,NAME... as the kit names them")
    ap.add_argument("--win-build")
    ap.add_argument("--win64-build")
    ap.add_argument("--manifest")
    ap.add_argument("--results", help="compare: the wine environment's folder (state.json, tests/, clients/)")
    args = ap.parse_args(argv)
    log(f"wintest {args.step}")
    return run(args) if args.step == "run" else compare(args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
