#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [ -x build/app/kav_pnb ]; then
  exec scripts/start-demo.sh
fi
echo "The window program is not built yet; running the table engine's tests instead."
exec build/tests/flatfile/kav_flatfile_tests
