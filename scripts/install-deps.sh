#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and only those
# that are missing. Without root it prints the command to run instead.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libinih-dev libtinyobjloader-dev
  libgtest-dev libstb-dev
  xvfb xauth xdotool x11-apps imagemagick libgl1-mesa-dri
  clang libclang-rt-14-dev
  valgrind
)

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
