#!/usr/bin/env bash
# Playing the real game by hand: backing into the wall, the debug view,
# quitting. Whole runs are replay_test's.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

# Backing into the wall swings the camera over the fairy: the picture keeps
# the wall and the water instead of turning into plain sky. The replay holds
# S until the fairy is at the wall, then pauses with that picture standing.
case_backing_into_the_wall_keeps_the_well_in_view() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE" --replay "$SOURCE_DIR/tests/e2e/data/replays/backing.replay"
  wait_window
  wait_line "Paused" 120
  local shot="$SCRATCH/backing.png" share
  import -window "$WINDOW" "$shot" || fail "no screenshot"
  share=$(sky_share "$shot")
  awk -v s="$share" 'BEGIN { exit !(s < 0.5) }' || fail "the picture is $share plain sky after backing into the wall"
  quit_game
}

# The shipped debug settings outline the scene's triangles over the sky;
# the glow and the composite still fill the window. Seen at the same paused
# moment as above.
case_debug_renderer_outlines_the_scene() {
  make_small_tree
  cp "$SOURCE_DIR/assets/settings/renderer_debug.ini" "$TREE/assets/settings/"
  start_game "$TREE_GAME" "$TREE" --init_renderer assets/settings/renderer_debug.ini \
    --replay "$SOURCE_DIR/tests/e2e/data/replays/backing.replay"
  wait_window
  wait_line "Paused" 120
  local shot="$SCRATCH/debug.png" share
  import -window "$WINDOW" "$shot" || fail "no screenshot"
  share=$(sky_share "$shot")
  awk -v s="$share" 'BEGIN { exit !(s > 0.2 && s < 0.9) }' || fail "outlines cover $share of the picture as sky"
  quit_game
}

case_escape_quits() {
  make_small_tree
  start_game "$TREE_GAME" "$TREE"
  wait_window
  quit_game
  if grep -q "Game Over" "$SCRATCH/out.txt"; then
    fail "the game ran until the loss instead of quitting"
  fi
}

# A player's own course in the data folder, asked for by name from a folder
# outside the game's tree: one ring just under the start and the finish at
# it, so the first frame passes the ring and wins.
case_players_course_by_name() {
  make_small_tree
  mkdir -p "$SCRATCH/data/courses" "$SCRATCH/elsewhere"
  sed -e '/^ring = /d' -e 's/^pass_radius = .*/pass_radius = 0.5\nring = 0, 0.3, 0/' \
      -e 's/^point = .*/point = 0, 0.5, 0/' "$SOURCE_DIR/assets/courses/classic.ini" > "$SCRATCH/data/courses/hop.ini"
  GLIMMERDEEP_DATA="$SCRATCH/data" start_game "$TREE_GAME" "$SCRATCH/elsewhere" --course hop
  wait_game 60
  expect_clean_end
  expect_out_tail "Passed ring 1 (Total: 1)" " You reached the finish point and won! "
}

case_players_course_by_name
case_backing_into_the_wall_keeps_the_well_in_view
case_debug_renderer_outlines_the_scene
case_escape_quits
echo "gameplay_test: all cases passed"
