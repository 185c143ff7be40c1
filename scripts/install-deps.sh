#!/usr/bin/env bash
# Installs the Debian packages a make target needs, and only those that are
# missing. Without root it prints the command to run instead.
#   scripts/install-deps.sh game   building and playing the game (make run)
#   scripts/install-deps.sh all    that, plus the tests, benchmark and asset
#                                  tools (make test, make bench, make soak)
#   scripts/install-deps.sh package  building the game and its Debian package
#                                  (make package), and lintian to check it
set -euo pipefail

# The game's build and its run: a compiler, the libraries it links (OpenAL
# Soft and libsndfile for sound; their -dev packages pull in libopenal1 and
# libsndfile1) and Mesa's drivers, which include the llvmpipe software renderer.
game_packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libinih-dev libtinyobjloader-dev
  libopenal-dev libsndfile1-dev
  libgl1-mesa-dri
)
# An X server for a machine without a display; the tests always use one.
headless_packages=(xvfb xauth)
# GoogleTest with GoogleMock; stb for the texture and icon generators and the
# font atlas, and DejaVu Sans, the font the atlas is baked from; clang and its
# runtimes for the libFuzzer targets; valgrind for the bench's callgrind
# counts; xdotool and ImageMagick (import, convert, identify) for the
# end-to-end tests; desktop-file-utils, groff and appstream for checking the installed
# desktop entry, man page and AppStream metainfo.
tool_packages=(
  libgtest-dev libgmock-dev libstb-dev fonts-dejavu-core
  clang libclang-rt-14-dev
  valgrind
  xdotool imagemagick
  desktop-file-utils groff-base appstream
)
# CPack's DEB generator: dpkg-buildflags and dpkg-shlibdeps from dpkg-dev,
# and file, with which it picks the executables out for dpkg-shlibdeps.
package_packages=(dpkg-dev file lintian)

case "${1:-}" in
  game)
    packages=("${game_packages[@]}")
    [[ -n "${DISPLAY:-}" ]] || packages+=("${headless_packages[@]}")
    ;;
  all)
    packages=("${game_packages[@]}" "${headless_packages[@]}" "${tool_packages[@]}")
    ;;
  package)
    packages=("${game_packages[@]}" "${package_packages[@]}")
    ;;
  *)
    echo "usage: $0 game|all|package" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages: ${missing[*]}"
  echo "Install them as root with:"
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
