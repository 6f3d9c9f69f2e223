#!/usr/bin/env bash
# Soak: the shipped eight-ship battle for 100,000 ticks through kelvane-sim.
#  1. In the ASan + UBSan build: it must end with exit code 0, no sanitizer report and no
#     error swallowed by the frame loop (SwallowedErrors 0 in the final dump).
#  2. In the Release build: peak resident memory after 100,000 ticks may exceed that after
#     20,000 ticks only by the console log's growth (limit SOAK_RSS_SLACK_KIB, default 1024),
#     and ships must have scored between the two: the fight went on all along.
#
# usage: scripts/soak.sh ASAN_BUILD_DIR RELEASE_BUILD_DIR   (both with kelvane-sim built;
#        the generated Data/ and Scripts/ are taken from the Release build)
set -euo pipefail

asan_build=$(realpath "$1")
release_build=$(realpath "$2")
ticks=${SOAK_TICKS:-100000}
short_ticks=${SOAK_SHORT_TICKS:-20000}
slack_kib=${SOAK_RSS_SLACK_KIB:-1024}
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-soak-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The shipped battle with the player flying and fighting all along. Computer ships left to
# themselves settle into circling each other after some thousands of ticks, so every 2,500
# ticks the scenario also scatters all eight ships over the screen (always the same places)
# and the fight starts afresh: kills, explosions and re-entries go on to the end.
scenario=$work/soak.json
python3 "$(dirname "$0")/battle_scenario.py" "$ticks" "$scenario" --scatter --seed 1

source "$(dirname "$0")/game-dir.sh"

summary() {  # dump file -> "kills K, scores S, swallowed E, log lines L"
  python3 - "$1" <<'PY'
import json, sys
state = json.load(open(sys.argv[1], encoding="utf-8"))
kills = sum(1 for line in state["ConsoleLog"] if line.endswith(" is destroyed..."))
scores = sum(ship["Score"] for ship in state["Ships"])
print(f"kills {kills}, score total {scores}, swallowed errors {state['SwallowedErrors']}, "
      f"console lines {len(state['ConsoleLog'])}, log bytes {sum(len(l) for l in state['ConsoleLog'])}")
PY
}

failed=0

echo "soak 1: $ticks ticks in $asan_build (ASan + UBSan)"
dir=$(game_dir "$release_build" "$work/asan")
start=$(date +%s)
status=0
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$asan_build/kelvane-sim" --data "$dir" --scenario "$scenario" --frames "$ticks" \
  --dump "last:$work/asan-final.json" >"$work/asan-out.txt" 2>"$work/asan-err.txt" || status=$?
echo "  exit code $status after $(( $(date +%s) - start )) s"
if [ "$status" -ne 0 ] || grep -qE 'Sanitizer|runtime error' "$work/asan-err.txt"; then
  echo "  FAILED: sanitizer report or error exit:"; head -40 "$work/asan-err.txt"; failed=1
fi
if [ -s "$work/asan-final.json" ]; then
  line=$(summary "$work/asan-final.json"); echo "  $line"
  case "$line" in *"swallowed errors 0,"*) ;; *) echo "  FAILED: errors were swallowed"; failed=1 ;; esac
else
  echo "  FAILED: no final dump"; failed=1
fi

echo "soak 2: peak RSS of the Release runner, $short_ticks against $ticks ticks"
rss() {  # ticks -> peak RSS in KiB, read by the parent: --timing would add its own record of
         # every tick's time to the figure
  local d; d=$(game_dir "$release_build" "$work/rss-$1")
  python3 - "$release_build/kelvane-sim" --data "$d" --scenario "$scenario" --frames "$1" \
    --dump "last:$work/rss-$1.json" <<'PY'
import resource, subprocess, sys
if subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL).returncode == 0:
    print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
PY
}
short_rss=$(rss "$short_ticks" || true)
long_rss=$(rss "$ticks" || true)
echo "  $short_ticks ticks: $short_rss KiB ($(summary "$work/rss-$short_ticks.json"))"
echo "  $ticks ticks: $long_rss KiB ($(summary "$work/rss-$ticks.json"))"
growth=$(( long_rss - short_rss ))
echo "  growth $growth KiB (limit $slack_kib KiB)"
if [ -z "$short_rss" ] || [ -z "$long_rss" ] || [ "$growth" -gt "$slack_kib" ]; then
  echo "  FAILED: resident memory grows"; failed=1
fi

score_total() { python3 -c 'import json,sys; print(sum(s["Score"] for s in json.load(open(sys.argv[1]))["Ships"]))' "$1"; }
if [ -s "$work/rss-$short_ticks.json" ] && [ -s "$work/rss-$ticks.json" ] &&
   [ "$(score_total "$work/rss-$ticks.json")" -gt "$(score_total "$work/rss-$short_ticks.json")" ]; then
  echo "  the fight went on: ships scored after tick $short_ticks"
else
  echo "  FAILED: nobody scored after tick $short_ticks"; failed=1
fi

if [ "$failed" -ne 0 ]; then echo "soak: FAILED"; exit 1; fi
echo "soak: ok"
