#!/usr/bin/env bash
# Takes screenshots of the demo under Xvfb into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh AssistenteSolvanta solvanta_fonts
program=$(realpath "${SOLVANTA_BUILD_DIR:-build}")/src/AssistenteSolvanta
out=$PWD/docs/screenshots
mkdir -p "$out"

export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
world=$(mktemp -d)
cleanup() {
  kill "$app_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$world"
}
trap cleanup EXIT
sleep 1

"$program" --demo-root="$world" >"$world.log" 2>&1 &
app_pid=$!

# Waits for a window with this title and prints its id; fails the script
# (through `set -e` at the caller) when none shows up.
window() {
  for _ in $(seq 50); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  echo "screenshots: no window \"$1\"" >&2
  cat "$world.log" >&2
  return 1
}

# Takes what the screen shows where the window is, so that dialogs laid
# over it are in the picture too.
shot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2.png"
  convert "$out/$2.png" -strip -define png:compression-level=9 "$out/$2.png"
  echo "screenshots: $out/$2.png"
}

main=$(window "Assistente Solvanta")
panel=$(window "Dispositivos simulados")
sleep 1.5
shot "$main" main-window
shot "$panel" demo-panel

# Ctrl+Alt+H shows the restart notice over the stage.
xdotool key --window "$main" ctrl+alt+h
sleep 1
shot "$main" message-dialog
