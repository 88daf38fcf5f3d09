#!/usr/bin/env bash
# Configures a Windows build folder: MinGW-w64, the Qt for Windows built
# from Debian's source (scripts/build-qt-windows.sh, cached) and libuemf's
# source (scripts/fetch-uemf-source.sh), so the window, its tests, the core
# and the headless tool all build. Debian's own moc, uic and rcc serve.
#
#   scripts/configure-windows.sh <build folder>
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
qt="$(scripts/build-qt-windows.sh)"
uemf="$(scripts/fetch-uemf-source.sh)"
cmake -S . -B "$build" --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DKAV_QT_WINDOWS="$qt" -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DKAV_UEMF_SOURCE="$uemf" \
  -DKAV_CORE_ONLY=OFF -DKAV_HEADLESS_ONLY=OFF -DKAV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAV_WERROR=ON >/dev/null
