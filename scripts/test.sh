#!/usr/bin/env bash
# Builds everything and runs every test: native (ASan + UBSan), under Wine
# (with a virtual X display for the window tests; the shipped 32-bit build
# only its installer, one journey and signing) and a short fuzzing run.
set -u
cd "$(dirname "$0")/.."
# The shipped build is 32-bit; OKAPI_TEST_32BIT=0 leaves its smoke set out.
export OKAPI_TEST_32BIT=${OKAPI_TEST_32BIT:-1}
scripts/deps.sh || exit 1
jobs=$(nproc)
summary=()
passed=0 failed=0
run_ctest() {  # name, command that ends in ctest and its arguments...
  local name=$1; shift
  local log; log=$(mktemp)
  # A window test waiting on a box nobody closes must not hold CI forever.
  "$@" --no-label-summary --timeout "${timeout:-300}" -j"$jobs" 2>&1 | tee "$log"
  local line; line=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
  local total ok bad
  if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    bad=${BASH_REMATCH[1]}; total=${BASH_REMATCH[2]}; ok=$((total - bad))
  else
    bad=1; ok=0; line="no test summary"
  fi
  passed=$((passed + ok)); failed=$((failed + bad))
  summary+=("$name: $line")
  rm -f "$log"
}
build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

if build native; then run_ctest native ctest --preset native
else summary+=("native: build failed"); failed=$((failed + 1)); fi

run_wine() {  # preset: its tests under Wine, in its own prefix
  export WINEPREFIX="$PWD/build/$1/wineprefix"
  OKAPI_WINE_ROOT=$(sed -n 's/^OKAPI_WINE_ROOT:PATH=//p' "build/$1/CMakeCache.txt")
  export OKAPI_WINE_ROOT
  # The build ran Wine without a display; its desktop process must be gone
  # before window tests start. Then one wineserver for the whole run.
  cmake/wine.sh wineserver64 -k 2>/dev/null
  cmake/wine.sh wineserver64 -w 2>/dev/null
  trap 'cmake/wine.sh wineserver64 -k 2>/dev/null' EXIT
  cmake/wine.sh wineserver64 -p 2>/dev/null
  run_ctest "$1" xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$1"
  cmake/wine.sh wineserver64 -k 2>/dev/null
  trap - EXIT
  unset WINEPREFIX OKAPI_WINE_ROOT
}

if build win64; then run_wine win64
else summary+=("win64: build failed"); failed=$((failed + 1)); fi

# The shipped 32-bit build: the installer with one journey, and signing. Its
# Wine runs emulated, so only these; the 64-bit run above holds every test.
if [ "$OKAPI_TEST_32BIT" = 1 ]; then
  start=$SECONDS
  if build win32; then timeout=2400 run_wine win32
  else summary+=("win32: build failed"); failed=$((failed + 1)); fi
  summary+=("win32: $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s with its build")
fi

if build fuzz; then run_ctest fuzz ctest --test-dir build/fuzz -L fuzz
else summary+=("fuzz: build failed"); failed=$((failed + 1)); fi

echo
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
