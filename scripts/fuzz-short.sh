#!/usr/bin/env bash
# A short pass of every libFuzzer target (clang, "fuzz" preset): each runs for
# FUZZ_SECONDS (default 15) from a corpus seeded with the test data.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${FUZZ_SECONDS:-15}

cmake --preset fuzz >/dev/null
targets=()
for source in fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build --preset fuzz --target "${targets[@]}"

export VELA_ROOT=$(mktemp -d)
trap 'rm -rf "$VELA_ROOT"' EXIT
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  case $target in
    ini_fuzz) seeds=(VelaSys/tests/data/*.ini) ;;
    menu_fuzz) seeds=(framework/tests/data/*.mnu apps/menus/Menu/*.mnu) ;;
    *) seeds=() ;;
  esac
  for seed in "${seeds[@]}"; do
    [ -f "$seed" ] && cp -n "$seed" "$corpus/" || true
  done
  echo "== $target for ${seconds}s"
  log=build/fuzz/$target.log
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "build/fuzz/bin/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 "$corpus" \
    >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "$target failed (exit $status); the crashing input is in $top (crash-*)" >&2
    exit "$status"
  fi
done
