#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix, then the game
# started from another folder plays the committed loss replay with every
# file from its installed data folder, also after the prefix has been moved;
# the desktop entry, the metainfo, the man page and the icons pass their checkers.
source "$(dirname "$0")/e2e_lib.sh"
e2e_init "$@"

BUILD_DIR=$(dirname "$GAME")  # the game is built at the top of its build tree
PREFIX="$SCRATCH/prefix"
# Only the small window comes from the test's own data folder.
export GLIMMERDEEP_DATA="$SCRATCH/data"
mkdir -p "$GLIMMERDEEP_DATA/settings" "$SCRATCH/elsewhere"
cp "$SOURCE_DIR/tests/e2e/data/window_small.ini" "$GLIMMERDEEP_DATA/settings/window.ini"

# play <prefix> <replay>: the replay as fast as frames are drawn, to its end,
# with every file found.
play() {
  replay_to_end "$1/bin/glimmerdeep" "$SCRATCH/elsewhere" "$2" max
  [[ ! -s "$SCRATCH/err.txt" ]] || fail "standard error not empty (a model missing?)"
  if grep -qE "Failed to load|Could not find|cannot be played" "$SCRATCH/out.txt"; then fail "a file was not found"; fi
}

case_installed_game_plays_and_its_desktop_files_pass() {
  cmake --install "$BUILD_DIR" --prefix "$PREFIX" > "$SCRATCH/install.txt" || fail "cmake --install failed"
  play "$PREFIX" "$SOURCE_DIR/tests/e2e/data/replays/loss.replay"
  expect_output_contains " Fairy power depleted! Falling... "
  expect_output_contains " You fell back to the bottom. Game Over. "
  expect_output_contains "The replay ended as its recording did."
  local output size
  output=$(desktop-file-validate "$PREFIX/share/applications/org.example.glimmerdeep.desktop" 2>&1) && [[ -z "$output" ]] \
    || fail "desktop-file-validate: $output"
  # Infos and hints fail too: a missing launchable or content rating is only an info.
  output=$(appstreamcli validate --no-net --pedantic --no-color \
    "$PREFIX/share/metainfo/org.example.glimmerdeep.metainfo.xml" 2>&1) && ! grep -q '^[EWIP]: ' <<<"$output" \
    || fail "appstreamcli validate: $output"
  output=$(zcat "$PREFIX/share/man/man6/glimmerdeep.6.gz" | LC_ALL=C.UTF-8 groff -ww -man -Tutf8 2>&1 >/dev/null)
  [[ -z "$output" ]] || fail "groff warns about the man page: $output"
  for size in 16 24 32 48 64 128 256; do
    output=$(identify -regard-warnings -format '%m %wx%h %k' \
      "$PREFIX/share/icons/hicolor/${size}x${size}/apps/glimmerdeep.png" 2>&1) || fail "icon $size: $output"
    [[ "$output" == "PNG ${size}x${size} "* ]] || fail "icon $size is $output"
  done
}

# The data folder is found beside the executable wherever the prefix goes
# (the first second of the loss is enough to load every file), and it is the
# only copy: a shader taken out of it is missing.
case_moved_prefix_still_plays() {
  mv "$PREFIX" "$SCRATCH/moved"
  head -n 35 "$SOURCE_DIR/tests/e2e/data/replays/loss.replay" > "$SCRATCH/brief.replay"
  play "$SCRATCH/moved" "$SCRATCH/brief.replay"
  rm "$SCRATCH/moved/share/glimmerdeep/shaders/water.frag"
  start_game "$SCRATCH/moved/bin/glimmerdeep" "$SCRATCH/elsewhere"
  wait_game 60
  expect_status 1
  expect_output_contains "Could not find shader file: assets/shaders/water.frag"
}

case_installed_game_plays_and_its_desktop_files_pass
case_moved_prefix_still_plays
echo "install_test: all cases passed"
