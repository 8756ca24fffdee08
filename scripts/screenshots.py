#!/usr/bin/env python3
"""The README pictures: docs/screenshot-en.png and docs/screenshot-ko.png, taken from the real program under
Wine on an Xvfb display, in English (en_US.UTF-8) and Korean (ko_KR.UTF-8).

The program runs with the scripted SETUP.dll of the end-to-end tests, set up so that the dialog shows a
plausible machine: the virtual port on COM5, COM1 and COM3 taken by other ports. The window is Wine's own,
frame and caption drawn by Wine (the prefix leaves windows unmanaged, as the tests' prefix does). The
driver saves the window's screen area; the picture gets a small transparent margin with a soft shadow.

The prefix is <build>/screenshots/wineprefix-<arch>, beside the cross build folder.

    scripts/screenshots.py --cross-build build/win64 [--out docs]
"""
from __future__ import annotations

import argparse
import os
import shutil
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

# The setup library's answers: the virtual port is COM5, COM1 and COM3 belong to other ports.
FIXTURES = {
    "list.txt": "       CNCA0 PortName=COM5\r\n",
    "busynames.txt": "COM1\r\nCOM3\r\nCOM5\r\n",
}
PICTURES = {"en": harness.ENGLISH, "ko": harness.KOREAN}
MARGIN = 14  # pixels around the window, for the shadow
# Wine draws the caption buttons with glyphs of its Marlett font. This Wine does not pick the font up from its
# data folder, so the close button would show a plain "r"; a copy in the prefix's Fonts folder is found. Only
# this one: Wine's "MS Sans Serif" there would replace the Korean-capable font the dialog text falls back to.
WINE_FONTS = [Path("/usr/share/wine/fonts/marlett.ttf")]


def frame(bmp: Path, png: Path) -> None:
    """The window's picture on a transparent margin, with a soft shadow below it."""
    png.parent.mkdir(parents=True, exist_ok=True)
    width, height, _ = harness.bmp_pixels(bmp)
    harness.run_bounded(
        ["convert", str(bmp), "-alpha", "set", "-bordercolor", "none", "-border", str(MARGIN),
         "(", "+clone", "-background", "black", "-shadow", "35x5+0+3", ")",
         "+swap", "-background", "none", "-layers", "merge", "+repage",
         "-gravity", "center", "-extent", f"{width + 2 * MARGIN}x{height + 2 * MARGIN}",
         "-strip", "-define", "png:exclude-chunks=date,time", f"PNG32:{png}"],
        env=dict(os.environ), timeout=60, what=f"convert {bmp.name}")


def take(cross: Path, prefix: Path, tag: str, locale: str, out: Path, timeout_ms: int) -> dict:
    exe = harness.ravelix_exe(cross)
    with harness.Session(f"screenshot-{tag}", locale=locale, cross_build=cross, prefix=prefix) as s:
        fonts = s.wine.prefix / "drive_c" / "windows" / "Fonts"
        for font in WINE_FONTS:
            if font.is_file() and not (fonts / font.name).is_file():
                fonts.mkdir(parents=True, exist_ok=True)
                shutil.copy2(font, fonts / font.name)
            elif not font.is_file():
                harness.log(f"{font} is missing: the caption buttons will lack their glyphs")
        app = s.app("app", exe, harness.setup_double_dll(cross), FIXTURES)
        run = s.drive(app / exe.name, app, ["wait-dialog", "wait-idle", "dump", f"screenshot:@readme-{tag}",
                                             "click:2", "wait-exit"], timeout_ms=timeout_ms).check()
        dump = run.one("dump")
        ports = next((c for c in dump["controls"] if c["class"].lower() == "combobox"), None)
        if not ports or ports["sel"] != 4 or len(ports["items"]) != 255:
            raise harness.HarnessError(f"the dialog does not show COM5 as the port: {ports}\n{run.describe()}")
        shot = run.screenshots.get(f"readme-{tag}")
        if not shot:
            raise harness.HarnessError(f"no screenshot was saved\n{run.describe()}")
        target = out / f"screenshot-{tag}.png"
        frame(shot.bmp, target)
        return {"file": target, "caption": dump["caption"], "size": (shot and harness.png_size(target)),
                "texts": [c["text"] for c in dump["controls"] if c["text"]],
                "port": ports["items"][ports["sel"]]}


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cross-build", required=True, help="the build that runs under Wine, e.g. build/win64")
    parser.add_argument("--out", default=str(ROOT / "docs"), help="where the pictures go (default docs/)")
    parser.add_argument("--timeout", type=int, default=15000, help="ms each driver wait may take")
    options = parser.parse_args(argv)
    cross = Path(options.cross_build).resolve()
    for path in (harness.ravelix_exe(cross), harness.setup_double_dll(cross), harness.driver_exe(cross)):
        if not path.is_file():
            raise harness.HarnessError(f"not built: {path}")
    arch = harness.pe_arch(harness.ravelix_exe(cross))
    prefix = cross.parent / "screenshots" / f"wineprefix-{arch}"
    for tag, locale in PICTURES.items():
        got = take(cross, prefix, tag, locale, Path(options.out).resolve(), options.timeout)
        width, height = got["size"]
        print(f"{got['file']}: {width}x{height}, {locale}, caption {got['caption']!r}, port {got['port']!r}, "
              f"texts {got['texts']}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except harness.HarnessError as error:
        print(f"screenshots: {error}", file=sys.stderr)
        sys.exit(1)
