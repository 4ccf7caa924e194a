#!/usr/bin/env bash
# Sets up, builds and runs the kit's main job on a simulated terminal root.
# For now that is the menu tree of the sample launcher, read as the launcher reads it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev

# A terminal root of its own unless the caller names one.
export VELA_ROOT=${VELA_ROOT:-$top/build/demo-root}
mkdir -p "$VELA_ROOT/Windows" "$VELA_ROOT/Temp"
cp -r apps/menus/Menu "$VELA_ROOT/"
echo "Terminal root: $VELA_ROOT"
build/dev/bin/vela-menu-dump '\Menu\Main.mnu'
