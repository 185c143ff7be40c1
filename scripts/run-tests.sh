#!/usr/bin/env bash
# Runs every test of a build tree through CTest inside one Xvfb server with
# Mesa's software renderer. Tests that drive the game with xdotool start an
# X server of their own, so they can run beside the others.
set -euo pipefail
build_dir=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)

export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER=llvmpipe
# llvmpipe renders on the calling thread and Mesa keeps no shader cache on
# disk: no driver threads linger at exit, where LeakSanitizer's stop-the-world
# scan could trip over them, and no test depends on what an earlier run cached.
export LP_NUM_THREADS=0
export MESA_SHADER_CACHE_DISABLE=true
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

cd "$build_dir"
# LeakSanitizer's exit-time scan very rarely crashes in its own tracer thread
# after a GL-heavy test has passed; a test that fails twice in a row fails.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure --timeout 300 -j "$(nproc)" --repeat until-pass:2
