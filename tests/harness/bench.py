"""`make bench`: the library's figures against the baselines a script author already has, run
under Wine in an environment of its own (Xvfb, private prefix, registered DLL, stand-in host)
that is stopped again at the end. Prints one table of medians and ratios and writes it to
<state-dir>/bench-results.md. Standard library only.

The figures come from two compiled clients that host the VBScript engine in their own process
and time each script text with QueryPerformanceCounter: bench_calls.exe (call overhead, time
beyond the fixed waits, scale, memory) and bench_getinfo.exe (GetInfo("SP") against the same
exchange done by plain C++).
"""

from __future__ import annotations

import argparse
import platform
import re
import sys
import time
from pathlib import Path

from wineenv import SetupError, WineEnv, log, winpath

# The stand-in host answers at once; SP has the text bench_getinfo.exe expects.
HOST_CONFIG = """answer.SP=C:\\bench
path.L=C:\\Left\\
path.R=D:\\Right\\
selected.L=alpha.txt|beta.txt|gamma.txt
selected.R=delta.txt|epsilon.txt
dialog_text=INI-Files: C:\\Bench\\wincmd.ini<CR>C:\\Bench\\wcx_ftp.ini
"""

_BENCH_RE = re.compile(r"^BENCH\t(.*)$", re.MULTILINE)
_GETINFO_RE = re.compile(r"^BENCH GetInfo\(\"SP\"\) VBScript/plain: median ratio ([0-9.]+) over (\d+) rounds of (\d+) calls each "
                         r"\(VBScript ([0-9.]+) us, plain ([0-9.]+) us per call overall\)", re.MULTILINE)
_CHECK_RE = re.compile(r"^(not ok|ok) \d+ - (.*)$", re.MULTILINE)


class Figure:
    def __init__(self, ident: str, value: float, goal: str, unit: str, library: str, baseline: str, what: str):
        self.ident, self.value, self.goal, self.unit = ident, value, goal, unit
        self.library, self.baseline, self.what = library, baseline, what

    @property
    def verdict(self) -> str:
        if self.goal in ("", "-"):
            return "-"
        goal = float(self.goal)
        # Memory goal is "under"; the others are "at most".
        met = self.value < goal if self.unit == "KiB" else self.value <= goal
        return "met" if met else "MISSED"


def parse_figures(report: str) -> list[Figure]:
    """The BENCH lines of a bench_calls report (tab-separated fields)."""
    figures = []
    for m in _BENCH_RE.finditer(report):
        fields = m.group(1).split("\t")
        if len(fields) != 7:
            continue
        ident, value, goal, unit, library, baseline, what = fields
        figures.append(Figure(ident, float(value), goal, unit, library, baseline, what))
    return figures


def parse_getinfo(report: str) -> list[Figure]:
    m = _GETINFO_RE.search(report)
    if not m:
        return []
    ratio, rounds, calls, vb, plain = m.groups()
    return [Figure("getinfo.vs_plain_cpp", float(ratio), "1.3", "ratio", f"{vb} us", f"{plain} us",
                   f"GetInfo(\"SP\") from VBScript against the GW/RW exchange by plain C++ ({rounds} rounds of {calls} calls)")]


def failed_checks(report: str) -> list[str]:
    return [m.group(2) for m in _CHECK_RE.finditer(report) if m.group(1) == "not ok"]


def table(figures: list[Figure]) -> str:
    rows = [("Figure", "Value", "Goal", "Verdict", "Library", "Baseline", "What"),
            ("---", "---:", "---:", "---", "---:", "---:", "---")]
    for f in figures:
        goal = "-" if f.goal in ("", "-") else (f"< {f.goal}" if f.unit == "KiB" else f"<= {f.goal}")
        rows.append((f.ident, f"{f.value:.3f} {f.unit}", goal, f.verdict, f.library, f.baseline, f.what))
    return "\n".join("| " + " | ".join(r) + " |" for r in rows)


class _Skipped(Exception):
    """The remaining clients are not among the groups asked for."""


def run(args: argparse.Namespace) -> int:
    win_build = Path(args.win_build).absolute()
    bin_dir = win_build / "bin"
    for exe in ("standin.exe", "bench_calls.exe", "bench_getinfo.exe", "Ombrisk.dll"):
        if not (bin_dir / exe).exists():
            log(f"FAILED: {bin_dir / exe} is not built")
            return 1
    state_dir = Path(args.state_dir).absolute()
    env = WineEnv(state_dir)
    t0 = time.monotonic()
    figures: list[Figure] = []
    failures: list[str] = []
    try:
        env.setup(win_build)
        work = state_dir / "work"
        work.mkdir(parents=True, exist_ok=True)
        cfg = work / "host.cfg"
        cfg.write_text(f"log={winpath(work / 'host.log')}\n{HOST_CONFIG}", encoding="utf-8")
        if env.wine([str(bin_dir / "standin.exe"), "ctl", "start", winpath(cfg)], timeout=60, log_name="bench-host.log") != 0:
            raise SetupError("the stand-in host did not start")
        out = work / "bench_calls.txt"
        out.unlink(missing_ok=True)
        mode = (["quick"] if args.quick else []) + ([f"only={args.only}"] if args.only else [])
        groups = set(args.only.split(",")) if args.only else None
        log("bench_calls.exe: call overhead, time beyond the fixed waits, scale, memory ...")
        env.wine([str(bin_dir / "bench_calls.exe"), winpath(out), winpath(cfg), winpath(work), *mode],
                 timeout=args.timeout, log_name="bench-calls.log", cwd=work)
        report = out.read_text(errors="replace") if out.exists() else ""
        figures += parse_figures(report)
        failures += failed_checks(report)
        info = [line for line in report.splitlines() if line.startswith("INFO ")]
        # bench_getinfo reads its host's answer from the configuration written above.
        env.wine([str(bin_dir / "standin.exe"), "ctl", "stop"], timeout=30, log_name="bench-host.log")
        if groups is not None and "getinfo" not in groups:
            raise _Skipped()
        if env.wine([str(bin_dir / "standin.exe"), "ctl", "start", winpath(cfg)], timeout=60, log_name="bench-host.log") != 0:
            raise SetupError("the stand-in host did not start again")
        out2 = work / "bench_getinfo.txt"
        out2.unlink(missing_ok=True)
        calls, rounds = ("200", "3") if args.quick else ("5000", "7")
        log("bench_getinfo.exe: GetInfo(\"SP\") against plain C++ ...")
        env.wine([str(bin_dir / "bench_getinfo.exe"), winpath(out2), calls, rounds], timeout=args.timeout,
                 log_name="bench-getinfo.log", cwd=work)
        report2 = out2.read_text(errors="replace") if out2.exists() else ""
        figures += parse_getinfo(report2)
        failures += failed_checks(report2)
        env.wine([str(bin_dir / "standin.exe"), "ctl", "stop"], timeout=30, log_name="bench-host.log")
    except _Skipped:
        pass
    except SetupError as exc:
        log(f"FAILED: {exc}")
        failures.append(str(exc))
        info = []
    finally:
        env.teardown()
    elapsed = time.monotonic() - t0

    machine = f"{platform.node()}: {_cpu_model()}, {_cpus()} CPUs, Linux {platform.release()}, {_wine_version()}"
    text = table(figures)
    notes = "\n".join(f"- {line[5:]}" for line in info)
    result = f"{text}\n\n{notes}\n\nMachine: {machine}. Run took {elapsed:.0f} s{' (quick)' if args.quick else ''}.\n"
    print(result)
    (state_dir / "bench-results.md").write_text(result)
    log(f"table written to {state_dir / 'bench-results.md'}")
    for f in failures:
        log(f"check failed: {f}")
    return 1 if failures or not figures else 0


def _cpu_model() -> str:
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.machine()


def _cpus() -> int:
    import os
    return os.cpu_count() or 0


def _wine_version() -> str:
    import subprocess
    try:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True, timeout=30).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return "wine ?"


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--state-dir", required=True, help="the environment and the results go here")
    ap.add_argument("--win-build", required=True)
    ap.add_argument("--quick", action="store_true", help="a few iterations of everything")
    ap.add_argument("--only", default="", help="comma-separated groups to run: call, overhead, platform, selected, ini, "
                    "creation, memory, getinfo (default: all)")
    ap.add_argument("--timeout", type=int, default=480, help="seconds per client run")
    return run(ap.parse_args(argv))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
