#!/usr/bin/env bash
# Runs the wizard on its embedded default: the local maker server and the
# simulated PC, in a demo world laid out in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh AssistenteSolvanta solvanta_fonts
program=${SOLVANTA_BUILD_DIR:-build}/src/AssistenteSolvanta
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "demo: no display found; running on a virtual display (Xvfb)."
  echo "demo: scripts/screenshots.sh takes pictures of it."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$@"
fi
exec "$program" "$@"
