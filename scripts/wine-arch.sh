#!/usr/bin/env bash
# Prints the Windows build the end-to-end tests can run here under Wine: "win32" where this machine can
# execute 32-bit x86 programs (Wine's 32-bit loader), "win64" where it cannot (some sandboxed kernels
# refuse 32-bit executables outright); the 64-bit build is then the same sources for x86-64.
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
