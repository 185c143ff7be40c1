#!/usr/bin/env bash
# Shortcut keys pressed by hand in a running game: key 1 hides and shows the
# power bar on its release (checked on screenshots), and F3 goes fullscreen
# and back to the window's size and place. Every other key is in the
# shortcuts replay. Screenshots are kept in
# $GLIMMERDEEP_E2E_SCREENSHOTS, by default "screenshots" beside the game.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

SHOTS=${GLIMMERDEEP_E2E_SCREENSHOTS:-$(dirname "$GAME")/screenshots}
mkdir -p "$SHOTS"

# The 320 by 240 window centres the 200 by 20 bar at x 60 to 260, 30 to 50
# pixels above the bottom edge: image rows 190 to 210. The sample lies near
# the bar's left end, where the fill stays while power is above 15.
BAR_SAMPLE="20x10+70+195"

# screenshot <name>: the game window as $SHOTS/<name>.png; sets SHOT to its
# path and COLOUR to the mean red, green and blue of the bar sample.
screenshot() {
  SHOT="$SHOTS/$1.png"
  import -window "$WINDOW" "$SHOT" || fail "no screenshot $1"
  COLOUR=$(convert "$SHOT" -crop "$BAR_SAMPLE" +repage \
             -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:) || fail "cannot read $SHOT"
}

# The fill's light blue (0.4, 0.8, 1.0), over whatever blending leaves of the
# dark background; the red bound keeps the sky (0.529, 0.808, 0.922) out.
is_bar_colour() {
  awk -v rgb="$1" 'BEGIN { split(rgb, c, " "); exit !(c[1] < 0.45 && c[2] > 0.65 && c[3] > 0.85) }'
}

# wait_bar <shown|hidden> <name>: takes screenshots until the bar sample
# shows (or no longer shows) the fill; the last one is kept as <name>.png.
wait_bar() {
  local want=$1 name=$2 tries=0 state
  while :; do
    screenshot "$name"
    state=hidden
    if is_bar_colour "$COLOUR"; then state=shown; fi
    [[ "$state" == "$want" ]] && return
    tries=$((tries + 1))
    (( tries < 40 )) || fail "bar never $want; sample colour $COLOUR in $SHOT"
    sleep 0.25
  done
}

expect_running() {
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after $1"
}

# tap <key>: presses and releases a key, then lets a few frames pass.
tap() {
  xdotool key "$1"
  sleep 0.4
  expect_running "key $1"
}

case_overlay_and_fullscreen_keys() {
  make_small_tree
  cp "$SOURCE_DIR/tests/e2e/data/window_wide.ini" "$TREE/assets/settings/window.ini"
  start_game "$TREE_GAME" "$TREE"
  wait_window
  xdotool windowfocus --sync "$WINDOW" || true
  # The free camera stops the power drain, so the bar keeps its fill and the
  # fairy cannot fall while the keys are tried.
  tap c

  local on off
  wait_bar shown e2e_overlay_on
  on=$COLOUR

  # Holding 1 changes nothing; its release hides the bar and the heart.
  xdotool keydown 1
  sleep 1
  expect_running "holding key 1"
  screenshot e2e_overlay_key_held
  is_bar_colour "$COLOUR" || fail "the bar went while key 1 was still held: $COLOUR in $SHOT"
  xdotool keyup 1
  wait_bar hidden e2e_overlay_off
  off=$COLOUR
  awk -v a="$on" -v b="$off" 'BEGIN { split(a, x, " "); split(b, y, " ");
      d = 0; for (i = 1; i <= 3; i++) d += (x[i] > y[i] ? x[i] - y[i] : y[i] - x[i]);
      exit !(d > 0.2) }' || fail "bar sample hardly changed: $on with the overlay, $off without"
  tap 1
  wait_bar shown e2e_overlay_again

  xdotool key F3
  wait_geometry 1280x1024 30
  expect_running "F3 into fullscreen"
  xdotool key F3
  wait_geometry 320x240 30
  # The size and the position arrive as separate events; give the move a moment.
  local waited=0
  until xdotool getwindowgeometry "$WINDOW" | grep -q "Position: 100,100"; do
    sleep 0.2
    waited=$((waited + 1))
    (( waited <= 50 )) || fail "windowed again at $(xdotool getwindowgeometry "$WINDOW")"
  done
  expect_running "F3 back to the window"

  # Back to the follow camera: the power drains again, so quit at once.
  tap c
  quit_game
  if grep -q "Fairy power depleted" "$SCRATCH/out.txt"; then
    fail "the power ran out although the free camera stops the drain"
  fi
}

case_overlay_and_fullscreen_keys
echo "play_test: all cases passed"
