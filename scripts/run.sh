#!/usr/bin/env bash
# Starts Ravelix under Wine, with the stand-in setup library beside it, from a cross build folder:
#   scripts/run.sh build/win64
# With a display ($DISPLAY) the dialog opens there and the script waits until it is closed. Without one
# it runs on an Xvfb display of its own: it waits (bounded) for the dialog, saves a screenshot and prints
# its path, presses Exit and prints the exit code.
# Wine's prefix is <build>/run-prefix-<arch>, beside the cross build folder, made on first use; the
# program runs from C:\Ravelix in it.
#
# Environment:
#   RAVELIX_RUN_EXE        the program to start (default <cross build>/win32/Ravelix.exe)
#   RAVELIX_RUN_SETUP_DLL  the SETUP.dll put beside it (default <cross build>/setupdll/SETUP.dll; empty: none)
#   RAVELIX_RUN_LOCALE     en_US.UTF-8 (default) or ko_KR.UTF-8
#   RAVELIX_RUN_HEADLESS=1 use an Xvfb display even when DISPLAY is set
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 CROSS_BUILD_DIR   (e.g. build/win64)" >&2
  exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

args=(run --cross-build "$1" --locale "${RAVELIX_RUN_LOCALE:-en_US.UTF-8}")
if [ -n "${RAVELIX_RUN_EXE:-}" ]; then
  args+=(--exe "$RAVELIX_RUN_EXE")
fi
if [ -n "${RAVELIX_RUN_SETUP_DLL+set}" ]; then
  args+=(--setup-dll "$RAVELIX_RUN_SETUP_DLL")
fi
if [ "${RAVELIX_RUN_HEADLESS:-}" = 1 ]; then
  args+=(--headless)
fi
exec python3 "$root/tests/e2e/harness.py" "${args[@]}"
