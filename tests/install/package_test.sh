#!/usr/bin/env bash
# The Debian package that `make package` builds (CPack, from this build's install rules):
# its name, its layout (a game: the programs in /usr/games), its Depends, one version
# everywhere it is written, lintian --pedantic with no error and no warning, and that the
# runner unpacked from it starts on the data it carries.
#
# usage: package_test.sh BUILD_DIR
set -euo pipefail
umask 022  # the folders of the package take the umask: the usual one

fail() { echo "FAIL: $*" >&2; exit 1; }
build=$(realpath "$1")
for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian gzip; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
work=$(mktemp -d /tmp/kelvane-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || fail "cpack: $(cat "$work/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$work/kelvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work")"

# --- the layout ----------------------------------------------------------------------------
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
for path in ./usr/games/kelvane ./usr/games/kelvane-sim ./usr/share/kelvane/Data/GFX.dxg \
            ./usr/share/kelvane/Data/SFX.dxg ./usr/share/kelvane/Data/Loading.dxg ./usr/share/kelvane/Data/Icon.bmp \
            ./usr/share/kelvane/Data/Ships/Vigil.ini ./usr/share/kelvane/Data/Ships/Vigil.bmp \
            ./usr/share/kelvane/Scripts/battle ./usr/share/applications/kelvane.desktop \
            ./usr/share/icons/hicolor/48x48/apps/kelvane.png ./usr/share/icons/hicolor/128x128/apps/kelvane.png \
            ./usr/share/icons/hicolor/256x256/apps/kelvane.png ./usr/share/metainfo/kelvane.metainfo.xml \
            ./usr/share/man/man6/kelvane.6.gz ./usr/share/man/man6/kelvane-sim.6.gz \
            ./usr/share/doc/kelvane/copyright ./usr/share/doc/kelvane/changelog.gz \
            ./usr/share/lintian/overrides/kelvane; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -q 'Ships\.dxg$' <<<"$contents" && fail "the package carries a Ships.dxg"
grep -q '^\./usr/bin/' <<<"$contents" && fail "a game's programs belong in /usr/games, not /usr/bin"
[ "$(dpkg-deb --field "$deb" Section)" = games ] || fail "Section is not games"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libc6 libstdc\\+\\+6 fonts-dejavu-core; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# --- one version: the package's, the changelog's, the AppStream release's, the manuals' ----
dpkg-deb -x "$deb" "$work/unpacked"
share=$work/unpacked/usr/share
gzip -dc "$share/doc/kelvane/changelog.gz" >"$work/changelog"
changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's newest entry is $changelog_version, the package $version"
release=$(grep -o -m1 '<release version="[^"]*"' "$share/metainfo/kelvane.metainfo.xml" | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the AppStream data's newest release is $release, the package $version"
for page in kelvane kelvane-sim; do
  gzip -dc "$share/man/man6/$page.6.gz" | grep -q "^\.TH .* \"Kelvane $version\"" \
    || fail "the manual page of $page does not name Kelvane $version"
done

# --- lintian: no error, no warning (the override file documents what is meant) -------------
started=$SECONDS
lintian --pedantic --display-info --fail-on none "$deb" >"$work/lintian.log" 2>&1 \
  || fail "lintian did not run: $(cat "$work/lintian.log")"
if grep -qE '^[EW]: ' "$work/lintian.log"; then
  fail "lintian --pedantic: $(grep -E '^[A-Z]: ' "$work/lintian.log")"
fi
others=$(grep -oE '^[IPX]: kelvane: [a-z0-9-]+' "$work/lintian.log" | sed 's/: kelvane: / /' | sort | uniq -c |
         awk '{ printf "%s%s %s (%d)", (NR > 1 ? ", " : ""), $2, $3, $1 }')
echo "lintian --pedantic in $((SECONDS - started)) s: no error or warning; ${others:-nothing else}"

# --- the unpacked runner, from /usr/games, on the data beside it -------------------------
mkdir "$work/home"
env -i "HOME=$work/home" "PATH=/usr/bin:/bin" ${ASAN_OPTIONS:+"ASAN_OPTIONS=$ASAN_OPTIONS"} \
  "$work/unpacked/usr/games/kelvane-sim" --scenario /dev/stdin --dump "last:$work/state.json" \
  <<<'{"frames": 3, "steps": [{"after": 1, "command": "EXEC duel"}]}' 2>"$work/sim.err" \
  || fail "the unpacked kelvane-sim: $(cat "$work/sim.err")"
# Its own data folder is writable here, so the ship archive goes there, as from a build folder.
[ -f "$share/kelvane/Data/Ships.dxg" ] || fail "the unpacked runner did not use its own data"
grep -q '"ShipCount": 2,' "$work/state.json" || fail "EXEC duel put no two ships into play"
echo "$(basename "$deb"): $(wc -l <<<"$contents") entries; Depends: $depends"
