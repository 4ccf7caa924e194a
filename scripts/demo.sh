#!/usr/bin/env bash
# Sets up, builds and starts the sample menu launcher on a simulated terminal: in a desktop window
# when a display is there, otherwise as a headless scripted tour that saves a picture of every
# step and prints the operation log.
#   VELA_ROOT   the terminal's root (default build/demo-root, seeded with the sample tree)
#   DEMO_MODE   window or tour, to choose instead of the display deciding
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev

bin=$top/build/dev/bin
export VELA_ROOT=${VELA_ROOT:-$top/build/demo-root}
"$bin/vela-sample-root" "$VELA_ROOT"
echo "Terminal root: $VELA_ROOT"
rm -f "$VELA_ROOT/Temp/Launcher.log" "$VELA_ROOT/Temp/JobApp.log"  # a fresh log for this run
launcher='\Program Files\Vela\Launcher.exe'
log='\Temp\Launcher.log'

mode=${DEMO_MODE:-}
if [ -z "$mode" ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then mode=window; else mode=tour; fi
fi

show_log() {
  echo "== the operation log ($log)"
  "$bin/vela-logview" "$log" || true
}

if [ "$mode" = window ]; then
  echo "The launcher runs in a window: F1 shows the keys; close the window to end."
  if "$bin/vela-sim" --window "$launcher"; then
    show_log
    exit 0
  fi
  echo "No window could be opened here; running the headless tour instead." >&2
fi

shots=$top/build/demo-shots
rm -rf "$shots"
mkdir -p "$shots"
echo "== the headless tour (apps/launcher/tour.script); pictures in $shots"
"$bin/vela-sim" --script apps/launcher/tour.script --shots "$shots" "$launcher"
ls "$shots"
show_log
