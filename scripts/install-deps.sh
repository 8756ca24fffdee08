#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, only what is missing.
# Safe to run again: it checks before it asks apt for anything.
set -euo pipefail

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

packages=(
  cmake g++ make libgtest-dev clang
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb x11-utils imagemagick
  locales fonts-nanum fonts-dejavu-core fonts-wine
  zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi

if [ "$need_i386" = 1 ]; then
  echo "install-deps: enabling the i386 architecture"
  $sudo dpkg --add-architecture i386
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_i386" = 1 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The two locales the end-to-end tests run Wine under.
for loc in en_US ko_KR; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$"; then
    echo "install-deps: generating ${loc}.UTF-8"
    $sudo sed -i "s/^# *\(${loc}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc}\.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
done
