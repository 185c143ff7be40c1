#!/usr/bin/env bash
# Replays against the real game: the committed runs end with their lines and
# their hash (and an end screen stays as long as asked), a run recorded live with xdotool plays back the same at the
# recorded pace and as fast as frames are drawn, and a damaged replay gets
# one line and status 1 (or, cut at a frame's end, plays up to there); every
# way a replay can be damaged is the reader's unit tests' business.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

REPLAYS="$SOURCE_DIR/tests/e2e/data/replays"

# The lines a replay ends with: the run's own, its hash, and the verdict.
expect_replay_ending() {
  local name=$1 hash
  hash=$(tail -n 1 "$REPLAYS/$name.replay" | cut -d' ' -f2)
  mapfile -t lines < "$REPLAYS/$name.replay.lines"
  expect_out_tail "${lines[@]}" "Run hash: $hash" "The replay ended as its recording did."
}

# end_screen <seconds>: the small tree's window file keeps the result that long.
end_screen() {
  sed -i '/^end_screen_seconds/d' "$TREE/assets/settings/window.ini"
  printf 'end_screen_seconds = %s\n' "$1" >> "$TREE/assets/settings/window.ini"
}

# The win by the pilot's route, the loss by doing nothing, and every
# shortcut key (ring 1, R, ring 1 again, pauses longer than the power lasts,
# every switch, fullscreen and back, Escape), started from a folder outside
# the tree with the camera file named by its absolute path: everything is
# found from the executable. The loss keeps its last picture for an end
# screen of three seconds, timed from its loss line to the hash line, and
# Escape closes the win's end screen of ten minutes at once.
case_committed_replays_end_as_recorded() {
  make_small_tree
  mkdir -p "$SCRATCH/elsewhere"
  local name line lost stayed
  for name in win loss shortcuts; do
    case $name in
      win) end_screen 600 ;;
      loss) end_screen 3 ;;
      *) end_screen 0 ;;
    esac
    start_game "$TREE_GAME" "$SCRATCH/elsewhere" --replay "$REPLAYS/$name.replay" --replay-speed max \
      --init_camera "$SOURCE_DIR/tests/e2e/data/camera_ring1.ini"
    case $name in
      win)
        wait_window
        wait_line "$(tail -n 1 "$REPLAYS/win.replay.lines")" 120
        quit_game
        ;;
      loss)
        # From the loss line to the hash line after the last frame, as tail sees them written.
        exec 3< <(tail -F -n +1 --pid="$GAME_PID" "$SCRATCH/out.txt" 2>/dev/null)
        lost=""
        while IFS= read -r -t 120 line <&3; do
          [[ "$line" != *"Game Over."* ]] || lost=$(date +%s.%N)
          [[ "$line" != "Run hash: "* ]] || break
        done
        [[ -n "$lost" && "$line" == "Run hash: "* ]] || fail "no loss line and hash line while the game ran"
        stayed=$(awk -v from="$lost" -v to="$(date +%s.%N)" 'BEGIN { print to - from }')
        exec 3<&-
        awk -v s="$stayed" 'BEGIN { exit !(s >= 2.95 && s < 8) }' || fail "the end screen stayed $stayed seconds"
        wait_game 60
        expect_clean_end
        ;;
      *)
        wait_game 240
        expect_clean_end
        ;;
    esac
    expect_replay_ending "$name"
    [[ ! -s "$SCRATCH/err.txt" ]] || fail "standard error not empty in $name (a model missing?)"
    if grep -q "Failed to load" "$SCRATCH/out.txt"; then fail "a settings file was not found"; fi
  done
}

# The game's lines and hash of a run, without the replay's own verdict.
run_lines() {
  grep -v "^The replay ended" "$SCRATCH/out.txt"
}

# Recorded live with the results kept: W, a pause, a turn and a strafe, then
# the power runs out. The loss is counted once; the replays at the recorded
# pace and as fast as frames are drawn print the same lines and hash and
# count nothing.
case_live_recording_replays_alike() {
  make_small_tree
  printf 'keep_results = true\n' >> "$TREE/assets/settings/window.ini"
  export XDG_DATA_HOME="$SCRATCH/data"
  local recorded="$SCRATCH/live.replay" results="$SCRATCH/data/glimmerdeep/results.txt"
  start_game "$TREE_GAME" "$TREE" --record "$recorded"
  wait_window
  wait_first_frame 60
  xdotool keydown --window "$WINDOW" w
  sleep 0.5
  xdotool keyup --window "$WINDOW" w
  xdotool key --window "$WINDOW" p
  wait_line "Paused" 10
  xdotool key --window "$WINDOW" p
  wait_line "Resumed" 10
  xdotool mousemove_relative 20 -10
  xdotool keydown --window "$WINDOW" a
  sleep 0.3
  xdotool keyup --window "$WINDOW" a
  wait_game 60
  expect_clean_end
  local live
  live=$(run_lines)
  grep -q "^Run hash: " <<< "$live" || fail "no run hash after the recording"
  [[ "$(cat "$results")" == "$(printf 'glimmerdeep-results 2\ncourse 0000000000000000 classic\nwins 0\nlosses 1')" ]] \
    || fail "the loss was not counted: $(cat "$results")"

  local speed
  for speed in normal max; do
    replay_to_end "$TREE_GAME" "$TREE" "$recorded" "$speed"
    [[ "$(run_lines)" == "$live" ]] || fail "the $speed replay's lines differ from the recording's:
$live"
    expect_output_contains "The replay ended as its recording did."
  done
  grep -q "^losses 1$" "$results" || fail "a replay changed the results"
  unset XDG_DATA_HOME
}

# bad_replay <name> <expected line>: the replay in $SCRATCH/<name> stops the
# game before its window opens, with that one line and status 1.
bad_replay() {
  local file="$SCRATCH/$1"
  start_game "$TREE_GAME" "$TREE" --replay "$file"
  wait_game 30
  expect_status 1
  expect_no_sanitizer_report
  [[ "$(cat "$SCRATCH/out.txt")" == "Cannot replay '$file': $2." ]] || fail "for $1: $(cat "$SCRATCH/out.txt")"
}

case_bad_replays() {
  make_small_tree
  sed '20s/^\(frame [^ ]* [^ ]*\) [^ ]*/\1 nan/' "$REPLAYS/loss.replay" > "$SCRATCH/nan_cursor.replay"
  bad_replay missing.replay "it cannot be read"
  bad_replay nan_cursor.replay "line 20 has a cursor position that is no finite number"

  # Recorded on another course: one line naming both, status 1.
  sed '1s/ 1$/ 2/; 5a course 0123456789abcdef spiral' "$REPLAYS/win.replay" > "$SCRATCH/spiral.replay"
  start_game "$TREE_GAME" "$TREE" --replay "$SCRATCH/spiral.replay"
  wait_game 30
  expect_status 1
  [[ "$(cat "$SCRATCH/out.txt")" == "Cannot replay '$SCRATCH/spiral.replay': it was recorded on course 'spiral' \
(0123456789abcdef), not on course 'classic' ("[0-9a-f]*")." ]] || fail "another course's replay: $(cat "$SCRATCH/out.txt")"

  # Cut after a whole frame, as a killed recording leaves it: it plays up
  # to there and ends with the hash of that moment, no verdict.
  head -n 100 "$REPLAYS/loss.replay" > "$SCRATCH/cut_short.replay"
  replay_to_end "$TREE_GAME" "$TREE" "$SCRATCH/cut_short.replay" max
  grep -q "^Run hash: [0-9a-f]\{16\}$" "$SCRATCH/out.txt" || fail "no run hash after the cut replay"
  if grep -qE "depleted|The replay ended" "$SCRATCH/out.txt"; then fail "the cut replay went on or judged"; fi
}

case_committed_replays_end_as_recorded
case_live_recording_replays_alike
case_bad_replays
echo "replay_test: all cases passed"
