#!/usr/bin/env bash
# Runs the Windows headless tool under Wine beside the Linux one on the demo
# catalogue and compares their standard output, standard error, exit status
# and job file byte for byte. The Windows tool finds the catalogue through
# the Wine prefix's registry; the Linux tool through a registry file of its
# own, and reads the same program folder (--program-folder). Only the paths
# inside a message may differ: the Windows spelling of a known folder is
# turned into the Linux one before comparing. Prints each difference and
# ends with "cli: N identical, M different"; fails on any difference.
#
#   scripts/compare-windows-cli.sh WINDOWS_BUILD LINUX_TOOL    (WINEPREFIX set)
set -euo pipefail
build="$(cd "$1" && pwd)"
linux="$(realpath "$2")"
cd "$(dirname "$0")/.."
program="$build/bin"
catalog="$PWD/demo/common"
out="$build/compare"
rm -rf "$out"
mkdir -p "$out/linux" "$out/windows" "$out/config/Ostrel" "$out/empty"

# A Linux path as Wine shows it: on drive Z:, with "\".
windows() { printf 'Z:%s' "${1//\//\\}"; }

# The same folder; on Windows as its users often write it, with a closing
# separator (the Linux tool would show a doubled one, and always has).
wine reg add 'HKCU\Software\Ostrel\Common Files' /v Path /d "$(windows "$catalog")\\" /f >/dev/null
printf '[Common Files]\r\nPath=%s\r\n' "$catalog" >"$out/config/Ostrel/registry.ini"

# run NAME ARGS...: both tools with ARGS; "@empty" stands for an empty
# catalogue folder, as each system writes it.
run() {
  local name="$1" side arg code
  shift
  names+=("$name")
  for side in linux windows; do
    local args=()
    for arg in "$@"; do
      if [ "$arg" = "@empty" ]; then
        if [ $side = linux ]; then arg="$out/empty/"; else arg="$(windows "$out/empty")\\"; fi
      fi
      args+=("$arg")
    done
    if [ -e "$program/kav_pnb.lom" ]; then rm "$program/kav_pnb.lom"; fi
    if [ $side = linux ]; then
      XDG_CONFIG_HOME="$out/config" XDG_CONFIG_DIRS="$out/config" \
        "$linux" "${args[@]}" --program-folder "$program" >"$out/$side/$name.out" \
        2>"$out/$side/$name.err" && code=0 || code=$?
    else
      for attempt in 1 2; do
        wine "$program/kav_pnb_cli.exe" "${args[@]}" >"$out/$side/$name.out" \
          2>"$out/$side/$name.err" </dev/null && code=0 || code=$?
        # Wine itself failing to start the program (its server gone, its
        # client cut off) says nothing of the tool: that run is made again,
        # once, and said so.
        if grep -qE '^wine(server)?: |wine client error' "$out/$side/$name.err" ||
          { [ ! -s "$out/$side/$name.out" ] && [ ! -s "$out/$side/$name.err" ] &&
            [ -s "$out/linux/$name.out" ]; }; then
          [ "$attempt" = 1 ] && echo "cli: $name: Wine did not run the tool ($(head -c 200 "$out/$side/$name.err")); again"
          continue
        fi
        break
      done
    fi
    echo "$code" >"$out/$side/$name.status"
    if [ -f "$program/kav_pnb.lom" ]; then mv "$program/kav_pnb.lom" "$out/$side/$name.lom"; fi
  done
}

# Turns the Windows spelling of the stage's folders into the Linux one, as
# written and as JSON writes it (every "\" doubled).
unwindows() {
  local pairs
  pairs="$(printf '%s\t%s\n' "$(windows "$program")\\data\\" "$program/data/" \
    "$(windows "$program")\\Images\\" "$program/Images/" "$(windows "$program")\\" "$program/" \
    "$(windows "$catalog")\\" "$catalog/" "$(windows "$out/empty")\\" "$out/empty/")"
  PAIRS="$pairs" perl -pi -e '
    BEGIN {
      @pairs = map { [split /\t/] } split /\n/, $ENV{PAIRS};
      push @pairs, map { [$_->[0] =~ s/\\/\\\\/gr, $_->[1]] } @pairs;
    }
    for my $pair (@pairs) { s/\Q$pair->[0]\E/$pair->[1]/g }' "$@"
}

names=()
run query-all query --all

# Every model's sheet and options: no batch form, so one run each.
models=()
while IFS=$'\t' read -r model _; do models+=("$model"); done < <(tail -n +2 "$out/linux/query-all.out")
for i in "${!models[@]}"; do
  run "spec-$i" spec "${models[$i]}"
  run "options-$i" options "${models[$i]}"
done

# Every model built, in each format, as one batch; the job file too.
printf '%s,,,\r\n' "${models[@]}" >"$out/batch.csv"
run batch-tsv build --batch "$out/batch.csv" --lom
run batch-csv build --batch "$out/batch.csv" --format csv
run batch-json build --batch "$out/batch.csv" --format json
run build-lom build OUR4-23 --flange PBR220 --radome grey --pack 2 --lom

# The check (both tools decode every picture) and the error texts of a
# missing file and an unknown model.
run check check
run check-json check --format json
run missing-file query --all --catalog @empty
run missing-check check --catalog @empty --format csv
run unknown-spec spec NO-SUCH-MODEL
run unknown-build build NO-SUCH-MODEL --format json
unwindows "$out/windows/check.out" "$out/windows/check-json.out" "$out/windows/missing-"*
# Where the catalogue folder is set is each system's own place (a registry
# file, a registry key): that one sentence is compared as a placeholder.
perl -pi -e 's/^The catalogue folder is .*(For one run: --catalog DIR\.)$/<where the folder is set> $1/' \
  "$out/linux/missing-"* "$out/windows/missing-"*

# Paths the Windows way: "\" throughout, one separator between names.
w="$(windows "$program")"
{
  printf 'program=%s\\\nworking=%s\\\ndata=%s\\data\\\njob=%s\\kav_pnb.lom\n' "$w" "$w" "$w" "$w"
  printf 'registry=HKEY_CURRENT_USER\\Software\\Ostrel\nregistry=HKEY_LOCAL_MACHINE\\Software\\Ostrel\n'
  printf 'registry=HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Ostrel\n'
  printf 'catalog=%s\\\n' "$(windows "$catalog")"
} >"$out/linux/paths.out"
wine "$program/kav_pnb_cli.exe" paths >"$out/windows/paths.out"
names+=(paths)

# One comparison of everything; a name is different when any of its files is.
declare -A bad=()
while read -r file; do
  file="${file##*/}"
  bad["${file%.*}"]=1
done < <(diff -rq "$out/linux" "$out/windows" | sed -nE 's/^Files .* and (.*) differ$/\1/p; s/^Only in .*: //p')
for name in "${!bad[@]}"; do
  echo "cli: $name differs (see $out/*/$name.*)"
  for part in out err; do
    cmp -s "$out/linux/$name.$part" "$out/windows/$name.$part" 2>/dev/null ||
      diff <(od -c "$out/linux/$name.$part") <(od -c "$out/windows/$name.$part") | head -n 6 || true
  done
done
echo "cli: $((${#names[@]} - ${#bad[@]})) identical, ${#bad[@]} different"
[ "${#bad[@]}" -eq 0 ]
