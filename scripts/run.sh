#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [ -x build/bin/kav_pnb ]; then
  exec scripts/start-demo.sh "$@"
fi
echo "The window program is not built yet; listing the demo catalogue with the headless tool instead."
XDG_CONFIG_HOME="$PWD/build/config" exec build/bin/kav_pnb_cli query --all
