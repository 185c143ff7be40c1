#!/usr/bin/env bash
# Playing the real game: losing by doing nothing, passing a ring, quitting.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

case_no_input_loses() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE"
  wait_game 120
  expect_status 0
  # Both end lines come from the same frame, the depletion line first.
  local tail_lines
  tail_lines=$(tail -n 2 "$SCRATCH/out.txt")
  [[ "$tail_lines" == "$(printf ' Fairy power depleted! Falling... \n You fell back to the bottom. Game Over. ')" ]] \
    || fail "end lines: $tail_lines"
  expect_no_sanitizer_report
}

# Started from a folder outside the project with the camera file given by
# its absolute path: the settings, shaders, textures and models are all
# found from the executable, and W from a camera aimed at ring 1 passes it.
case_w_held_passes_ring_one() {
  make_small_tree
  mkdir -p "$SCRATCH/elsewhere"
  start_game "$TREE_GAME" "$SCRATCH/elsewhere" --init_camera "$SOURCE_DIR/tests/e2e/data/camera_ring1.ini"
  wait_window
  start_flight
  xdotool keydown --window "$WINDOW" w
  wait_line "Passed ring 1 (Total: 1)" 30
  xdotool keyup --window "$WINDOW" w
  # R brings the ring back, and the same flight passes it again as the first of the new run.
  xdotool key --window "$WINDOW" r
  wait_line "Restarted" 10
  xdotool keydown --window "$WINDOW" w
  local waited=0
  until [[ $(grep -c "Passed ring 1 (Total: 1)" "$SCRATCH/out.txt") == 2 ]]; do
    sleep 0.2
    waited=$((waited + 1))
    (( waited <= 150 )) || fail "ring 1 was not passed again after the restart"
  done
  xdotool keyup --window "$WINDOW" w
  xdotool key Escape
  wait_game 60
  expect_status 0
  expect_no_sanitizer_report
  [[ ! -s "$SCRATCH/err.txt" ]] || fail "standard error not empty (a model missing?)"
  if grep -q "Failed to load" "$SCRATCH/out.txt"; then
    fail "a settings file was not found"
  fi
}

# Backing into the wall swings the camera over the fairy: the picture keeps
# the wall and the water instead of turning into plain sky.
case_s_held_keeps_the_well_in_view() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE"
  wait_window
  start_flight
  xdotool keydown --window "$WINDOW" s
  sleep 3.5
  local shot="$SCRATCH/backing.png" share
  import -window "$WINDOW" "$shot" || fail "no screenshot"
  xdotool keyup --window "$WINDOW" s
  share=$(sky_share "$shot")
  awk -v s="$share" 'BEGIN { exit !(s < 0.5) }' || fail "the picture is $share plain sky after backing into the wall"
  xdotool key Escape
  wait_game 60
  expect_status 0
  expect_no_sanitizer_report
}

# The shipped debug settings outline the scene's triangles over the sky;
# the glow and the composite still fill the window.
case_debug_renderer_outlines_the_scene() {
  make_small_tree
  cp "$SOURCE_DIR/assets/settings/renderer_debug.ini" "$TREE/assets/settings/"
  start_game "$TREE_GAME" "$TREE" --init_renderer assets/settings/renderer_debug.ini
  wait_window
  xdotool key --window "$WINDOW" c
  wait_first_frame 60
  local shot="$SCRATCH/debug.png" share
  import -window "$WINDOW" "$shot" || fail "no screenshot"
  share=$(sky_share "$shot")
  awk -v s="$share" 'BEGIN { exit !(s > 0.2 && s < 0.9) }' || fail "outlines cover $share of the picture as sky"
  xdotool key Escape
  wait_game 60
  expect_status 0
  expect_no_sanitizer_report
  expect_no_gl_error
}

# Paused right away, the game keeps its power however long the pause lasts;
# resumed, it drains as before and the run ends by itself.
case_pause_keeps_the_power() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE"
  wait_window
  xdotool key --window "$WINDOW" p
  wait_line "Paused" 10
  sleep 7
  if grep -q "Fairy power depleted" "$SCRATCH/out.txt"; then fail "the power drained in the pause"; fi
  local shot="$SCRATCH/paused.png"
  import -window "$WINDOW" "$shot" || fail "no screenshot"
  xdotool key --window "$WINDOW" p
  wait_line "Resumed" 10
  wait_game 60
  expect_status 0
  expect_output_contains " You fell back to the bottom. Game Over. "
  expect_no_sanitizer_report
}

case_escape_quits() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE"
  wait_window
  xdotool windowfocus --sync "$WINDOW" || true
  xdotool key Escape
  wait_game 60
  expect_status 0
  if grep -q "Game Over" "$SCRATCH/out.txt"; then
    fail "the game ran until the loss instead of quitting"
  fi
}

case_no_input_loses
case_w_held_passes_ring_one
case_s_held_keeps_the_well_in_view
case_pause_keeps_the_power
case_debug_renderer_outlines_the_scene
case_escape_quits
echo "gameplay_test: all cases passed"
