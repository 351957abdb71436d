"""The Wine test environment: an Xvfb display, a private Wine prefix (32-bit, or 64-bit with
the 32-bit part beside it) with a persistent wineserver, the registry settings the tests rely
on, and the registered automation server (in a 64-bit prefix the x64 DLL, and the x86 DLL too).

Everything started here is recorded in a state file and stopped again by process id; nothing
is ever stopped by name. Standard library only.
"""

from __future__ import annotations

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import asdict, dataclass, field
from pathlib import Path

STATE_NAME = "state.json"
PREFIX_NAME = "prefix"
# Written into the prefix once wineboot and our first settings have completed.
COMPLETE_MARK = ".ombrisk-complete"
DLL_NAME = "Ombrisk.dll"
STANDIN_NAME = "standin.exe"
# The user locale of every Wine process unless a script asks for another: US English.
DEFAULT_LOCALE = "C.UTF-8"
ARCHES = ("win32", "win64")
# In a win64 prefix these are the 32-bit programs; the names without a folder are the 64-bit ones.
REGSVR32_32 = r"C:\windows\syswow64\regsvr32.exe"
CSCRIPT_64 = r"C:\windows\system32\cscript.exe"
WINE64_LOADERS = ("wine64", "/usr/lib/wine/wine64")

# No window manager runs on the Xvfb display: without Managed=N every hide or destroy of a
# window waits about 2 s for a reply that never comes. With the AeDebug values a crashing
# process ends at once instead of starting the debugger.
REGISTRY_SETTINGS = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
"""


class SetupError(RuntimeError):
    """The environment could not be set up; the message says which step failed."""


def log(msg: str) -> None:
    print(f"[wine] {msg}", flush=True)


def wine_loader(arch: str) -> str:
    """The loader that starts a program of the prefix's own bitness. Debian's `wine` is the 32-bit
    loader: in a win64 prefix it starts cscript, regsvr32 or reg (even named as
    C:\\windows\\system32\\...) as 32-bit programs; the 64-bit loader starts the 64-bit ones. A
    program of the other bitness, such as C:\\windows\\syswow64\\cscript.exe, is handed on by either."""
    if arch not in ARCHES:
        raise SetupError(f"unknown Wine architecture {arch!r}: use one of {', '.join(ARCHES)}")
    if arch == "win32":
        return "wine"
    for name in WINE64_LOADERS:
        found = shutil.which(name)
        if found:
            return found
    raise SetupError("no 64-bit Wine loader (wine64) found: install the wine64 package")


def cscript_program(arch: str) -> str:
    """The script host a test runs under: the 64-bit one in a win64 prefix."""
    return CSCRIPT_64 if arch == "win64" else "cscript"


def winpath(path: os.PathLike | str) -> str:
    """Windows form of a Linux path through Wine's Z: drive, e.g. Z:\\work\\main\\x."""
    return "Z:" + str(Path(path).absolute()).replace("/", "\\")


_DEBUGSTR_RE = re.compile(r':debugstr:OutputDebugStringA "(.*)"(\.\.\.)?$')
_ESCAPE_RE = re.compile(r"\\(x[0-9a-fA-F]{2}|.)")


def debug_strings(stderr_text: str) -> list[str]:
    """The texts passed to OutputDebugStringA, from Wine's stderr with +debugstr. Wine prints
    each as `0024:warn:debugstr:OutputDebugStringA "text"` with \\n \\r \\t \\" \\\\ and \\xNN
    escapes and cuts long texts, ending the line in `"...`; such a text keeps a trailing "..."."""

    def unescape(m: re.Match) -> str:
        c = m.group(1)
        if len(c) == 3:
            return bytes([int(c[1:], 16)]).decode("cp1252", errors="replace")
        return {"n": "\n", "r": "\r", "t": "\t"}.get(c, c)

    texts = []
    for line in stderr_text.replace("\r\n", "\n").split("\n"):
        m = _DEBUGSTR_RE.search(line)
        if m:
            texts.append(_ESCAPE_RE.sub(unescape, m.group(1)) + (m.group(2) or ""))
    return texts


# ---------------------------------------------------------------------------------------
# Processes, identified by pid and start time so that a recycled pid is never mistaken for ours


def _proc_stat(pid: int) -> list[str] | None:
    try:
        raw = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return None
    # The command name sits in parentheses and may contain spaces; fields follow the last ")".
    return [raw[: raw.rfind(")") + 1]] + raw[raw.rfind(")") + 2 :].split()


def proc_start_time(pid: int) -> int | None:
    stat = _proc_stat(pid)
    return int(stat[20]) if stat else None


def proc_alive(pid: int) -> bool:
    stat = _proc_stat(pid)
    # A zombie (Z) or dead (X) process counts as gone: it no longer runs and cannot be reaped by us.
    return stat is not None and stat[1] not in ("Z", "X")


def proc_cmdline(pid: int) -> list[str]:
    try:
        return Path(f"/proc/{pid}/cmdline").read_bytes().decode(errors="replace").split("\0")
    except OSError:
        return []


def proc_environ(pid: int) -> dict[str, str]:
    try:
        raw = Path(f"/proc/{pid}/environ").read_bytes().decode(errors="replace")
    except OSError:
        return {}
    env = {}
    for item in raw.split("\0"):
        key, sep, value = item.partition("=")
        if sep:
            env[key] = value
    return env


@dataclass
class ProcRecord:
    """A process we started: pid, kernel start time and the program name it must still show."""

    pid: int
    start: int
    program: str

    @classmethod
    def of(cls, pid: int, program: str) -> "ProcRecord":
        return cls(pid, proc_start_time(pid) or 0, program)

    def is_ours(self) -> bool:
        if not proc_alive(self.pid) or proc_start_time(self.pid) != self.start:
            return False
        argv0 = proc_cmdline(self.pid)[0]
        return Path(argv0).name.startswith(self.program)


def wait_gone(pid: int, timeout: float) -> bool:
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:  # reap it if it is our own child
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass
        if not proc_alive(pid):
            return True
        time.sleep(0.05)
    return not proc_alive(pid)


def kill_pid(rec: ProcRecord, grace: float = 5.0) -> None:
    """SIGTERM, then SIGKILL after grace seconds; only while the pid is still the recorded process."""
    if not rec.is_ours():
        return
    os.kill(rec.pid, signal.SIGTERM)
    if not wait_gone(rec.pid, grace) and rec.is_ours():
        os.kill(rec.pid, signal.SIGKILL)
        wait_gone(rec.pid, 2.0)


# ---------------------------------------------------------------------------------------


@dataclass
class State:
    display: str = ""
    prefix: str = ""
    arch: str = "win32"
    xvfb: ProcRecord | None = None
    wineserver: ProcRecord | None = None
    resident: ProcRecord | None = None
    # The ctest (or other program) that ran the set-up; a live ctest means the run goes on.
    owner: ProcRecord | None = None
    dll_registered: bool = False
    dll_path: str = ""
    # win64 only: the x86 DLL registered beside the x64 one by the 32-bit regsvr32.
    dll32_registered: bool = False
    dll32_path: str = ""
    win_build: str = ""
    setup_seconds: float = 0.0
    notes: list[str] = field(default_factory=list)

    @classmethod
    def load(cls, path: Path) -> "State":
        data = json.loads(path.read_text())
        for key in ("xvfb", "wineserver", "resident", "owner"):
            if data.get(key):
                data[key] = ProcRecord(**data[key])
        return cls(**data)

    def save(self, path: Path) -> None:
        tmp = path.with_suffix(".tmp")
        tmp.write_text(json.dumps(asdict(self), indent=2))
        tmp.replace(path)


class WineEnv:
    """One Wine environment rooted at state_dir (state file, prefix, logs of the set-up steps).
    arch is the prefix's WINEARCH for a set-up; load() takes it from the state file."""

    def __init__(self, state_dir: Path | str, arch: str = "win32"):
        if arch not in ARCHES:
            raise SetupError(f"unknown Wine architecture {arch!r}: use one of {', '.join(ARCHES)}")
        self.state_dir = Path(state_dir).absolute()
        self.prefix = self.state_dir / PREFIX_NAME
        self.state_path = self.state_dir / STATE_NAME
        self.arch = arch
        self.state: State | None = None

    def loader(self) -> str:
        return wine_loader(self.arch)

    # -- environment of the Wine processes -----------------------------------------------

    def env(self, winedebug: str = "-all", locale: str | None = None) -> dict[str, str]:
        """The environment of a Wine process; locale (an LC_ALL value) replaces the US English one."""
        if self.state is None:
            raise SetupError("no Wine environment: run the wine.setup test (or WineEnv.setup) first")
        env = dict(os.environ)
        env.update(
            DISPLAY=self.state.display,
            WINEPREFIX=str(self.prefix),
            WINEARCH=self.arch,
            WINEDEBUG=winedebug,
            # No Mono or Gecko installer dialogs while the prefix is created or used.
            WINEDLLOVERRIDES="mscoree,mshtml=",
            # Wine takes the user locale from the name in LC_ALL (it need not be generated) and
            # rewrites the prefix's Control Panel\International values when it changes. C.UTF-8
            # is US English there and exists on every Debian system.
            LC_ALL=locale or DEFAULT_LOCALE,
        )
        env.pop("WINESERVER", None)
        env.pop("LANGUAGE", None)
        return env

    def wine(self, args: list[str], timeout: float = 120, log_name: str | None = None,
             winedebug: str = "-all", cwd: Path | None = None) -> int:
        """Runs `wine args...` (with the loader of the prefix's bitness) to completion with its
        output in a log file (never our own stdout: background Wine processes would keep a
        caller's pipe open). Returns the exit code."""
        out_path = self.state_dir / (log_name or "wine-commands.log")
        with open(out_path, "ab") as out:
            out.write(f"$ wine {' '.join(args)}\n".encode())
            out.flush()
            proc = subprocess.Popen([self.loader(), *args], env=self.env(winedebug), stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=out, cwd=cwd, start_new_session=True)
            try:
                return proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                kill_pid(ProcRecord.of(proc.pid, Path(proc_cmdline(proc.pid)[0] or "wine").name), 2)
                proc.wait(5)
                raise SetupError(f"wine {' '.join(args)} did not finish within {timeout} s")

    def standin(self, win_build: Path | str) -> Path:
        return Path(win_build) / "bin" / STANDIN_NAME

    # -- set-up ----------------------------------------------------------------------------

    def load(self) -> State:
        if not self.state_path.exists():
            raise SetupError(f"no Wine environment at {self.state_dir}: the wine.setup test has not run")
        self.state = State.load(self.state_path)
        self.arch = self.state.arch
        if not (self.state.xvfb and self.state.xvfb.is_ours()):
            raise SetupError("the Xvfb of this Wine environment is gone: run wine.setup again")
        if not (self.state.wineserver and self.state.wineserver.is_ours()):
            raise SetupError("the wineserver of this Wine environment is gone: run wine.setup again")
        return self.state

    def setup(self, win_build: Path | str, win32_build: Path | str | None = None, register: bool = True) -> State:
        """win_build holds the programs of the prefix's bitness, whose DLL is registered (unless
        register is false); in a win64 prefix the x86 DLL of win32_build is registered too, with
        the 32-bit regsvr32."""
        t0 = time.monotonic()
        self.loader()  # fails early when the loader for this bitness is missing
        self.state_dir.mkdir(parents=True, exist_ok=True)
        self.stop_stale()
        parent = os.getppid()
        self.state = State(prefix=str(self.prefix), arch=self.arch, win_build=str(Path(win_build).absolute()),
                           owner=ProcRecord.of(parent, Path(proc_cmdline(parent)[0] or "?").name))
        try:
            self._start_xvfb()
            self.state.save(self.state_path)
            fresh = not self._prefix_complete()
            if fresh:
                log("creating the Wine prefix (about 20 s) ...")
                shutil.rmtree(self.prefix, ignore_errors=True)
                self.prefix.mkdir(parents=True)
            self._start_wineserver()
            self.state.save(self.state_path)
            if fresh:
                if self.wine(["wineboot", "-i"], timeout=180, log_name="wineboot.log") != 0:
                    raise SetupError(f"wineboot -i failed; see {self.state_dir / 'wineboot.log'}")
            else:
                log("re-using the existing Wine prefix")
            self._apply_registry()
            if fresh:
                (self.prefix / COMPLETE_MARK).write_text(time.strftime("%Y-%m-%d %H:%M:%S\n"))
            if register:
                self._register_dll(Path(win_build))
                if self.arch == "win64" and win32_build:
                    self._register_dll32(Path(win32_build))
            self._start_resident(Path(win_build))
        except BaseException:
            self.teardown()
            raise
        self.state.setup_seconds = round(time.monotonic() - t0, 2)
        self.state.save(self.state_path)
        log(f"ready in {self.state.setup_seconds} s: DISPLAY={self.state.display} WINEPREFIX={self.prefix}")
        return self.state

    def _prefix_complete(self) -> bool:
        if not all((self.prefix / name).exists() for name in (COMPLETE_MARK, "system.reg", "user.reg", "drive_c")):
            return False
        # A prefix of the other architecture is made anew (wineboot refuses to convert it).
        return ((self.prefix / "drive_c" / "windows" / "syswow64").is_dir()) == (self.arch == "win64")

    def _start_xvfb(self) -> None:
        # -displayfd lets the server pick a free display number and tell us which.
        read_fd, write_fd = os.pipe()
        with open(self.state_dir / "xvfb.log", "wb") as out:
            proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=out, stderr=out, start_new_session=True)
        os.close(write_fd)
        self.state.xvfb = ProcRecord.of(proc.pid, "Xvfb")
        number = b""
        deadline = time.monotonic() + 30
        os.set_blocking(read_fd, False)
        while not number.endswith(b"\n") and time.monotonic() < deadline and proc.poll() is None:
            try:
                chunk = os.read(read_fd, 32)
                if not chunk:
                    break
                number += chunk
            except BlockingIOError:
                time.sleep(0.05)
        os.close(read_fd)
        if not number.strip().isdigit():
            raise SetupError(f"Xvfb did not start; see {self.state_dir / 'xvfb.log'}")
        self.state.display = ":" + number.strip().decode()
        log(f"Xvfb pid {proc.pid} on display {self.state.display}")

    def _start_wineserver(self) -> None:
        env = self.env()
        for attempt in range(2):
            with open(self.state_dir / "wineserver.log", "ab") as out:
                # -f keeps it in the foreground, so the pid we get is the server's own.
                proc = subprocess.Popen(["wineserver", "-f", "-p"], env=env, stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=out, start_new_session=True)
            time.sleep(0.3)
            if proc.poll() is None:
                self.state.wineserver = ProcRecord.of(proc.pid, "wineserver")
                log(f"wineserver pid {proc.pid}")
                return
            # A server already runs for our private prefix (left by a run that died): stop it
            # through the prefix, which reaches only that server, and try again.
            log("a wineserver already runs for this prefix; stopping it")
            subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            self._wait_no_server(10)
        raise SetupError(f"wineserver would not start; see {self.state_dir / 'wineserver.log'}")

    def _wait_no_server(self, timeout: float) -> None:
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self._servers_of_prefix():
            time.sleep(0.1)

    def _servers_of_prefix(self) -> list[int]:
        """Pids of wineserver processes serving our prefix (found through their environment)."""
        pids = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            pid = int(entry.name)
            argv0 = proc_cmdline(pid)[0]
            if Path(argv0).name.startswith("wineserver") and proc_alive(pid) \
                    and proc_environ(pid).get("WINEPREFIX") == str(self.prefix):
                pids.append(pid)
        return pids

    def _apply_registry(self) -> None:
        reg = self.state_dir / "settings.reg"
        reg.write_text(REGISTRY_SETTINGS.replace("\n", "\r\n"))
        if self.wine(["regedit", "/S", winpath(reg)], timeout=60) != 0:
            raise SetupError("importing the registry settings failed")

    def _register_dll(self, win_build: Path) -> None:
        dll = win_build / "bin" / DLL_NAME
        self.state.dll_path = str(dll)
        self.state.dll_registered = self._regsvr32("regsvr32", dll, "registration skipped", "")

    def _register_dll32(self, win32_build: Path) -> None:
        dll = win32_build / "bin" / DLL_NAME
        self.state.dll32_path = str(dll)
        self.state.dll32_registered = self._regsvr32(
            REGSVR32_32, dll, "the x86 DLL is not registered beside the x64 one", " (32-bit view)")

    def _regsvr32(self, program: str, dll: Path, missing_note: str, view_note: str) -> bool:
        """Registers dll with the given regsvr32; False (and a note) when it is not built."""
        if not dll.exists():
            note = f"{dll} does not exist yet: {missing_note}"
            self.state.notes.append(note)
            log(note)
            return False
        rc = self.wine([program, "/s", winpath(dll)], timeout=60, log_name="regsvr32.log")
        if rc != 0:
            raise SetupError(f"{program} /s {dll} failed with exit code {rc}")
        log(f"registered {dll}{view_note}")
        return True

    def _start_resident(self, win_build: Path) -> None:
        """Keeps one Wine program running for the whole run. When the last one ends, Wine shuts
        the desktop process down, and the next program waits about 10 s for a new one."""
        standin = self.standin(win_build)
        if not standin.exists():
            log(f"warning: {standin} is not built; every script will wait about 10 s for the desktop")
            return
        ready = self.state_dir / "resident.ready"
        ready.unlink(missing_ok=True)
        with open(self.state_dir / "resident.log", "wb") as out:
            proc = subprocess.Popen([self.loader(), str(standin), "ctl", "resident", winpath(ready)], env=self.env(),
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=out, start_new_session=True)
        self.state.resident = ProcRecord.of(proc.pid, STANDIN_NAME)
        deadline = time.monotonic() + 60
        while not ready.exists():
            if proc.poll() is not None or time.monotonic() > deadline:
                raise SetupError(f"the resident program did not start; see {self.state_dir / 'resident.log'}")
            time.sleep(0.1)
        log(f"desktop ready; resident program pid {proc.pid}")

    # -- tear-down -------------------------------------------------------------------------

    def stop_stale(self) -> None:
        """Stops what a previous run recorded and left running, if those pids are still ours."""
        if not self.state_path.exists():
            return
        try:
            self.state = State.load(self.state_path)
        except (OSError, ValueError, TypeError) as exc:
            log(f"ignoring an unreadable state file: {exc}")
            self.state_path.unlink(missing_ok=True)
            return
        owner = self.state.owner
        if owner and owner.program.startswith("ctest") and owner.is_ours() and owner.pid != os.getppid():
            self.state = None
            raise SetupError(f"another ctest run (pid {owner.pid}) uses {self.state_dir}; "
                             "wait for it or use another build folder")
        log("stopping what a previous run left behind")
        self.teardown()

    def teardown(self) -> None:
        state = self.state
        if state is None and self.state_path.exists():
            state = self.state = State.load(self.state_path)
        if state is None:
            return
        server = state.wineserver
        if server and server.is_ours():
            env = dict(os.environ, WINEPREFIX=str(self.prefix))
            # -k ends the server and every Wine process of this prefix, and saves the registry.
            subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            if not wait_gone(server.pid, 10):
                kill_pid(server, 2)
        if state.resident:
            kill_pid(state.resident, 2)  # normally gone with the wineserver already
        if state.xvfb:
            kill_pid(state.xvfb)
        self.state_path.unlink(missing_ok=True)
        self.state = None


def main_setup(argv: list[str]) -> int:
    import argparse

    ap = argparse.ArgumentParser(description="Set up or tear down the Wine test environment.")
    ap.add_argument("action", choices=["setup", "teardown"])
    ap.add_argument("--state-dir", required=True)
    ap.add_argument("--win-build", required=True, help="build folder of the programs of the prefix's bitness")
    ap.add_argument("--arch", choices=ARCHES, default="win32", help="WINEARCH of the prefix")
    ap.add_argument("--win32-build", help="win64: the x86 build whose DLL is registered beside the x64 one")
    args = ap.parse_args(argv)
    try:
        env = WineEnv(args.state_dir, args.arch)
        if args.action == "setup":
            if not env.standin(args.win_build).exists():
                log(f"note: {env.standin(args.win_build)} is not built; every script test will fail")
            env.setup(args.win_build, args.win32_build)
        else:
            t0 = time.monotonic()
            env.teardown()
            log(f"stopped in {time.monotonic() - t0:.2f} s")
    except SetupError as exc:
        log(f"FAILED: {exc}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main_setup(sys.argv[1:]))
