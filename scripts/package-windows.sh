#!/usr/bin/env bash
# Makes the two Windows downloads, after building both programs with
# MinGW-w64:
# - kav-pnb-cli-windows.zip, to try the program: the window kav_pnb.exe and
#   the headless tool kav_pnb_cli.exe (both linked statically: no Qt or
#   MinGW DLLs to find), the demo's data\, Images\ and shared catalogue
#   folder common\, and README.txt on setting the registry value and
#   starting them;
# - kav-pnb.msi, to deploy it: the same programs with data\ and Images\,
#   installed for every user of a machine into Program Files, with a
#   Start-menu shortcut and the shared catalogue folder as the property
#   CATALOGDIR (packaging/windows/kav-pnb.wxs, built by wixl). A company
#   points it at its own catalogue, so the demo's is not in it.
#
#   scripts/package-windows.sh [build folder, default build-windows]
#   -> <build folder>/kav-pnb-cli-windows.zip, unpacking to kav-pnb-cli\
#   -> <build folder>/kav-pnb.msi
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
rm -rf "$stage" "$build/kav-pnb-cli-windows.zip" "$build/kav-pnb.msi"
mkdir -p "$stage/kav-pnb-cli" "$stage/msi"
for exe in kav_pnb_cli.exe kav_pnb.exe; do
  x86_64-w64-mingw32-strip -o "$stage/kav-pnb-cli/$exe" "$build/bin/$exe"
done
cp -r demo/data demo/Images demo/common "$stage/kav-pnb-cli/"
sed 's/$/\r/' packaging/windows/README.txt >"$stage/kav-pnb-cli/README.txt"
(cd "$stage" && cmake -E tar cf ../kav-pnb-cli-windows.zip --format=zip kav-pnb-cli)
echo "$build/kav-pnb-cli-windows.zip"

# The installer's files; data\ and Images\ listed file by file, as an MSI
# wants, by wixl-heat. wixl finds the files by names relative to where it
# runs.
cp "$stage/kav-pnb-cli/"*.exe "$stage/kav-pnb-cli/README.txt" packaging/windows/kav_pnb.ico "$stage/msi/"
cp -r demo/data demo/Images "$stage/msi/"
# The project's version (CMakeLists.txt, project()), as every program carries it.
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
source="$PWD/packaging/windows/kav-pnb.wxs"
(
  cd "$stage"
  find msi/data msi/Images -type f | LC_ALL=C sort |
    wixl-heat -p msi/ --directory-ref INSTALLDIR --component-group ProgramFolderFiles \
      --var var.Stage --win64 >kav-pnb-files.wxs
  wixl -a x64 -D Version="$version" -D Stage=msi -D Win64=yes -o ../kav-pnb.msi \
    "$source" kav-pnb-files.wxs
)
# What wixl cannot say: the catalogue setting is written only when a
# folder is given, and CATALOGDIR reaches the installing service in a
# managed install too.
secure="$(msiinfo export "$build/kav-pnb.msi" Property | sed -n 's/^SecureCustomProperties\t\(.*\)\r$/\1/p')"
# A rebuild of the same version is an upgrade: the detection row includes
# its upper version (migrate features 1 + inclusive maximum 512; a key
# column, so the row is replaced). The
# remembered folder is taken right after the search, before anything reads
# CATALOGDIR (wixl sequences "After" actions late). What the program wrote
# in its own folder goes with it (install mode 2: on uninstall). wixl
# writes HKMU (the machine's key for every user, the user's for one) as 4,
# which Windows does not know: it is -1.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/{\1}/p' packaging/windows/kav-pnb.wxs)
remove_file() {  # <key> <name> <folder's directory id>
  echo "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('$1', 'ProgramWrittenFiles', '$2', '$3', 2)"
}
msibuild "$build/kav-pnb.msi" \
  -q "UPDATE \`Component\` SET \`Condition\` = 'CATALOGDIR' WHERE \`Component\` = 'CatalogFolderSetting'" \
  -q "UPDATE \`Property\` SET \`Value\` = 'CATALOGDIR${secure:+;$secure}' WHERE \`Property\` = 'SecureCustomProperties'" \
  -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'" \
  -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')" \
  -q "UPDATE \`InstallExecuteSequence\` SET \`Sequence\` = 51 WHERE \`Action\` = 'KeepRememberedCatalogFolder'" \
  -q "UPDATE \`Registry\` SET \`Root\` = -1 WHERE \`Root\` = 4" \
  -q "UPDATE \`InstallUISequence\` SET \`Sequence\` = 51 WHERE \`Action\` = 'KeepRememberedCatalogFolder'" \
  -q "$(remove_file JobFile kav_pnb.lom INSTALLDIR)" \
  -q "$(remove_file ProgramFolderTemporaries '.kav_pnb.*' INSTALLDIR)" \
  -q "$(remove_file BuiltPartNumber pnb.dat WrittenDataFolder)" \
  -q "$(remove_file FlangeList AntFlanges.dat WrittenDataFolder)" \
  -q "$(remove_file DataFolderLock kav_pnb.lock WrittenDataFolder)" \
  -q "$(remove_file DataFolderTemporaries '.kav_pnb.*' WrittenDataFolder)"
if ! msiinfo export "$build/kav-pnb.msi" Component | grep -q $'^CatalogFolderSetting\t.*\tCATALOGDIR\t'; then
  echo "kav-pnb.msi: the catalogue setting's condition was not set" >&2
  exit 1
fi
echo "$build/kav-pnb.msi"
