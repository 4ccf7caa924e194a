#!/bin/sh
# Installs the collector stand-in "OrelClog.dll" into \Windows of a terminal root, where
# LoadLibrary finds it. Usage: scripts/install-collector.sh [build folder] [terminal root]
# The root defaults to $VELA_ROOT. Switch the logging library over to it with
#   HKEY_LOCAL_MACHINE\Software\Vela\OrelClog  "MLSMode" (DWORD) = 0
# (any value but 1; without the value the records stay in the log file). Records land in
# \Windows\OrelClog.db, table applog.
set -eu
build=${1:-build/dev}
root=${2:-${VELA_ROOT:?set VELA_ROOT or name the terminal root}}
lib="$build/collector/libOrelClog.so"
[ -f "$lib" ] || { echo "install-collector: $lib not built (cmake --build $build --target OrelClog)" >&2; exit 1; }
mkdir -p "$root/Windows"
cp "$lib" "$root/Windows/libOrelClog.so"
echo "installed $root/Windows/libOrelClog.so"
