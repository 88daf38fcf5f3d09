#!/usr/bin/env bash
# The installer as a company deploys it, in a fresh Wine prefix of its own:
# "msiexec /i kav-pnb.msi /qn CATALOGDIR=<the demo's common folder>", then
# the installed programs as a user runs them, then "msiexec /x". Checks, one
# line each:
#   install    the program folder under Program Files holds the two
#              programs, data\ and Images\, and no demo catalogue; the
#              entry to uninstall it carries the project's version;
#   query      the installed kav_pnb_cli.exe's "query --part OUR4" equals
#              the Linux tool's: the catalogue is found through the
#              machine's registry value alone (the prefix has no user value);
#   job file   with the program folder not the user's to write, "build
#              OUR4-23 --lom" writes its job file, equal to the Linux
#              tool's, where "paths" says (%LOCALAPPDATA%\kav-pnb\) and
#              leaves Program Files as it was;
#   entry      the installed-programs entry names its install location and
#              its help (the README.txt installed beside the programs);
#   shortcut   the Start-menu shortcut "KAV Part Number Builder" points at
#              the installed kav_pnb.exe;
#   redeploy   the same version rebuilt (a new product code), installed
#              with another CATALOGDIR, replaces the installed one: one
#              uninstall entry, and the folder given is the one set;
#   uninstall  removes the program folder, with what the program wrote in
#              it (the job file, data\pnb.dat, data\AntFlanges.dat, the
#              lock), the shortcut and the catalogue
#              setting, and leaves the user's working folder.
# Ends with "msi: N passed, M failed"; fails when any check fails.
#
# Wine lets every program write under Program Files, and this stage runs as
# root, whom file modes do not stop: to make the program folder truly not
# the user's to write, its modes are taken away on the Unix side and, as
# root, every program of the prefix runs without the capability that
# overrides them (setpriv). The writability the programs find is then
# found by trying, as on Windows.
#
#   scripts/check-windows-msi.sh <Windows build folder> <Linux tool>
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "$1" && pwd)"
linux_cli="$(realpath "$2")"
msi="$build/kav-pnb.msi"
work="$build/msi-check"
chmod -R u+w "$work" 2>/dev/null || true # a run cut short left it unwritable
rm -rf "$work"
mkdir -p "$work/prefix" "$work/linux"

# Every program of the prefix, its server included, as an ordinary user
# would run it. No menu entries of the Linux desktop are made, and no
# add-ons are fetched.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unprivileged=()
if [ "$(id -u)" -eq 0 ]; then
  unprivileged=(setpriv --bounding-set -dac_override,-fowner --)
fi
run() { "${unprivileged[@]}" "$@"; }
run wineserver -p
# Its server gone before the folder may be made again: a new folder may get
# the old one's inode, by which Wine finds a prefix's server.
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true' EXIT
run wineboot --init >/dev/null 2>&1 || true

passed=0
failed=0
check() { # check NAME STATUS [DETAIL]: one line per check
  if [ "$2" -eq 0 ]; then
    echo "msi: ok: $1"
    passed=$((passed + 1))
  else
    echo "msi: FAILED: $1${3:+ ($3)}"
    failed=$((failed + 1))
  fi
}
windows() { printf 'Z:%s' "${1//\//\\}"; }   # a Linux path as Wine names it
unix() { run winepath -u "$1" 2>/dev/null || true; } # and back

program="$WINEPREFIX/drive_c/Program Files/KAV Part Number Builder"
catalog="$PWD/demo/common"
code=0
run wine msiexec /i "$(windows "$msi")" /qn "CATALOGDIR=$(windows "$catalog")" \
  >"$work/install.log" 2>&1 || code=$?
listing=$(cd "$program" 2>/dev/null && ls -d kav_pnb.exe kav_pnb_cli.exe data/MWFreq.dat \
  Images common 2>/dev/null | LC_ALL=C sort | paste -sd' ' || true)
# The entry to uninstall it, with the project's version (as the Debian
# package carries it).
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
entry=$(run wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
  tr -d '\r' | awk '
    /^HKEY_/ { name = ""; shown = "" }
    sub(/^ +DisplayName +REG_SZ +/, "") { name = $0 }
    sub(/^ +DisplayVersion +REG_SZ +/, "") { shown = $0 }
    name == "KAV Part Number Builder" && shown != "" { print shown; exit }' || true)
status=0
[ "$code" -eq 0 ] && [ "$listing" = "Images data/MWFreq.dat kav_pnb.exe kav_pnb_cli.exe" ] &&
  [ "$entry" = "$version" ] || status=1
check "install: msiexec /i /qn CATALOGDIR=... puts the programs, data\\ and Images\\ in Program Files, with an uninstall entry of version $version" \
  "$status" "msiexec's exit status $code, files: $listing, uninstall entry's version: $entry"

# The Linux tool on the same catalogue, in a program folder of its own.
cp -r demo/data demo/Images "$work/linux/"
linux() {
  XDG_CONFIG_HOME="$work/linux/config" XDG_CONFIG_DIRS="$work/linux/config" "$linux_cli" "$@" \
    --catalog "$catalog" --program-folder "$work/linux" 2>&1
  echo "status $?"
}
expected=$(linux query --part OUR4)
got=$(cd "$work" && run wine "C:\\Program Files\\KAV Part Number Builder\\kav_pnb_cli.exe" \
  query --part OUR4 2>&1 </dev/null; echo "status $?")
status=0
[ "$got" = "$expected" ] && [[ "$expected" == *OUR4-*$'\n'"status 0" ]] || status=1
check "query: the installed tool's query --part OUR4 equals the Linux tool's" "$status" \
  "got: $(head -c 300 <<<"$got")"

# Program Files as a user meets it: not the user's to write.
chmod -R a-w "$program"
before=$(cd "$program" && find . -printf '%p %s %T@\n' | sort)
paths=$(cd "$work" && run wine "C:\\Program Files\\KAV Part Number Builder\\kav_pnb_cli.exe" \
  paths </dev/null 2>&1 || true)
built=$(cd "$work" && run wine "C:\\Program Files\\KAV Part Number Builder\\kav_pnb_cli.exe" \
  build OUR4-23 --lom 2>&1 </dev/null; echo "status $?")
after=$(cd "$program" && find . -printf '%p %s %T@\n' | sort)
job=$(sed -n 's/^job=//p' <<<"$paths")
working=$(sed -n 's/^working=//p' <<<"$paths")
local_app_data=$(run wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r' || true)
expected_built=$(linux build OUR4-23 --lom)
status=0
detail=""
if [ "$working" != "$local_app_data\\kav-pnb\\" ] || [ "$job" != "${working}kav_pnb.lom" ]; then
  status=1 detail="paths: $paths"
elif [ "$built" != "$expected_built" ]; then
  status=1 detail="build gave: $(head -c 300 <<<"$built")"
elif ! cmp -s "$(unix "$job")" "$work/linux/kav_pnb.lom"; then
  status=1 detail="no job file at $job equal to the Linux tool's"
elif [ "$before" != "$after" ]; then
  status=1 detail="Program Files changed: $(diff <(echo "$before") <(echo "$after") | head -n 4)"
fi
check "job file: build OUR4-23 --lom writes it in %LOCALAPPDATA%\\kav-pnb\\ as paths says, nothing in Program Files" \
  "$status" "$detail"
chmod -R u+w "$program" # the administrator who uninstalls may

# The installed-programs entry: where the program is and where to read
# about it. (Its icon, ARPPRODUCTICON, is Windows' to show: Wine's
# installer writes no DisplayIcon.)
entry_values=$(run wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
  tr -d '\r' | awk '
    /^HKEY_/ { if (name == "KAV Part Number Builder") exit; name = ""; values = "" }
    sub(/^ +DisplayName +REG_SZ +/, "") { name = $0 }
    sub(/^ +(InstallLocation|HelpLink) +REG_SZ +/, "") { values = values $0 "|" }
    END { if (name == "KAV Part Number Builder") print values }' || true)
status=0
[ "$entry_values" = 'C:\Program Files\KAV Part Number Builder\README.txt|C:\Program Files\KAV Part Number Builder\|' ] ||
  [ "$entry_values" = 'C:\Program Files\KAV Part Number Builder\|C:\Program Files\KAV Part Number Builder\README.txt|' ] ||
  status=1
check "entry: the installed-programs entry names the install location and the README as its help" \
  "$status" "InstallLocation and HelpLink: $entry_values"

# The shortcut's target and working folder, from the Shell Link format: the
# local path of its link information, then its string data. Windows puts a
# per-machine shortcut in every user's Start menu (%ProgramData%); Wine's
# installer puts it in the installing user's (%APPDATA%): either counts.
link=""
for folder in %ProgramData% %APPDATA%; do
  start=$(run wine cmd /c "echo $folder" 2>/dev/null | tr -d '\r' || true)
  candidate=$(unix "$start\\Microsoft\\Windows\\Start Menu\\Programs\\KAV Part Number Builder.lnk")
  if [ -f "$candidate" ]; then link="$candidate" && break; fi
done
target=""
if [ -n "$link" ]; then
  target=$(perl -e '
    local $/; open my $f, "<:raw", $ARGV[0] or exit 1; my $d = <$f>;
    my $flags = unpack "V", substr($d, 20, 4);
    my $at = 76;
    $at += 2 + unpack("v", substr($d, $at, 2)) if $flags & 1;   # the item list
    exit 1 unless $flags & 2;                                    # no link information
    my $base = $at + unpack("V", substr($d, $at + 16, 4));
    print substr($d, $base, index($d, "\0", $base) - $base), " in ";
    $at += unpack "V", substr($d, $at, 4);
    for my $bit (4, 8, 0x10) {  # name, relative path, working folder
      next unless $flags & $bit;
      my $n = unpack "v", substr($d, $at, 2);
      my $size = $flags & 0x80 ? 2 * $n : $n;                    # UTF-16 or 8-bit
      (my $text = substr($d, $at + 2, $size)) =~ tr/\0//d;
      $at += 2 + $size;
      print $text if $bit == 0x10;
    }' "$link" || true)
fi
status=0
[ "$target" = 'C:\Program Files\KAV Part Number Builder\kav_pnb.exe in C:\Program Files\KAV Part Number Builder\' ] ||
  status=1
check "shortcut: the Start menu's \"KAV Part Number Builder\" starts the installed kav_pnb.exe" \
  "$status" "link '$link': '$target'"

# A redeployment: the same version rebuilt (a product code of its own) with
# a new CATALOGDIR replaces the installed one, leaving one entry, and the
# folder given now is the one set.
rebuilt="$work/rebuilt.msi"
cp "$msi" "$rebuilt"
msibuild "$rebuilt" -q "UPDATE \`Property\` SET \`Value\` = '{$(cat /proc/sys/kernel/random/uuid | tr a-z A-Z)}' WHERE \`Property\` = 'ProductCode'" \
  -s "KAV Part Number Builder" Ostrel "x64;1033" "{$(cat /proc/sys/kernel/random/uuid | tr a-z A-Z)}" >/dev/null
moved="$work/moved-catalog"
mkdir -p "$moved"
code=0
run wine msiexec /i "$(windows "$rebuilt")" /qn "CATALOGDIR=$(windows "$moved")" >"$work/redeploy.log" 2>&1 || code=$?
entries=$(run wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
  tr -d '\r' | grep -c 'DisplayName *REG_SZ *KAV Part Number Builder$' || true)
setting=$(run wine reg query 'HKLM\Software\Ostrel\Common Files' /v Path 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Path *REG_SZ *//p')
status=0
[ "$code" -eq 0 ] && [ "$entries" -eq 1 ] && [ "$setting" = "$(windows "$moved")" ] || status=1
check "redeploy: the same version rebuilt, with a new CATALOGDIR, replaces the installed one and sets that folder" \
  "$status" "msiexec's exit status $code, $entries uninstall entries, Path=$setting"

# Run once elevated, the program writes in its own folder; those files go
# with it.
cp "$work/linux/kav_pnb.lom" "$program/kav_pnb.lom"
for file in pnb.dat AntFlanges.dat kav_pnb.lock; do : >"$program/data/$file"; done

status=0
run wine msiexec /x "$(windows "$rebuilt")" /qn >"$work/uninstall.log" 2>&1 || status=$?
detail="exit status $status"
if [ -e "$program" ]; then
  status=1 detail="$program is still there: $(cd "$program" && find . | head -n 5 | paste -sd' ')"
elif [ -e "$link" ]; then
  status=1 detail="the shortcut is still there"
elif run wine reg query 'HKLM\Software\Ostrel\Common Files' /v Path >/dev/null 2>&1; then
  status=1 detail="the catalogue setting is still there"
elif ! cmp -s "$(unix "$job")" "$work/linux/kav_pnb.lom"; then
  status=1 detail="the working folder's job file went too"
fi
check "uninstall: msiexec /x removes the program folder, shortcut and setting, keeps the working folder" \
  "$status" "$detail"

echo "msi: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
