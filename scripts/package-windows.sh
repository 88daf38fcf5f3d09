#!/usr/bin/env bash
# Makes the Windows download of the headless tool, kav-pnb-cli-windows.zip:
# kav_pnb_cli.exe (linked statically: no MinGW DLLs to find), the demo's
# data\, Images\ and shared catalogue folder common\, and README.txt on
# setting the registry value. Builds the tool with MinGW-w64 first.
#
#   scripts/package-windows.sh [build folder, default build-windows]
#   -> <build folder>/kav-pnb-cli-windows.zip, unpacking to kav-pnb-cli\
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

cmake -S . -B "$build" --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DKAV_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAV_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kav_pnb_cli

# Only the system's own DLLs: a user has no MinGW runtime.
exe="$build/bin/kav_pnb_cli.exe"
foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -nE 's/^\s*DLL Name: //p' |
  grep -viE '^(kernel32|advapi32|msvcrt|user32|shell32|ws2_32)\.dll$' || true)
if [ -n "$foreign" ]; then
  echo "kav_pnb_cli.exe needs DLLs a Windows user does not have: $foreign" >&2
  exit 1
fi

stage="$build/package"
rm -rf "$stage" "$build/kav-pnb-cli-windows.zip"
mkdir -p "$stage/kav-pnb-cli"
x86_64-w64-mingw32-strip -o "$stage/kav-pnb-cli/kav_pnb_cli.exe" "$exe"
cp -r demo/data demo/Images demo/common "$stage/kav-pnb-cli/"
sed 's/$/\r/' packaging/windows/README.txt >"$stage/kav-pnb-cli/README.txt"
(cd "$stage" && cmake -E tar cf ../kav-pnb-cli-windows.zip --format=zip kav-pnb-cli)
echo "$build/kav-pnb-cli-windows.zip"
