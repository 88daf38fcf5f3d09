#!/usr/bin/env bash
# The installed program, tried as a user would: builds the package, unpacks it
# into a staging root, and as an unprivileged user with an empty home folder
# builds a part number with its job file, starts the window offscreen, and
# follows the desktop entry's Exec to the program. Also checks the package's
# metadata. Ends with "install: N passed, M failed".
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(scripts/package.sh | tail -n 1)"
stage="$(mktemp -d /tmp/kav_stage.XXXXXX)"
home="$(mktemp -d /tmp/kav_home.XXXXXX)"
trap 'rm -rf "$stage" "$home"' EXIT
dpkg-deb -x "$deb" "$stage"
chmod 755 "$stage"
# The user's settings point at the staged catalogue (the package's own
# /etc/xdg file names /usr/share/kav-pnb/common, which the stage lacks).
mkdir -p "$home/config/Ostrel"
printf '[Common Files]\r\nPath=%s\r\n\r\n' "$stage/usr/share/kav-pnb/common" \
  >"$home/config/Ostrel/registry.ini"
chown -R nobody:nogroup "$home"

passed=0
failed=0
check() {  # check NAME COMMAND...: one line per check
  if "${@:2}"; then
    echo "ok: $1"
    passed=$((passed + 1))
  else
    echo "FAILED: $1"
    failed=$((failed + 1))
  fi
}
as_user() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH="$stage/usr/bin:/usr/bin:/bin" HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_CONFIG_DIRS="$stage/etc/xdg" QT_QPA_PLATFORM=offscreen "$@"
}

check "the package depends on Qt and the fonts" \
  bash -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6 && dpkg-deb -f '$deb' Depends | grep -q fonts-liberation"
check "the settings file is a configuration file" \
  bash -c "dpkg-deb --ctrl-tarfile '$deb' | tar -xO ./conffiles | grep -qx /etc/xdg/Ostrel/registry.ini"
check "the program folder is not the user's to write" \
  bash -c "! setpriv --reuid=nobody --regid=nogroup --clear-groups test -w '$stage/usr/lib/kav-pnb'"
check "the headless tool builds a part number and leaves the job file in the working folder" \
  bash -c "$(declare -f as_user); stage='$stage' home='$home'; as_user kav_pnb_cli build OSD4-6 --lom >/dev/null &&
           test -f '$home/.local/state/kav-pnb/kav_pnb.lom' &&
           grep -q '1=1|each|OSD4-6|OSD4-6-' '$home/.local/state/kav-pnb/kav_pnb.lom'"
check "paths names the working folder" \
  bash -c "$(declare -f as_user); stage='$stage' home='$home'; as_user kav_pnb_cli paths | grep -qx 'working=$home/.local/state/kav-pnb/'"
check "the window starts and keeps running" \
  bash -c "$(declare -f as_user); stage='$stage' home='$home'; as_user timeout 5 kav_pnb; test \$? -eq 124"
check "the desktop entry's Exec resolves to the program folder's kav_pnb" \
  bash -c "exec=\$(sed -n 's/^Exec=\\([^ ]*\\).*/\\1/p' '$stage/usr/share/applications/com.ostrel.KavPartNumberBuilder.desktop');
           test \"\$(readlink -f '$stage/usr/bin/'\$exec)\" = '$stage/usr/lib/kav-pnb/kav_pnb'"
check "the desktop entry and the metainfo validate" \
  bash -c "desktop-file-validate '$stage/usr/share/applications/com.ostrel.KavPartNumberBuilder.desktop' &&
           appstreamcli validate --no-net '$stage/usr/share/metainfo/com.ostrel.KavPartNumberBuilder.metainfo.xml' >/dev/null"
check "the icon and the manual page are there" \
  bash -c "test -f '$stage/usr/share/icons/hicolor/256x256/apps/com.ostrel.KavPartNumberBuilder.png' &&
           test -f '$stage/usr/share/man/man1/kav_pnb_cli.1.gz'"

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
