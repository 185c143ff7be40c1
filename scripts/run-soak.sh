#!/usr/bin/env bash
# Runs the soak test of a build tree for several minutes (300 seconds unless
# GLIMMERDEEP_SOAK_SECONDS says otherwise) in its own Xvfb server, with the
# same software renderer and sanitizer settings as scripts/run-tests.sh,
# LeakSanitizer's exit scan included.
set -euo pipefail
build_dir=$(realpath "$1")
root=$(cd "$(dirname "$0")" && pwd)

source "$root/sanitizer-env.sh"
export GLIMMERDEEP_SOAK_SECONDS="${GLIMMERDEEP_SOAK_SECONDS:-300}"
echo "Soaking for $GLIMMERDEEP_SOAK_SECONDS seconds of scripted play."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build_dir/tests/soak/soak_test"
