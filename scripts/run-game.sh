#!/usr/bin/env bash
# Starts the game built in a build directory; its asset search walks up from
# there to the repository. Without a display it runs under Xvfb.
set -euo pipefail
executable=$(realpath "$1")
shift
# Models are read from assets/objects under the working directory.
cd "$(dirname "$0")/.."
if [[ -z "${DISPLAY:-}" ]]; then
  echo "No display found: starting the game under Xvfb (it ends by itself when the fairy's power runs out)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$executable" "$@"
fi
exec "$executable" "$@"
