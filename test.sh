#!/usr/bin/env bash
# Builds everything and runs every test: native, native under AddressSanitizer and
# UndefinedBehaviorSanitizer, the atlas's and the friends' tests under ThreadSanitizer, the Windows
# build under Wine (headless, on a private Xvfb), and a short fuzz run. Ends with one line "N passed, N failed"; exits non-zero
# on any failure. Build folders and the Wine prefix are kept in build/ and reused.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
root=$(pwd)

grep -v '^#' scripts/packages.txt | xargs scripts/ensure-packages || { echo "0 passed, 1 failed"; exit 1; }
scripts/check-packages || { echo "0 passed, 1 failed"; exit 1; }

jobs=$(nproc)
passed=0
failed=0
log=build/test-logs
mkdir -p "$log"

note() { printf '\n== %s\n' "$*"; }

# build PRESET: configure (first time) and build; a failed build counts as a failure.
build() {
  local preset=$1
  note "building $preset"
  if ! { cmake --preset "$preset" >"$log/$preset-configure.txt" 2>&1 &&
         cmake --build --preset "$preset" -j "$jobs" >"$log/$preset-build.txt" 2>&1; }; then
    tail -n 40 "$log/$preset-configure.txt" "$log/$preset-build.txt" 2>/dev/null
    echo "build of $preset FAILED"
    failed=$((failed + 1))
    return 1
  fi
}

# run_ctest PRESET [ctest args]: runs the preset's tests and adds up the results.
run_ctest() {
  local preset=$1; shift
  note "testing $preset"
  ctest --preset "$preset" -j "$jobs" "$@" 2>&1 | tee "$log/$preset-ctest.txt" | grep -E 'tests passed|\*\*\*|Timeout|Not Run' || true
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log/$preset-ctest.txt" | tail -n 1)
  if [ -z "$line" ]; then
    if grep -q 'No tests were found' "$log/$preset-ctest.txt"; then return 0; fi
    echo "ctest for $preset gave no result"
    failed=$((failed + 1))
    return 1
  fi
  local bad total
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

build native && run_ctest native
build asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_ctest asan
build tsan && run_ctest tsan

if build windows; then
  scripts/wine-prefix
  read -r display xvfb_pid < <(scripts/start-xvfb)
  trap 'kill "$xvfb_pid" 2>/dev/null' EXIT
  DISPLAY=$display run_ctest windows
  WINEPREFIX=$root/build/wineprefix wineserver -k 2>/dev/null || true
fi

if [ -x scripts/fuzz ]; then
  note "fuzzing (short run)"
  if scripts/fuzz --short >"$log/fuzz.txt" 2>&1; then
    passed=$((passed + 1)); echo "fuzz run passed"
  else
    tail -n 40 "$log/fuzz.txt"; failed=$((failed + 1)); echo "fuzz run FAILED"
  fi
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
