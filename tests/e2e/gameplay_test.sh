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

case_w_held_passes_ring_one() {
  make_small_tree "$SOURCE_DIR/tests/e2e/data/camera_ring1.ini"
  start_game "$TREE_GAME" "$TREE"
  wait_window
  # The first frames are slow while the driver compiles; the free camera
  # holds the fairy's power meanwhile, so the flight starts with all of it.
  xdotool key --window "$WINDOW" c
  wait_first_frame 60
  sleep 1
  xdotool key --window "$WINDOW" c
  xdotool keydown --window "$WINDOW" w
  wait_line "Passed ring 1 (Total: 1)" 30
  xdotool keyup --window "$WINDOW" w
  xdotool key Escape
  wait_game 60
  expect_status 0
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
case_escape_quits
echo "gameplay_test: all cases passed"
