#!/usr/bin/env bash
# Player mode through the real window: the title, a click on "Fly", ring 1,
# the pause menu, an option saved to the player's own file and read again by
# the next start, a course picked on the title, the result screen after the
# power runs out, "Again" and "Quit". Each step waits for the game's line.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

keys() {
  xdotool key --window "$WINDOW" "$@"
}

start_menus() {
  start_game "$TREE_GAME" "$TREE" --menu "$@"
  wait_window
  wait_line "Title screen" 60
  wait_first_frame 60
}

SAVED="$XDG_CONFIG_HOME/glimmerdeep/camera_front.ini"

case_a_run_through_the_menus() {
  make_small_tree "$SOURCE_DIR/tests/e2e/data/camera_ring1.ini"
  # Room enough to click: at 320 by 240 "Fly" is the row from 16 pixels above
  # the middle to 5 below; 12 above it, seen the wrong way up, is "Course".
  sed -i 's/^width = .*/width = 320/; s/^height = .*/height = 240/' "$TREE/assets/settings/window.ini"
  start_menus --record "$SCRATCH/menus.replay"
  xdotool mousemove --window "$WINDOW" 160 108 click 1
  wait_line "Run started" 20
  xdotool keydown --window "$WINDOW" w
  wait_line "Passed ring 1 " 20
  xdotool keyup --window "$WINDOW" w

  keys p
  wait_line "Paused" 10
  keys Down Down Return
  wait_line "Options screen" 10
  keys Down Down Down Right
  wait_line "Option saved: mouse_sensitivity = 0.0025" 10
  grep -q "^mouse_sensitivity = 0.0025$" "$SAVED" || fail "the player's camera file: $(cat "$SAVED")"
  keys Escape
  wait_count "Paused" 2 10
  keys Escape
  wait_line "Resumed" 10

  # Doing nothing until the power runs out: the result stays until chosen.
  wait_line "Result screen" 60
  expect_output_contains "Game Over."
  keys Return
  wait_line "Restarted" 10
  keys Escape
  wait_count "Paused" 3 10
  keys Up Return
  wait_count "Title screen" 2 10
  keys Escape Return
  wait_game 30
  expect_clean_end

  # The recording plays with the menus without being asked to, and saves nothing.
  grep -qx "mode player" "$SCRATCH/menus.replay" || fail "the recording does not say it had the menus"
  local live
  live=$(grep -v "^Option saved" "$SCRATCH/out.txt")
  rm "$SAVED"
  replay_to_end "$TREE_GAME" "$TREE" "$SCRATCH/menus.replay" max
  [[ "$(grep -v "^The replay ended" "$SCRATCH/out.txt")" == "$live" ]] || fail "the replay's lines differ:
$live"
  expect_output_contains "The replay ended as its recording did."
  [[ ! -e "$SAVED" ]] || fail "the replay saved an option"
  mkdir -p "$(dirname "$SAVED")"
  printf '[camera]\nmouse_sensitivity = 0.0025\n' > "$SAVED"
}

# A replay recorded without the menus plays as it did, whatever --menu says.
case_a_replay_keeps_its_mode() {
  replay_to_end "$TREE_GAME" "$TREE" "$SOURCE_DIR/tests/e2e/data/replays/loss.replay" max --menu
  expect_output_contains "The replay ended as its recording did."
  if grep -q "Title screen" "$SCRATCH/out.txt"; then fail "the replay showed the title"; fi
}

# The next start reads the saved value: one step up from it is the next saved.
# A course picked on the title is said.
case_the_saved_option_is_there_after_a_new_start() {
  ln -s "$SOURCE_DIR/assets/courses" "$TREE/assets/courses"
  start_menus
  keys Down Left
  wait_line "Course: wall_zigzag" 10
  keys Down Return
  wait_line "Options screen" 10
  keys Down Down Down Right
  wait_line "Option saved: mouse_sensitivity = 0.003" 10
  keys Escape Escape Return
  wait_game 30
  expect_clean_end
  rm "$TREE/assets/courses"
}

case_a_run_through_the_menus
case_the_saved_option_is_there_after_a_new_start
case_a_replay_keeps_its_mode
echo "menu_test: all cases passed"
