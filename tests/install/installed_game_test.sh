#!/usr/bin/env bash
# The installed game as a player gets it: installed with DESTDIR into a temporary prefix,
# the whole prefix made read-only, and run by an unprivileged user with a fresh HOME.
#  - every file of the layout is there (the programs in the folder the build's install
#    rules name, games/ by default); the desktop entry and the AppStream data validate;
#    the compressed manual pages render without a warning;
#  - the installed kelvane-sim starts on the installed data, keeps Ships.dxg in
#    $HOME/.cache/kelvane/, and CREATESHIP puts a ship into play (dump and picture);
#  - the installed kelvane starts under Xvfb (with openbox as the window manager), a ship
#    typed into its console shows as in the installed runner's picture of the same moment,
#    and a typed QUIT ends it with status 0 (installed_session.py, on the shared X helpers
#    of tests/xvfb/xharness.py).
#
# usage: installed_game_test.sh BUILD_DIR
# exit 0: passed; 1: failed; 77: skipped (root without runuser or setpriv).
set -euo pipefail
umask 022  # what the install creates must be readable by the player

fail() { echo "FAIL: $*" >&2; exit 1; }

# --- the test ----------------------------------------------------------------------------
build=$(realpath "$1")
for tool in Xvfb xdotool import compare openbox desktop-file-validate appstreamcli groff gzip; do
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
# The player may not read the source tree: the X session's scripts go beside the work.
here=$(dirname "$(realpath "$0")")
cp "$here/installed_session.py" "$here/../xvfb/xharness.py" "$work/"
chmod 644 "$work/installed_session.py" "$work/xharness.py"

DESTDIR="$work/root" cmake --install "$build" --prefix /opt/kelvane >"$work/install.log" \
  || fail "cmake --install failed: $(cat "$work/install.log")"
root=$work/root
prefix=$root/opt/kelvane
share=$prefix/share
# The programs' folder below the prefix, as this build was configured.
gamesdir=$(sed -n 's/^KELVANE_INSTALL_GAMESDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$gamesdir" ] || fail "no KELVANE_INSTALL_GAMESDIR in $build/CMakeCache.txt"
programs=$prefix/$gamesdir

for file in "$gamesdir/kelvane" "$gamesdir/kelvane-sim" \
            share/kelvane/Data/GFX.dxg share/kelvane/Data/SFX.dxg share/kelvane/Data/Loading.dxg \
            share/kelvane/Data/Icon.bmp share/kelvane/Data/Ships/Vigil.ini share/kelvane/Data/Ships/Vigil.bmp \
            share/kelvane/Scripts/battle share/applications/kelvane.desktop \
            share/icons/hicolor/48x48/apps/kelvane.png share/icons/hicolor/128x128/apps/kelvane.png \
            share/icons/hicolor/256x256/apps/kelvane.png share/metainfo/kelvane.metainfo.xml \
            share/man/man6/kelvane.6.gz share/man/man6/kelvane-sim.6.gz \
            share/doc/kelvane/copyright share/doc/kelvane/changelog.gz share/doc/kelvane/README.md; do
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
for page in kelvane kelvane-sim; do
  manual=$(gzip -dc "$share/man/man6/$page.6.gz" | groff -man -ww -z 2>&1) || true
  [ -z "$manual" ] || fail "the manual page of $page: $manual"
done

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
as_player "$programs/kelvane-sim" --scenario "$work/create.json" --dump "last:$work/out/created.json" \
  --shot "last:$work/out/sim-created.png" 2>"$work/sim.err" || fail "kelvane-sim: $(cat "$work/sim.err")"
as_player "$programs/kelvane-sim" --frames 12 --shot "last:$work/out/sim-empty.png" 2>>"$work/sim.err" \
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
as_player timeout 240 python3 "$work/installed_session.py" "$programs" "$work/home" >"$work/out/session.log" 2>&1 \
  || fail "the installed game under Xvfb: $(cat "$work/out/session.log")"
[ -f "$work/home/.cache/kelvane/Ships.dxg" ] || fail "the game wrote no Ships.dxg into the player's cache"
echo "kelvane: started under Xvfb on the installed data; $(grep 'installed game:' "$work/out/session.log")"
