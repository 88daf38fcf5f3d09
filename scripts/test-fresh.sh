#!/usr/bin/env bash
# Proves the README's two commands on a fresh Debian 12, as a new user meets
# them: makes a minimal root (debootstrap, minbase) from the Debian mirror the
# machine's own apt sources name, clones the commit under test into it, and
# there, as root, runs the README's test command exactly as the README writes
# it, then its run command (offscreen), which must leave kav_pnb running for 10
# seconds. Prints what it runs and ends with the test command's own closing
# count line. Needs root (sudo is used when it is there).
#
#   scripts/test-fresh.sh
#
# The bare root is kept between runs as a tarball in $KAV_FRESH_CACHE (default
# /var/cache/kav-pnb-fresh), outside the repository, and never holds anything
# installed after debootstrap: each run unpacks it into a new folder of
# $KAV_FRESH_WORK (default /var/tmp), removed at the end unless
# KAV_FRESH_KEEP=1.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=KAV_FRESH_CACHE,KAV_FRESH_WORK,KAV_FRESH_KEEP "$0" "$@"
fi
repo="$PWD"
cache="${KAV_FRESH_CACHE:-/var/cache/kav-pnb-fresh}"
bare="$cache/bookworm-minbase.tar"
started=$SECONDS

say() { echo "+ $*"; }
run() { say "$*"; "$@"; }

# The first source of the machine's apt configuration that serves bookworm's
# main component, in either format (one-line .list or deb822 .sources).
debian_mirror() {
  local files=()
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  files+=(/etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    if [[ "$file" == *.sources ]]; then
      awk 'function flush() {
             if (types ~ /(^| )deb( |$)/ && suites ~ /(^| )bookworm( |$)/ &&
                 comps ~ /(^| )main( |$)/ && enabled != "no" && uri != "") { print uri; exit }
             types = suites = comps = uri = enabled = ""
           }
           /^[ \t]*#/ { next }
           /^[ \t]*$/ { flush(); next }
           { key = tolower($1); $1 = ""; sub(/^ +/, "") }
           key == "types:" { types = $0 } key == "suites:" { suites = $0 }
           key == "components:" { comps = $0 } key == "enabled:" { enabled = tolower($0) }
           key == "uris:" { split($0, uris, " "); uri = uris[1] }
           END { flush() }' "$file"
    else
      awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) while ($i !~ /\]$/) i++; if ($i ~ /^\[/ || $i ~ /\]$/) i++
                         if ($(i + 1) == "bookworm") for (c = i + 2; c <= NF; c++)
                           if ($c == "main") { print $i; exit } }' "$file"
    fi
  done | head -n 1
}

# The processes whose root folder is the fresh root (the started window, a
# Wine server), so nothing keeps its mounts busy.
stop_processes_in() {
  local proc pids=()
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/root" 2>/dev/null)" = "$1" ] && pids+=("${proc#/proc/}")
  done
  if ((${#pids[@]})); then kill -KILL "${pids[@]}" 2>/dev/null || true; fi
}

# Mounts below a folder, deepest first.
mounts_below() {
  awk -v root="$1/" 'index($5 "/", root) == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

root=""
scratch=""
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  if [ -n "$root" ]; then
    stop_processes_in "$root"
    sleep 1
    local mount
    for mount in $(mounts_below "$root"); do
      umount "$mount" 2>/dev/null || umount -l "$mount" || true
    done
    if [ -n "$(mounts_below "$root")" ]; then
      echo "test-fresh: still mounted below $root; left in place" >&2
      status=1
    elif [ "${KAV_FRESH_KEEP:-}" = 1 ]; then
      echo "test-fresh: the root is kept in $root"
    else
      rm -rf --one-file-system "$root"
    fi
  fi
  [ -z "$scratch" ] || rm -rf --one-file-system "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Runs a command line inside the root as a fresh login's root would, from the
# clone's folder. Callers run it in the background and wait, so that a signal
# to this script is handled at once, not when the command ends.
in_root() {
  say "chroot $root: $1"
  chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /root/kav-pnb && $1"
}

# What this script needs of the host.
for tool in debootstrap git; do
  if ! command -v "$tool" >/dev/null; then
    run apt-get update
    DEBIAN_FRONTEND=noninteractive run apt-get install -y debootstrap git
    break
  fi
done

# The README's two commands: its first two indented lines, run then test.
mapfile -t readme_commands < <(sed -n 's/^    \(\S.*\)$/\1/p' README.md | head -n 2)
run_command="${readme_commands[0]:-}"
test_command="${readme_commands[1]:-}"
if [[ "$run_command" != *scripts/run.sh* || "$test_command" != *scripts/test.sh* ]]; then
  echo "test-fresh: the README's commands are not where expected: '$run_command', '$test_command'" >&2
  exit 1
fi

commit="$(git -c safe.directory='*' rev-parse HEAD)"
if [ -n "$(git -c safe.directory='*' status --porcelain --untracked-files=no)" ]; then
  echo "test-fresh: uncommitted changes are not tested; testing $commit"
fi

if [ ! -f "$bare" ]; then
  mirror="$(debian_mirror)"
  if [ -z "$mirror" ]; then
    echo "test-fresh: no bookworm main source in the machine's apt sources" >&2
    exit 1
  fi
  mkdir -p "$cache"
  scratch="$(mktemp -d "$cache/make.XXXXXX")"
  run debootstrap --variant=minbase bookworm "$scratch/root" "$mirror" >"$scratch/debootstrap.log" ||
    { tail -n 20 "$scratch/debootstrap.log"; exit 1; }
  run tar -C "$scratch/root" -cf "$scratch/bare.tar" .
  mv "$scratch/bare.tar" "$bare"
  rm -rf --one-file-system "$scratch"
  scratch=""
fi

mkdir -p "${KAV_FRESH_WORK:-/var/tmp}"
# A run killed outright had no clean-up: its root goes once nothing is
# mounted below it and it was last changed three hours ago (longer than a
# run may last).
for old in "${KAV_FRESH_WORK:-/var/tmp}"/kav-fresh.*; do
  if [ -d "$old" ] && [ -z "$(mounts_below "$old")" ] &&
    [ -n "$(find "$old" -maxdepth 0 -cmin +180)" ]; then
    say "removing $old, left by a run that was killed"
    rm -rf --one-file-system "$old"
  fi
done
root="$(mktemp -d "${KAV_FRESH_WORK:-/var/tmp}/kav-fresh.XXXXXX")"
chmod 755 "$root"
run tar -C "$root" -xf "$bare"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
run git -c safe.directory='*' clone --quiet --no-checkout --no-hardlinks "$repo" "$root/root/kav-pnb"
run git -C "$root/root/kav-pnb" checkout --quiet --detach "$commit"
run mount -t proc proc "$root/proc"
run mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
# The machine's Qt for Windows, built once (scripts/build-qt-windows.sh), is
# lent to the root read-only; a root that finds it missing or stale builds
# its own, and that build is kept for the next run.
qt_cache=/var/cache/kav-pnb-qt-windows
if [ -d "$qt_cache" ]; then
  mkdir -p "$root$qt_cache"
  run mount --bind "$qt_cache" "$root$qt_cache"
  mount -o remount,bind,ro "$root$qt_cache"
fi
keep_qt_build() {
  local built entry
  for built in "$root/var/tmp/kav-pnb-qt-windows" "$root$qt_cache"; do
    mountpoint -q "$built" 2>/dev/null && continue
    for entry in "$built"/*/.complete; do
      [ -f "$entry" ] || continue
      entry="$(dirname "$entry")"
      mkdir -p "$qt_cache"
      [ -e "$qt_cache/$(basename "$entry")" ] ||
        { say "keeping $(basename "$entry") in $qt_cache"; cp -a "$entry" "$qt_cache/"; }
    done
  done
}

log="$root/root/test.log"
status=0
{ in_root "$test_command" 2>&1 | tee "$log"; } &
wait $! || status=$?
keep_qt_build
count="$(grep -E '^tests: [0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1 || true)"
if [ "$status" -ne 0 ] || [ -z "$count" ]; then
  echo "test-fresh: the test command failed (exit status $status)"
  echo "${count:-tests: no closing count}"
  exit 1
fi

# The run command, offscreen: once the window program has started it must
# still be running 10 seconds later.
in_root "QT_QPA_PLATFORM=offscreen $run_command" >"$root/root/run.log" 2>&1 &
runner=$!
window_running() {
  local proc
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] &&
      [ "$(cat "$proc/comm" 2>/dev/null)" = kav_pnb ] && return 0
  done
  return 1
}
until window_running; do
  if ! kill -0 "$runner" 2>/dev/null; then
    cat "$root/root/run.log"
    echo "test-fresh: the run command ended without starting kav_pnb"
    echo "$count"
    exit 1
  fi
  sleep 1
done
sleep 10
if ! window_running; then
  cat "$root/root/run.log"
  echo "test-fresh: kav_pnb did not keep running for 10 seconds"
  echo "$count"
  exit 1
fi
echo "run: kav_pnb still running 10 seconds after it started"
stop_processes_in "$root"
wait "$runner" 2>/dev/null || true
echo "test-fresh: $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
echo "$count"
