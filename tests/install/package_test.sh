#!/usr/bin/env bash
# The Debian package that `make package` builds (CPack, from this build's install rules):
# its name, its layout, its Depends, and that the runner unpacked from it starts on the
# data it carries.
#
# usage: package_test.sh BUILD_DIR
set -euo pipefail
umask 022  # the folders of the package take the umask: the usual one

fail() { echo "FAIL: $*" >&2; exit 1; }
build=$(realpath "$1")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
work=$(mktemp -d /tmp/kelvane-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || fail "cpack: $(cat "$work/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$work/kelvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work")"

contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
for path in ./usr/bin/kelvane ./usr/bin/kelvane-sim ./usr/share/kelvane/Data/GFX.dxg \
            ./usr/share/kelvane/Data/SFX.dxg ./usr/share/kelvane/Data/Loading.dxg ./usr/share/kelvane/Data/Icon.bmp \
            ./usr/share/kelvane/Data/Ships/Vigil.ini ./usr/share/kelvane/Data/Ships/Vigil.bmp \
            ./usr/share/kelvane/Scripts/battle ./usr/share/applications/kelvane.desktop \
            ./usr/share/icons/hicolor/48x48/apps/kelvane.png ./usr/share/icons/hicolor/128x128/apps/kelvane.png \
            ./usr/share/icons/hicolor/256x256/apps/kelvane.png ./usr/share/metainfo/kelvane.metainfo.xml \
            ./usr/share/man/man6/kelvane.6; do
  grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -q 'Ships\.dxg$' <<<"$contents" && fail "the package carries a Ships.dxg"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libc6 libstdc\\+\\+6 fonts-dejavu-core; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/unpacked"
mkdir "$work/home"
env -i "HOME=$work/home" "PATH=/usr/bin:/bin" ${ASAN_OPTIONS:+"ASAN_OPTIONS=$ASAN_OPTIONS"} \
  "$work/unpacked/usr/bin/kelvane-sim" --scenario /dev/stdin --dump "last:$work/state.json" \
  <<<'{"frames": 3, "steps": [{"after": 1, "command": "EXEC duel"}]}' 2>"$work/sim.err" \
  || fail "the unpacked kelvane-sim: $(cat "$work/sim.err")"
# Its own data folder is writable here, so the ship archive goes there, as from a build folder.
[ -f "$work/unpacked/usr/share/kelvane/Data/Ships.dxg" ] || fail "the unpacked runner did not use its own data"
grep -q '"ShipCount": 2,' "$work/state.json" || fail "EXEC duel put no two ships into play"
echo "$(basename "$deb"): $(wc -l <<<"$contents") entries; Depends: $depends"
