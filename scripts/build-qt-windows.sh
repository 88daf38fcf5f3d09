#!/usr/bin/env bash
# Qt for Windows, cross-built with Debian's MinGW-w64 from Debian's own
# source package qt6-base, the version the Linux build uses, and kept in a
# cache outside the repository: built once per machine, rebuilt when the
# source version or this script changes. Static (no Qt DLLs to ship) and
# only what the window uses: Core, Gui, Widgets, PrintSupport, Test, the
# Windows, offscreen and minimal platforms, the Windows style, the GIF, ICO
# and JPEG readers. The host tools (moc, uic, rcc) are Debian's own.
#
#   scripts/build-qt-windows.sh     prints the installed Qt's folder
#
# The cache is $KAV_QT_CACHE (default /var/cache/kav-pnb-qt-windows); when it
# is there but not writable (bound read-only into a fresh root) and lacks
# this version, the build goes to /var/tmp/kav-pnb-qt-windows instead. About
# 15 minutes on two cores the first time; the source comes through apt, which
# checks the archive's checksums.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The source version of the Qt the Linux build compiles against.
version="$(dpkg-query -W -f='${source:Version}' qt6-base-dev)"
key="$version-$(sha256sum "$0" | cut -c1-12)"
cache="${KAV_QT_CACHE:-/var/cache/kav-pnb-qt-windows}"
for place in "$cache" /var/tmp/kav-pnb-qt-windows; do
  if [ -f "$place/$key/.complete" ]; then
    echo "$place/$key"
    exit 0
  fi
done
if [ ! -d "$cache" ]; then
  $SUDO mkdir -p "$cache" && $SUDO chown "$(id -u):$(id -g)" "$cache"
fi
if [ ! -w "$cache" ]; then
  echo "build-qt-windows: $cache is read-only; building in /var/tmp/kav-pnb-qt-windows" >&2
  cache=/var/tmp/kav-pnb-qt-windows
  mkdir -p "$cache"
fi
prefix="$cache/$key"
# One build at a time: a second run waits for the first, then uses its Qt,
# rather than clearing the first one's work as stale.
exec 9>"$cache/.build.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
# An older build of another version or script is stale: it goes.
rm -rf "$cache"/[0-9]*-* "$cache"/work.*
work="$(mktemp -d "$cache/work.XXXXXX")"
chmod 755 "$work" # apt fetches as its own user
trap 'rm -rf "$work"' EXIT

# Source entries beside the machine's own binary ones: the same mirrors and
# suites, as deb-src, so no host is written here.
source_list=/etc/apt/sources.list.d/kav-pnb-deb-src.sources
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q "^Version: $version\$"; then
  {
    files=()
    [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
    files+=(/etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
    for file in "${files[@]}"; do
      [ -f "$file" ] && [ "$file" != "$source_list" ] || continue
      if [[ "$file" == *.sources ]]; then
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             /(^|\n)Types:[^\n]*(^| )deb( |\n|$)/ && !/(^|\n)Enabled: *no/ {
               sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$file"
      else
        awk '$1 == "deb" { $1 = "deb-src"; line = $0
               sub(/^deb-src /, "", line)
               print "Types: deb-src"
               if (line ~ /^\[/) { opts = line; sub(/\].*/, "", opts); sub(/^[^\]]*\] */, "", line)
                 sub(/^\[/, "", opts); n = split(opts, o, " ")
                 for (i = 1; i <= n; i++) if (o[i] ~ /^signed-by=/) { sub(/^signed-by=/, "", o[i]); print "Signed-By: " o[i] } }
               nf = split(line, f, " "); print "URIs: " f[1]; print "Suites: " f[2]
               comps = ""; for (i = 3; i <= nf; i++) comps = comps (comps ? " " : "") f[i]
               print "Components: " comps; print "" }' "$file"
      fi
    done
  } | $SUDO tee "$source_list.new" >/dev/null
  $SUDO mv "$source_list.new" "$source_list"
  $SUDO apt-get update >&2
fi
(cd "$work" && apt-get source --only-source "qt6-base=$version" >&2)
source_dir="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"

started=$SECONDS
echo "build-qt-windows: building Qt $version for Windows from source, once per machine" \
  "(about 15 to 26 minutes on two cores; nothing more is printed until it ends)" >&2
# Left out: what the window does not use; the tablet support, whose wintab
# headers Debian's source does not carry; OpenGL, which the Windows platform
# only builds without when the dynamic OpenGL loader is off too; DirectWrite,
# whose font engine and database the Windows platform and the printer name
# but QtGui does not build with MinGW (the program draws with GDI's fonts).
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
  -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32 -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF \
  -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF >"$work/configure.log" 2>&1 ||
  { tail -n 40 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 ||
  { grep -B 2 -A 12 -m 3 -E 'error|FAILED' "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >/dev/null
echo "$version built in $((SECONDS - started)) s" >"$prefix/.complete"
echo "build-qt-windows: Qt $version for Windows built in $((SECONDS - started)) s" >&2
echo "$prefix"
