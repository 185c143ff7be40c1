#!/usr/bin/env bash
# Sound, heard through OpenAL Soft's wave backend, which writes what the game
# plays into a WAV: the win replay at its recorded pace is quiet until its
# first ring, chimes at each ring's frame a step higher each time, and ends
# with the fanfare, which the end screen lets ring out; --no-sound opens no
# device at all; a sound system that cannot start costs one line, not the game.
# The fifth argument is tools/sound_meter.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

METER=$(realpath "$5")
REPLAYS="$SOURCE_DIR/tests/e2e/data/replays"
WAV="$SCRATCH/heard.wav"
LOUD=-18  # dB: chimes and the fanfare are louder, the wings and the well quieter

# sound_conf: OpenAL Soft writes what the game plays into $WAV.
sound_conf() {
  printf '[general]\ndrivers = wave\nchannels = mono\nsample-type = float32\n[wave]\nfile = %s\n' "$WAV" \
    > "$SCRATCH/alsoft.conf"
  rm -f "$WAV"
  export ALSOFT_DRIVERS=wave ALSOFT_CONF="$SCRATCH/alsoft.conf"
}

# The win at its recorded pace, each ring's line and the win's stamped with
# the wall clock as the game prints them: that is when their frames ran,
# whatever a slow first frame did to the pace.
case_win_replay_sounds_at_its_rings() {
  make_small_tree
  printf 'end_screen_seconds = 2\n' >> "$TREE/assets/settings/window.ini"
  sound_conf
  start_game "$TREE_GAME" "$TREE" --replay "$REPLAYS/win.replay"
  # Followed by name: the file may not be there yet.
  exec 3< <(tail -F -s 0.01 -n +1 --pid="$GAME_PID" "$SCRATCH/out.txt" 2>/dev/null)
  local line
  while IFS= read -r line <&3; do
    [[ "$line" != "Passed ring "* && "$line" != *"won!"* ]] || echo "$(date +%s.%N) $line" >> "$SCRATCH/stamped.txt"
  done
  exec 3<&-
  wait_game 60
  expect_clean_end
  export ALSOFT_DRIVERS=null
  "$METER" rings "$REPLAYS/win.replay" > "$SCRATCH/rings.txt"
  "$METER" onsets "$WAV" > "$SCRATCH/onsets.txt"
  "$METER" levels "$WAV" > "$SCRATCH/levels.txt"
  # The loud sounds, in order, are exactly the chimes of the rings the lines
  # name and the fanfare (whose later notes sound loud too), so before the
  # first ring only the quiet wings and well play. They are as far apart as
  # their lines, each chime at its ring's rate against the first, and the
  # fanfare stays loud for most of a second.
  awk -v loud=$LOUD -v tolerance=0.15 -v events="$(wc -l < "$REPLAYS/win.replay.lines")" '
    BEGIN { n = 0; m = 0 }
    FILENAME ~ /rings/ && $1 == "ring" { rateOf[$2] = $4; next }
    FILENAME ~ /stamped/ { at[n] = $1; rate[n] = ($2 == "Passed") ? rateOf[$4] : 0; n++; next }
    # One attack may show as two onsets a few hundredths of a second apart: they are one sound.
    FILENAME ~ /onsets/ && $3 > loud && m > 0 && $2 < heard[m - 1] + 0.1 { next }
    FILENAME ~ /onsets/ && $3 > loud && (m < n || $2 > heard[n - 1] + 1.5) { heard[m] = $2; pitch[m] = $4; m++ }
    FILENAME ~ /levels/ && m > 0 && $1 >= heard[n - 1] + 0.03 && $1 < heard[n - 1] + 0.8 && $2 < -30 { cut = $1 }
    END {
      if (n != events || m != n) { print "heard " m " loud sounds for " n " lines"; exit 1 }
      if (cut != "") { print "the fanfare fell silent at " cut; exit 1 }
      for (i = 1; i < n; i++) {
        off = (heard[i] - heard[0]) - (at[i] - at[0])
        if (off > tolerance || off < -tolerance) { print "sound " i + 1 " came " off " s off its line"; exit 1 }
        ratio = rate[i] > 0 ? (pitch[i] / pitch[0]) / (rate[i] / rate[0]) : 1
        if (ratio < 0.97 || ratio > 1.03 || (rate[i] > 0 && pitch[i] <= pitch[i - 1])) {
          print "chime " i + 1 " at " pitch[i] " Hz, not at its ring'"'"'s rate"; exit 1
        }
      }
    }' "$SCRATCH/rings.txt" "$SCRATCH/stamped.txt" "$SCRATCH/onsets.txt" "$SCRATCH/levels.txt" \
    > "$SCRATCH/verdict.txt" || fail "$(cat "$SCRATCH/verdict.txt" "$SCRATCH/stamped.txt" "$SCRATCH/onsets.txt")"
}

# No device is opened at all, so the wave backend writes no file.
case_no_sound_plays_nothing() {
  make_small_tree
  sound_conf
  replay_to_end "$TREE_GAME" "$TREE" "$REPLAYS/loss.replay" max --no-sound
  export ALSOFT_DRIVERS=null
  [[ ! -e "$WAV" ]] || fail "--no-sound opened the audio device"
}

# A backend that does not exist, and on a machine without a sound card the
# sound system's own (alsa-lib's complaints on standard error included): one
# line, then the loss plays to its end.
case_failing_sound_system_costs_one_line() {
  make_small_tree
  local drivers=no-such-backend
  grep -qs "no soundcards" /proc/asound/cards && drivers=alsa,no-such-backend
  [[ -e /proc/asound/cards ]] || drivers=alsa,no-such-backend
  ALSOFT_DRIVERS=$drivers replay_to_end "$TREE_GAME" "$TREE" "$REPLAYS/loss.replay" max
  local lines
  lines=$(grep -ihE "sound|audio|AL lib" "$SCRATCH/out.txt" "$SCRATCH/err.txt" || true)
  [[ "$lines" == "No audio device could be opened; the game plays without sound." ]] || fail "audio lines: $lines"
  [[ ! -s "$SCRATCH/err.txt" ]] || fail "standard error: $(cat "$SCRATCH/err.txt")"
  expect_output_contains " You fell back to the bottom. Game Over. "
}

case_win_replay_sounds_at_its_rings
case_no_sound_plays_nothing
case_failing_sound_system_costs_one_line
echo "sound_test: all cases passed"
