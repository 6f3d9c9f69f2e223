#!/usr/bin/env bash
# The installed game as a player gets it: installed with DESTDIR into a temporary prefix,
# the whole prefix made read-only, and run by an unprivileged user with a fresh HOME.
#  - every file of the layout is there; the desktop entry and the AppStream data validate;
#    the manual page renders without a warning;
#  - the installed kelvane-sim starts on the installed data, keeps Ships.dxg in
#    $HOME/.cache/kelvane/, and CREATESHIP puts a ship into play (dump and picture);
#  - the installed kelvane starts under Xvfb (with openbox as the window manager), a ship
#    typed into its console shows in the picture, and a typed QUIT ends it with status 0.
#
# usage: installed_game_test.sh BUILD_DIR
# exit 0: passed; 1: failed; 77: skipped (root without runuser or setpriv).
set -euo pipefail
umask 022  # what the install creates must be readable by the player

fail() { echo "FAIL: $*" >&2; exit 1; }

# --- the player's session: a private X server, the game typed into and photographed --------
if [ "${1:-}" = "--in-x" ]; then
  prefix=$2 out=$3
  # Xvfb picks a free display itself (-displayfd) and takes local connections only, so this
  # never meets another X server of the machine, whatever else runs beside it.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$out/display" 2>"$out/xvfb.log" &
  xserver=$!
  for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
  [ -s "$out/display" ] || { echo "Xvfb did not start: $(cat "$out/xvfb.log")" >"$out/game.log"; exit 0; }
  export DISPLAY=":$(cat "$out/display")"
  # The game starts once openbox manages the screen: a window mapped while the window
  # manager is still starting may never be shown.
  openbox --startup "touch $out/openbox-ready" >"$out/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 100); do [ -f "$out/openbox-ready" ] && break; sleep 0.1; done
  # Under ASan the desktop's own libraries (D-Bus, X) leave small leaks at exit that are
  # none of the game's; the runner above is checked for leaks instead.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SDL_AUDIODRIVER=dummy \
    "$prefix/bin/kelvane" >"$out/game.log" 2>&1 &
  game=$!
  shot() { import -window root "$out/$1.png"; }
  # The loading screen is a picture on black; the game's own frames fill the screen but for
  # the bars above and below (1280 x 960 of 1280 x 1024: 6 % black).
  black_share() { convert "$1" -fill white +opaque black -format '%[fx:1-mean]' info:; }
  for _ in $(seq 120); do
    kill -0 "$game" 2>/dev/null || break
    if xdotool search --onlyvisible --name Kelvane >/dev/null 2>&1; then
      shot probe
      if awk -v black="$(black_share "$out/probe.png")" 'BEGIN { exit !(black < 0.3) }'; then
        touch "$out/loaded"
        break
      fi
    fi
    sleep 0.5
  done
  sleep 1
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
  status=124
  for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then kill "$game"; else status=0; wait "$game" || status=$?; fi
  kill "$wm" "$xserver" 2>/dev/null || true
  echo "$status" >"$out/game.status"
  exit 0
fi

# --- the test ----------------------------------------------------------------------------
build=$(realpath "$1")
for tool in Xvfb xdotool import compare openbox desktop-file-validate appstreamcli groff; do
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
# What the player saw and wrote is kept in the build folder when the test fails (always
# with KEEP_TEST_OUTPUT=1).
keep=$build/Testing/install-test
rm -rf "$keep"
finish() {
  local status=$?
  chmod -R u+w "$work" 2>/dev/null
  if [ -n "${KEEP_TEST_OUTPUT:-}" ] || { [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; }; then
    mkdir -p "$keep" && cp -r "$work/out/." "$keep/"
  fi
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
# Icons of their size, transparent in the corner the badge cuts off, opaque in the middle.
for size in 48 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/kelvane.png
  looks=$(convert "$icon" -format "%wx%h %[channels] %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]" info:)
  [ "$looks" = "${size}x${size} srgba 0 1" ] || fail "icon ${size}: $looks (size, channels, corner and middle alpha)"
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
as_player timeout 180 bash "$work/test.sh" --in-x "$prefix" "$work/out" || fail "the X session failed"
[ -f "$work/out/loaded" ] || fail "the game showed no frame of its own: $(cat "$work/out/game.log")"
idle=$(pixels_differ "$work/out/idle1.png" "$work/out/idle2.png")
changed=$(pixels_differ "$work/out/idle2.png" "$work/out/created.png")
# Idle frames differ only in the frame counter and such; a ship in play moves the view.
[ "$changed" -gt 50000 ] && [ "$changed" -gt $((10 * idle)) ] \
  || fail "the typed CREATESHIP did not change the picture (idle: $idle pixels, after: $changed);" \
          "the game said: $(cat "$work/out/game.log")"
status=$(cat "$work/out/game.status" 2>/dev/null || echo none)
[ "$status" = 0 ] || fail "kelvane ended with status $status (124: still running 10 s after a typed QUIT):" \
                         "$(cat "$work/out/game.log")"
[ -f "$work/home/.cache/kelvane/Ships.dxg" ] || fail "the game wrote no Ships.dxg into the player's cache"
echo "kelvane: started under Xvfb on the installed data; idle frames differ in $idle pixels, the typed ship changed $changed"
