#!/usr/bin/env bash
# Runs setup_check.exe against the stand-in SETUP.dll of a Windows build, under Wine, in a Wine prefix of
# its own (the check adds names to that prefix's serial device map while it runs).
#   run-under-wine.sh <build>/setupdll <scratch folder>
# Picks Wine's 32-bit or 64-bit loader from the program's PE header. Exits with the check's status.
set -euo pipefail

built=${1:?usage: run-under-wine.sh <folder with SETUP.dll and setup_check.exe> <scratch folder>}
scratch=${2:?usage: run-under-wine.sh <folder with SETUP.dll and setup_check.exe> <scratch folder>}

for f in SETUP.dll setup_check.exe; do
  [ -f "$built/$f" ] || { echo "run-under-wine: $built/$f is missing: build the Windows targets first" >&2; exit 1; }
done

# A fresh copy, so the state file the check writes beside SETUP.dll stays out of the build folder.
rm -rf "$scratch/bin"
mkdir -p "$scratch/bin"
cp "$built/SETUP.dll" "$built/setup_check.exe" "$scratch/bin/"

# PE machine: the 16-bit field 4 bytes past the offset stored at 0x3c.
pe_offset=$(od -An -t u4 -j 60 -N 4 "$scratch/bin/setup_check.exe" | tr -d ' ')
machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$scratch/bin/setup_check.exe" | tr -d ' ')
case "$machine" in
  014c) loader=/usr/lib/wine/wine ;;
  8664) loader=/usr/lib/wine/wine64 ;;
  *) echo "run-under-wine: unknown PE machine $machine" >&2; exit 1 ;;
esac

export WINEPREFIX="$scratch/wineprefix" WINELOADER="$loader" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$scratch/bin"
status=0
"$loader" setup_check.exe || status=$?
/usr/lib/wine/wineserver -w || true
exit "$status"
