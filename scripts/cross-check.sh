#!/usr/bin/env bash
# The same world on every processor. Cross-builds the runner for aarch64 (Debian's
# g++-aarch64-linux-gnu, the arm64 libraries beside the native ones through multiarch), runs
# it under qemu-aarch64 and checks that it plays exactly as the native runner of BUILD_DIR:
#   - the shipped battle's world dumps for SEEDS (3 7 11) at frames 5,000 and TICKS (20,000)
#     are byte for byte the same,
#   - every committed recording (tests/e2e/replays) verifies,
#   - kelvane-precision prints the committed digests of the world's real arithmetic.
# It also runs the native runner (500 frames of the battle, the same dump) and the game's
# --version on a plain x86-64 processor without SSE4.2 (qemu-x86_64 -cpu qemu64).
#
# usage: scripts/cross-check.sh BUILD_DIR
#   BUILD_DIR is a native build with kelvane-sim, kelvane-precision and the generated data.
#   The aarch64 build goes to BUILD_DIR/aarch64 (CROSS_BUILD), the native build's compiler
#   launcher (ccache) included.
# exit 0: alike; 1: a difference; 77: skipped, the cross tools or arm64 libraries are missing.
set -euo pipefail

build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/..")
cross=${CROSS_BUILD:-$build/aarch64}
ticks=${TICKS:-20000}
seeds=${SEEDS:-"3 7 11"}
sysroot=/usr/aarch64-linux-gnu

skip() { echo "cross-check skipped: $*" >&2; exit 77; }
command -v aarch64-linux-gnu-g++ >/dev/null || skip "no aarch64-linux-gnu-g++ (g++-aarch64-linux-gnu)"
command -v qemu-aarch64 >/dev/null || skip "no qemu-aarch64 (qemu-user)"
command -v qemu-x86_64 >/dev/null || skip "no qemu-x86_64 (qemu-user)"
for module in freetype2 fontconfig libpng libenet; do
  PKG_CONFIG_LIBDIR=/usr/lib/aarch64-linux-gnu/pkgconfig pkg-config --exists "$module" ||
    skip "no arm64 $module (scripts/install-deps.sh cross)"
done

status=0
fail() { echo "cross-check: $*"; status=1; }


launcher=$(sed -n 's/^CMAKE_CXX_COMPILER_LAUNCHER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
cmake -S "$source_dir" -B "$cross" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/aarch64-linux-gnu.cmake" ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} \
  -DKELVANE_GAME=OFF -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF >/dev/null
cmake --build "$cross" --target kelvane-sim kelvane-precision -j "$(nproc)" >/dev/null

# The arm64 C++ library comes with the cross compiler, the others through multiarch.
arm=(qemu-aarch64 -L "$sysroot" -E LD_LIBRARY_PATH=/usr/lib/aarch64-linux-gnu)

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-cross-XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$source_dir/scripts/game-dir.sh"

plain_cpu=(qemu-x86_64 -cpu qemu64)
python3 "$source_dir/scripts/battle_scenario.py" "$ticks" "$work/battle.json"
run() {  # runner seed frames
  local out=$work/$1-$2 data
  data=$(game_dir "$build" "$out/game")
  local sim=("$build/kelvane-sim")
  [ "$1" = arm ] && sim=("${arm[@]}" "$cross/kelvane-sim")
  [ "$1" = plain ] && sim=("${plain_cpu[@]}" "$build/kelvane-sim")
  local dumps=()
  for frame in 500 5000 "$ticks"; do [ "$frame" -le "$3" ] && dumps+=(--dump "$frame:$out/$frame.json"); done
  "${sim[@]}" --data "$data" --seed "$2" --scenario "$work/battle.json" --frames "$3" "${dumps[@]}" >/dev/null
}

# The aarch64 runs, each on a core of its own under qemu, while the native ones run.
arm_runs=()
for seed in $seeds; do
  run arm "$seed" "$ticks" &
  arm_runs+=($!)
done
expected=$source_dir/tests/combat/data/precision-digests.txt
"$build/kelvane-precision" >"$work/native.digests"
"${arm[@]}" "$cross/kelvane-precision" >"$work/arm.digests"
for runner in native arm; do
  diff -u "$expected" "$work/$runner.digests" >&2 || fail "the $runner precision digests differ from $expected"
done
for seed in $seeds; do run native "$seed" "$ticks"; done

# The native programs on the x86-64 baseline processor.
seed=${seeds%% *}
run plain "$seed" 500 || fail "kelvane-sim fails on a processor without SSE4.2"
cmp -s "$work/native-$seed/500.json" "$work/plain-$seed/500.json" || fail "the dump on a processor without SSE4.2 differs"
if [ -x "$build/kelvane" ]; then
  "${plain_cpu[@]}" "$build/kelvane" --version >/dev/null || fail "kelvane --version fails on a processor without SSE4.2"
fi
[ $status -eq 0 ] && echo "x86-64 without SSE4.2: kelvane-sim plays alike, kelvane --version runs"

for run in "${arm_runs[@]}"; do wait "$run" || fail "an aarch64 run failed"; done
for seed in $seeds; do
  for frame in 5000 "$ticks"; do
    if cmp -s "$work/native-$seed/$frame.json" "$work/arm-$seed/$frame.json"; then
      echo "seed $seed frame $frame: aarch64 dump identical"
    else
      fail "seed $seed frame $frame: the aarch64 dump differs"
    fi
  done
done

for recording in "$source_dir"/tests/e2e/replays/*.replay; do
  data=$(game_dir "$build" "$work/replay-$(basename "$recording" .replay)" classic)
  if "${arm[@]}" "$cross/kelvane-sim" --data "$data" --replay "$recording" --verify >"$work/verify.txt" 2>&1; then
    echo "$(basename "$recording"): verifies on aarch64"
  else
    fail "$(basename "$recording") does not verify on aarch64: $(tail -1 "$work/verify.txt")"
  fi
done
exit "$status"
