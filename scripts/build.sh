#!/usr/bin/env bash
# Configures and builds one build folder: build.sh <folder> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder="$1"
shift
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$folder" -j "$(nproc)"
