#!/usr/bin/env bash
# Builds and runs the benchmarks: natively (optimised, no sanitizers, Google
# Benchmark) and under Wine (the profile engine beside the system's
# GetPrivateProfileStringA, Finish beside its floor, the launch beside a bare
# wizard). Prints each ratio beside its goal; bench/README.md says what they
# measure and where the time goes.
set -eu
cd "$(dirname "$0")/.."
if ! command -v hyperfine >/dev/null; then
  echo "bench/run.sh times the launch with hyperfine: apt-get install hyperfine" >&2
  exit 1
fi
native=build/bench-native
win64=build/bench-win64

# Quiet while it works; the whole output when it fails (set -e then stops).
quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

quiet cmake --preset native -B "$native" -DCMAKE_BUILD_TYPE=Release -DOKAPI_SANITIZE=OFF
quiet cmake --build "$native" --target profile_bench startup_bench package_bench
# CPU time: the machine is shared, wall time swings with its load.
csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
"$native/bench/profile_bench" --benchmark_format=csv --benchmark_min_time=0.3 2>/dev/null >"$csv"
echo "== native (g++ -O3, posix file service)"
awk -F, '
  function us(t, unit) { return unit == "ns" ? t / 1000 : unit == "ms" ? t * 1000 : unit == "s" ? t * 1e6 : t }
  NR > 1 { gsub(/"/, "", $1); t[$1] = us($4, $5) }
  END {
    printf "400 seeding reads:          %10.1f us\n", t["BM_SeedingReads"]
    printf "one load of each file:      %10.1f us\n", t["BM_LoadEachFileOnce"]
    printf "ratio reads / one load:     %10.2f (goal <= 2)\n", t["BM_SeedingReads"] / t["BM_LoadEachFileOnce"]
    printf "400 reads, stamp each read: %10.1f us (ratio %.2f)\n", t["BM_SeedingReadsCheckingEach"], t["BM_SeedingReadsCheckingEach"] / t["BM_LoadEachFileOnce"]
    split("1000 10000 100000 1000000", n, " ")
    for (i = 1; i <= 4; i++) {
      v = t["BM_ParseLines/" n[i]]
      printf "parse %7d lines:        %10.1f us  (%.3f us per line)\n", n[i], v, v / n[i]
    }
    printf "parse us per line, 1000000 lines / 10000 lines: %.2f (goal <= 1.5)\n", t["BM_ParseLines/1000000"] / 100 / t["BM_ParseLines/10000"]
  }' "$csv"

echo "== start-up work, native"
"$native/bench/startup_bench"
echo "== Finish and the machine table, native (Google Benchmark)"
"$native/bench/package_bench" --benchmark_min_time=0.3 2>/dev/null | sed -n '/^-- CPU/,$p'

quiet cmake --preset win64 -B "$win64"
quiet cmake --build "$win64" --target profile_bench_win32 startup_bench package_bench wine_prefix \
  okapi lay-demo first_page bare_wizard
echo "== Windows build under Wine"
cmake/wine-run.sh "$PWD/$win64/wineprefix" "$win64/bench/profile_bench_win32.exe" | tr -d '\r'
echo "== start-up work under Wine"
cmake/wine-run.sh "$PWD/$win64/wineprefix" "$win64/bench/startup_bench.exe" | tr -d '\r'
echo "== Finish and the machine table under Wine (median wall time)"
cmake/wine-run.sh "$PWD/$win64/wineprefix" "$win64/bench/package_bench.exe" | tr -d '\r'

echo "== launch to the first page under Wine (hyperfine, side by side)"
export WINEPREFIX="$PWD/$win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
# The demo installation, as scripts/run.sh lays it; the first run of the
# wizard (backups) is a warm-up run.
"$wine" "$win64/tools/lay-demo.exe" >/dev/null 2>&1
display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'rm -f "$csv"; kill $xvfb 2>/dev/null || true; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT
sleep 1
# One warm server for every run (fails harmlessly when one is running).
/usr/lib/wine/wineserver64 -p 2>/dev/null || true
launch="$wine $win64/bench/first_page.exe"
# Both programs as they ship: stripped, as the installer stages okapi.exe.
# Unstripped, okapi.exe is 26 MB of debug sections inside its image, which
# Wine reads in at every start.
shipped="$win64/bench/shipped"
mkdir -p "$shipped"
for exe in "$win64/okapi.exe" "$win64/bench/bare_wizard.exe"; do
  x86_64-w64-mingw32-strip --strip-all -o "$shipped/$(basename "$exe")" "$exe"
done
json=$(mktemp)
DISPLAY=$display hyperfine -N --warmup 3 --runs 15 --export-json "$json" \
  -n "bare two-page wizard" "$launch $shipped/bare_wizard.exe" \
  -n okapi.exe "$launch $shipped/okapi.exe" | sed -n '/^Benchmark\|Time (mean/p'
python3 - "$json" <<'PY'
import json, sys
bare, okapi = (r["median"] for r in json.load(open(sys.argv[1]))["results"])
print(f"median launch: bare wizard {bare * 1000:.0f} ms, okapi.exe {okapi * 1000:.0f} ms")
print(f"  ratio okapi.exe / bare wizard: {okapi / bare:.2f} (goal <= 1.25)")
PY
rm -f "$json"
