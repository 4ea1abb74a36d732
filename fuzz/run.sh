#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, seeds their corpora and runs each one.
# Usage: fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     (default: 30 s, every target)
#        FUZZ_RUNS=10000000 fuzz/run.sh 0 session            (a number of inputs, no time limit)
# Corpora are kept in build-fuzz/corpus/<target>, crashes in build-fuzz/crashes/.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# FUZZ_BUILD_DIR: an existing build with TABULON_FUZZ=ON to use instead (CI's sanitizer build).
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(telnet session boardline gnubg_output settings theme files)

if ! grep -qs "TABULON_FUZZ:BOOL=ON" "$build/CMakeCache.txt"; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DTABULON_FUZZ=ON \
    -DTABULON_TESTS=OFF -DTABULON_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

fixtures="$here/../shared/fixtures/fibs-sessions"
seed() { # seed TARGET: fills the target's corpus folder once
  local dir="$build/corpus/$1"
  [ -d "$dir" ] && return
  mkdir -p "$dir"
  case "$1" in
    telnet|session)
      # Recorded server output in pieces, each led by the read-size byte.
      if [ -d "$fixtures" ]; then
        for f in "$fixtures"/*.txt; do
          split -a 3 -b 1000 -d "$f" "$dir/$(basename "$f" .txt)-"
          for p in "$dir/$(basename "$f" .txt)-"*; do
            { printf '\x40'; cat "$p"; } > "$p.in" && rm "$p"
          done
        done
      fi
      printf '\x10\xff\xfd\x18\xff\xfb\x01login: ' > "$dir/negotiation" ;;
    boardline)
      [ -d "$fixtures" ] && grep -ah "^board:" "$fixtures"/*.txt | head -200 | split -l 1 -d - "$dir/board-" ;;
    gnubg_output)
      cp "$here"/tests/analysis/fixtures/*.txt "$dir/" ;;
    settings)
      find "$here/tests" -name "*.ini" -size -64k -exec cp {} "$dir/" \; 2>/dev/null || true
      printf '[Settings]\r\nServer=fibs.com\r\nPort=4321\r\nAutologin=1\r\n' > "$dir/minimal.ini" ;;
    theme)
      cp "$here"/data/Themes/*.ini "$dir/" ;;
    files)
      printf '\x00' > "$dir/empty-rat"
      printf '\x01' > "$dir/empty-friends" ;;
  esac
}

mkdir -p "$build/crashes"
status=0
for t in "${targets[@]}"; do
  seed "$t"
  extra=()
  [ -n "${FUZZ_RUNS:-}" ] && extra+=(-runs="$FUZZ_RUNS")
  # The session target keeps one session over many inputs on purpose, so its state grows
  # across inputs; short inputs keep it fast enough for long runs.
  [ "$t" = session ] && extra+=(-detect_leaks=0 -max_len=1024)
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/fuzz_$t" "$build/corpus/$t" -dict="$here/fuzz/fibs.dict" \
      -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
      "${extra[@]}" 2>"$build/fuzz_$t.log"; then
    tail -40 "$build/fuzz_$t.log"
    status=1
  fi
  grep -E "stat::number_of_executed_units|DONE" "$build/fuzz_$t.log" | tail -2
done
exit $status
