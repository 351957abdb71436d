"""The Windows package as a user meets it, in fresh Wine prefixes.

Builds the zip with tools/dist.py and unzips it into a new 64-bit prefix, into a folder whose
name holds parentheses, "&", "'", ";", "=", ",", "!", "^", spaces and non-ASCII letters: runs
install.cmd for the current user and takes it away again (also as a double-click and as on
Windows on ARM), installs for the machine, runs the guide's first script and an example with
the 32-bit and the 64-bit cscript against the stand-in host, uninstalls, and looks through the
saved registry files for anything left of the library. Then the same for the machine in a new
32-bit prefix, where only the x86 DLL has a script host. In the same prefixes, after the zip is
gone, the Windows Installer packages (tools/msi.py) from that folder: installed and removed per
user and per machine, their registry rows compared with what install.cmd's DllRegisterServer
left, an upgrade, and no file or key left. Prints "ok"/"not ok" lines; exit code 0 only when
every check passed. Standard library only.
"""

from __future__ import annotations

import argparse
import re
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

from wineenv import SetupError, WineEnv, log, winpath

ROOT = Path(__file__).absolute().parent.parent.parent
sys.path.insert(0, str(ROOT / "tools"))
import dist  # noqa: E402
import msi  # noqa: E402

CLSID = "{3890865D-5A76-461F-8868-A39B7E567D7D}"
IID = "{02ACAA0E-1016-4E54-8BEA-F60FD8228362}"
LIBID = "{68B1EFAF-0B02-4020-B374-32A94FBE2741}"
PROGID = "Ombrisk.Helper"
CLASS_KEYS = (rf"CLSID\{CLSID}", rf"Interface\{IID}", rf"TypeLib\{LIBID}", PROGID)
CSCRIPT = {32: r"C:\windows\syswow64\cscript.exe", 64: r"C:\windows\system32\cscript.exe"}
REG_VIEW = {32: "/reg:32", 64: "/reg:64"}


class Checks:
    def __init__(self) -> None:
        self.passed = 0
        self.failed = 0

    def check(self, ok: bool, what: str, detail: str = "") -> bool:
        if ok:
            self.passed += 1
            print(f"ok - {what}")
        else:
            self.failed += 1
            print(f"not ok - {what}" + (f": {detail}" if detail else ""))
        sys.stdout.flush()
        return ok


class Package:
    """The unzipped package inside the prefix and the Wine commands run on it."""

    def __init__(self, env: WineEnv, folder: Path, work: Path) -> None:
        self.env = env
        self.folder = folder
        self.work = work
        self.runs = 0

    def run(self, argv: list[str], timeout: float = 120, bits: int = 64, cwd: Path | None = None,
            environ: dict[str, str] | None = None, encoding: str = "cp1252") -> tuple[int, str]:
        """Runs a Wine program to completion, a bare name (cmd, reg) as the 64-bit or the 32-bit
        program, in cwd (a folder of the prefix) with environ added to its environment;
        (exit code, what it wrote to standard output and standard error, read in encoding)."""
        self.runs += 1
        out_path = self.work / f"run{self.runs:02d}.txt"
        loader = self.env.loader() if bits == 64 and self.env.arch == "win64" else "wine"
        env = self.env.env()
        env.update(environ or {})
        with open(out_path, "wb") as out:
            proc = subprocess.Popen([loader, *argv], env=env, stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=out, cwd=cwd or self.work, start_new_session=True)
            try:
                rc = proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(5)
                rc = -1
        text = out_path.read_bytes().decode(encoding, errors="replace").replace("\r\n", "\n")
        return rc, text

    def cpath(self, path: Path) -> str:
        """The C: form of a path inside the prefix, as a user of the package sees it."""
        return "C:\\" + str(path.relative_to(self.env.prefix / "drive_c")).replace("/", "\\")

    def cmd(self, name: str, *options: str, bits: int = 64, environ: dict[str, str] | None = None) -> tuple[int, str]:
        """Runs a command file of the package with the 64-bit cmd, as Explorer does, or the
        32-bit one, as a button of a 32-bit file manager does. cmd starts in the package's
        folder and is given the file's bare name: the folder's name would not survive the
        command line, since cmd /c takes the quotes off a command with "&" or "(" in it
        (Windows' cmd does the same; a user types the name in that folder, or double-clicks)."""
        return self.run(["cmd", "/c", name, *options], bits=bits, cwd=self.folder, environ=environ)

    def double_click(self, name: str, *options: str) -> tuple[int, str]:
        """Runs a command file as Explorer does: Windows' cmd then reports the command line
        cmd.exe /c ""<file>" <options>" as %cmdcmdline%. Wine's cmd has no such variable, so
        the test gives the process one of that name and value."""
        line = f'""{self.cpath(self.folder / name)}" ' + " ".join(options) + '"'
        return self.cmd(name, *options, environ={"cmdcmdline": rf"C:\windows\system32\cmd.exe /c {line}"})

    def reg_value(self, key: str, bits: int) -> str | None:
        """The default value of key in one registry view, None when the key is missing."""
        # reg writes in the OEM code page (cmd's own commands in the ANSI one).
        rc, out = self.run(["reg", "query", key, "/ve", REG_VIEW[bits]], timeout=60, encoding="cp437")
        if rc != 0:
            return None
        for line in out.splitlines():
            if "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return ""

    def cscript(self, bits: int, script: str, *args: str, folder: Path | None = None) -> tuple[int, str]:
        host = CSCRIPT[bits] if self.env.arch == "win64" else r"C:\windows\system32\cscript.exe"
        return self.run([host, "//nologo", self.cpath((folder or self.folder) / "examples" / script), *args], bits=bits)

    def classes(self, root: str, folder: Path) -> str:
        """Our keys below root\Software\Classes (reg query /s) as each script host's registry view
        shows them, with the installation folder written as <folder>."""
        dump = self.work / "classes.cmd"
        dump.write_text("@echo off\r\nfor %%k in (" + " ".join(f'"{k}"' for k in CLASS_KEYS) + ") do "
                        '(echo ## %%~k& reg query "%1\\Software\\Classes\\%%~k" /s)\r\n', encoding="ascii")
        text = ""
        for bits in (32, 64) if self.env.arch == "win64" else (32,):
            text += f"# {bits}-bit\n" + self.run(["cmd", "/c", winpath(dump), root], bits=bits, encoding="cp437")[1]
        return re.sub(re.escape(self.cpath(folder)), "<folder>", text, flags=re.IGNORECASE)

    def msiexec(self, action: str, package: Path, *properties: str) -> int:
        """msiexec /i or /x of a package in this folder, silent, logged to the work folder."""
        self.runs += 1
        log_file = winpath(self.work / f"msiexec{self.runs:02d}.log")
        # No menu entries on the Linux desktop for the Start-menu shortcut.
        overrides = self.env.env()["WINEDLLOVERRIDES"] + ";winemenubuilder.exe=d"
        return self.run(["msiexec", action, self.cpath(self.folder / package.name), "/qn", "/l*v", log_file,
                         *properties], environ={"WINEDLLOVERRIDES": overrides})[0]


def leftovers(prefix: Path) -> list[str]:
    """Lines of the prefix's saved registry that still name the library (or its package)."""
    needles = [CLSID.lower(), IID.lower(), LIBID.lower(), PROGID.lower(), "ombrisk"]
    found = []
    for reg in sorted(prefix.glob("*.reg")):
        for line in reg.read_text(encoding="utf-8", errors="replace").splitlines():
            low = line.lower()
            if any(n in low for n in needles):
                found.append(f"{reg.name}: {line.strip()}")
    return found


def run(args: argparse.Namespace) -> int:
    state_dir = Path(args.state_dir).absolute()
    checks = Checks()

    zip_path = dist.build(Path(args.win_build), Path(args.win64_build), state_dir / "out")
    with zipfile.ZipFile(zip_path) as zf:
        names = zf.namelist()
    top = names[0].split("/")[0]
    for needed in ("x86/Ombrisk.dll", "x64/Ombrisk.dll", "install.cmd", "uninstall.cmd", "README.txt",
                   "LICENSE.txt", "CHANGELOG.md", "docs/reference.md", "docs/getting-started.md",
                   "docs/index.html", "docs/reference.html", "docs/how-do-i.html", "diagnose.vbs", "diagnose.js"):
        checks.check(f"{top}/{needed}" in names, f"the package holds {needed}")
    checks.check(sum(n.startswith(f"{top}/examples/") for n in names) >= 8, "the package holds the examples")

    x64, x86 = msi.build(Path(args.win_build), Path(args.win64_build), state_dir / "out")
    older = msi.build(Path(args.win_build), Path(args.win64_build), state_dir / "out-older", ("x64",), OLDER)[0]
    for path in (x64, x86):
        check_tables(path, checks)
    on_64bit_windows(state_dir / "win64", zip_path, top, checks, Path(args.win_build), (x64, x86, older))
    on_32bit_windows(state_dir / "win32", zip_path, top, checks, Path(args.win_build), x86)
    print(f"DONE passed={checks.passed} failed={checks.failed}")
    return 0 if checks.failed == 0 and checks.passed > 0 else 1


# Every character Windows allows in a folder name that means something to cmd, except "%":
# Wine's cmd expands a %...% inside the text of %~dp0 again (Windows' does not), so a script can
# never find its own folder there. The scripts' text is checked for "%" by package.cmd_text.
INSTALL_FOLDER = "Ombrisk (1) & Co's ;=,!^ \u00dcn\u00efcode"


class FreshPrefix:
    """A new prefix of the given bitness with the package unzipped into C:\\<INSTALL_FOLDER>;
    on leaving, the environment is stopped (the wineserver saves the registry files then) and
    the saved registry is searched for anything left of the library."""

    def __init__(self, state_dir: Path, arch: str, zip_path: Path, top: str, win_build: Path, checks: Checks,
                 folder: str = INSTALL_FOLDER):
        self.env = WineEnv(state_dir, arch=arch)
        self.zip_path, self.top, self.win_build, self.checks = zip_path, top, win_build, checks
        self.work = state_dir / "work"
        self.folder = folder

    def __enter__(self) -> Package:
        shutil.rmtree(self.env.prefix, ignore_errors=True)
        shutil.rmtree(self.work, ignore_errors=True)
        self.work.mkdir(parents=True)
        self.env.setup(self.win_build, register=False)
        target = self.env.prefix / "drive_c" / self.folder
        with zipfile.ZipFile(self.zip_path) as zf:
            zf.extractall(target)
        return Package(self.env, target / self.top, self.work)

    def __exit__(self, *exc) -> None:
        self.env.teardown()
        left = leftovers(self.env.prefix)
        self.checks.check(not left, f"{self.env.arch}: no registry key or value of the library is left",
                          "; ".join(left[:5]))


def on_64bit_windows(state_dir: Path, zip_path: Path, top: str, checks: Checks, win_build: Path,
                     packages: tuple[Path, Path, Path]) -> None:
    try:
        prefix = FreshPrefix(state_dir, "win64", zip_path, top, win_build, checks)
        with prefix as pkg:
            inproc = rf"HKCU\Software\Classes\CLSID\{CLSID}\InprocServer32"
            machine_inproc = rf"HKLM\Software\Classes\CLSID\{CLSID}\InprocServer32"

            x86_dll = pkg.cpath(pkg.folder / "x86" / "Ombrisk.dll")
            x64_dll = pkg.cpath(pkg.folder / "x64" / "Ombrisk.dll")
            check_version(pkg, checks, (x86_dll, x64_dll))

            # Per user: what install.cmd does without options, from a command prompt.
            rc, out = pkg.cmd("install.cmd")
            checks.check(rc == 0, "install.cmd for the current user succeeds", f"exit {rc}: {out}")
            checks.check(out.splitlines() == [
                f"Registered for 32-bit script hosts, the current user: {x86_dll}",
                f"Registered for 64-bit script hosts, the current user: {x64_dll}",
                READY, ELEVATED_NOTE], "it registers for both script hosts and says so, nothing else", repr(out))
            checks.check(pkg.reg_value(rf"HKCU\Software\Classes\{PROGID}\CLSID", 64) == CLSID,
                         "the ProgID is registered for the user")
            checks.check(bool(pkg.reg_value(inproc, 64)), "the class is registered for the user")
            registered = {"HKCU": pkg.classes("HKCU", pkg.folder)}
            rc, out = pkg.cmd("uninstall.cmd", bits=32)
            checks.check(rc == 0, "uninstall.cmd for the current user succeeds from a 32-bit cmd", f"exit {rc}: {out}")
            checks.check(pkg.reg_value(rf"HKCU\Software\Classes\{PROGID}", 64) is None
                         and pkg.reg_value(inproc, 64) is None and pkg.reg_value(inproc, 32) is None,
                         "the user's registration is gone")

            # A double-click: the same, and the window waits for a key before it closes.
            rc, out = pkg.double_click("install.cmd")
            lines = out.splitlines()
            checks.check(rc == 0 and lines[:4] == [
                f"Registered for 32-bit script hosts, the current user: {x86_dll}",
                f"Registered for 64-bit script hosts, the current user: {x64_dll}",
                READY, ELEVATED_NOTE] and len(lines) == 5 and "any key" in lines[4],
                "install.cmd started by a double-click shows its result and waits for a key", f"exit {rc}: {out!r}")
            rc, out = pkg.double_click("uninstall.cmd", "/bogus")
            checks.check(rc == 2 and "Usage:" in out and "any key" in out.splitlines()[-1],
                         "uninstall.cmd started with a wrong option from a button shows its usage and waits",
                         f"exit {rc}: {out!r}")
            rc, out = pkg.double_click("uninstall.cmd")
            checks.check(rc == 0 and "any key" in out.splitlines()[-1] and pkg.reg_value(inproc, 64) is None,
                         "uninstall.cmd started by a double-click takes the registration away and waits",
                         f"exit {rc}: {out!r}")

            # Windows on ARM, from the 32-bit cmd a 32-bit file manager starts there: the x86 DLL
            # alone, for the emulated 32-bit script hosts.
            arm = {"PROCESSOR_ARCHITEW6432": "ARM64"}
            rc, out = pkg.cmd("install.cmd", bits=32, environ=arm)
            checks.check(rc == 0 and out.splitlines() == [
                f"Registered for 32-bit script hosts, the current user: {x86_dll}", ARM64_NOTE, READY, ELEVATED_NOTE],
                "on Windows on ARM install.cmd registers the x86 DLL alone and says why", f"exit {rc}: {out!r}")
            # Wine keeps one HKCU\Software\Classes\CLSID for both views: what counts is that
            # no x64 registration is there.
            views = [pkg.reg_value(inproc, bits) or "" for bits in (32, 64)]
            checks.check(all(v.lower() == x86_dll.lower() for v in views),
                         "on Windows on ARM the class names the x86 DLL and no x64 one", repr(views))
            rc, out = pkg.cmd("uninstall.cmd", bits=32, environ=arm)
            checks.check(rc == 0 and pkg.reg_value(inproc, 32) is None,
                         "on Windows on ARM uninstall.cmd takes the x86 registration away", f"exit {rc}: {out!r}")

            # A DLL missing, then one regsvr32 cannot load: the messages name the awkward path in
            # full, the other DLL is still registered, and the exit code is 1.
            x64_file = pkg.folder / "x64" / "Ombrisk.dll"
            saved = x64_file.read_bytes()
            try:
                x64_file.unlink()
                rc, out = pkg.cmd("install.cmd")
                checks.check(rc == 1 and out.splitlines() == [
                    f"Registered for 32-bit script hosts, the current user: {x86_dll}", f"Missing file: {x64_dll}", ""],
                    "install.cmd names a missing DLL by its full path and exits with 1", f"exit {rc}: {out!r}")
                x64_file.write_bytes(b"MZ not a DLL")
                rc, out = pkg.cmd("uninstall.cmd")
                checks.check(rc == 1 and out.splitlines()[:2] == [
                    f"Unregistered for 32-bit script hosts, the current user: {x86_dll}",
                    "uninstall for 64-bit script hosts, the current user: failed (regsvr32 exit code 3)"],
                    "uninstall.cmd reports a DLL regsvr32 cannot load and exits with 1", f"exit {rc}: {out!r}")
            finally:
                x64_file.write_bytes(saved)
            checks.check(pkg.reg_value(inproc, 32) is None, "the x86 registration is gone again")

            # For the machine: each script host finds the DLL of its own bitness.
            rc, out = pkg.cmd("install.cmd", "/machine", bits=32)
            checks.check(rc == 0, "install.cmd /machine succeeds from a 32-bit cmd", f"exit {rc}: {out}")
            for bits, folder in ((32, "x86"), (64, "x64")):
                path = pkg.reg_value(machine_inproc, bits) or ""
                checks.check(path.lower() == pkg.cpath(pkg.folder / folder / "Ombrisk.dll").lower(),
                             f"the {bits}-bit view names the {folder} DLL", path)
            registered["HKLM"] = pkg.classes("HKLM", pkg.folder)
            run_examples(pkg, checks, win_build, (32, 64))
            rc, out = pkg.cmd("uninstall.cmd", "/machine")
            checks.check(rc == 0, "uninstall.cmd /machine succeeds", f"exit {rc}: {out}")
            for bits in (32, 64):
                rc, out = pkg.cscript(bits, EXAMPLE)
                checks.check(rc == 2 and "cannot be created" in out,
                             f"after uninstalling, the {bits}-bit script host cannot create the object",
                             f"exit {rc}: {out!r}")
            msi_on_64bit_windows(pkg, checks, win_build, packages, registered)
    except SetupError as exc:
        checks.check(False, "a fresh 64-bit prefix", str(exc))


def on_32bit_windows(state_dir: Path, zip_path: Path, top: str, checks: Checks, win_build: Path,
                     package: Path) -> None:
    """32-bit Windows has one script host of each kind: install.cmd registers the x86 DLL only."""
    try:
        with FreshPrefix(state_dir, "win32", zip_path, top, win_build, checks) as pkg:
            check_version(pkg, checks, (pkg.cpath(pkg.folder / "x86" / "Ombrisk.dll"),))
            rc, out = pkg.cmd("install.cmd", "/machine", bits=32)
            checks.check(rc == 0 and out.splitlines() == [
                rf"Registered for 32-bit script hosts, all users: {pkg.cpath(pkg.folder / 'x86' / 'Ombrisk.dll')}",
                READY], "on 32-bit Windows install.cmd /machine registers the x86 DLL alone", f"exit {rc}: {out!r}")
            machine = pkg.classes("HKLM", pkg.folder)
            run_examples(pkg, checks, win_build, (32,))
            rc, out = pkg.cmd("uninstall.cmd", "/machine", bits=32)
            checks.check(rc == 0, "on 32-bit Windows uninstall.cmd /machine succeeds", f"exit {rc}: {out}")
            msi_on_32bit_windows(pkg, checks, win_build, package, machine)
    except SetupError as exc:
        checks.check(False, "a fresh 32-bit prefix", str(exc))


READY = 'Ombrisk is ready: scripts can call CreateObject("Ombrisk.Helper").'
ELEVATED_NOTE = ('If your file manager runs as administrator, its scripts ignore this registration: '
                 'run "install.cmd /machine" from a command prompt opened as administrator.')
ARM64_NOTE = (r"Windows on ARM: the x64 DLL is left out, as the ARM64 script hosts cannot load it; "
              r"run scripts with %SystemRoot%\SysWOW64\cscript.exe or wscript.exe.")
FILE_VERSION_VBS = 'WScript.Echo CreateObject("Scripting.FileSystemObject").GetFileVersion(WScript.Arguments(0))\r\n'


def check_version(pkg: Package, checks: Checks, dlls: tuple[str, ...]) -> None:
    """The version a script reads from each DLL (the scripting runtime's GetFileVersion, as a
    user's script would) is the one in the package's name, Ombrisk-<version>, and so is the
    changelog's newest entry."""
    version = pkg.folder.name.split("-", 1)[1]
    script = pkg.work / "fileversion.vbs"
    script.write_bytes(FILE_VERSION_VBS.encode("ascii"))
    for dll in dlls:
        rc, out = pkg.run([CSCRIPT[64] if pkg.env.arch == "win64" else "cscript", "//nologo", winpath(script), dll])
        checks.check(rc == 0 and out.strip() == version,
                     f"GetFileVersion of {dll.split(chr(92))[-2]}\\Ombrisk.dll is the package's {version}",
                     f"exit {rc}: {out!r}")
    changelog = (pkg.folder / "CHANGELOG.md").read_text(encoding="utf-8")
    newest = re.search(r"^## (\S+)", changelog, re.MULTILINE)
    checks.check(bool(newest) and newest.group(1) == version, "the changelog's newest entry is the package's version",
                 newest.group(1) if newest else "no entry")
    checks.check("MIT License" in (pkg.folder / "LICENSE.txt").read_text(encoding="utf-8"),
                 "the package holds the MIT license")
# Windows installs per user what msiexec /i installs by default (ALLUSERS=2, MSIINSTALLPERUSER=1,
# which check_tables sees); Wine's msiexec needs ALLUSERS empty for that, also to remove it.
PER_USER, PER_MACHINE = ("ALLUSERS=",), ("ALLUSERS=1",)
WHO = {PER_USER: "for the user", PER_MACHINE: "for the machine", (): "for the machine"}
REFUSED = 1603 % 256  # ERROR_INSTALL_FAILURE as the Linux exit status keeps it
OLDER = "0.0.1"  # the version of the package the test upgrades from


def check_tables(path: Path, checks: Checks) -> None:
    """Per user without elevation by default (word count bit 8); no custom action but property
    settings (type 51) and no self-registration: the registration is the Registry rows."""
    def table(name: str) -> list[list[str]]:
        return [row.split("\t") for row in msi.run(["msiinfo", "export", str(path), name]).splitlines()[3:]]
    props = dict(table("Property"))
    words = int(re.search(r"^Source: (\d+)", msi.run(["msiinfo", "suminfo", str(path)]), re.MULTILINE).group(1))
    checks.check(props["ALLUSERS"] == "2" and props["MSIINSTALLPERUSER"] == "1" and words & 8
                 and all(row[1] == "51" for row in table("CustomAction"))
                 and "SelfReg" not in msi.run(["msiinfo", "tables", str(path)]).split(),
                 f"{path.name} installs per user without elevation and runs nothing of ours", f"{props} {words}")


def files(pkg: Package) -> set[str]:
    """The files and folders of C: (with the installer's cache folder Windows always has)."""
    drive = pkg.env.prefix / "drive_c"
    (drive / "windows" / "Installer").mkdir(exist_ok=True)
    return {p.relative_to(drive).as_posix() for p in drive.rglob("*")}


def msi_installs(pkg: Package, checks: Checks, package: Path, scope: tuple[str, ...], registered: str,
                 before: set[str]) -> Path:
    """msiexec /i: the files, a Start-menu entry of the HTML documentation, and the registry rows
    DllRegisterServer wrote (registered); returns the installation folder."""
    installed, root = pkg.env.prefix / "drive_c" / "Program Files" / "Ombrisk", ("HKLM", "HKCU")[scope == PER_USER]
    rc = pkg.msiexec("/i", package, *scope)
    menu = [pkg.env.prefix / "drive_c" / p for p in files(pkg) - before if p.endswith("/Ombrisk documentation.lnk")]
    checks.check(rc == 0 and (installed / "x86" / "Ombrisk.dll").is_file() and len(menu) == 1
                 and "index.html".encode("utf-16-le") in menu[0].read_bytes(),
                 f"{package.name} installs {WHO[scope]} with a Start-menu entry of the documentation", f"exit {rc}, {menu}")
    now = pkg.classes(root, installed)
    checks.check(now == registered and "InprocServer32" in now, f"{WHO[scope]}, its {root} rows are DllRegisterServer's",
                 f"package:\n{now}\nDllRegisterServer:\n{registered}")
    return installed


def msi_removes(pkg: Package, checks: Checks, package: Path, scope: tuple[str, ...], before: set[str]) -> None:
    """msiexec /x leaves the files as they were before (the registry is searched at the end)."""
    rc, now = pkg.msiexec("/x", package, *scope), files(pkg)
    checks.check(rc == 0 and now == before, f"msiexec /x {package.name} {WHO[scope]} leaves no file",
                 f"exit {rc}, left {sorted(now - before)[:5]}, gone {sorted(before - now)[:5]}")


def msi_on_64bit_windows(pkg: Package, checks: Checks, win_build: Path, packages: tuple[Path, Path, Path],
                         registered: dict[str, str]) -> None:
    """The x86 package refuses; the x64 one per machine over an older one (diagnose then names
    one package), per user."""
    x64, x86, older = (pkg.folder / name for name in (packages[0].name, packages[1].name, "older.msi"))
    for source, target in zip(packages, (x64, x86, older)):
        shutil.copyfile(source, target)
    before = files(pkg)
    rc = pkg.msiexec("/i", x86, *PER_MACHINE)
    checks.check(rc == REFUSED and files(pkg) == before, "the x86 package refuses 64-bit Windows", f"exit {rc}")
    rc = pkg.msiexec("/i", older, *PER_MACHINE)
    checks.check(rc == 0, f"the package of version {OLDER} installs for the machine", f"exit {rc}")
    installed = msi_installs(pkg, checks, x64, PER_MACHINE, registered["HKLM"], before)
    run_examples(pkg, checks, win_build, (32, 64), installed)
    msi_removes(pkg, checks, x64, (), before)
    msi_installs(pkg, checks, x64, PER_USER, registered["HKCU"], before)
    msi_removes(pkg, checks, x64, PER_USER, before)


def msi_on_32bit_windows(pkg: Package, checks: Checks, win_build: Path, package: Path, machine: str) -> None:
    """The x86 package per machine; a registration install.cmd makes for the user meanwhile
    stays when it goes, and a per-user package refuses to take it over; then per user."""
    x86 = pkg.folder / package.name
    shutil.copyfile(package, x86)
    before = files(pkg)
    installed = msi_installs(pkg, checks, x86, PER_MACHINE, machine, before)
    run_examples(pkg, checks, win_build, (32,), installed)
    pkg.cmd("install.cmd", bits=32)
    user = pkg.classes("HKCU", pkg.folder)
    rc, out = pkg.run(["cscript", "//nologo", pkg.cpath(installed / "diagnose.vbs")], bits=32)
    checks.check("HKEY_CURRENT_USER" in user and "not the DLL of the installed package" in out,
                 "diagnose.vbs says that install.cmd's registration for the user comes first", out)
    msi_removes(pkg, checks, x86, (), before)
    rc = pkg.msiexec("/i", x86, *PER_USER)
    checks.check(rc == REFUSED and pkg.classes("HKCU", pkg.folder) == user and files(pkg) == before,
                 "install.cmd's registration stays, and a per-user package refuses to take it over", f"exit {rc}")
    pkg.cmd("uninstall.cmd", bits=32)
    msi_installs(pkg, checks, x86, PER_USER, user, before)
    msi_removes(pkg, checks, x86, PER_USER, before)


EXAMPLE = "show-filters.vbs"
FILTERS_SHOWN = "Left panel:  *.txt   (active)\nRight panel: (no filter)"


def first_scripts(guide: Path) -> dict[str, str]:
    """The code blocks of the guide's section "A first script", by the file names it gives them."""
    text = guide.read_text(encoding="utf-8")
    section = text.split("## A first script", 1)[-1].split("\n## ", 1)[0]
    blocks = re.findall(r"```(vbscript|js)\n(.*?)```", section, re.DOTALL)
    names = {"vbscript": "hello.vbs", "js": "hello.js"}
    return {names[lang]: body for lang, body in blocks}


def run_examples(pkg: Package, checks: Checks, win_build: Path, bitnesses: tuple[int, ...],
                 installed: Path | None = None) -> None:
    """Both script hosts run the filter examples against the stand-in host, each loading the
    DLL of its own bitness (a script host cannot load the other one), and diagnose finds all
    well and the installer package it names. From the zip's folder also the guide's first
    script and both languages; from a package's installed folder one example and one diagnose
    for each host."""
    standin = winpath(win_build / "bin" / "standin.exe")
    config = pkg.work / "host.cfg"
    config.write_text(f"log={winpath(pkg.work / 'host.log')}\n"
                      "path.L=C:\\Left\\\npath.R=D:\\Right\\\n"
                      "pathbar.L=C:\\Left\\*.txt\npathbar.R=D:\\Right\\\n", encoding="utf-8")
    rc, _ = pkg.run([standin, "ctl", "start", winpath(config)], bits=32)
    if not checks.check(rc == 0, "the stand-in host starts", f"ctl start exit {rc}"):
        return
    where = " from the installed package" if installed else ""
    package = f"Ombrisk {msi.product_version(dist.version())} in {pkg.cpath(installed)}\\" if installed else "none"
    try:
        guide_scripts = {} if installed else first_scripts(ROOT / "docs" / "getting-started.md")
        if not installed:
            checks.check(set(guide_scripts) == {"hello.vbs", "hello.js"}, "the guide's first script is there in both languages")
        scripts_dir = pkg.env.prefix / "drive_c" / "Scripts"
        scripts_dir.mkdir(exist_ok=True)
        for name, text in guide_scripts.items():
            (scripts_dir / name).write_bytes(text.replace("\n", "\r\n").encode("cp1252"))
            for bits in bitnesses:
                host = CSCRIPT[bits] if pkg.env.arch == "win64" else "cscript"
                rc, out = pkg.run([host, "//nologo", rf"C:\Scripts\{name}"], bits=bits)
                checks.check(rc == 0 and out.strip() == "Source panel: C:\\Left\\\nTarget panel: D:\\Right\\",
                             f"the guide's {name} under the {bits}-bit cscript prints both panels", f"exit {rc}: {out!r}")
        for bits in bitnesses:
            for script in (EXAMPLE,) if installed else (EXAMPLE, "show-filters.js"):
                rc, out = pkg.cscript(bits, script, folder=installed)
                checks.check(rc == 0 and out.strip() == FILTERS_SHOWN,
                             f"{script}{where} under the {bits}-bit cscript shows both filters", f"exit {rc}: {out!r}")
        # diagnose from the installed folder: registered for this host's bitness, the host answers.
        for bits in bitnesses:
            host = CSCRIPT[bits] if pkg.env.arch == "win64" else "cscript"
            for script in [f"diagnose.{('vbs', 'js')[bits == 64]}"] if installed else ("diagnose.vbs", "diagnose.js"):
                rc, out = pkg.run([host, "//nologo", pkg.cpath((installed or pkg.folder) / script)], bits=bits)
                checks.check(rc == 0 and out.strip().endswith("All is well.") and f"({bits}-bit, " in out
                             and f"\nInstaller package:        {package}\n" in out,
                             f"{script}{where} under the {bits}-bit cscript finds all well and the package: {package}",
                             f"exit {rc}: {out!r}")
    finally:
        pkg.run([standin, "ctl", "stop"], bits=32)


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--state-dir", required=True)
    ap.add_argument("--win-build", required=True)
    ap.add_argument("--win64-build", required=True)
    t0 = time.monotonic()
    rc = run(ap.parse_args(argv))
    log(f"package test {'PASSED' if rc == 0 else 'FAILED'} in {time.monotonic() - t0:.1f} s")
    return rc


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
