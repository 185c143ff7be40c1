#!/usr/bin/env bash
# Runs every test of a build tree through CTest inside one Xvfb server with
# Mesa's software renderer. Tests that drive the game with xdotool start an
# X server of their own, so they can run beside the others.
set -euo pipefail
build_dir=$(realpath "$1")
root=$(cd "$(dirname "$0")" && pwd)

source "$root/sanitizer-env.sh"
cd "$build_dir"
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 -j "$(nproc)"
