#!/usr/bin/env bash
# Runs the soak test of a build tree for several minutes (300 seconds unless
# GLIMMERDEEP_SOAK_SECONDS says otherwise) in its own Xvfb server, with the
# same software renderer and sanitizer settings as scripts/run-tests.sh.
set -euo pipefail
build_dir=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)

export GLIMMERDEEP_SOAK_SECONDS="${GLIMMERDEEP_SOAK_SECONDS:-300}"
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER=llvmpipe
export LP_NUM_THREADS=0
export MESA_SHADER_CACHE_DISABLE=true
# The soak checks the live heap round by round; LeakSanitizer's exit scan,
# whose tracer now and then crashes after this much GL work, is off.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "Soaking for $GLIMMERDEEP_SOAK_SECONDS seconds of scripted play."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build_dir/tests/soak/soak_test"
