"""`make demo`: sets up a Wine environment of its own, registers the DLL, starts the stand-in
host and runs demo/tour.vbs with cscript, then shows what the host received and what went to
the debug output, and stops everything again."""

from __future__ import annotations

import argparse
import subprocess
import sys
import time
from pathlib import Path

from wineenv import DLL_NAME, SetupError, WineEnv, debug_strings, log, winpath

REPO = Path(__file__).absolute().parents[2]

# Answers for the information requests, so a tour that asks for panel paths gets some.
HOST_CONFIG = [
    "caption=Total Commander stand-in (demo)",
    "answer.SP=C:\\windows\\",
    "answer.TP=C:\\users\\",
    "answer.LP=C:\\windows\\",
    "answer.RP=C:\\users\\",
    "answer.A=L",
]


def run_demo(args: argparse.Namespace) -> int:
    win_build = Path(args.win_build).absolute()
    tour = Path(args.script).absolute()
    if not tour.exists():
        log(f"FAILED: the tour script {tour} does not exist")
        return 2
    for needed in (win_build / "bin" / DLL_NAME, win_build / "bin" / "standin.exe"):
        if not needed.exists():
            log(f"FAILED: {needed} is not built (run `make build-win`)")
            return 2

    env = WineEnv(args.state_dir or win_build.parent / "demo-wine")
    t0 = time.monotonic()
    try:
        state = env.setup(win_build)
        if not state.dll_registered:
            log("FAILED: the DLL was not registered")
            return 1
        work = env.state_dir / "demo"
        work.mkdir(exist_ok=True)
        host_log = work / "host.log"
        config = work / "host.cfg"
        config.write_text("\r\n".join([f"log={winpath(host_log)}", *HOST_CONFIG]) + "\r\n", encoding="utf-8")
        standin = str(env.standin(win_build))
        if env.wine([standin, "ctl", "start", winpath(config)], timeout=60, log_name="demo-host.log") != 0:
            log(f"FAILED: the stand-in host did not start; see {env.state_dir / 'demo-host.log'}")
            return 1
        log(f"stand-in host running; environment ready after {time.monotonic() - t0:.1f} s")

        print(f"===== cscript {tour.relative_to(REPO) if tour.is_relative_to(REPO) else tour} =====", flush=True)
        stdout_path, debug_path = work / "tour.out", work / "tour.debug"
        with open(stdout_path, "wb") as out, open(debug_path, "wb") as err:
            proc = subprocess.Popen(["wine", "cscript", "//nologo", winpath(tour)], cwd=tour.parent,
                                    env=env.env("-all,+debugstr"), stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=err, start_new_session=True)
            try:
                rc = proc.wait(timeout=args.timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
                rc = None
        print(stdout_path.read_bytes().decode("cp1252", errors="replace").replace("\r\n", "\n"), end="")
        print("===== what the stand-in host received =====")
        for line in host_log.read_bytes().decode("utf-8", errors="replace").splitlines():
            # Payload dumps run to 2048 bytes; the start tells the story.
            print(line if len(line) <= 150 else line[:150] + " ...")
        print("===== debug output =====")
        for text in debug_strings(debug_path.read_bytes().decode("latin-1")):
            print(text.rstrip("\r\n"))
        env.wine([standin, "ctl", "stop"], timeout=30, log_name="demo-host.log")
        if rc != 0:
            log(f"FAILED: cscript {'timed out' if rc is None else f'exited with {rc}'}")
            return 1
        print("===== next =====")
        print("`make dist` builds dist/Ombrisk-<version>.zip for Windows (both DLLs, install.cmd, examples,")
        print("guides); docs/getting-started.md takes it from there to a script on a button of the file")
        print("manager, docs/reference.md describes every member, examples/ holds scripts ready for buttons.")
        return 0
    except SetupError as exc:
        log(f"FAILED: {exc}")
        return 1
    finally:
        if not args.keep:
            env.teardown()


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--win-build", required=True, help="build folder of the Windows programs")
    ap.add_argument("--state-dir", help="Wine environment folder (default: <win-build>/../demo-wine)")
    ap.add_argument("--script", default=str(REPO / "demo" / "tour.vbs"))
    ap.add_argument("--timeout", type=int, default=300)
    ap.add_argument("--keep", action="store_true", help="leave Xvfb and the wineserver running")
    return run_demo(ap.parse_args(argv))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
