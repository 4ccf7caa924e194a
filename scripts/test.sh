#!/usr/bin/env bash
# Sets up, builds and runs every test: the CI build (warnings are errors), the same suite under
# AddressSanitizer + UndefinedBehaviorSanitizer, and a short pass of each fuzz target.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

scripts/setup.sh

echo "== build and test (ci preset)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

echo "== build and test under the sanitizers (asan preset)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== thread tests under ThreadSanitizer (tsan preset)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
ctest --preset tsan -j "$jobs"

if [ "${VELA_SKIP_FUZZ:-0}" != 1 ] && [ -x scripts/fuzz-short.sh ]; then
  echo "== short fuzz pass"
  scripts/fuzz-short.sh
fi
