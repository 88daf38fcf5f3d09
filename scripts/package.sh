#!/usr/bin/env bash
# Builds the program and its Debian package: build/kav-pnb_<version>_<arch>.deb.
# Install it with:  sudo apt-get install ./build/kav-pnb_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && cpack -G DEB >/dev/null)
ls build/kav-pnb_*.deb
