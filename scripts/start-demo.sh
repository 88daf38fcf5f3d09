#!/usr/bin/env bash
# Starts the window program on the demo catalogue laid out by the build, with
# a build-local registry, so the user's own settings are never touched.
# Arguments are passed on (e.g. a model number for command mode).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export XDG_CONFIG_HOME="$root/build/config"
exec "$root/build/bin/kav_pnb" "$@"
