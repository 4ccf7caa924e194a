#!/usr/bin/env bash
# A short pass of every libFuzzer target (clang, "fuzz" preset): each runs for
# FUZZ_SECONDS (default 10) from a corpus seeded with the test data.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${FUZZ_SECONDS:-10}

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
    ini_fuzz)
      printf '; seed\r\n[Menu]\r\nText = Hello ; c\r\n[ menu ]\r\nA=B=C\r\n[Bad\r\n # a=b\r\n=v\r\n' >"$corpus/seed.ini"
      printf '[\x83\x5D]\r\n\x83\x5C\x81\x5B=\x95\x5C\r\n' >"$corpus/seed_cp932.ini" ;;
    menu_fuzz)
      cp -n apps/menus/Menu/*.mnu "$corpus/" 2>/dev/null || true ;;
  esac
  echo "== $target for ${seconds}s"
  log=build/fuzz/$target.log
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "build/fuzz/bin/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 -artifact_prefix=build/fuzz/"$target"- "$corpus" \
    >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "$target failed (exit $status); the failing input is build/fuzz/$target-crash-*" >&2
    exit "$status"
  fi
done
