"""Runs one VBScript or JScript test under Wine's cscript against the stand-in host (the 64-bit
cscript when the environment's prefix is a win64 one).

The script that runs is built from a generated prologue (constants), the script library of
tests/scripts/lib and the test file. Pass = exit code 0, a final "DONE passed=<n> failed=0"
line with n > 0 and no "not ok" line. Standard library only.
"""

from __future__ import annotations

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

from wineenv import (ProcRecord, SetupError, State, WineEnv, cscript_program, kill_pid, log, proc_cmdline, proc_environ,
                     winpath)

DEFAULT_TIMEOUT = 120
# Wine's cscript reads script files in the ANSI code page; a UTF-16 file with BOM does not run.
SCRIPT_ENCODING = "cp1252"
# The harness's own debug channel: only OutputDebugStringA output, nothing else from Wine.
SCRIPT_WINEDEBUG = "-all,+debugstr"

# "' locale: de_DE.UTF-8" on one of the first lines: cscript runs with that user locale.
_LOCALE_RE = re.compile(r"^\s*(?:'|//|rem\s)\s*locale:\s*([A-Za-z0-9_.@-]+)\s*$", re.IGNORECASE)
# "' keyboard: de" on one of the first lines: the X server types with that layout (setxkbmap)
# while the script runs, and with the US one again afterwards.
_KEYBOARD_RE = re.compile(r"^\s*(?:'|//|rem\s)\s*keyboard:\s*([a-z]{2,3})\s*$", re.IGNORECASE)
DEFAULT_KEYBOARD = "us"
_TIMEOUT_RE = re.compile(r"^\s*(?:'|//|rem\s)\s*timeout:\s*(\d+)\s*$", re.IGNORECASE)
_DONE_RE = re.compile(r"^DONE passed=(\d+) failed=(\d+)\s*$", re.MULTILINE)
_NOT_OK_RE = re.compile(r"^not ok\b", re.MULTILINE)
# Blanked rather than removed, so line numbers in the test file stay as they were.
_SKIP_RE = re.compile(r"^# skip: (.*?)\s*$", re.MULTILINE)
_UNEXPECTED_RE = re.compile(r"^UNEXPECTED\b.*$", re.MULTILINE)

# The skips a script may report on a platform without failing: (architecture or "*", script
# name, pattern the skip's reason must match, why it is unavoidable there). Any other skip fails
# the script, so a check that silently stopped running cannot pass for a green test.
ALLOWED_SKIPS: list[tuple[str, str, str, str]] = [
    ("*", "iniread_iniwrite.vbs", r"read-only file be written",
     "Wine run by the superuser writes files whose read-only attribute is set (the attribute is "
     "the Unix write permission, which root ignores); refused writes are still checked with a "
     "locked file and a folder in the file's place"),
    ("*", "setfiledateatr.vbs", r"does not keep creation times",
     "Wine keeps no creation time on a Linux file system; the modification and access times are checked"),
    ("*", "robust_soak.vbs", r"GDI and USER object counts",
     "Wine's GetGuiResources returns no counts; handles, windows and memory are still checked"),
]


def time_scale(environ: dict[str, str] | None = None) -> int | float:
    """The factor for every upper time bound of the scripts: OMBRISK_TIME_SCALE (default 1)."""
    raw = (environ if environ is not None else os.environ).get("OMBRISK_TIME_SCALE", "").strip()
    if not raw:
        return 1
    value = float(raw)
    if not value >= 1:
        raise ValueError(f"OMBRISK_TIME_SCALE must be a number of at least 1, not {raw!r}")
    return int(value) if value == int(value) else value


def soak_scale(environ: dict[str, str] | None = None) -> int | float:
    """The share of the long soak's counts a run makes: OMBRISK_SOAK_SCALE (`make soak` sets 1),
    default 0.1, so that `make test` keeps to a short soak."""
    raw = (environ if environ is not None else os.environ).get("OMBRISK_SOAK_SCALE", "").strip()
    value = float(raw) if raw else 0.1
    if not 0 < value <= 1:
        raise ValueError(f"OMBRISK_SOAK_SCALE must be a number above 0 and at most 1, not {raw!r}")
    return int(value) if value == int(value) else value


def skips_in(output: str) -> list[str]:
    """The reasons of the "# skip: <reason>" lines of a script's output."""
    return _SKIP_RE.findall(output)


def allowed_skip(arch: str, script: str, reason: str) -> str | None:
    """Why this skip may happen here, or None when it is not on the allow-list."""
    for want_arch, want_script, pattern, why in ALLOWED_SKIPS:
        if want_arch in ("*", arch) and want_script == script and re.search(pattern, reason):
            return why
    return None


def unexpected_lines(logs: dict[str, str]) -> list[str]:
    """The UNEXPECTED lines of the stand-in logs (name -> text): what a host in strict mode
    received without being configured to expect it. A log's ".unexpected" companion keeps them
    even when the test emptied the log; it stands for the log when both are there."""
    found = []
    for name, text in sorted(logs.items()):
        if name + ".unexpected" in logs:
            continue
        found += [f"{name}: {line.strip()}" for line in _UNEXPECTED_RE.findall(text)]
    return found


_OPTION_EXPLICIT_RE = re.compile(r"^[ \t]*option[ \t]+explicit[ \t]*(?:'[^\r\n]*)?$", re.IGNORECASE | re.MULTILINE)


def script_language(path: Path) -> str:
    ext = path.suffix.lower()
    if ext == ".vbs":
        return "vbs"
    if ext == ".js":
        return "js"
    raise ValueError(f"{path.name}: a test script ends in .vbs or .js")


def parse_timeout(first_line: str, default: int = DEFAULT_TIMEOUT) -> int:
    """The time-out in seconds a script asks for on its first line (' timeout: 300), else default."""
    m = _TIMEOUT_RE.match(first_line)
    return int(m.group(1)) if m else default


def _directive(pattern: re.Pattern[str], first_lines: list[str]) -> str | None:
    for line in first_lines[:3]:
        m = pattern.match(line)
        if m:
            return m.group(1)
    return None


def parse_locale(first_lines: list[str]) -> str | None:
    """The user locale a script asks for on one of its first three lines (' locale: de_DE.UTF-8)."""
    return _directive(_LOCALE_RE, first_lines)


def parse_keyboard(first_lines: list[str]) -> str | None:
    """The X keyboard layout a script asks for on one of its first three lines (' keyboard: de)."""
    layout = _directive(_KEYBOARD_RE, first_lines)
    return layout.lower() if layout else None


def set_keyboard(display: str, layout: str) -> None:
    """Switches the X server's keyboard layout; Wine programs started afterwards type with it."""
    subprocess.run(["setxkbmap", "-display", display, "-layout", layout], check=True, timeout=30,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)


def _vbs_string(text: str) -> str:
    return '"' + text.replace('"', '""') + '"'


def _js_string(text: str) -> str:
    out = []
    for ch in text:
        if ch in '\\"':
            out.append("\\" + ch)
        elif ord(ch) < 0x20 or ord(ch) > 0x7E:
            out.append(f"\\u{ord(ch):04x}")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def prologue(lang: str, constants: dict[str, object]) -> str:
    """Declarations of the constants every test script may use, in the script's language.
    VBScript also gets Option Explicit, so a misspelt variable stops the script (and it fails)."""
    lines = []
    if lang == "vbs":
        lines.append("Option Explicit")
        for name, value in constants.items():
            if isinstance(value, bool):
                lines.append(f"Const {name} = {'True' if value else 'False'}")
            elif isinstance(value, (int, float)):
                lines.append(f"Const {name} = {value}")
            else:
                lines.append(f"Const {name} = {_vbs_string(str(value))}")
    else:
        for name, value in constants.items():
            if isinstance(value, bool):
                lines.append(f"var {name} = {'true' if value else 'false'};")
            elif isinstance(value, (int, float)):
                lines.append(f"var {name} = {value};")
            else:
                lines.append(f"var {name} = {_js_string(str(value))};")
    return "\r\n".join(lines) + "\r\n"


def build_script(lang: str, constants: dict[str, object] | None, library: str, test: str) -> bytes:
    """Concatenates prologue, library and test with CR LF line ends, in the ANSI code page; without
    constants, library and test only (the conformance kit's runner writes its own prologue).
    Raises ValueError naming the part and line when a character has no ANSI form."""
    if lang == "vbs":
        # The prologue already declares Option Explicit, which must come before every other
        # statement; a second one further down would stop the whole script from compiling.
        test = _OPTION_EXPLICIT_RE.sub("", test.replace("\r\n", "\n"))
    parts = {"library": library, "test file": test}
    if constants is not None:
        parts = {"prologue": prologue(lang, constants), **parts}
    pieces = []
    for part, text in parts.items():
        text = text.replace("\r\n", "\n").rstrip("\n")
        for line_no, line in enumerate(text.split("\n"), 1):
            try:
                line.encode(SCRIPT_ENCODING)
            except UnicodeEncodeError as exc:
                raise ValueError(f"line {line_no} of the {part} has a character cscript cannot read "
                                 f"({ascii(line[exc.start])}); write it with Chr() instead") from None
        pieces.append(text)
    return ("\n".join(pieces) + "\n").replace("\n", "\r\n").encode(SCRIPT_ENCODING)


def judge(output: str, exit_code: int | None, timed_out: bool, bad_skips: list[str] | None = None,
          unexpected: list[str] | None = None) -> tuple[bool, str]:
    """Verdict on a finished script: (passed, reason). bad_skips are skips not on the
    allow-list, unexpected the UNEXPECTED lines of the stand-in logs; either fails the script."""
    if timed_out:
        return False, "timed out"
    if exit_code != 0:
        return False, f"exit code {exit_code}"
    dones = _DONE_RE.findall(output)
    if not dones:
        return False, "no DONE line: the script stopped early (an unhandled script error ends cscript silently)"
    passed, failed = (int(x) for x in dones[-1])
    if _NOT_OK_RE.search(output) or failed:
        return False, f"{failed or 'some'} check(s) failed"
    if passed == 0:
        return False, "no check passed"
    if bad_skips:
        return False, f"{len(bad_skips)} skip(s) not allowed on this platform: " + "; ".join(bad_skips)
    if unexpected:
        return False, f"the stand-in received {len(unexpected)} unexpected thing(s): " + "; ".join(unexpected[:5])
    return True, f"{passed} checks passed"


def stray_processes(prefix: Path, programs: tuple[str, ...] = ("cscript.exe", "wscript.exe")) -> list[int]:
    """Pids of processes of these programs (lower-case file names) still running in our prefix."""
    pids = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            pid = int(entry.name)
            argv = " ".join(proc_cmdline(pid)).lower()
            if any(name in argv for name in programs) and proc_environ(pid).get("WINEPREFIX") == str(prefix):
                pids.append(pid)
    return pids


def load_environment(state_dir, arch: str | None) -> tuple[WineEnv, State] | None:
    """The Wine environment that wine.setup (or wine64.setup) made in state_dir and its state;
    nothing, after saying why, when there is none or it is of another architecture."""
    env = WineEnv(state_dir)
    try:
        state = env.load()
    except SetupError as exc:
        log(f"FAILED: {exc}")
        return None
    if arch and arch != state.arch:
        log(f"FAILED: the environment in {state_dir} is a {state.arch} one, not {arch}")
        return None
    return env, state


# A run started again because its program never ran leaves a line here in its test folder
# ("<exit code>\t<seconds>"), which skipsummary.py counts for the summary of the whole run.
RETRIES_NAME = "retries.txt"


def run_traces(folder: Path, files: tuple[Path, ...]) -> dict[str, int]:
    """What a run can leave, by path with its size: those of the files (its output, a client's
    report) that exist and every stand-in log of its folder."""
    found = [*files, *folder.glob("*.log"), *folder.glob("*.log.unexpected")]
    return {str(p): p.stat().st_size for p in found if p.exists()}


def run_program(env: WineEnv, args: list[str], cwd: Path, stdout_path: Path, stderr_path: Path, timeout: float,
                environ: dict[str, str], report: Path | None = None) -> tuple[int | None, bool, float]:
    """Runs a Wine program to its end or its time-out (then it is killed): (exit code or None,
    timed out, seconds). Output goes to files, never to pipes: background Wine processes
    inherit the descriptors. A loader that fails without a word before the program could start
    (seen once in a loaded CI run: exit code 1 after 0.01 s) is started once more, only when the
    run left nothing in cwd (see never_started); the retry is recorded in cwd/RETRIES_NAME."""
    files = (stdout_path, stderr_path) + ((report,) if report else ())
    for attempt in (1, 2):
        t0 = time.monotonic()
        timed_out = False
        with open(stdout_path, "wb") as out, open(stderr_path, "wb") as err:
            before = run_traces(cwd, files)
            proc = subprocess.Popen([env.loader(), *args], cwd=cwd, env=environ, stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=err, start_new_session=True)
            try:
                exit_code = proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                timed_out = True
                exit_code = None
                kill_pid(ProcRecord.of(proc.pid, Path(proc_cmdline(proc.pid)[0] or "x").name), 2)
                proc.wait(5)
        elapsed = time.monotonic() - t0
        if attempt == 2 or not never_started(exit_code, elapsed, before, run_traces(cwd, files)):
            return exit_code, timed_out, elapsed
        log(f"the Wine loader exited with {exit_code} after {elapsed:.2f} s and the program left nothing; starting it again")
        with open(cwd / RETRIES_NAME, "a", encoding="utf-8") as retries:
            retries.write(f"{exit_code}\t{elapsed:.2f}\n")
    raise AssertionError("unreachable")


def never_started(exit_code: int | None, elapsed: float, before: dict[str, int], after: dict[str, int]) -> bool:
    """Whether a run provably failed before its program began: it failed within half a second
    and left its folder as it was (run_traces before and after it): no output, no report, no
    line in a stand-in log. A program that wrote anything ran, and its run counts as it is."""
    return exit_code not in (0, None) and elapsed < 0.5 and after == before


def clean_up(env: WineEnv, standin: Path, programs: tuple[str, ...] = ("cscript.exe", "wscript.exe")) -> float:
    """Stops what a test left running: its stand-in hosts, then stray processes of the programs.
    Returns the seconds it took."""
    t1 = time.monotonic()
    try:
        env.wine([str(standin), "ctl", "stop"], timeout=30, log_name="ctl-stop.log")
    except SetupError as exc:
        log(f"warning: {exc}")
    for pid in stray_processes(env.prefix, programs):
        log(f"killing stray process pid {pid}")
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    return time.monotonic() - t1


def stand_in_logs(test_dir: Path) -> dict[str, str]:
    """The stand-in logs of a test folder (and their ".unexpected" companions), by file name."""
    return {p.name: p.read_bytes().decode("utf-8", errors="replace")
            for pattern in ("*.log", "*.log.unexpected") for p in test_dir.glob(pattern)}


def run(args: argparse.Namespace) -> int:
    script = Path(args.script).absolute()
    lang = script_language(script)
    name = script.name
    loaded = load_environment(args.state_dir, args.arch)
    if not loaded:
        return 1
    env, state = loaded
    win_build = Path(args.win_build).absolute()
    standin = env.standin(win_build)
    if not standin.exists():
        log(f"FAILED: {standin} is not built")
        return 1

    test_dir = Path(args.work_root).absolute() / name
    shutil.rmtree(test_dir, ignore_errors=True)
    test_dir.mkdir(parents=True)
    debug_file = test_dir / "debug.txt"
    test_text = script.read_text(encoding="utf-8")
    try:
        scale = time_scale()
    except ValueError as exc:
        log(f"FAILED: {exc}")
        return 1
    timeout = (args.timeout or parse_timeout(test_text.splitlines()[0] if test_text else "")) * scale
    library = (Path(args.lib_dir) / f"lib.{lang}").read_text(encoding="utf-8")
    dll32 = state.dll32_path if state.arch == "win64" else state.dll_path
    constants = {
        "TEST_DIR": winpath(test_dir) + "\\",
        "STANDIN_EXE": winpath(standin),
        "DATA_DIR": winpath(args.data_dir) + "\\",
        "DEBUG_FILE": winpath(debug_file),
        "SCRIPT_NAME": name,
        "DLL_PATH": winpath(state.dll_path) if state.dll_path else "",
        "DLL_REGISTERED": state.dll_registered,
        # The bitness of cscript and of the DLL it loads; the x86 DLL (the same as DLL_PATH in
        # a win32 prefix, registered beside the x64 one in a win64 prefix).
        "CSCRIPT_BITS": 64 if state.arch == "win64" else 32,
        "DLL32_PATH": winpath(dll32) if dll32 else "",
        "TIME_SCALE": scale,
        "SOAK_SCALE": soak_scale(),
    }
    try:
        built = build_script(lang, constants, library, test_text)
    except ValueError as exc:
        log(f"FAILED: {name}: {exc}")
        return 1
    built_path = test_dir / f"run.{lang}"
    built_path.write_bytes(built)

    stdout_path = test_dir / "stdout.txt"
    keyboard = parse_keyboard(test_text.splitlines())
    if keyboard:
        set_keyboard(state.display, keyboard)
    try:
        exit_code, timed_out, elapsed = run_program(
            env, [cscript_program(state.arch), "//nologo", winpath(built_path)], test_dir, stdout_path, debug_file,
            timeout, env.env(SCRIPT_WINEDEBUG, parse_locale(test_text.splitlines())))
        cleanup = clean_up(env, standin)
    finally:
        if keyboard:
            set_keyboard(state.display, DEFAULT_KEYBOARD)
    output = stdout_path.read_bytes().decode(SCRIPT_ENCODING, errors="replace").replace("\r\n", "\n")
    skips = skips_in(output)
    bad_skips, skip_lines = [], []
    for reason_text in skips:
        why = allowed_skip(state.arch, name, reason_text)
        if why is None:
            bad_skips.append(reason_text)
        skip_lines.append(f"{state.arch}\t{name}\t{reason_text}\t{why or 'NOT ALLOWED'}")
    # Read by skipsummary.py for the summary of the whole run.
    (test_dir / "skips.txt").write_text("".join(line + "\n" for line in skip_lines), encoding="utf-8")
    passed, reason = judge(output, exit_code, timed_out, bad_skips, unexpected_lines(stand_in_logs(test_dir)))
    print(output, end="" if output.endswith("\n") or not output else "\n")
    for line in skip_lines:
        arch_, _, reason_text, why = line.split("\t")
        log(f"SKIP {name} ({arch_}): {reason_text} -- {why}")
    log(f"{name}: {'PASSED' if passed else 'FAILED'} ({reason}) in {elapsed:.2f} s "
        f"(clean-up {cleanup:.2f} s); files in {test_dir}")
    if not passed and args.show_debug and debug_file.stat().st_size:
        print("--- debug output ---")
        print(debug_file.read_bytes().decode("latin-1")[-8000:])
    return 0 if passed else 1


def main(argv: list[str]) -> int:
    here = Path(__file__).absolute().parent
    tests = here.parent
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("script")
    ap.add_argument("--state-dir", required=True)
    ap.add_argument("--win-build", required=True)
    ap.add_argument("--work-root", required=True, help="per-test folders are made below it")
    ap.add_argument("--lib-dir", default=str(tests / "scripts" / "lib"))
    ap.add_argument("--data-dir", default=str(tests / "data"))
    ap.add_argument("--timeout", type=int, default=0, help="seconds; default from the script's first line or 120")
    ap.add_argument("--show-debug", action="store_true", help="print the debug output on failure")
    ap.add_argument("--arch", choices=["win32", "win64"], help="fail unless the environment is of this architecture")
    return run(ap.parse_args(argv))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
