#!/usr/bin/env bash
# Runs the benchmark of a Release build tree inside Xvfb with Mesa's
# software renderer at its default threading, as a player without a GPU runs
# the game. The bench measures each size in a process of its own, then counts
# instructions under callgrind, and prints one table, also left in
# <build>/bench.txt. Other work on the machine skews the timings: the table
# shows the load average before and after.
set -euo pipefail
build_dir=$(realpath "$1")

export LIBGL_ALWAYS_SOFTWARE=1
unset LP_NUM_THREADS GALLIUM_DRIVER MESA_SHADER_CACHE_DISABLE

exec xvfb-run -a -s "-screen 0 1920x1080x24" \
  "$build_dir/tools/bench/bench" --out "$build_dir/bench.txt" --work-dir "$build_dir/bench-work"
