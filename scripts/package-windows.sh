#!/usr/bin/env bash
# Makes the Windows download, kav-pnb-cli-windows.zip: the window kav_pnb.exe
# and the headless tool kav_pnb_cli.exe (both linked statically: no Qt or
# MinGW DLLs to find), the demo's data\, Images\ and shared catalogue folder
# common\, and README.txt on setting the registry value and starting them.
# Builds both with MinGW-w64 first.
#
#   scripts/package-windows.sh [build folder, default build-windows]
#   -> <build folder>/kav-pnb-cli-windows.zip, unpacking to kav-pnb-cli\
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"

scripts/configure-windows.sh "$build"
cmake --build "$build" -j "$(nproc)" --target kav_pnb_cli kav_pnb

# Only the system's own DLLs: a user has no MinGW runtime and no Qt.
for exe in "$build/bin/kav_pnb_cli.exe" "$build/bin/kav_pnb.exe"; do
  foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -nE 's/^\s*DLL Name: //p' |
    grep -viE '^(kernel32|advapi32|msvcrt|user32|shell32|ws2_32|gdi32|comdlg32|ole32|oleaut32|imm32|winmm|winspool\.drv|uxtheme|dwmapi|shcore|version|shlwapi|netapi32|userenv|uuid|setupapi|dwrite|d3d9|d3d11|dxgi|wtsapi32|authz|mpr|crypt32|bcrypt|secur32|api-ms-win-[a-z0-9-]+)(\.dll)?$' || true)
  if [ -n "$foreign" ]; then
    echo "$(basename "$exe") needs DLLs a Windows user does not have: $foreign" >&2
    exit 1
  fi
done

stage="$build/package"
rm -rf "$stage" "$build/kav-pnb-cli-windows.zip"
mkdir -p "$stage/kav-pnb-cli"
for exe in kav_pnb_cli.exe kav_pnb.exe; do
  x86_64-w64-mingw32-strip -o "$stage/kav-pnb-cli/$exe" "$build/bin/$exe"
done
cp -r demo/data demo/Images demo/common "$stage/kav-pnb-cli/"
sed 's/$/\r/' packaging/windows/README.txt >"$stage/kav-pnb-cli/README.txt"
(cd "$stage" && cmake -E tar cf ../kav-pnb-cli-windows.zip --format=zip kav-pnb-cli)
echo "$build/kav-pnb-cli-windows.zip"
