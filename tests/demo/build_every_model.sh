#!/usr/bin/env bash
# Every model of the demo catalogue builds a part number through the
# headless tool, and a query lists them all.
# Usage: build_every_model.sh BIN_DIR CONFIG_DIR DEMO_DIR
set -euo pipefail
bin="$1"
export XDG_CONFIG_HOME="$2"
demo="$3"
cli="$bin/kav_pnb_cli"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# A private copy of the program folder: the tool writes its own files there.
cp "$cli" "$scratch/"
cp -r "$bin/data" "$bin/Images" "$scratch/"

models=$(tail -n +3 "$demo/common/MWAnts.dat" | tr -d '\r' | grep -v '^[#*;[^`{~]' | cut -d'|' -f10 | sed 's/^ *//;s/ *$//')
count=0
for model in $models; do
  out=$("$scratch/kav_pnb_cli" build "$model" 2>&1) || { echo "build $model failed: $out"; exit 1; }
  grep -q "^Custom Part Number=$model-" <<<"$out" || { echo "no part number for $model: $out"; exit 1; }
  count=$((count + 1))
done
listed=$("$scratch/kav_pnb_cli" query --all | tail -n +2 | wc -l)
[ "$listed" -eq "$count" ] || { echo "query --all listed $listed of $count models"; exit 1; }
"$scratch/kav_pnb_cli" build "$(head -1 <<<"$models")" --lom >/dev/null
grep -q '^1=1|each|' "$scratch/kav_pnb.lom"
echo "$count models built"
