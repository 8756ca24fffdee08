#!/usr/bin/env python3
"""Start-up figures of Ravelix under Wine, against the bare dialog (the same dialog template and nothing
else), in one run on one Xvfb display and one Wine prefix of their own (<build>/bench/wineprefix-<arch>).

For each program, runs interleaved (bare, Ravelix, bare, Ravelix, ...) after a few warm-up runs, the end-to-end
driver starts it and carries out: wait-dialog:<caption>, wait-idle, memory, click:IDCANCEL, wait-exit.
  ready      the driver's t (ms since the driver called CreateProcess) at which the dialog was visible,
             answered messages and the process waited for input (WaitForInputIdle): the "idle" event
  visible    the t of the "dialog" event alone
  peak WS    PeakWorkingSetSize of the still-running program (the driver's "memory" step)
Ravelix runs with the stand-in SETUP.dll beside it. The sizes are those of the shipped 32-bit build and of
the build that ran here.

Prints a markdown table and writes it, with the date and the machine, to <build>/bench/figures.md.

    scripts/bench.py --cross-build build/win64 --win32-build build/win32 [--runs 9] [--warmup 2] [--poll 2]
"""
from __future__ import annotations

import argparse
import datetime
import os
import platform
import statistics
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

GOAL = 1.15  # Ravelix's start-up, at most this many times the bare dialog's


def drive(session: harness.Session, exe: Path, cwd: Path, steps: list[str], *, timeout_ms: int,
          poll_ms: int) -> harness.DriverRun:
    """Session.drive with the driver's --poll option: the start-up figures look for the dialog more often
    than the tests do. Bounded like Session.drive; a run that did not get through its steps raises."""
    assert session.wine, "the session is not open"
    command = [str(session._driver_copy), "--timeout", str(timeout_ms), "--poll", str(poll_ms),
               session.win(exe), session.win(cwd), *steps]
    limit = 20 + len(steps) * (timeout_ms / 1000 + 2)
    try:
        result = session.wine.run(command, timeout=limit, what="the driver", check=False)
    except harness.HarnessError:
        session.wine.stop()
        raise
    stdout = result.stdout.decode("utf-8", errors="replace")
    run = harness.DriverRun(steps, result.returncode, harness.parse_events(stdout), stdout,
                            result.stderr.decode("utf-8", errors="replace"), {})
    return run.check()


def machine(wine: harness.Wine) -> dict[str, str]:
    cpu = "unknown"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    uname = platform.uname()
    version = harness.run_bounded([str(wine.loader), "--version"], env=wine.env, timeout=30,
                                  what="wine --version").stdout.decode().strip()
    load = os.getloadavg()[0]
    return {"uname": f"{uname.system} {uname.release} {uname.machine}", "cpu": f"{cpu} ({os.cpu_count()} cores)",
            "wine": version, "arch": wine.arch, "load": f"{load:.2f}"}


def size_text(path: Path) -> str:
    return f"{path.stat().st_size:,} B" if path.is_file() else "not built"


def mib(n: float) -> str:
    return f"{n / 1048576:.1f} MiB"


def figures(runs: list[harness.DriverRun]) -> dict[str, float]:
    ready = [r.one("idle")["t"] for r in runs]
    visible = [r.one("dialog")["t"] for r in runs]
    peak = [r.one("memory")["peak_working_set"] for r in runs]
    private = [r.one("memory")["peak_pagefile"] for r in runs]
    return {"ready": statistics.median(ready), "ready_min": min(ready), "ready_max": max(ready),
            "visible": statistics.median(visible), "peak": statistics.median(peak),
            "private": statistics.median(private), "all": ready}


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cross-build", required=True, help="the build that runs under Wine, e.g. build/win64")
    parser.add_argument("--win32-build", required=True, help="the shipped 32-bit build, e.g. build/win32")
    parser.add_argument("--out", help="the markdown file (default <build>/bench/figures.md)")
    parser.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_RUNS", "9")))
    parser.add_argument("--warmup", type=int, default=2, help="untimed runs of each program first")
    parser.add_argument("--poll", type=int, default=2, help="ms between the driver's looks for the dialog")
    parser.add_argument("--timeout", type=int, default=15000, help="ms each driver wait may take")
    options = parser.parse_args(argv)

    cross = Path(options.cross_build).resolve()
    win32 = Path(options.win32_build).resolve()
    bench_dir = cross.parent / "bench"
    out = Path(options.out) if options.out else bench_dir / "figures.md"
    ravelix, setup_dll, bare = harness.ravelix_exe(cross), harness.standin_setup_dll(cross), \
        harness.bare_dialog_exe(cross)
    for path in (ravelix, setup_dll, bare, harness.driver_exe(cross)):
        if not path.is_file():
            raise harness.HarnessError(f"not built: {path}")
    arch = harness.pe_arch(ravelix)
    template = harness.dialog_template("IDD_COMPORT_DIALOG")
    cancel = harness.resource_ids()["IDCANCEL"]
    steps = [f"wait-dialog:{template['caption']}", "wait-idle", "memory", f"click:{cancel}", "wait-exit"]

    harness.log(f"bench: {options.warmup} warm-up and {options.runs} timed runs of each program, {arch}")
    with harness.Session("bench", arch=arch, cross_build=cross, prefix=bench_dir / f"wineprefix-{arch}") as s:
        about = machine(s.wine)
        apps = {"bare": s.app("bare", bare), "ravelix": s.app("ravelix", ravelix, setup_dll)}
        exes = {"bare": apps["bare"] / bare.name, "ravelix": apps["ravelix"] / ravelix.name}

        # A first look that the program really came up with its lists filled (no warning box instead).
        check = drive(s, exes["ravelix"], apps["ravelix"],
                      [f"wait-dialog:{template['caption']}", "dump", f"click:{cancel}", "wait-exit"],
                      timeout_ms=options.timeout, poll_ms=20)
        ports = next(c for c in check.one("dump")["controls"] if c["class"].lower() == "combobox")
        if len(ports["items"]) != 255 or ports["sel"] < 0:
            raise harness.HarnessError(f"Ravelix came up without its port list: {ports}")

        timed: dict[str, list[harness.DriverRun]] = {"bare": [], "ravelix": []}
        for i in range(options.warmup + options.runs):
            order = ("bare", "ravelix") if i % 2 == 0 else ("ravelix", "bare")
            for name in order:
                run = drive(s, exes[name], apps[name], steps, timeout_ms=options.timeout, poll_ms=options.poll)
                if i >= options.warmup:
                    timed[name].append(run)
            if i >= options.warmup:
                harness.log(f"run {i - options.warmup + 1}/{options.runs}: bare {timed['bare'][-1].one('idle')['t']} ms, "
                            f"Ravelix {timed['ravelix'][-1].one('idle')['t']} ms")

    b, r = figures(timed["bare"]), figures(timed["ravelix"])
    ratio = r["ready"] / b["ready"]
    paired = statistics.median(x / y for x, y in zip(r["all"], b["all"]))
    verdict = "within" if ratio <= GOAL else "OVER"
    exe_name = {"win32": "32-bit", "win64": "x86-64"}
    lines = [
        f"## Start-up figures, {datetime.datetime.now().astimezone():%Y-%m-%d %H:%M %Z}",
        "",
        f"Machine: {about['uname']}; CPU {about['cpu']}; {about['wine']}; ran the {about['arch']} "
        f"({exe_name[about['arch']]}) build; Xvfb; {options.runs} interleaved runs of each after "
        f"{options.warmup} warm-up runs, medians; load average {about['load']} at the start.",
        "",
        "| | bare dialog | Ravelix | Ravelix / bare |",
        "| --- | ---: | ---: | ---: |",
        f"| ready: dialog visible and idle (ms) | {b['ready']:.0f} | {r['ready']:.0f} | **{ratio:.2f}x** |",
        f"| ready, fastest .. slowest run (ms) | {b['ready_min']} .. {b['ready_max']} | "
        f"{r['ready_min']} .. {r['ready_max']} | paired median {paired:.2f}x |",
        f"| dialog visible (ms) | {b['visible']:.0f} | {r['visible']:.0f} | {r['visible'] / b['visible']:.2f}x |",
        f"| peak working set | {mib(b['peak'])} | {mib(r['peak'])} | {r['peak'] / b['peak']:.2f}x |",
        f"| peak private bytes | {mib(b['private'])} | {mib(r['private'])} | {r['private'] / b['private']:.2f}x |",
        "",
        "| file | 32-bit (shipped) | " + exe_name[arch] + " (ran here) |",
        "| --- | ---: | ---: |",
        f"| Ravelix.exe | {size_text(win32 / 'win32' / 'Ravelix.exe')} | {size_text(ravelix)} |",
        f"| SETUP.dll (stand-in) | {size_text(win32 / 'setupdll' / 'SETUP.dll')} | {size_text(setup_dll)} |",
        f"| bare_dialog.exe (for reference) | {size_text(win32 / 'tests' / 'e2e' / 'bare_dialog.exe')} | "
        f"{size_text(bare)} |",
        "",
        f"Goal: Ravelix ready within {GOAL:.2f}x of the bare dialog: {verdict} ({ratio:.2f}x).",
        "",
    ]
    text = "\n".join(lines)
    print(text)
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text(text)
    print(f"Written to {out}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except harness.HarnessError as error:
        print(f"bench: {error}", file=sys.stderr)
        sys.exit(1)
