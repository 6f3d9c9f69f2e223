#!/usr/bin/env bash
# Makes the committed recordings that the end-to-end tests verify in every build: the
# replay_battle scenario (tests/e2e/replays/battle.replay) and a tournament's duel, Bastion
# against Wisp (tests/e2e/replays/duel.replay), each recorded by a Release build's runner
# on its generated data. Run it when the generated data has changed.
#
# usage: scripts/make-test-replay.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-replay-XXXXXX")
trap 'rm -rf "$work"' EXIT
source scripts/game-dir.sh
# The player's own ships and scripts stay out of the recordings.
export XDG_DATA_HOME="$work/xdg-data"
game=$(game_dir "$build" "$work/game" classic)
"$build/kelvane-sim" --data "$game" --scenario tests/e2e/scenarios/replay_battle.json \
  --record tests/e2e/replays/battle.replay
"$build/kelvane-sim" --data "$game" --replay tests/e2e/replays/battle.replay --verify
"$build/kelvane-sim" --tournament --data "$game" --ships Bastion,Wisp --games 1 --seed 1 \
  --record-duels "$work/duels" > /dev/null
cp "$work/duels/Bastion-Wisp-01.replay" tests/e2e/replays/duel.replay
"$build/kelvane-sim" --data "$game" --replay tests/e2e/replays/duel.replay --verify
