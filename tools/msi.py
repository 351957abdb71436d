#!/usr/bin/env python3
"""Builds the Windows Installer packages: <out>/Ombrisk-<version>-x64.msi and -x86.msi.

package/Ombrisk.wxs is the product (DLLs, registration rows, upgrade, properties); the other
files are those of the zip (tools/dist.py) less install.cmd, uninstall.cmd and README.txt, which
belong to the zip's way of installing, listed in a fragment made here. wixl and msibuild come
from Debian's msitools (tools/setup.sh); msibuild corrects what wixl cannot write (FIXUPS).

Windows Installer compares only the first three fields of a version, so a.b.c.d becomes the
package version a.b.(1000c+d): 1.0.0.14 is 1.0.14, and every new VERSION is an upgrade.
"""

from __future__ import annotations

import argparse
import re
import subprocess
import sys
import tempfile
import uuid
from pathlib import Path
from xml.sax.saxutils import quoteattr

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tools"))
import dist  # noqa: E402

ARCHES = ("x64", "x86")
# The zip's own installer and its notes; the package installs and registers itself.
ZIP_ONLY = {"install.cmd", "uninstall.cmd", "README.txt"}
START_PAGE = "docs/index.html"
# What wixl cannot write: the root HKMU (it writes 4, which no installer knows, for -1: the
# installing user's or the machine's key) and a search for a key's default value (it requires
# a name: "(default)" stands for none).
FIXUPS = ("UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4",
          "UPDATE `RegLocator` SET `Name` = '' WHERE `Name` = '(default)'")


def product_version(ver: str) -> str:
    """The package's version for VERSION a.b.c.d: a.b.(1000c+d); refused beyond the fields' range."""
    a, b, c, d = (int(n) for n in ver.split("."))
    if a > 255 or b > 255 or d > 999 or 1000 * c + d > 65535:
        raise SystemExit(f"msi: VERSION {ver} does not fit a package version (a, b <= 255, d <= 999, c <= 64)")
    return f"{a}.{b}.{1000 * c + d}"


def upgrade_code() -> str:
    """The UpgradeCode every version of the packages shares (package/Ombrisk.wxs)."""
    return re.search(r'UpgradeCode="(\{[-0-9A-F]{36}\})"', (ROOT / "package" / "Ombrisk.wxs").read_text()).group(1)


def product_code(pver: str, arch: str) -> str:
    """One ProductCode per package version and architecture: a rebuilt package of an installed
    version is refused (another version of this product is installed) rather than installed
    beside it, as a new ProductCode of the same version would be."""
    return "{" + str(uuid.uuid5(uuid.UUID(upgrade_code()), f"{pver} {arch}")).upper() + "}"


def identities() -> dict[str, str]:
    """CLSID, IID and LIBID in braces and the ProgID, as the interface definition declares them."""
    idl = (ROOT / "server" / "Ombrisk.idl").read_text(encoding="utf-8")
    uuids = dict(re.findall(r"uuid\(([0-9A-Fa-f-]{36})\)[^\]]*\]\s*(?:library|dispinterface|interface|coclass)\s+(\w+)",
                            idl))
    by_name = {name: "{" + uid.upper() + "}" for uid, name in uuids.items()}
    progid = re.search(r'OMBRISK_PROGID L\\"([^\\]+)\\"', idl)
    try:
        return {"LIBID": by_name["Ombrisk"], "IID": by_name["_Helper"], "CLSID": by_name["Helper"],
                "ProgId": progid.group(1)}
    except (KeyError, AttributeError):
        raise SystemExit("msi: server/Ombrisk.idl does not declare the library, _Helper, Helper and the ProgID")


def content_fragment(names: list[str]) -> str:
    """The ComponentGroup "Content": one component per file below INSTALLDIR (the start page's
    File id is StartPage, the Start-menu entry's target)."""
    ids = {"": "INSTALLDIR", "docs": "DOCSDIR", "examples": "EXAMPLESDIR"}
    out = ['<?xml version="1.0" encoding="utf-8"?>', '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>']
    for folder in sorted({name.rpartition("/")[0] for name in names} - {""}):
        out.append(f'<DirectoryRef Id="INSTALLDIR"><Directory Id="{ids[folder]}" Name="{folder}"/></DirectoryRef>')
    for n, name in enumerate(names):
        folder, _, file_name = name.rpartition("/")
        file_id = "StartPage" if name == START_PAGE else f"F{n}"
        out.append(f'<DirectoryRef Id="{ids[folder]}"><Component Id="C{n}" Guid="*"><File Id="{file_id}" '
                   f'Name={quoteattr(file_name)} Source={quoteattr(name)} KeyPath="yes"/></Component></DirectoryRef>')
    refs = "".join(f'<ComponentRef Id="C{n}"/>' for n in range(len(names)))
    out.append(f'<ComponentGroup Id="Content">{refs}</ComponentGroup></Fragment></Wix>')
    return "\n".join(out) + "\n"


def build_one(arch: str, items: list[tuple[str, bytes]], out_dir: Path, ver: str, pver: str, work: Path) -> Path:
    """Stages the files, runs wixl, applies FIXUPS; <out_dir>/Ombrisk-<ver>-<arch>.msi."""
    stage = work / arch
    names = []
    for name, data in items:
        if name in ZIP_ONLY or (arch == "x86" and name.startswith("x64/")):
            continue
        (stage / name).parent.mkdir(parents=True, exist_ok=True)
        (stage / name).write_bytes(data)
        if not name.endswith(".dll"):
            names.append(name)
    fragment = work / f"content-{arch}.wxs"
    fragment.write_text(content_fragment(names), encoding="utf-8")
    target = out_dir / f"Ombrisk-{ver}-{arch}.msi"
    tmp = work / target.name
    defines = {"Version": pver, "Platform": arch, "ProductCode": product_code(pver, arch), **identities()}
    run(["wixl", "-a", arch, "-I", str(ROOT / "package"), "-o", str(tmp), *(a for k, v in defines.items()
         for a in ("-D", f"{k}={v}")), str(ROOT / "package" / "Ombrisk.wxs"), str(fragment)], cwd=stage)
    for query in FIXUPS:
        run(["msibuild", str(tmp), "-q", query])
    rows = run(["msiinfo", "export", str(tmp), "Registry"]).splitlines()[3:]
    if not rows or any(row.split("\t")[1] != "-1" for row in rows):
        raise SystemExit(f"msi: the Registry table of {target.name} has a row of another root than -1")
    out_dir.mkdir(parents=True, exist_ok=True)
    tmp.replace(target)
    return target


def run(argv: list[str], cwd: Path | None = None) -> str:
    try:
        proc = subprocess.run(argv, capture_output=True, text=True, cwd=cwd)
    except FileNotFoundError:
        raise SystemExit(f"msi: {argv[0]} is missing: run tools/setup.sh (msitools, wixl)")
    # wixl warns through GLib on standard error; a failure is its exit code.
    if proc.returncode != 0:
        raise SystemExit(f"msi: {' '.join(argv[:2])} failed:\n{proc.stderr}{proc.stdout}")
    return proc.stdout


def build(win: Path, win64: Path, out_dir: Path, arches: tuple[str, ...] = ARCHES,
          package_version: str | None = None) -> list[Path]:
    """The packages of the given architectures; package_version (a.b.c) replaces the one made
    from VERSION, for a test's older package."""
    ver = dist.version()
    items = dist.contents(win, win64, ver)
    with tempfile.TemporaryDirectory(prefix="ombrisk-msi-") as work:
        return [build_one(arch, items, out_dir, ver, package_version or product_version(ver), Path(work))
                for arch in arches]


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--win", type=Path, default=ROOT / "build" / "win", help="x86 build folder")
    ap.add_argument("--win64", type=Path, default=ROOT / "build" / "win64", help="x64 build folder")
    ap.add_argument("--out", type=Path, default=ROOT / "dist", help="folder of the packages")
    args = ap.parse_args(argv)
    for path in build(args.win, args.win64, args.out):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
