"""Runs one compiled test client (tests/client, built into <win-build>/bin) under Wine, after
starting the stand-in host with a configuration when the test gives one.

The client writes its report ("ok N - ...", "not ok N - ...", other lines, a last
"DONE passed=P failed=F") to the file named by its first argument. Pass = exit code 0, a last
"DONE passed=N failed=0" with N > 0, no "not ok" line and no UNEXPECTED line in a stand-in log
of the test folder. Standard library only.
"""

from __future__ import annotations

import argparse
import shutil
import sys
from pathlib import Path

from scripttest import clean_up, judge, load_environment, run_program, stand_in_logs, time_scale, unexpected_lines
from wineenv import log, winpath

# The client's folder of files: its report, the host's configuration and log.
REPORT_NAME = "report.txt"
HOST_CONFIG_NAME = "host.cfg"
HOST_LOG_NAME = "host.log"


def substitute(args: list[str], places: dict[str, str]) -> list[str]:
    """The client's arguments with {TEST_DIR}, {DATA_DIR}, {DLL_PATH}, {HOST_CONFIG} and
    {HOST_LOG} replaced by their Windows paths (folders without a trailing backslash, which
    would escape the closing quote of a quoted argument)."""
    out = []
    for arg in args:
        for name, value in places.items():
            arg = arg.replace("{" + name + "}", value)
        out.append(arg)
    return out


def host_config(test_dir: Path, lines: list[str]) -> str:
    """The stand-in's configuration: the log in the test folder, strict mode, then the test's lines
    (a later line of a key wins, so a test may say strict=0)."""
    return "\r\n".join([f"log={winpath(test_dir / HOST_LOG_NAME)}", "strict=1", *lines]) + "\r\n"


def run(args: argparse.Namespace) -> int:
    loaded = load_environment(args.state_dir, args.arch)
    if not loaded:
        return 1
    env, state = loaded
    win_build = Path(args.win_build).absolute()
    program = win_build / "bin" / args.program
    standin = env.standin(win_build)
    for needed in (program, standin):
        if not needed.exists():
            log(f"FAILED: {needed} is not built")
            return 1

    test_dir = Path(args.work_root).absolute() / args.name
    shutil.rmtree(test_dir, ignore_errors=True)
    test_dir.mkdir(parents=True)
    config = test_dir / HOST_CONFIG_NAME
    places = {"TEST_DIR": winpath(test_dir), "DATA_DIR": winpath(Path(args.data_dir).absolute()),
              "DLL_PATH": winpath(state.dll_path) if state.dll_path else "", "HOST_CONFIG": winpath(config),
              "HOST_LOG": winpath(test_dir / HOST_LOG_NAME)}
    if args.host is not None:
        config.write_text(host_config(test_dir, args.host), encoding="utf-8")
        if env.wine([str(standin), "ctl", "start", winpath(config)], timeout=60, log_name="ctl-start.log") != 0:
            log(f"FAILED: the stand-in host did not start with {config}")
            clean_up(env, standin)
            return 1

    report = test_dir / REPORT_NAME
    exit_code, timed_out, elapsed = run_program(
        env, [str(program), winpath(report), *substitute(args.args, places)], test_dir, test_dir / "stdout.txt",
        test_dir / "debug.txt", args.timeout * time_scale(), env.env(), report)
    cleanup = clean_up(env, standin, (args.program.lower(),))
    output = report.read_bytes().decode("utf-8", errors="replace").replace("\r\n", "\n") if report.exists() else ""
    passed, reason = judge(output, exit_code, timed_out, None, unexpected_lines(stand_in_logs(test_dir)))
    print(output, end="" if output.endswith("\n") or not output else "\n")
    log(f"{args.name}: {'PASSED' if passed else 'FAILED'} ({reason}) in {elapsed:.2f} s "
        f"(clean-up {cleanup:.2f} s); files in {test_dir}")
    return 0 if passed else 1


def main(argv: list[str]) -> int:
    tests = Path(__file__).absolute().parent.parent
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("name", help="the test's name, also its folder below --work-root")
    ap.add_argument("program", help="the client, e.g. dispclient.exe")
    ap.add_argument("args", nargs="*", help="the client's arguments after its report file")
    ap.add_argument("--state-dir", required=True)
    ap.add_argument("--win-build", required=True)
    ap.add_argument("--work-root", required=True)
    ap.add_argument("--data-dir", default=str(tests / "data"))
    ap.add_argument("--host", action="append", metavar="LINE",
                    help="start the stand-in host first; one line of its configuration (repeatable, may be empty)")
    ap.add_argument("--timeout", type=int, default=120, help="seconds, multiplied by OMBRISK_TIME_SCALE")
    ap.add_argument("--arch", choices=["win32", "win64"], help="fail unless the environment is of this architecture")
    return run(ap.parse_args(argv))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
