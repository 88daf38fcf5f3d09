#!/usr/bin/env bash
# libuemf's source, the version the Linux build links, from Debian's source
# package through apt, kept beside the Qt for Windows in the same cache: the
# Windows build of the window compiles it with its own sources. Prints the
# source folder. The source entries are the ones build-qt-windows.sh adds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-qt-windows.sh >/dev/null
version="$(dpkg-query -W -f='${source:Version}' libuemf-dev)"
for cache in "${KAV_QT_CACHE:-/var/cache/kav-pnb-qt-windows}" /var/tmp/kav-pnb-qt-windows; do
  folder="$cache/libuemf-$version"
  [ -f "$folder/.complete" ] && break
  if [ -w "$cache" ]; then break; fi
done
if [ ! -f "$folder/.complete" ]; then
  mkdir -p "$cache"
  rm -rf "$folder"
  work="$(mktemp -d "$cache/uemf.XXXXXX")"
  chmod 755 "$work" # apt fetches as its own user
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source --only-source "libuemf=$version" >&2)
  mv "$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libuemf-*' | head -n 1)" "$folder"
  touch "$folder/.complete"
fi
echo "$folder"
