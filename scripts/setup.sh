#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# The list is proven on a fresh Debian 12 root by scripts/test-fresh.sh: a
# package only a developer's machine has fails there. libwmf's link line names
# libexpat and libjpeg, whose -dev packages libwmf-dev does not bring.
set -euo pipefail

PACKAGES=(
  cmake make g++ pkg-config git file
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  xvfb xauth fonts-dejavu-core fonts-liberation poppler-utils dbus at-spi2-core python3-pyatspi
  g++-mingw-w64-x86-64-posix googletest wine64 wine openbox xdotool wixl msitools
  help2man appstream dpkg-dev desktop-file-utils
  libwmf-dev libuemf-dev libexpat1-dev libjpeg62-turbo-dev ninja-build locales
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
