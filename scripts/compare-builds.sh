#!/usr/bin/env bash
# Compares two builds of the game frame for frame: the shipped eight-ship battle, with the
# player flying and firing, run by each build's kelvane-sim for TICKS ticks (default 20,000)
# with two seeds, on the classic ship types on both sides. The world dumps every DUMP_EVERY
# ticks (default 100) must be identical; the screenshots every SHOT_EVERY ticks (default
# 500) are compared pixel by pixel and every difference is listed with the box it lies in,
# so a change meant to touch only some pixels (a bar, a hint) can be told from one that
# moves the game.
#
# usage: scripts/compare-builds.sh OLD_DIR NEW_DIR
#   each DIR holds kelvane-sim with its generated Data/ and Scripts/ (a build folder, or a
#   copy of one kept from before a change). Needs python3 and ImageMagick's compare.
# exit 0: dumps identical and screenshots identical; 1: dumps differ; 2: only pixels differ.
set -euo pipefail

old=$(realpath "$1")
new=$(realpath "$2")
ticks=${TICKS:-20000}
dump_every=${DUMP_EVERY:-100}
shot_every=${SHOT_EVERY:-500}
seeds=${SEEDS:-"1 7"}
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT

scenario=$work/battle.json
python3 "$(dirname "$0")/battle_scenario.py" "$ticks" "$scenario" --shields

source "$(dirname "$0")/game-dir.sh"
run() {  # build-dir seed out-dir
  local build=$1 seed=$2 out=$3 data
  mkdir -p "$out/dumps" "$out/shots"
  data=$(game_dir "$build" "$out/game" classic)
  local args=()
  for ((k = 0; k <= ticks; k += dump_every)); do args+=(--dump "$k:$out/dumps/$k.json"); done
  for ((k = shot_every; k <= ticks; k += shot_every)); do args+=(--shot "$k:$out/shots/$k.png"); done
  "$build/kelvane-sim" --data "$data" --seed "$seed" --scenario "$scenario" --frames "$ticks" "${args[@]}" \
    >/dev/null
}

status=0
for seed in $seeds; do
  run "$old" "$seed" "$work/old-$seed" &
  run "$new" "$seed" "$work/new-$seed"
  wait
  differing=$(cd "$work/old-$seed/dumps" && for f in $(ls | sort -n); do
    cmp -s "$f" "$work/new-$seed/dumps/$f" || echo "${f%.json}"; done)
  count=$(ls "$work/old-$seed/dumps" | wc -l)
  if [ -n "$differing" ]; then
    echo "seed $seed: dumps differ from tick $(echo "$differing" | head -1) on ($(echo "$differing" | wc -l) of $count)"
    status=1
  else
    echo "seed $seed: $count dumps identical (ticks 0..$ticks every $dump_every)"
  fi
  shots=0 same=0
  for f in $(cd "$work/old-$seed/shots" && ls | sort -n); do
    shots=$((shots + 1))
    if cmp -s "$work/old-$seed/shots/$f" "$work/new-$seed/shots/$f"; then same=$((same + 1)); continue; fi
    pixels=$(compare -metric AE "$work/old-$seed/shots/$f" "$work/new-$seed/shots/$f" null: 2>&1 || true)
    if [ "$pixels" = "0" ]; then same=$((same + 1)); continue; fi
    box=$(compare "$work/old-$seed/shots/$f" "$work/new-$seed/shots/$f" -compose src -highlight-color white \
          -lowlight-color black png:- 2>/dev/null | convert - -trim -format '%wx%h%X%Y' info: 2>/dev/null || true)
    echo "  seed $seed tick ${f%.png}: $pixels pixels differ, within $box"
    [ "$status" -eq 0 ] && status=2
  done
  echo "seed $seed: $same of $shots screenshots identical (every $shot_every ticks)"
done
exit "$status"
