#!/usr/bin/env python3
"""Renders the HTML pages (tools/dist.py --html-only), has Debian's chromium take a screenshot of
the reference headless, and checks the picture: a PNG of the size asked for, with the pages'
header bar in its colour across the top and dark text below it, so a blank page, an error
page or a page without its styles fails. The picture stays as <out>/reference.png."""

from __future__ import annotations

import argparse
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).absolute().parents[2]
sys.path.insert(0, str(ROOT / "tools"))

import dist  # noqa: E402

WIDTH, HEIGHT = 1280, 1600
HEADER_RGB = (0x24, 0x42, 0x5E)  # header { background } in dist.CSS


def read_png(data: bytes) -> tuple[int, int, list[bytes], int]:
    """(width, height, rows of pixel bytes, bytes per pixel) of an 8-bit RGB or RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, ihdr = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if not ihdr:
        raise ValueError("no IHDR")
    width, height, depth, colour, _, _, interlace = ihdr
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"unexpected PNG layout: depth {depth}, colour type {colour}, interlace {interlace}")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 0xFF
            elif f == 2:
                line[i] = (line[i] + b) & 0xFF
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
            elif f != 0:
                raise ValueError(f"bad filter {f} in row {y}")
        rows.append(bytes(line))
        prev = line
    return width, height, rows, bpp


def check_picture(data: bytes, width: int, height: int) -> list[str]:
    """What is wrong with the screenshot; empty when it shows the styled page."""
    w, h, rows, bpp = read_png(data)
    if (w, h) != (width, height):
        return [f"size {w}x{h}, expected {width}x{height}"]
    problems = []

    def pixel(x, y):
        return tuple(rows[y][x * bpp:x * bpp + 3])

    header = sum(pixel(x, 5) == HEADER_RGB for x in range(w))
    if header < w * 0.9:
        problems.append(f"header bar colour in {header} of {w} pixels of row 5")
    dark = sum(1 for y in range(60, h, 4) for x in range(0, w, 4) if max(pixel(x, y)) < 0x60)
    if dark < 500:
        problems.append(f"only {dark} sampled dark (text) pixels below the header")
    return problems


def screenshot(page: Path, png: Path, browser: str, timeout: int) -> None:
    """chromium headless, as root needs it, with a fresh profile and no network chatter."""
    with tempfile.TemporaryDirectory(prefix="ombrisk-chromium-") as profile:
        cmd = [browser, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync",
               f"--user-data-dir={profile}", "--hide-scrollbars", f"--window-size={WIDTH},{HEIGHT}",
               f"--screenshot={png}", page.as_uri()]
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            out, _ = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)  # the browser's own process group, started above
            proc.communicate()
            raise SystemExit(f"docs_screenshot: chromium took longer than {timeout} s")
        if proc.returncode != 0 or not png.is_file():
            raise SystemExit(f"docs_screenshot: chromium failed ({proc.returncode}):\n{out.decode(errors='replace')}")


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", type=Path, required=True, help="folder for reference.png and the pages")
    ap.add_argument("--browser", default=shutil.which("chromium") or "/usr/bin/chromium")
    ap.add_argument("--timeout", type=int, default=120)
    args = ap.parse_args(argv)
    pages = args.out / "docs-html"
    pages.mkdir(parents=True, exist_ok=True)
    for name, data in dist.render_docs(dist.version()):
        (pages / name).write_bytes(data)
    png = args.out / "reference.png"
    png.unlink(missing_ok=True)
    screenshot(pages / "reference.html", png, args.browser, args.timeout)
    problems = check_picture(png.read_bytes(), WIDTH, HEIGHT)
    for p in problems:
        print(f"docs_screenshot: {p}")
    print(f"docs_screenshot: {png} {'FAILED' if problems else 'ok'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
