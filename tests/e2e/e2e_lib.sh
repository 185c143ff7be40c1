# Helpers for end-to-end tests of the real executable. Each test runs inside
# an X server of its own (Xvfb), so xdotool input reaches only its game.
# Usage in a test script:  source e2e_lib.sh; e2e_init "$@"

set -euo pipefail

# e2e_init <game executable> <repository root> [preload library] [planted GL error library]
e2e_init() {
  GAME=$(realpath "$1")
  SOURCE_DIR=$(realpath "$2")
  KEEP_LIBRARIES_LOADED=${3:-}
  PLANTED_GL_ERROR=${4:-}
  export ASAN_OPTIONS="verify_asan_link_order=0:${ASAN_OPTIONS:-}"
  # A debug context with GL_DEBUG_OUTPUT on: every GL error of the game is a console line.
  export GLIMMERDEEP_GL_DEBUG=1
  # OpenAL Soft plays into its null backend: no speakers or sound server needed, no line about them.
  export ALSOFT_DRIVERS=null
  if [[ -z "${GLIMMERDEEP_E2E_XVFB:-}" ]]; then
    export GLIMMERDEEP_E2E_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
  export LIBGL_ALWAYS_SOFTWARE=1
  SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/glimmerdeep-e2e.XXXXXX")
  # No player's own settings: the game reads only the files a test gives it.
  export XDG_CONFIG_HOME="$SCRATCH/config"
  trap 'e2e_cleanup' EXIT
}

e2e_cleanup() {
  if [[ -n "${GAME_PID:-}" ]] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null || true
  fi
  rm -rf "$SCRATCH"
}

fail() {
  echo "FAIL: $*" >&2
  if [[ -f "${SCRATCH}/out.txt" ]]; then
    echo "--- standard output" >&2; cat "$SCRATCH/out.txt" >&2
    echo "--- standard error" >&2; cat "$SCRATCH/err.txt" >&2
  fi
  exit 1
}

# A project tree outside the repository: a root marker, the game two levels
# below it, and the asset folders named in the arguments linked from the
# repository (e.g. "shaders textures objects"). Settings are left out unless named.
make_tree() {
  TREE="$SCRATCH/tree"
  rm -rf "$TREE"
  mkdir -p "$TREE/build/bin" "$TREE/assets"
  echo "# marker" > "$TREE/CMakeLists.txt"
  cp "$GAME" "$TREE/build/bin/glimmerdeep"
  for folder in "$@"; do
    ln -s "$SOURCE_DIR/assets/$folder" "$TREE/assets/$folder"
  done
  TREE_GAME="$TREE/build/bin/glimmerdeep"
}

# start_game <executable> <working dir> [args...]: runs in the background with
# standard input closed; output in $SCRATCH/out.txt and err.txt. Libraries in
# $EXTRA_PRELOAD are preloaded too.
start_game() {
  local executable=$1 workdir=$2
  shift 2
  # Nothing that follows the output may see an earlier run's lines.
  rm -f "$SCRATCH/out.txt" "$SCRATCH/err.txt"
  (cd "$workdir" && LD_PRELOAD="${KEEP_LIBRARIES_LOADED:-} ${EXTRA_PRELOAD:-}" exec "$executable" "$@" \
     </dev/null >"$SCRATCH/out.txt" 2>"$SCRATCH/err.txt") &
  GAME_PID=$!
}

# wait_game <seconds>: waits for the game to end; sets GAME_STATUS.
wait_game() {
  local limit=$1 waited=0
  while kill -0 "$GAME_PID" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    if (( waited > limit * 5 )); then
      fail "the game did not end within $limit seconds"
    fi
  done
  set +e
  wait "$GAME_PID"
  GAME_STATUS=$?
  set -e
  GAME_PID=""
}

# wait_window: waits for the game's window to be mapped; sets WINDOW.
wait_window() {
  WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name "${1:-Glimmerdeep}" | head -n 1) \
    || fail "no game window appeared"
}

# wait_count <text> <count> <seconds>: waits until standard output holds the text that often.
wait_count() {
  local text=$1 count=$2 limit=$3 waited=0
  until (( $(grep -cF -- "$text" "$SCRATCH/out.txt" 2>/dev/null || true) >= count )); do
    sleep 0.2
    waited=$((waited + 1))
    (( waited <= limit * 5 )) || fail "no line '$text' $count times within $limit seconds"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before printing '$text' $count times"
  done
}

# wait_line <text> <seconds>: waits until standard output holds the text.
wait_line() {
  wait_count "$1" 1 "$2"
}

expect_status() {
  [[ "$GAME_STATUS" == "$1" ]] || fail "exit status $GAME_STATUS, expected $1"
}

expect_no_sanitizer_report() {
  if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$SCRATCH/err.txt"; then
    fail "sanitizer report"
  fi
}

expect_first_line() {
  local first
  first=$(head -n 1 "$SCRATCH/out.txt")
  [[ "$first" == "$1" ]] || fail "first line was '$first'"
}

# expect_out_tail <line>...: the last lines of standard output are exactly these.
expect_out_tail() {
  local expected actual
  expected=$(printf '%s\n' "$@")
  actual=$(tail -n "$#" "$SCRATCH/out.txt")
  [[ "$actual" == "$expected" ]] || fail "last lines of standard output differ; expected:
$expected"
}

expect_output_contains() {
  grep -qF -- "$1" "$SCRATCH/out.txt" || fail "standard output lacks '$1'"
}

# make_small_tree [camera file]: a project tree with every asset folder, a
# small window and the given camera file as the default camera settings.
make_small_tree() {
  make_tree shaders textures objects sounds
  mkdir -p "$TREE/assets/settings"
  cp "$SOURCE_DIR/tests/e2e/data/window_small.ini" "$TREE/assets/settings/window.ini"
  cp "${1:-$SOURCE_DIR/assets/settings/camera_front.ini}" "$TREE/assets/settings/camera_front.ini"
  cp "$SOURCE_DIR/assets/settings/renderer_standard.ini" "$TREE/assets/settings/"
}

# wait_geometry <WxH> <seconds>: waits until the game window has that size.
wait_geometry() {
  local size=$1 limit=$2 waited=0
  until xdotool getwindowgeometry "$WINDOW" 2>/dev/null | grep -q "Geometry: $size"; do
    sleep 0.2
    waited=$((waited + 1))
    (( waited <= limit * 5 )) || fail "window never became $size: $(xdotool getwindowgeometry "$WINDOW")"
  done
}

# copy_asset_folder <folder>: after make_tree, replaces the tree's link to
# that asset folder with a copy of its own, which a test may then damage.
copy_asset_folder() {
  local folder=$1
  rm -rf "$TREE/assets/$folder"
  cp -R "$SOURCE_DIR/assets/$folder" "$TREE/assets/$folder"
}

# gl_messages_seen: the game printed an OpenGL debug message.
gl_messages_seen() {
  grep -qF "OpenGL Error" "$SCRATCH/out.txt" "$SCRATCH/err.txt"
}

# expect_clean_end: the game ended with status 0, without a sanitizer report
# or an OpenGL debug message.
expect_clean_end() {
  expect_status 0
  expect_no_sanitizer_report
  if gl_messages_seen; then fail "OpenGL debug message"; fi
}

# quit_game: presses Escape in the running game, which must end cleanly. The
# key is pressed once a frame shows, when the game surely listens to keys.
quit_game() {
  wait_first_frame 60
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
  xdotool key Escape
  wait_game 60
  expect_clean_end
}

# replay_to_end <executable> <working dir> <replay> <speed> [args...]: plays a
# replay to its end, which must be clean.
replay_to_end() {
  local executable=$1 workdir=$2 replay=$3 speed=$4
  shift 4
  start_game "$executable" "$workdir" --replay "$replay" --replay-speed "$speed" "$@"
  wait_game 240
  expect_clean_end
}

# wait_first_frame <seconds>: waits until the game window shows a drawn frame
# (the level is built and frames run), judged by the mean brightness.
wait_first_frame() {
  local limit=$1 waited=0 brightness
  while :; do
    brightness=$(timeout 5 import -window "$WINDOW" -format '%[fx:mean]' info: 2>/dev/null || echo 0)
    awk -v b="$brightness" 'BEGIN { exit !(b > 0.05) }' && return 0
    sleep 0.2
    waited=$((waited + 1))
    (( waited <= limit * 5 )) || fail "no frame was drawn within $limit seconds"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before drawing a frame"
  done
}

# sky_share <png>: the share (0 to 1) of the picture's upper three quarters,
# above the HUD, that shows nothing but the plain sky colour.
sky_share() {
  local size width height
  size=$(identify -format '%w %h' "$1") || fail "cannot read $1"
  width=${size% *}
  height=${size#* }
  height=$((height * 3 / 4))
  convert "$1" -crop "${width}x${height}+0+0" +repage -fuzz 8% \
    -fill white -opaque 'rgb(135,206,235)' -fill black +opaque white \
    -format '%[fx:mean]' info:
}
