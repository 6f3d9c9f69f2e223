#!/usr/bin/env bash
# Installs what Kelvane needs, when something is missing.
#
#   scripts/install-deps.sh play      building and playing: a C++ compiler, CMake, Ninja,
#                                     pkg-config, SDL2, FreeType, Fontconfig, a font, libpng,
#                                     nlohmann-json, ENet, GNU gettext (msgfmt builds the languages). When all of them are found (the libraries
#                                     through pkg-config), no package manager is run at all.
#   scripts/install-deps.sh package   the same, and dpkg-shlibdeps for `make package`.
#   scripts/install-deps.sh test      (the default) everything `make test` runs: also
#                                     GoogleTest, Google Benchmark, and Xvfb, xdotool,
#                                     ImageMagick, openbox, the desktop-file and AppStream
#                                     validators and the Debian packaging tools.
#                                     And the check that aarch64 plays alike: the aarch64
#                                     cross compiler, qemu-user and the arm64 libraries the
#                                     runner links (multiarch; no SDL: the runner needs none).
#   scripts/install-deps.sh fuzz      the same, and clang with libFuzzer for `make fuzz`.
#   scripts/install-deps.sh cross     only the aarch64 check's part (scripts/cross-check.sh).
#
# Packages are Debian's, installed with apt-get (through sudo when not root, never asking).
# Without apt-get it names what is missing, with the package names of Debian, Fedora and
# Arch, and how to build with plain CMake, and exits 1.
set -euo pipefail

mode=${1:-test}
case "$mode" in play | package | test | fuzz | cross) ;; *) echo "usage: $0 [play|package|test|fuzz|cross]" >&2; exit 2 ;; esac

# What building and playing need: "check|Debian|Fedora|Arch" for each, where check is
# a program (cmd:NAME), a pkg-config module (pc:NAME) or any font Fontconfig knows (font).
play_needs=(
  "cmd:c++|g++|gcc-c++|gcc"
  "cmd:cmake|cmake|cmake|cmake"
  "cmd:ninja|ninja-build|ninja-build|ninja"
  "cmd:pkg-config|pkg-config|pkgconf-pkg-config|pkgconf"
  "cmd:msgfmt|gettext|gettext|gettext"
  "pc:sdl2|libsdl2-dev|SDL2-devel|sdl2"
  "pc:freetype2|libfreetype-dev|freetype-devel|freetype2"
  "pc:fontconfig|libfontconfig-dev|fontconfig-devel|fontconfig"
  "pc:libpng|libpng-dev|libpng-devel|libpng"
  "pc:nlohmann_json|nlohmann-json3-dev|json-devel|nlohmann-json"
  "pc:libenet|libenet-dev|enet-devel|enet"
  "font|fonts-dejavu-core|dejavu-sans-fonts|ttf-dejavu"
)
package_needs=("cmd:dpkg-shlibdeps|dpkg-dev|dpkg-dev|dpkg")

# Everything make test runs, as Debian packages (CI: Debian 12, as root, no standard input).
test_packages=(
  build-essential cmake ninja-build pkg-config gettext
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libpng-dev nlohmann-json3-dev libenet-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick openbox
  desktop-file-utils appstream groff-base dpkg-dev lintian util-linux
)

found() {  # check
  case "$1" in
    cmd:*) command -v "${1#cmd:}" >/dev/null 2>&1 ;;
    pc:*) command -v pkg-config >/dev/null 2>&1 && pkg-config --exists "${1#pc:}" ;;
    font) { command -v fc-list >/dev/null 2>&1 && [ -n "$(fc-list : file 2>/dev/null | head -1)" ]; } ||
            [ -e /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf ] ;;
  esac
}

apt_install() {  # packages...
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: not root and no sudo; install: $*" >&2; exit 1; }
    sudo="sudo"
  fi
  echo "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "$@"
}

fuzz_packages=(clang libclang-rt-14-dev)
[ "$mode" = fuzz ] && test_packages+=("${fuzz_packages[@]}")
cross_packages=(g++-aarch64-linux-gnu qemu-user libfreetype-dev:arm64 libfontconfig-dev:arm64 libpng-dev:arm64 libenet-dev:arm64)
[ "$mode" = cross ] && test_packages=()
test_packages+=("${cross_packages[@]}")

if [ "$mode" = test ] || [ "$mode" = fuzz ] || [ "$mode" = cross ]; then
  if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    echo "install-deps: make test installs its tools with apt-get, which this system lacks." >&2
    echo "Install the equivalents of these Debian packages: ${test_packages[*]}" >&2
    exit 1
  fi
  missing=()
  for p in "${test_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && exit 0
  # The arm64 libraries install beside the native ones once dpkg knows the architecture.
  if printf '%s\n' "${missing[@]}" | grep -q ':arm64$' && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    if [ "$(id -u)" -eq 0 ]; then dpkg --add-architecture arm64; else sudo dpkg --add-architecture arm64; fi
  fi
  apt_install "${missing[@]}"
  exit 0
fi

needs=("${play_needs[@]}")
[ "$mode" = package ] && needs+=("${package_needs[@]}")
missing=()
for need in "${needs[@]}"; do
  found "${need%%|*}" || missing+=("$need")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if command -v apt-get >/dev/null; then
  debian=()
  for need in "${missing[@]}"; do IFS='|' read -r _ deb _ _ <<<"$need"; debian+=("$deb"); done
  apt_install "${debian[@]}"
  exit 0
fi

{
  echo "install-deps: missing, and no apt-get to install it with:"
  printf '  %-22s %-22s %-22s %s\n' "needed" "Debian" "Fedora (dnf)" "Arch (pacman)"
  for need in "${missing[@]}"; do
    IFS='|' read -r check deb fedora arch <<<"$need"
    printf '  %-22s %-22s %-22s %s\n' "${check#*:}" "$deb" "$fedora" "$arch"
  done
  echo "Install them with your package manager, then build and play with plain CMake:"
  echo "  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF"
  echo "  cmake --build build --target kelvane kelvane_assets_data"
  echo "  build/kelvane"
} >&2
exit 1
