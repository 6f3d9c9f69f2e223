#!/usr/bin/env bash
# The installed game as a player gets it: installed with DESTDIR into a temporary prefix,
# the whole prefix made read-only, and run by an unprivileged user with a fresh HOME.
#  - every file of the layout is there; the desktop entry and the AppStream data validate;
#    the manual page renders without a warning;
#  - the installed kelvane-sim starts on the installed data, keeps Ships.dxg in
#    $HOME/.cache/kelvane/, and CREATESHIP puts a ship into play (dump and picture);
#  - the installed kelvane starts under Xvfb (with openbox as the window manager), a ship
#    typed into its console changes the picture, and a typed QUIT ends it with status 0.
#
# usage: installed_game_test.sh BUILD_DIR
# exit 0: passed; 1: failed; 77: skipped (root without runuser or setpriv).
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# --- inside the X server (run by the player): the game, typed into, photographed -------
if [ "${1:-}" = "--in-x" ]; then
  prefix=$2 out=$3
  openbox >"$out/openbox.log" 2>&1 &
  wm=$!
  SDL_AUDIODRIVER=dummy "$prefix/bin/kelvane" >"$out/game.log" 2>&1 &
  game=$!
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name Kelvane >/dev/null 2>&1 && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  sleep 3  # the loading sequence and the first frames
  shot() { import -window root "$out/$1.png"; }
  shot idle1
  sleep 1
  shot idle2
  xdotool key grave
  sleep 0.4
  xdotool type --delay 200 "createship vigil"  # the console takes one key a frame (40 ms)
  sleep 0.3
  xdotool key Return
  sleep 0.3
  xdotool key grave
  sleep 1
  shot created
  xdotool key grave
  sleep 0.4
  xdotool type --delay 200 "quit"
  sleep 0.3
  xdotool key Return
  ended() { for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || return 0; sleep 0.1; done; return 1; }
  # A key that lands in the same frame as another is lost (the console takes one a frame),
  # which a starved machine can cause; then the window is closed as a player would.
  if ! ended; then
    echo "typed QUIT was lost; closing the window" >"$out/quit.txt"
    xdotool key alt+F4
  fi
  status=0
  if ended; then wait "$game" || status=$?; else kill "$game"; status=124; fi
  kill "$wm" 2>/dev/null || true
  echo "$status" >"$out/game.status"
  exit 0
fi

# --- the test ----------------------------------------------------------------------------
build=$(realpath "$1")
for tool in xvfb-run xdotool import compare openbox desktop-file-validate appstreamcli groff; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

# The player: nobody when we are root, else ourselves (a read-only prefix stops us too).
player_cmd=()
if [ "$(id -u)" -eq 0 ]; then
  if command -v runuser >/dev/null; then
    player_cmd=(runuser -u nobody --)
  elif command -v setpriv >/dev/null; then
    player_cmd=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  else
    echo "SKIPPED: running as root without runuser or setpriv, so nothing can run as an unprivileged user"
    exit 77
  fi
fi
player_id=$("${player_cmd[@]}" id -u)

# Everything the player touches lies under one world-readable folder.
work=$(mktemp -d /tmp/kelvane-install-XXXXXX)
# What the player saw and wrote is kept in the build folder when the test fails.
keep=$build/Testing/install-test
rm -rf "$keep"
finish() {
  local status=$?
  chmod -R u+w "$work" 2>/dev/null
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then mkdir -p "$keep" && cp -r "$work/out/." "$keep/"; fi
  rm -rf "$work"
}
trap finish EXIT
chmod 755 "$work"
mkdir "$work/home" "$work/out"
[ "$(id -u)" -eq 0 ] && chown "$player_id" "$work/home" "$work/out"
cp "$0" "$work/test.sh"
chmod 755 "$work/test.sh"

DESTDIR="$work/root" cmake --install "$build" --prefix /opt/kelvane >"$work/install.log" \
  || fail "cmake --install failed: $(cat "$work/install.log")"
root=$work/root
prefix=$root/opt/kelvane
share=$prefix/share

for file in bin/kelvane bin/kelvane-sim \
            share/kelvane/Data/GFX.dxg share/kelvane/Data/SFX.dxg share/kelvane/Data/Loading.dxg \
            share/kelvane/Data/Icon.bmp share/kelvane/Data/Ships/Vigil.ini share/kelvane/Data/Ships/Vigil.bmp \
            share/kelvane/Scripts/battle share/applications/kelvane.desktop \
            share/icons/hicolor/48x48/apps/kelvane.png share/icons/hicolor/128x128/apps/kelvane.png \
            share/icons/hicolor/256x256/apps/kelvane.png share/metainfo/kelvane.metainfo.xml \
            share/man/man6/kelvane.6; do
  [ -f "$prefix/$file" ] || fail "the install lacks $file"
done
[ -e "$share/kelvane/Data/Ships.dxg" ] && fail "the install carries a Ships.dxg of the build folder"
for size in 48 128 256; do
  geometry=$(identify -format '%wx%h %[channels]' "$share/icons/hicolor/${size}x${size}/apps/kelvane.png")
  [ "$geometry" = "${size}x${size} srgba" ] || fail "icon ${size}: $geometry"
done

desktop-file-validate "$share/applications/kelvane.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/kelvane.metainfo.xml" >"$work/appstream.log" 2>&1 \
  || fail "appstreamcli: $(cat "$work/appstream.log")"
manual=$(groff -man -ww -z "$share/man/man6/kelvane.6" 2>&1) || true
[ -z "$manual" ] || fail "the manual page: $manual"

chmod -R a-w "$root"

# The player's environment: nothing but a fresh HOME (and the sanitizers' settings).
player_env=(env -i "HOME=$work/home" "PATH=/usr/bin:/bin" "LANG=C.UTF-8")
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
  [ -n "${!name:-}" ] && player_env+=("$name=${!name}")
done
as_player() { "${player_cmd[@]}" "${player_env[@]}" "$@"; }
# How many pixels of two pictures differ (compare may print it as 1.2e+06).
pixels_differ() { { compare -metric AE "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'; }

# The runner: one run with a ship created, one without; both on the installed data.
printf '{"frames": 12, "steps": [{"after": 1, "command": "CREATESHIP Vigil"}]}' >"$work/create.json"
as_player "$prefix/bin/kelvane-sim" --scenario "$work/create.json" --dump "last:$work/out/created.json" \
  --shot "last:$work/out/sim-created.png" 2>"$work/sim.err" || fail "kelvane-sim: $(cat "$work/sim.err")"
as_player "$prefix/bin/kelvane-sim" --frames 12 --shot "last:$work/out/sim-empty.png" 2>>"$work/sim.err" \
  || fail "kelvane-sim: $(cat "$work/sim.err")"
[ -f "$work/home/.cache/kelvane/Ships.dxg" ] || fail "no Ships.dxg in the player's cache folder"
grep -q '"ShipCount": 1,' "$work/out/created.json" || fail "CREATESHIP put no ship into play"
grep -q 'Ship KSS Vigil hase been created and is under your control.' "$work/out/created.json" \
  || fail "CREATESHIP wrote no console line"
pixels=$(pixels_differ "$work/out/sim-empty.png" "$work/out/sim-created.png")
[ "$pixels" -gt 10000 ] || fail "the runner's picture shows no ship (pixels differing: $pixels)"
echo "kelvane-sim: started on the installed data, Ships.dxg in the cache, $pixels pixels changed by the ship"

# The game under Xvfb, as the same player.
rm -f "$work/home/.cache/kelvane/Ships.dxg"
as_player timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' bash "$work/test.sh" --in-x "$prefix" "$work/out" \
  || fail "xvfb-run failed"
idle=$(pixels_differ "$work/out/idle1.png" "$work/out/idle2.png")
changed=$(pixels_differ "$work/out/idle2.png" "$work/out/created.png")
# Idle frames differ only in the frame counter and such; a ship in play moves the view.
[ "$changed" -gt 50000 ] && [ "$changed" -gt $((10 * idle)) ] \
  || fail "the typed CREATESHIP did not change the picture (idle: $idle pixels, after: $changed); the game said: $(cat "$work/out/game.log")"
status=$(cat "$work/out/game.status" 2>/dev/null || echo none)
[ "$status" = 0 ] || fail "kelvane ended with status $status: $(cat "$work/out/game.log")"
[ -f "$work/home/.cache/kelvane/Ships.dxg" ] || fail "the game wrote no Ships.dxg into the player's cache"
echo "kelvane: started under Xvfb on the installed data; idle frames differ in $idle pixels, the typed ship changed $changed"
[ -f "$work/out/quit.txt" ] && cat "$work/out/quit.txt"
exit 0
