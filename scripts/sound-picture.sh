#!/usr/bin/env bash
# Plays the win replay at its recorded pace into a WAV through OpenAL Soft's
# wave backend, in a small window under Xvfb, and draws the sound's loudness
# over time with the moments its rings are passed (the README's picture).
#   scripts/sound-picture.sh <build dir> <picture.png>
# The build dir needs glimmerdeep and tools/sound_meter; ImageMagick draws
# with DejaVu Sans (fonts-dejavu-core).
set -euo pipefail
build=$(realpath "$1")
picture=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
replay="$root/tests/e2e/data/replays/win.replay"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tree of its own: the root marker, the game, the assets and a small window
# that software rendering draws fast enough to keep the replay's pace.
mkdir -p "$work/tree/bin" "$work/tree/assets/settings"
echo "# marker" > "$work/tree/CMakeLists.txt"
cp "$build/glimmerdeep" "$work/tree/bin/"
for folder in shaders textures objects sounds; do ln -s "$root/assets/$folder" "$work/tree/assets/$folder"; done
cp "$root/assets/settings/camera_front.ini" "$root/assets/settings/renderer_standard.ini" "$work/tree/assets/settings/"
{ cat "$root/tests/e2e/data/window_small.ini"; echo "end_screen_seconds = 2"; } > "$work/tree/assets/settings/window.ini"
printf '[general]\ndrivers = wave\nchannels = mono\nsample-type = float32\n[wave]\nfile = %s\n' "$work/heard.wav" \
  > "$work/alsoft.conf"
(cd "$work/tree" && ALSOFT_DRIVERS=wave ALSOFT_CONF="$work/alsoft.conf" \
   xvfb-run -a -s "-screen 0 1280x1024x24" bin/glimmerdeep --replay "$replay" > "$work/out.txt") || true

"$build/tools/sound_meter/sound_meter" levels "$work/heard.wav" > "$work/levels.txt"
"$build/tools/sound_meter/sound_meter" onsets "$work/heard.wav" > "$work/onsets.txt"
"$build/tools/sound_meter/sound_meter" rings "$replay" > "$work/rings.txt"

# 100 pixels a second from the replay's first frame, 0 to -60 dB over 240
# pixels; the replay's times are placed so that its first ring falls on the
# first chime heard.
width=1360 height=300 top=24 left=40
draw=$(awk -v w=$width -v h=$height -v top=$top -v left=$left '
  BEGIN { n = 0 }
  FILENAME ~ /onsets/ && $3 > -18 && first == "" { first = $2 }
  FILENAME ~ /rings/ { event[n] = $1 == "ring" ? "ring " $2 : $1; at[n] = $(NF - ($1 == "ring")); n++ }
  FILENAME ~ /levels/ && $1 >= first - at[0] && $1 < first - at[0] + 13 {
    db = $2 < -60 ? -60 : $2
    points = points sprintf(" %.1f,%.1f", left + ($1 - first + at[0]) * 100, top - db * 4)
  }
  END {
    printf "-stroke gray70 -draw \"line %d,%d %d,%d\" ", left, top + 240, w - 10, top + 240
    for (i = 0; i < n; i++) {
      x = left + at[i] * 100
      printf "-stroke orange -draw \"line %.1f,%d %.1f,%d\" ", x, top, x, top + 240
      printf "-stroke none -fill orange -draw \"text %.1f,%d '"'"'%s'"'"'\" -fill none ", x + 3, top + 258, event[i]
    }
    printf "-stroke steelblue -draw \"polyline%s\"", points
  }' "$work/onsets.txt" "$work/rings.txt" "$work/levels.txt")
eval convert -size ${width}x${height} xc:white -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
  -fill none -strokewidth 1 -pointsize 12 "$draw" \
  -stroke none -fill black -draw "\"text 4,14 'loudness, 0 to -60 dB, per 10 ms; marks: rings passed and the win'\"" \
  "$picture"
echo "$picture"
