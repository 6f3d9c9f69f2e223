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
mkdir -p "$work/Data"
for name in GFX.dxg SFX.dxg Loading.dxg; do ln -s "$build/Data/$name" "$work/Data/$name"; done
ln -s "$build/Data/Ships" "$work/Data/Ships"
ln -s "$build/Scripts" "$work/Scripts"
"$build/kelvane-sim" --data "$work" --scenario tests/e2e/scenarios/replay_battle.json \
  --record tests/e2e/replays/battle.replay
"$build/kelvane-sim" --data "$work" --replay tests/e2e/replays/battle.replay --verify
