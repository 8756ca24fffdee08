"""The end-to-end test harness: runs the Windows build under Wine on a display of its own.

A test opens a Session, lays out an app folder in it, and lets the driver program (driver/driver.cpp) start
the program and act on it step by step; the driver's observations come back as dicts:

    with harness.Session("bare_dialog", locale="ko_KR.UTF-8") as s:
        app = s.app("app", harness.bare_dialog_exe())
        run = s.drive(app / "bare_dialog.exe", s.folder("elsewhere"),
                      ["wait-dialog", "dump", "screenshot:@bare_dialog", "click:2", "wait-exit"])
        run.check()
        run.one("dump")["caption"], run.one("exit")["code"], run.screenshots["bare_dialog"].png

Where things are (each can be set by the environment, as CTest does):
    RAVELIX_BUILD_DIR   the host build folder: Wine prefixes, screenshots  (default <repo>/build/native)
    RAVELIX_E2E_DIR     the cross build whose binaries run                 (default <repo>/build/<wine arch>)
    RAVELIX_SOURCE_DIR  the repository                                     (default two folders up)

The tests share one Wine prefix, <build>/wineprefix-<arch>, made once (wineboot) and reused; a Session holds
a lock on it, so tests take turns. Every Session gets its own Xvfb display (-displayfd picks a free one) and
its own work folder C:\\e2e\\<name> inside the prefix, and ends every Wine process of the prefix when it is
done. Every wait is bounded; running out of time raises HarnessError with what was seen so far.

A Session can also set up the machine around the program: set_printers (the registry's printers, as Wine's
EnumPrintersA lists them), write_win_ini / read_win_ini, install_rundll_recorder (the recording rundll32.exe
in the place of the system's; rundll_calls reads what it recorded). It undoes all of it when it ends.
profile_with gives a profile file as Wine's profile writes leave it, for expected files.

Run as a program it offers two commands:
    harness.py prefix                        makes the tests' prefix if it is not there yet (CTest e2e.prefix)
    harness.py run --cross-build DIR [...]   starts the program for a person (scripts/run.sh)
"""
from __future__ import annotations

import argparse
import contextlib
import ctypes
import dataclasses
import fcntl
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE_DIR = Path(os.environ.get("RAVELIX_SOURCE_DIR") or HERE.parent.parent).resolve()
WINE_DIR = Path("/usr/lib/wine")

# Changing how the prefix is prepared? Change this too, so that existing prefixes are made anew.
PREFIX_RECIPE = "1: wineboot -i; X11 Driver Managed=N"

ENGLISH = "en_US.UTF-8"
KOREAN = "ko_KR.UTF-8"
# The ANSI code page Wine gives programs in each locale (GetACP), as a Python codec.
ANSI_CODEC = {ENGLISH: "cp1252", KOREAN: "cp949"}


class HarnessError(AssertionError):
    """Something the harness waited for did not happen in time, or a tool it needs failed."""


def log(message: str) -> None:
    print(f"[harness] {message}", file=sys.stderr, flush=True)


# --------------------------------------------------------------------------------------------------------
# Where things are.

def build_dir() -> Path:
    return Path(os.environ.get("RAVELIX_BUILD_DIR") or SOURCE_DIR / "build" / "native").resolve()


def e2e_dir() -> Path:
    return Path(os.environ.get("RAVELIX_E2E_DIR") or SOURCE_DIR / "build" / machine_arch()).resolve()


def driver_exe(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "tests" / "e2e" / "ravelix_driver.exe"


def bare_dialog_exe(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "tests" / "e2e" / "bare_dialog.exe"


def ravelix_exe(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "win32" / "Ravelix.exe"


def standin_setup_dll(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "setupdll" / "SETUP.dll"


def setup_double_dll(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "tests" / "setup_double" / "SETUP.dll"


def rundll_recorder_exe(cross_build: Path | None = None) -> Path:
    return (cross_build or e2e_dir()) / "tests" / "rundll_recorder" / "rundll32.exe"


def screenshot_dir() -> Path:
    return build_dir() / "screenshots"


def machine_arch() -> str:
    """The Windows build Wine runs here: what scripts/wine-arch.sh says."""
    out = subprocess.run([str(SOURCE_DIR / "scripts" / "wine-arch.sh")], capture_output=True, text=True,
                         timeout=30, check=True)
    return out.stdout.strip()


def pe_arch(path: Path) -> str:
    """win32 or win64, from the machine field of a Windows executable's PE header."""
    data = Path(path).read_bytes()[:4096]
    if data[:2] != b"MZ":
        raise HarnessError(f"{path} is not a Windows executable")
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        raise HarnessError(f"{path} has no PE header")
    machine = struct.unpack_from("<H", data, offset + 4)[0]
    arches = {0x14C: "win32", 0x8664: "win64"}
    if machine not in arches:
        raise HarnessError(f"{path} is built for machine 0x{machine:x}, which Wine here does not run")
    return arches[machine]


# --------------------------------------------------------------------------------------------------------
# Running things with a bound.

def _die_with_parent() -> None:
    """In a child before exec: be ended when the Python process that started it goes away."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


def run_bounded(args: list[str], *, env: dict[str, str], timeout: float, what: str,
                cwd: Path | None = None, check: bool = True) -> subprocess.CompletedProcess:
    """Runs a command in a process group of its own; past the timeout the whole group is ended.

    Its output goes through files, not pipes: Wine's server and its helper processes inherit the output
    handles and live on for a while, so waiting for a pipe to close would wait for them too."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                   start_new_session=True)
        timed_out = False
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            with contextlib.suppress(ProcessLookupError, PermissionError):
                os.killpg(process.pid, signal.SIGKILL)
            process.wait(timeout=10)
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, process.returncode, out.read(), err.read())
    if timed_out:
        raise HarnessError(f"{what} did not finish within {timeout:g} s\n"
                           f"stdout: {result.stdout.decode(errors='replace')[-3000:]}\n"
                           f"stderr: {result.stderr.decode(errors='replace')[-2000:]}")
    if check and result.returncode != 0:
        raise HarnessError(f"{what} failed with exit code {result.returncode}\n"
                           f"stderr: {result.stderr.decode(errors='replace')[-2000:]}")
    return result


# --------------------------------------------------------------------------------------------------------
# The display.

class Xvfb:
    """An Xvfb server on a free display, for as long as the object is open."""

    def __init__(self, screen: str = "1024x768x24", timeout: float = 15.0):
        self.screen = screen
        self.timeout = timeout
        self.process: subprocess.Popen | None = None
        self.display = ""

    def __enter__(self) -> "Xvfb":
        if not shutil.which("Xvfb"):
            raise HarnessError("Xvfb is not installed (make deps installs it)")
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp",
                 "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.PIPE, preexec_fn=_die_with_parent)
            os.close(write_end)
            write_end = -1
            number = b""
            deadline = time.monotonic() + self.timeout
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                ready, _, _ = select.select([read_end], [], [], max(left, 0))
                if not ready:
                    raise HarnessError(f"Xvfb did not report its display within {self.timeout:g} s")
                chunk = os.read(read_end, 64)
                if not chunk:
                    err = self.process.stderr.read().decode(errors="replace") if self.process.stderr else ""
                    raise HarnessError(f"Xvfb ended before it reported a display: {err[-1000:]}")
                number += chunk
            self.display = ":" + number.decode().strip()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)
        return self

    def __exit__(self, *exc) -> None:
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=5)
        if self.process and self.process.stderr:
            self.process.stderr.close()
        self.process = None


# --------------------------------------------------------------------------------------------------------
# Wine.

class Wine:
    """Wine of one architecture on one prefix, in one locale, on one display."""

    def __init__(self, prefix: Path, arch: str, *, locale: str = ENGLISH, display: str = ""):
        if arch not in ("win32", "win64"):
            raise HarnessError(f"unknown Windows architecture {arch!r}")
        if arch == "win32" and machine_arch() != "win32":
            raise HarnessError("the binaries are 32-bit, and this machine cannot run 32-bit Windows programs "
                               "(scripts/wine-arch.sh says win64): build and test the win64 build instead")
        self.prefix = Path(prefix)
        self.arch = arch
        self.locale = locale
        self.display = display
        self.loader = WINE_DIR / ("wine" if arch == "win32" else "wine64")
        self.dll_overrides: list[str] = []  # more WINEDLLOVERRIDES entries, e.g. "rundll32.exe=n"
        self.wineserver = WINE_DIR / "wineserver"

    @property
    def env(self) -> dict[str, str]:
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("LC_", "WINE")) and k not in ("LANG", "LANGUAGE", "DISPLAY")}
        env.update({
            "WINEPREFIX": str(self.prefix),
            "WINEARCH": self.arch,
            "WINELOADER": str(self.loader),
            "WINEDEBUG": "-all",
            # No Mono or Gecko installer at prefix creation, no desktop menu entries.
            "WINEDLLOVERRIDES": ";".join(["mscoree,mshtml=", "winemenubuilder.exe=d", *self.dll_overrides]),
            "LANG": self.locale,
            "LC_ALL": self.locale,
        })
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def run(self, args: list[str], *, timeout: float, what: str, check: bool = True,
            cwd: Path | None = None) -> subprocess.CompletedProcess:
        return run_bounded([str(self.loader), *args], env=self.env, timeout=timeout, what=what, check=check,
                           cwd=cwd)

    def stop(self, timeout: float = 20.0) -> None:
        """Ends every Wine process of the prefix and waits, bounded, until its wineserver is gone."""
        if not self.prefix.is_dir():
            return
        run_bounded([str(self.wineserver), "-k"], env=self.env, timeout=timeout, what="wineserver -k",
                    check=False)
        run_bounded([str(self.wineserver), "-w"], env=self.env, timeout=timeout, what="wineserver -w",
                    check=False)

    def ensure_prefix(self, timeout: float = 120.0) -> bool:
        """Makes the prefix if it is missing or was made another way; True when it was made now."""
        marker = self.prefix / ".ravelix-prefix"
        version = run_bounded([str(self.loader), "--version"], env=self.env, timeout=30,
                              what="wine --version").stdout.decode().strip()
        wanted = f"{version}\n{self.arch}\n{PREFIX_RECIPE}\n"
        if marker.is_file() and marker.read_text() == wanted:
            return False
        if self.prefix.exists():
            self.stop()
            shutil.rmtree(self.prefix)
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        start = time.monotonic()
        with Xvfb() as x:
            wine = Wine(self.prefix, self.arch, locale=self.locale, display=x.display)
            wine.run(["wineboot", "-i"], timeout=timeout, what="wineboot -i")
            # Windows are left unmanaged: with no window manager on the display, Wine would otherwise wait
            # two seconds for one each time a window is hidden, and it draws the frames itself.
            wine.run(["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                     timeout=60, what="reg add Managed=N")
            wine.stop()  # the wineserver writes the registry out as it ends
        marker.write_text(wanted)
        log(f"made the Wine prefix {self.prefix} in {time.monotonic() - start:.1f} s")
        return True

    def win_path(self, path: Path) -> str:
        """The Windows path of a file: C:\\... inside the prefix's drive_c, Z:\\... elsewhere."""
        path = Path(path).resolve()
        drive_c = (self.prefix / "drive_c").resolve()
        if path == drive_c or drive_c in path.parents:
            return "C:\\" + "\\".join(path.relative_to(drive_c).parts)
        return "Z:" + str(path).replace("/", "\\")


class PrefixLock:
    """An exclusive lock on a prefix (a file beside it), waited for with a bound."""

    def __init__(self, prefix: Path, timeout: float = 300.0):
        self.path = Path(str(prefix) + ".lock")
        self.timeout = timeout
        self.file = None

    def __enter__(self) -> "PrefixLock":
        self.path.parent.mkdir(parents=True, exist_ok=True)
        self.file = open(self.path, "w")
        deadline = time.monotonic() + self.timeout
        while True:
            try:
                fcntl.flock(self.file, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return self
            except BlockingIOError:
                if time.monotonic() >= deadline:
                    self.file.close()
                    raise HarnessError(f"the Wine prefix stayed in use by another test for {self.timeout:g} s "
                                       f"({self.path})")
                time.sleep(0.2)

    def __exit__(self, *exc) -> None:
        if self.file:
            fcntl.flock(self.file, fcntl.LOCK_UN)
            self.file.close()
            self.file = None


def e2e_prefix(arch: str) -> Path:
    return build_dir() / f"wineprefix-{arch}"


# --------------------------------------------------------------------------------------------------------
# The driver's observations.

@dataclasses.dataclass
class Screenshot:
    bmp: Path
    png: Path


@dataclasses.dataclass
class DriverRun:
    steps: list[str]
    returncode: int
    events: list[dict]
    stdout: str
    stderr: str
    screenshots: dict[str, Screenshot]

    def of(self, event: str) -> list[dict]:
        return [e for e in self.events if e.get("event") == event]

    def one(self, event: str) -> dict:
        found = self.of(event)
        if len(found) != 1:
            raise HarnessError(f"expected one {event!r} event, found {len(found)}\n{self.describe()}")
        return found[0]

    @property
    def failure(self) -> dict | None:
        found = self.of("fail")
        return found[0] if found else None

    def check(self) -> "DriverRun":
        """Raises HarnessError unless every step was carried out."""
        if self.returncode != 0 or self.failure:
            raise HarnessError("the driver did not get through its steps\n" + self.describe())
        return self

    def describe(self) -> str:
        return (f"steps: {self.steps}\nexit code: {self.returncode}\noutput:\n{self.stdout[-6000:]}"
                f"\nstderr:\n{self.stderr[-2000:]}")


def parse_events(stdout: str) -> list[dict]:
    events = []
    for line in stdout.splitlines():
        line = line.strip()
        if line.startswith("{"):
            try:
                events.append(json.loads(line))
            except json.JSONDecodeError:
                pass
    return events


def bmp_pixels(path: Path) -> tuple[int, int, set[tuple[int, int, int]]]:
    """Width, height and the set of colours of a 24-bit .bmp as the driver writes it."""
    data = Path(path).read_bytes()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise HarnessError(f"{path} is a {bits}-bit picture, not 24-bit")
    height = abs(height)
    stride = (width * 3 + 3) // 4 * 4
    colours = set()
    for y in range(height):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        colours.update(zip(row[2::3], row[1::3], row[0::3]))
    return width, height, colours


def png_size(path: Path) -> tuple[int, int]:
    data = Path(path).read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise HarnessError(f"{path} is not a PNG file")
    return struct.unpack(">II", data[16:24])


def to_png(bmp: Path, png: Path) -> Path:
    png.parent.mkdir(parents=True, exist_ok=True)
    run_bounded(["convert", str(bmp), str(png)], env=dict(os.environ), timeout=60,
                what=f"convert {bmp.name}")
    return png


def profile_with(content: bytes, section: str, key: str, value: str | None) -> bytes:
    """What WriteProfileStringA / WritePrivateProfileStringA under Wine make of a profile file that is already
    in the form Wine writes one back: every line "[section]", "name=value", "name" or ";comment", each ending
    in CRLF, no blank lines, no spaces around "=" (Wine drops those when it rewrites a file).

    The key's line gets the new value in place (keeping the key's spelling) or is removed (value None); a
    new key goes at the end of its section, a new section at the end of the file. Section and key names
    compare without regard to ASCII case. Bytes other than the changed line are left as they are."""
    if content and not content.endswith(b"\r\n"):
        raise HarnessError("profile_with needs a file whose every line ends in CRLF")
    lines = content.split(b"\r\n")[:-1] if content else []
    wanted_section, wanted_key = section.encode().lower(), key.encode().lower()
    start = end = None
    for i, line in enumerate(lines):
        if line.startswith(b"[") and b"]" in line:
            if start is not None:
                end = i
                break
            if line[1:line.index(b"]")].strip().lower() == wanted_section:
                start = i
    if start is None:
        if value is not None:
            lines += [b"[" + section.encode() + b"]", key.encode() + b"=" + value.encode()]
    else:
        end = len(lines) if end is None else end
        found = next((i for i in range(start + 1, end)
                      if not lines[i].startswith(b";")
                      and lines[i].split(b"=", 1)[0].strip().lower() == wanted_key), None)
        if found is None:
            if value is not None:
                lines.insert(end, key.encode() + b"=" + value.encode())
        elif value is None:
            del lines[found]
        else:
            lines[found] = lines[found].split(b"=", 1)[0] + b"=" + value.encode()
    return b"".join(line + b"\r\n" for line in lines)


# --------------------------------------------------------------------------------------------------------
# One test's session.

class Session:
    """One test's Wine session: the shared prefix (locked), its own display and work folder."""

    def __init__(self, name: str, *, locale: str = ENGLISH, arch: str | None = None,
                 cross_build: Path | None = None, prefix: Path | None = None):
        if not re.fullmatch(r"[A-Za-z0-9_.-]+", name):
            raise HarnessError(f"a session name is letters, digits, '_', '.' and '-': {name!r}")
        self.name = name
        self.locale = locale
        self.cross_build = Path(cross_build).resolve() if cross_build else e2e_dir()
        self.driver = driver_exe(self.cross_build)
        if not self.driver.is_file():
            raise HarnessError(f"the driver is not built: {self.driver} (build the cross build first)")
        self.arch = arch or pe_arch(self.driver)
        self.prefix = Path(prefix) if prefix else e2e_prefix(self.arch)
        self.lock = PrefixLock(self.prefix)
        self.xvfb = Xvfb()
        self.wine: Wine | None = None
        self.workdir = self.prefix / "drive_c" / "e2e" / name
        self._driver_copy = self.workdir / "driver" / self.driver.name

    def __enter__(self) -> "Session":
        self.lock.__enter__()
        try:
            Wine(self.prefix, self.arch, locale=self.locale).ensure_prefix()
            self.xvfb.__enter__()
            self.wine = Wine(self.prefix, self.arch, locale=self.locale, display=self.xvfb.display)
            self.wine.stop()  # whatever an earlier, interrupted test left running
            self._restore_prefix()  # what an earlier, interrupted test left changed
            if self.workdir.exists():
                shutil.rmtree(self.workdir)
            self._driver_copy.parent.mkdir(parents=True)
            shutil.copy2(self.driver, self._driver_copy)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc) -> None:
        try:
            if self.wine:
                try:
                    self._restore_prefix()
                finally:
                    self.wine.stop()
        finally:
            self.xvfb.__exit__(None, None, None)
            self.lock.__exit__(None, None, None)

    def win(self, path: Path) -> str:
        assert self.wine, "the session is not open"
        return self.wine.win_path(path)

    def folder(self, relative: str) -> Path:
        """A folder inside the session's work folder (made if missing)."""
        path = self.workdir / relative
        path.mkdir(parents=True, exist_ok=True)
        return path

    @property
    def ansi(self) -> str:
        """The Python codec of the programs' ANSI code page in this session's locale."""
        return ANSI_CODEC.get(self.locale, "cp1252")

    def app(self, relative: str, exe: Path, setup_dll: Path | None = None,
            fixtures: dict[str, str | bytes | Path] | None = None) -> Path:
        """An app folder: the exe, the chosen SETUP.dll beside it, and files for setup-double\\.

        A fixture given as str is written in the session's ANSI code page, as a Windows program would
        have written it; bytes and files are copied as they are."""
        folder = self.folder(relative)
        if not Path(exe).is_file():
            raise HarnessError(f"not built: {exe}")
        shutil.copy2(exe, folder / Path(exe).name)
        if setup_dll is not None:
            if not Path(setup_dll).is_file():
                raise HarnessError(f"not built: {setup_dll}")
            shutil.copy2(setup_dll, folder / "SETUP.dll")
        for name, content in (fixtures or {}).items():
            target = folder / "setup-double" / name
            target.parent.mkdir(parents=True, exist_ok=True)
            if isinstance(content, Path):
                shutil.copy2(content, target)
            elif isinstance(content, bytes):
                target.write_bytes(content)
            else:
                target.write_bytes(content.encode(self.ansi))
        return folder

    def calls(self, app: Path) -> list[list[str]]:
        """The calls the SETUP.dll test double logged in app\\setup-double\\calls.log, split at '|'."""
        log_file = Path(app) / "setup-double" / "calls.log"
        if not log_file.is_file():
            return []
        text = log_file.read_bytes().decode(self.ansi, errors="replace")
        return [line.split("|", 3) for line in text.splitlines() if line]

    def drive(self, exe: Path, cwd: Path, steps: list[str], *, timeout_ms: int = 5000,
              args: str | None = None, limit: float | None = None) -> DriverRun:
        """Starts exe in cwd under the driver and carries out the steps.

        A step "screenshot:@NAME" saves NAME.bmp in the work folder and <build>/screenshots/NAME.png.
        limit bounds the whole run in seconds (by default from the steps' bounds); past it the driver
        and every Wine process of the prefix are ended and HarnessError is raised."""
        assert self.wine, "the session is not open"
        shots: dict[str, Screenshot] = {}
        expanded = []
        for step in steps:
            if step.startswith("screenshot:@"):
                name = step[len("screenshot:@"):]
                shots[name] = Screenshot(self.workdir / f"{name}.bmp", screenshot_dir() / f"{name}.png")
                step = "screenshot:" + self.win(shots[name].bmp)
            expanded.append(step)
        command = [str(self._driver_copy), "--timeout", str(timeout_ms)]
        if args is not None:
            command += ["--args", args]
        command += [self.win(exe), self.win(cwd), *expanded]
        if limit is None:
            limit = 20 + len(steps) * (timeout_ms / 1000 + 2)
        try:
            result = self.wine.run(command, timeout=limit, what="the driver", check=False)
        except HarnessError:
            self.wine.stop()
            raise
        stdout = result.stdout.decode("utf-8", errors="replace")
        run = DriverRun(steps, result.returncode, parse_events(stdout), stdout,
                        result.stderr.decode("utf-8", errors="replace"), {})
        for name, shot in shots.items():
            if shot.bmp.is_file():
                to_png(shot.bmp, shot.png)
                run.screenshots[name] = shot
        return run

    # ----------------------------------------------------------------------------------------------------
    # The machine around the program: printers, win.ini, the system's rundll32.exe. Every change is undone
    # when the session ends (or, after an interrupted run, when the next session starts); the originals are
    # kept in <prefix>/ravelix-e2e-saved, outside the Windows drive.

    PRINTERS_KEY = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers"
    RUNDLL_LOG = "rundll32-calls.log"  # what the recorder writes, in C:\

    @property
    def _saved(self) -> Path:
        return self.prefix / "ravelix-e2e-saved"

    @property
    def win_ini(self) -> Path:
        return self.prefix / "drive_c" / "windows" / "win.ini"

    @property
    def system_rundll32(self) -> Path:
        return self.prefix / "drive_c" / "windows" / "system32" / "rundll32.exe"

    def _save_original(self, path: Path) -> None:
        """Keeps a copy of a file of the prefix, once, before the session first changes it."""
        self._saved.mkdir(exist_ok=True)
        kept = self._saved / path.name
        if not kept.exists() and not (self._saved / (path.name + ".absent")).exists():
            if path.exists():
                shutil.copy2(path, kept)
            else:
                (self._saved / (path.name + ".absent")).touch()

    def _restore_prefix(self) -> None:
        saved = self._saved
        if not saved.is_dir():
            return
        if (saved / "printers").exists():
            self.set_printers([])
        for target in (self.win_ini, self.system_rundll32):
            if (saved / target.name).exists():
                shutil.copy2(saved / target.name, target)
            elif (saved / (target.name + ".absent")).exists():
                target.unlink(missing_ok=True)
        if self.wine and "rundll32.exe=n" in self.wine.dll_overrides:
            self.wine.dll_overrides.remove("rundll32.exe=n")
        shutil.rmtree(saved)

    def set_printers(self, printers: list[tuple[str, str]]) -> None:
        """Makes these (name, port) the machine's only printers, as Wine's EnumPrintersA lists them.

        Each goes under PRINTERS_KEY\\<name> with the values Name, Port and Printer Driver; a name too long
        for a registry key (over 255 characters) gets a key of its first 200, and keeps its whole Name.
        Wine lists the keys sorted by name, whatever the order given here."""
        assert self.wine, "the session is not open"
        lines = ["Windows Registry Editor Version 5.00", "", f"[-{self.PRINTERS_KEY}]", "",
                 f"[{self.PRINTERS_KEY}]", ""]

        def quoted(text: str) -> str:
            return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'

        for name, port in printers:
            if "\\" in name or "\n" in name:
                raise HarnessError(f"a printer name cannot hold a backslash or a line feed: {name!r}")
            key = name if len(name) <= 255 else name[:200]
            lines += [f"[{self.PRINTERS_KEY}\\{key}]", f'"Name"={quoted(name)}', f'"Port"={quoted(port)}',
                      f'"Printer Driver"={quoted("Generic / Text Only")}', ""]
        if printers:
            self._saved.mkdir(exist_ok=True)
            (self._saved / "printers").touch()
        reg = self.workdir / "printers.reg"
        reg.parent.mkdir(parents=True, exist_ok=True)
        reg.write_bytes("\r\n".join(lines).encode("utf-16"))  # with its byte order mark
        self.wine.run(["regedit", "/s", self.win(reg)], timeout=60, what="regedit (printers)")
        reg.unlink()

    def write_win_ini(self, content: bytes) -> None:
        """Replaces C:\\windows\\win.ini (the original comes back at the end of the session)."""
        self._save_original(self.win_ini)
        self.win_ini.write_bytes(content)

    def read_win_ini(self) -> bytes:
        return self.win_ini.read_bytes()

    def install_rundll_recorder(self) -> None:
        """Puts the recording rundll32.exe in the place of the system's and has Wine run that file rather
        than its own builtin (WINEDLLOVERRIDES rundll32.exe=n) from now on in this session; empties its
        log. The prefix must exist first: making it runs the real rundll32."""
        assert self.wine, "the session is not open"
        recorder = rundll_recorder_exe(self.cross_build)
        if not recorder.is_file():
            raise HarnessError(f"not built: {recorder}")
        self._save_original(self.system_rundll32)
        shutil.copy2(recorder, self.system_rundll32)
        if "rundll32.exe=n" not in self.wine.dll_overrides:
            self.wine.dll_overrides.append("rundll32.exe=n")
        self.clear_rundll_calls()

    def clear_rundll_calls(self) -> None:
        (self.prefix / "drive_c" / self.RUNDLL_LOG).unlink(missing_ok=True)

    def rundll_calls(self) -> list[tuple[str, str]]:
        """(full path of the rundll32.exe that ran, its command line), in the order they ran, decoded in the
        session's ANSI code page."""
        log_file = self.prefix / "drive_c" / self.RUNDLL_LOG
        if not log_file.is_file():
            return []
        text = log_file.read_bytes().decode(self.ansi, errors="replace")
        return [tuple(line.split("|", 1)) for line in text.split("\r\n") if line]


# --------------------------------------------------------------------------------------------------------
# The dialog templates, as the resource script has them.

_CONTROL_CLASSES = {"DEFPUSHBUTTON": "Button", "PUSHBUTTON": "Button", "CHECKBOX": "Button",
                    "AUTOCHECKBOX": "Button", "GROUPBOX": "Button", "LTEXT": "Static", "RTEXT": "Static",
                    "CTEXT": "Static", "ICON": "Static", "COMBOBOX": "ComboBox", "EDITTEXT": "Edit",
                    "LISTBOX": "ListBox"}
_TEXTLESS = {"COMBOBOX", "EDITTEXT", "LISTBOX"}
_STANDARD_IDS = {"IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5, "IDYES": 6, "IDNO": 7}


def resource_ids() -> dict[str, int]:
    ids = dict(_STANDARD_IDS)
    for line in (SOURCE_DIR / "resources" / "resource.h").read_text().splitlines():
        m = re.match(r"\s*#define\s+(\w+)\s+((?:0x)?[0-9A-Fa-f]+)\b", line)
        if m:
            ids[m.group(1)] = int(m.group(2), 0)
    return ids


def _rc_tokens(text: str) -> list[str]:
    return [t for t in re.findall(r'"(?:[^"]|"")*"|[^\s,]+', text)]


def _rc_string(token: str) -> str:
    return token[1:-1].replace('""', '"')


def dialog_template(name: str) -> dict:
    """Caption, styles and controls (id, class, text) of a dialog in resources/dialogs.rc."""
    ids = resource_ids()
    lines = (SOURCE_DIR / "resources" / "dialogs.rc").read_text().splitlines()
    start = next((i for i, l in enumerate(lines) if re.match(rf"\s*{re.escape(name)}\s+DIALOGEX?\b", l)), None)
    if start is None:
        raise HarnessError(f"no dialog {name} in resources/dialogs.rc")
    template = {"name": name, "id": ids.get(name), "caption": "", "style": "", "exstyle": "", "controls": []}
    inside = False
    for line in lines[start + 1:]:
        stripped = line.strip()
        if not inside:
            head, _, rest = stripped.partition(" ")
            if head == "CAPTION":
                template["caption"] = _rc_string(rest.strip())
            elif head in ("STYLE", "EXSTYLE"):
                template[head.lower()] = rest.strip()
            elif head == "BEGIN":
                inside = True
            continue
        if stripped == "END":
            break
        tokens = _rc_tokens(stripped)
        if not tokens or tokens[0] not in _CONTROL_CLASSES:
            continue
        kind = tokens[0]
        text = "" if kind in _TEXTLESS else _rc_string(tokens[1]) if tokens[1].startswith('"') else tokens[1]
        id_token = tokens[1] if kind in _TEXTLESS else tokens[2]
        control_id = ids[id_token] if id_token in ids else int(id_token, 0)
        template["controls"].append({"kind": kind, "class": _CONTROL_CLASSES[kind], "id": control_id,
                                     "text": text})
    return template


# --------------------------------------------------------------------------------------------------------
# Command line.

def _command_prefix(_: argparse.Namespace) -> int:
    arch = pe_arch(driver_exe())
    prefix = e2e_prefix(arch)
    with PrefixLock(prefix):
        made = Wine(prefix, arch).ensure_prefix()
    print(f"Wine prefix {'made' if made else 'ready'}: {prefix}")
    return 0


def _command_run(options: argparse.Namespace) -> int:
    """Starts the program for a person: on their display, or headless with a screenshot."""
    cross = Path(options.cross_build).resolve()
    exe = Path(options.exe or ravelix_exe(cross)).resolve()
    setup = options.setup_dll if options.setup_dll is not None else str(standin_setup_dll(cross))
    if not exe.is_file():
        raise HarnessError(f"not built: {exe}")
    if setup and not Path(setup).is_file():
        raise HarnessError(f"not built: {setup} (set RAVELIX_RUN_SETUP_DLL= to run without it)")
    arch = pe_arch(exe)
    prefix = cross.parent / f"run-prefix-{arch}"
    display = "" if options.headless else os.environ.get("DISPLAY", "")
    with PrefixLock(prefix):
        Wine(prefix, arch, locale=options.locale).ensure_prefix()
        app = prefix / "drive_c" / "Ravelix"
        app.mkdir(parents=True, exist_ok=True)
        shutil.copy2(exe, app / exe.name)
        if setup:
            shutil.copy2(setup, app / "SETUP.dll")
        if display:
            # On a person's own display the window manager frames and moves the windows.
            wine = Wine(prefix, arch, locale=options.locale, display=display)
            wine.run(["reg", "delete", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/f"], timeout=60,
                     what="reg delete Managed", check=False)
            print(f"Starting {exe.name} on {display} (close its window to end)", flush=True)
            return subprocess.run([str(wine.loader), str(app / exe.name)], env=wine.env, cwd=app).returncode
        driver = driver_exe(cross)
        if not driver.is_file():
            raise HarnessError(f"the driver is not built: {driver}")
        shutil.copy2(driver, app / driver.name)
        with Xvfb() as x:
            wine = Wine(prefix, arch, locale=options.locale, display=x.display)
            try:
                wine.run(["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                         timeout=60, what="reg add Managed=N")
                shot = Screenshot(app / "run.bmp", cross.parent / "screenshots" / f"run-{arch}.png")
                steps = ["wait-dialog", "dump", "screenshot:" + wine.win_path(shot.bmp), "click:2", "wait-exit"]
                result = wine.run([str(app / driver.name), "--timeout", "10000", wine.win_path(app / exe.name),
                                   wine.win_path(app), *steps], timeout=90, what="the driver", check=False)
            finally:
                wine.stop()
        stdout = result.stdout.decode("utf-8", errors="replace")
        for event in parse_events(stdout):
            if event.get("event") == "dump":
                texts = ", ".join(f"{c['id']}:{c['text']!r}" for c in event["controls"])
                print(f"Dialog {event['caption']!r}: {texts}")
            elif event.get("event") == "fail":
                print(f"FAILED at {event['step']!r}: {event['reason']}", file=sys.stderr)
            elif event.get("event") == "exit":
                print(f"{exe.name} ended with exit code {event['code']} after Exit was pressed")
        if shot.bmp.is_file():
            to_png(shot.bmp, shot.png)
            print(f"Screenshot: {shot.png}")
        return result.returncode


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("prefix", help="make the end-to-end tests' Wine prefix if it is not there yet")
    run = commands.add_parser("run", help="start the program under Wine (scripts/run.sh)")
    run.add_argument("--cross-build", required=True, help="the cross build folder, e.g. build/win64")
    run.add_argument("--exe", help="the program to start (default <cross build>/win32/Ravelix.exe)")
    run.add_argument("--setup-dll", help="SETUP.dll to put beside it (default the stand-in; empty: none)")
    run.add_argument("--locale", default=ENGLISH)
    run.add_argument("--headless", action="store_true", help="use an Xvfb display even when DISPLAY is set")
    options = parser.parse_args(argv)
    try:
        return {"prefix": _command_prefix, "run": _command_run}[options.command](options)
    except HarnessError as error:
        print(f"harness: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
