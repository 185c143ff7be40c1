#!/usr/bin/env bash
# Damaged asset trees against the real game: each fault gives its exact
# console lines and exit status, and never a crash or a sanitizer report.
# Settings files that are missing altogether are startup_test's business.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

TEXTURES=(lightblue glitteryellow wellwall lightpurple green cloud)  # in load order
SETTINGS_LOAD_FAILURE_PREFIX="ERROR: Failed to load '"

# expect_err <line>...: standard error is exactly these lines (none: empty).
expect_err() {
  local expected=""
  (( $# == 0 )) || expected=$(printf '%s\n' "$@")
  [[ "$(cat "$SCRATCH/err.txt")" == "$expected" ]] || fail "standard error differs; expected:
$expected"
}

# run_fatal: starts the tree's game, which must stop at start-up with status 1.
run_fatal() {
  start_game "$TREE_GAME" "$TREE"
  wait_game 60
  expect_status 1
}

# run_briefly: the game must come up, play the first second of a replay as
# fast as it draws and end cleanly.
run_briefly() {
  head -n 35 "$SOURCE_DIR/tests/e2e/data/replays/loss.replay" > "$SCRATCH/brief.replay"
  replay_to_end "$TREE_GAME" "$TREE" "$SCRATCH/brief.replay" max
}

# run_screen_sized: the game must open a window the size of the Xvfb screen
# and quit cleanly.
run_screen_sized() {
  start_game "$TREE_GAME" "$TREE"
  wait_window
  wait_geometry 1280x1024 30
  quit_game
}

# A 4 by 4 DDS image of uncompressed 32-bit RGBA pixels: well-formed, but not
# one of the block-compressed formats the game takes.
uncompressed_dds() {
  perl -e 'print pack("a4 V7 V11 V8 V5", "DDS ",
      124, 0x100F, 4, 4, 16, 0, 1, (0) x 11,
      32, 0x41, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000,
      0x1000, 0, 0, 0, 0), "\x80" x 64'
}

# --- settings files ---------------------------------------------------------

case_settings_empty() {
  make_small_tree
  : > "$TREE/assets/settings/window.ini"
  : > "$TREE/assets/settings/camera_front.ini"
  : > "$TREE/assets/settings/renderer_standard.ini"
  # An empty window file was read: its defaults include fullscreen.
  run_screen_sized
  if grep -qF "$SETTINGS_LOAD_FAILURE_PREFIX" "$SCRATCH/out.txt"; then fail "an empty settings file was not loaded"; fi
  expect_err
}

# --- shaders ----------------------------------------------------------------

# Every kind of build failure has its lines in the shader tests; here the
# game stops on one of each loader's faults.
case_shader_faults() {
  make_small_tree
  copy_asset_folder shaders
  local shaders="$TREE/assets/shaders"

  rm "$shaders/water.frag"
  run_fatal
  expect_out_tail "Read shader: assets/shaders/water.vert" \
                  "Could not find shader file: assets/shaders/water.frag"
  expect_err

  cp "$SOURCE_DIR/assets/shaders/water.frag" "$shaders/"

  printf '#version 430 core\nout vec4 color;\nvoid main() { color = undeclaredColour; }\n' > "$shaders/ui.frag"
  run_fatal
  grep -A1 -xF "Failed to compile shader: assets/shaders/ui.frag" "$SCRATCH/out.txt" | tail -n 1 \
    | grep -q "undeclaredColour" || fail "no compile failure with its log for ui.frag"
  grep -qxF "Read shader: assets/shaders/ui.vert" "$SCRATCH/out.txt" || fail "ui.vert was not read first"
  expect_err
  cp "$SOURCE_DIR/assets/shaders/ui.frag" "$shaders/"
}

# --- textures ---------------------------------------------------------------

case_each_texture_missing() {
  make_small_tree
  copy_asset_folder textures
  local name
  for name in "${TEXTURES[@]}"; do
    mv "$TREE/assets/textures/$name.dds" "$SCRATCH/$name.dds"
    run_fatal
    expect_out_tail "Could not find texture file: assets/textures/$name.dds"
    expect_err
    mv "$SCRATCH/$name.dds" "$TREE/assets/textures/$name.dds"
  done

  # A directory of a texture's name is no texture file.
  rm "$TREE/assets/textures/green.dds"
  mkdir "$TREE/assets/textures/green.dds"
  run_fatal
  expect_out_tail "Could not find texture file: assets/textures/green.dds"
  expect_err
  rmdir "$TREE/assets/textures/green.dds"
  cp "$SOURCE_DIR/assets/textures/green.dds" "$TREE/assets/textures/"
}

# Unreadable files in one run: truncated textures, missing models and a
# settings path that is a directory. None of them stops the game.
case_unreadable_files() {
  make_small_tree
  rm "$TREE/assets/settings/renderer_standard.ini"
  mkdir "$TREE/assets/settings/renderer_standard.ini"
  copy_asset_folder textures
  rm "$TREE/assets/objects"
  mkdir "$TREE/assets/objects"
  local name cut_at index=0 expected=()
  for name in "${TEXTURES[@]}"; do
    # Half are cut inside the 128-byte header, half inside the image data.
    if (( index % 2 == 0 )); then cut_at=60; else cut_at=200; fi
    head -c "$cut_at" "$SOURCE_DIR/assets/textures/$name.dds" > "$TREE/assets/textures/$name.dds"
    expected+=("Unable to load DDS image file from path[$TREE/assets/textures/$name.dds]")
    index=$((index + 1))
  done
  # The font's atlas, loaded after the wall's texture: the game plays on without words.
  head -c 200 "$SOURCE_DIR/assets/textures/font_atlas.dds" > "$TREE/assets/textures/font_atlas.dds"
  expected=("${expected[@]:0:3}" "Unable to load DDS image file from path[$TREE/assets/textures/font_atlas.dds]"
            "${expected[@]:3}")
  run_briefly
  [[ "$(grep -F "$SETTINGS_LOAD_FAILURE_PREFIX" "$SCRATCH/out.txt")" == \
     "ERROR: Failed to load 'assets/settings/renderer_standard.ini'. Using default values instead." ]] \
    || fail "the settings directory was not reported as the one file that failed to load"
  [[ "$(grep -F "Unable to load DDS" "$SCRATCH/out.txt")" == "$(printf '%s\n' "${expected[@]}")" ]] \
    || fail "truncated texture lines differ"
  local model err_lines=()
  for model in Wings flag cloud; do
    err_lines+=("TinyObjLoader error:" "  Cannot open file [assets/objects/$model.obj]" ""
                "Failed to load .obj: assets/objects/$model.obj"
                "Warning: Model::setupMesh() called but no vertex data loaded.")
  done
  expect_err "${err_lines[@]}"
}

# Textures of a format the game does not take, OBJ files without usable
# faces and no font atlas at all, in one run: none of them stops the game.
case_unsupported_textures_empty_models() {
  make_small_tree
  copy_asset_folder textures
  rm "$TREE/assets/objects"
  mkdir "$TREE/assets/objects"
  local name expected=()
  for name in "${TEXTURES[@]}"; do
    uncompressed_dds > "$TREE/assets/textures/$name.dds"
    expected+=("Unable to load DDS image file [$TREE/assets/textures/$name.dds] due to an unsupported format.")
  done
  : > "$TREE/assets/objects/Wings.obj"
  # One good triangle and two whose corners lie outside the three vertices.
  printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 9\nf -1 -2 -7\n' > "$TREE/assets/objects/flag.obj"
  printf '# vertices but no faces\nv 0 0 0\nv 1 0 0\n' > "$TREE/assets/objects/cloud.obj"
  rm "$TREE/assets/textures/font_atlas.dds"
  run_briefly
  expect_output_contains "Could not find texture file: assets/textures/font_atlas.dds"
  [[ "$(grep -F "Unable to load DDS" "$SCRATCH/out.txt")" == "$(printf '%s\n' "${expected[@]}")" ]] \
    || fail "unsupported texture lines differ"
  expect_err "Warning: Model::setupMesh() called but no vertex data loaded." \
             "Skipped faces with out-of-range indices in: assets/objects/flag.obj" \
             "Warning: Model::setupMesh() called but no vertex data loaded."
}

# --- GL errors -----------------------------------------------------------------

# The check every case makes at the end sees a real GL error of the running
# game: one invalid call, preloaded, before the first frame is shown.
case_gl_check_sees_a_planted_error() {
  make_small_tree
  head -n 35 "$SOURCE_DIR/tests/e2e/data/replays/loss.replay" > "$SCRATCH/brief.replay"
  EXTRA_PRELOAD=$PLANTED_GL_ERROR start_game "$TREE_GAME" "$TREE" --replay "$SCRATCH/brief.replay" --replay-speed max
  wait_game 120
  expect_status 0
  gl_messages_seen || fail "the planted GL error left no OpenGL debug message"
  expect_output_contains "GL_INVALID_ENUM"
}

# --- values and files the game cannot use -------------------------------------

# Window sizes beyond every screen are cut to the screen, with a line each.
case_window_beyond_the_screen() {
  make_small_tree
  local size=0x7fffffff
  printf '[window]\nwidth = %s\nheight = %s\nfullscreen = false\n' "$size" "$size" \
    > "$TREE/assets/settings/window.ini"
  run_screen_sized
  expect_output_contains "WARNING: 'assets/settings/window.ini': width = $((size)) is more than the screen shows. Using 1280 instead."
  expect_output_contains "WARNING: 'assets/settings/window.ini': height = $((size)) is more than the screen shows. Using 1024 instead."
  expect_err
}

# A field of view of 0 and a far plane before the near one would blank the
# picture: both give way to their defaults with a line, and the game plays.
case_camera_values_out_of_range() {
  make_small_tree
  printf '[camera]\nfov = 0\nnear = 50\nfar = 1\n' > "$TREE/assets/settings/camera_front.ini"
  run_briefly
  expect_output_contains "WARNING: 'assets/settings/camera_front.ini': fov = 0 is not between 0 and 180 degrees. Using 60 instead."
  expect_output_contains "WARNING: 'assets/settings/camera_front.ini': far = 1 does not lie beyond near. Using 100 instead."
  expect_err
}

# A named pipe is no file: as a settings file it is reported as missing, as
# a shader it is not found. Nothing waits for a writer that never comes.
case_pipes_are_no_files() {
  make_small_tree
  mkfifo "$SCRATCH/pipe.ini"
  rm "$TREE/assets/settings/window.ini"
  mkfifo "$TREE/assets/settings/window.ini"
  start_game "$TREE_GAME" "$TREE" --init_camera "$SCRATCH/pipe.ini" --init_renderer "$SCRATCH/pipe.ini"
  WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name Glimmerdeep | head -n 1) || fail "start-up hangs on a pipe"
  quit_game
  [[ "$(grep -F "$SETTINGS_LOAD_FAILURE_PREFIX" "$SCRATCH/out.txt")" == "$(printf '%s\n' \
     "ERROR: Failed to load 'assets/settings/window.ini'. Using default values instead." \
     "ERROR: Failed to load '$SCRATCH/pipe.ini'. Using default values instead." \
     "ERROR: Failed to load '$SCRATCH/pipe.ini'. Using default values instead.")" ]] \
    || fail "the pipes were not reported as missing settings files"

  copy_asset_folder shaders
  rm "$TREE/assets/shaders/water.frag"
  mkfifo "$TREE/assets/shaders/water.frag"
  start_game "$TREE_GAME" "$TREE"
  wait_game 20
  expect_status 1
  expect_out_tail "Read shader: assets/shaders/water.vert" \
                  "Could not find shader file: assets/shaders/water.frag"
}

# Unknown options are still ignored, but each is named on standard error.
case_unknown_options() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE" --init_camera=assets/settings/camera_front.ini --bogus -x
  wait_window
  quit_game
  expect_err "Unknown option --init_camera=assets/settings/camera_front.ini ignored. Give the file after a space: --init_camera PATH" \
             "Unknown option --bogus ignored." \
             "Unknown option -x ignored."
}

# A course that cannot be played gets a line per fault and the game does not
# start; one that cannot be won is refused by the check with the reason.
case_broken_courses() {
  make_small_tree
  sed -e 's/^ring = 3, 1.8, -2$/ring = 3, 0.8, -2/' -e '/^drain_per_second/d' \
    "$SOURCE_DIR/assets/courses/classic.ini" > "$SCRATCH/broken.ini"
  start_game "$TREE_GAME" "$TREE" --course "$SCRATCH/broken.ini"
  wait_game 30
  expect_status 1
  expect_out_tail "ERROR: '$SCRATCH/broken.ini': [power] drain_per_second is missing." \
                  "ERROR: '$SCRATCH/broken.ini': line 18: [rings] ring = 3, 0.8, -2 is lower than the ring before it: rings climb in course order."
  sed 's/^point = 4.5, 22.26, 0$/point = 4.5, 40, 0/' "$SOURCE_DIR/assets/courses/classic.ini" > "$SCRATCH/far.ini"
  start_game "$TREE_GAME" "$TREE" --check-course "$SCRATCH/far.ini"
  wait_game 120
  expect_status 1
  expect_out_tail "the finish cannot be reached: the power runs out on every way there at 5 frames per second"
}

case_broken_courses
case_gl_check_sees_a_planted_error
case_window_beyond_the_screen
case_camera_values_out_of_range
case_pipes_are_no_files
case_unknown_options
case_settings_empty
case_shader_faults
case_each_texture_missing
case_unreadable_files
case_unsupported_textures_empty_models
echo "faults_test: all cases passed"
