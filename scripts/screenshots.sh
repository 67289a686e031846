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

# The selection road: stage coordinates are relative to the stage's corner.
eval "$(xdotool getwindowgeometry --shell "$main")"
stage_x=$((X + 281))
stage_y=$((Y + 40))
click() {
  xdotool mousemove $((stage_x + $1)) $((stage_y + $2)) click 1
  sleep "${3:-1.5}"
}
# The self-update check hands over to the welcome screen.
sleep 2
shot "$main" welcome
click 588 542 4
shot "$main" identification
xdotool windowfocus --sync "$main" 2>/dev/null || true
click 367 147 0.3
xdotool type --delay 30 "52998224725Maria Souza"
click 367 307 0.3
xdotool type --delay 30 "11987654321"
click 367 387 0.3
xdotool type --delay 30 "maria@exemplo.com"
sleep 0.5
shot "$main" identification-filled
click 367 500
shot "$main" device-kind
click 242 285
xdotool mousemove 5 5
sleep 1
shot "$main" model-list
xdotool mousemove $((stage_x + 150)) $((stage_y + 92))
sleep 0.7
shot "$main" model-help
xdotool mousemove 5 5
sleep 0.5
click 100 200
shot "$main" confirmation
click 451 331 0.3
shot "$main" confirmation-accepted
# The recovery flow: drivers, the vendor tool, the firmware, then the slot
# of the family's rewriter.
click 575 440 3
shot "$main" flow-download
sleep 12
shot "$main" flow-end

# The TV road, on a new run in the same world (the customer is known now).
restart() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  "$program" --demo-root="$world" >>"$world.log" 2>&1 &
  app_pid=$!
  sleep 1
  main=$(window "Assistente Solvanta")
  eval "$(xdotool getwindowgeometry --shell "$main")"
  stage_x=$((X + 281))
  stage_y=$((Y + 40))
  sleep 3
}
restart
click 588 542 2
click 492 285 0.2
shot "$main" tv-catalogue-update
sleep 2
shot "$main" tv-code
click 195 127 0.3
xdotool type --delay 30 "43UH1"
xdotool key Return
sleep 1.5
shot "$main" tv-confirmation

# Ctrl+Alt+H shows the restart notice over the stage.
restart
xdotool key --window "$main" ctrl+alt+h
sleep 1
shot "$main" message-dialog


# The self-update screen, on a world whose server offers an update.
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
mkdir -p "$world/update"
"$program" --demo-root="$world/update" --demo-update >>"$world.log" 2>&1 &
app_pid=$!
main=$(window "Assistente Solvanta")
sleep 0.3
shot "$main" self-update
