#!/usr/bin/env bash
# Start-up of the real game: the banner, the settings files and the window.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

case_no_settings_files() {
  make_tree shaders textures objects sounds
  start_game "$TREE_GAME" "$TREE"
  wait_window
  # Without a window file the game goes fullscreen on the Xvfb screen.
  wait_geometry 1280x1024 30
  quit_game
  expect_first_line ":::::: STARTING GLIMMERDEEP  ::::::"
  local expected
  expected=$(printf '%s\n' \
    ":::::: STARTING GLIMMERDEEP  ::::::" \
    "ERROR: Failed to load 'assets/settings/window.ini'. Using default values instead." \
    "ERROR: Failed to load 'assets/settings/camera_front.ini'. Using default values instead." \
    "ERROR: Failed to load 'assets/settings/renderer_standard.ini'. Using default values instead.")
  [[ "$(head -n 4 "$SCRATCH/out.txt")" == "$expected" ]] || fail "settings lines differ"
}

case_missing_renderer_override() {
  start_game "$GAME" "$SOURCE_DIR" --init_renderer assets/settings/nothing_here.ini
  wait_window
  local geometry
  geometry=$(xdotool getwindowgeometry "$WINDOW")
  quit_game
  [[ "$(sed -n 2p "$SCRATCH/out.txt")" == \
     "ERROR: Failed to load 'assets/settings/nothing_here.ini'. Using default values instead." ]] \
    || fail "missing override not reported first"
  [[ $(grep -c "Failed to load\|Quality auto" "$SCRATCH/out.txt") == 1 ]] || fail "other lines than the missing file's"
  # The shipped window file asks for a 1280 by 720 window.
  grep -q "Geometry: 1280x720" <<<"$geometry" || fail "window size: $geometry"
}

case_ambiguous_asset() {
  make_tree shaders textures objects sounds
  mkdir -p "$TREE/assets/settings" "$TREE/build/bin/assets/settings"
  cp "$SOURCE_DIR/assets/settings/window.ini" "$TREE/assets/settings/"
  cp "$SOURCE_DIR/assets/settings/window.ini" "$TREE/build/bin/assets/settings/"
  start_game "$TREE_GAME" "$TREE"
  wait_game 30
  expect_status 1
  expect_output_contains "Ambiguous asset file path: 'assets/settings/window.ini'"
  expect_output_contains "  - $TREE/build/bin/assets/settings/window.ini"
  expect_output_contains "  - $TREE/assets/settings/window.ini"
  expect_output_contains "Remove all duplicates to fix this!"
}

case_bad_window_size() {
  make_tree shaders textures objects sounds
  mkdir -p "$TREE/assets/settings"
  printf '[window]\nwidth = 0\nheight = -600\nfullscreen = false\n' > "$TREE/assets/settings/window.ini"
  start_game "$TREE_GAME" "$TREE"
  wait_window
  # Both sides take their defaults, each with its line, and the game comes up.
  wait_geometry 800x800 30
  quit_game
  expect_output_contains "WARNING: 'assets/settings/window.ini': width = 0 is not a number of pixels above 0. Using 800 instead."
  expect_output_contains "WARNING: 'assets/settings/window.ini': height = -600 is not a number of pixels above 0. Using 800 instead."
}

# The player's own file asks for auto and sets the scale: on llvmpipe auto
# keeps that scale, halves the glow's targets and says so in one line.
case_quality_auto() {
  mkdir -p "$XDG_CONFIG_HOME/glimmerdeep"
  printf '[renderer]\nquality = auto\nrender_scale = 0.75\n' > "$XDG_CONFIG_HOME/glimmerdeep/renderer_standard.ini"
  start_game "$GAME" "$SOURCE_DIR"
  wait_window
  wait_geometry 1280x720 30
  quit_game
  rm -r "$XDG_CONFIG_HOME/glimmerdeep"
  [[ $(grep -c "^Quality auto: 'llvmpipe" "$SCRATCH/out.txt") == 1 ]] || fail "no single line of auto's choice"
  expect_output_contains "draws without a graphics card; render_scale 0.75, bloom_resolution half, one sample per pixel."
}

# --help and --version answer and end before the window system is touched:
# without a display to open a window on, they still succeed.
case_help_and_version() {
  local option
  for option in --version --help; do
    DISPLAY= start_game "$GAME" "$SOURCE_DIR" "$option"
    wait_game 20
    expect_status 0
    [[ ! -s "$SCRATCH/err.txt" ]] || fail "$option wrote to standard error: $(cat "$SCRATCH/err.txt")"
    [[ $option == --help ]] || expect_first_line "Glimmerdeep 1.1.0"
  done
  expect_first_line "Usage: glimmerdeep [options]"
  expect_output_contains "  --init_camera PATH"
  expect_output_contains "  P                pause and resume"
  if grep -qF "STARTING GLIMMERDEEP" "$SCRATCH/out.txt"; then fail "--help started the game"; fi
}

case_help_and_version
case_no_settings_files
case_missing_renderer_override
case_ambiguous_asset
case_bad_window_size
case_quality_auto
echo "startup_test: all cases passed"
