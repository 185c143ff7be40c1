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
run_ctest() {
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 -j "$(nproc)" "$@"
}
run_ctest && exit 0

# LeakSanitizer's exit-time scan very rarely crashes in its own tracer thread
# after a GL-heavy test has passed ("Tracer caught signal"). Only tests that
# failed that way, and nothing else, get one more run; any other failure
# stands.
log=Testing/Temporary/LastTest.log
# Test names end at the first space: parameterised ones carry a comment.
failed=$(sed -n 's/^[0-9]*://p' Testing/Temporary/LastTestsFailed.log | sed 's/ .*//' | sort)
tracer=$(awk '/^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name); crashed = 0 }
              /Tracer caught signal/ { crashed = 1 }
              /^Test Failed\./ && crashed { print name }' "$log" | sed 's/ .*//' | sort)
if [[ -z "$failed" || "$failed" != "$tracer" ]]; then
  exit 1
fi
echo "Only LeakSanitizer's tracer crashed at exit, in: $(echo $failed). Running those once more."
# Exactly those tests, by their names taken literally; finding none is a failure.
pattern=$(echo "$failed" | sed 's/[][\.*^$()+?{}|]/\\&/g' | paste -sd '|')
run_ctest --no-tests=error -R "^($pattern)( .*)?\$"
