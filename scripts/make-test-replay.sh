#!/usr/bin/env bash
# Makes the committed recording that the end-to-end tests verify in every build
# (tests/e2e/replays/battle.replay): the replay_battle scenario recorded by a Release
# build's runner on its generated data. Run it when the generated data has changed.
#
# usage: scripts/make-test-replay.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-replay-XXXXXX")
trap 'rm -rf "$work"' EXIT
source scripts/game-dir.sh
game=$(game_dir "$build" "$work/game")
"$build/kelvane-sim" --data "$game" --scenario tests/e2e/scenarios/replay_battle.json \
  --record tests/e2e/replays/battle.replay
"$build/kelvane-sim" --data "$game" --replay tests/e2e/replays/battle.replay --verify
