#!/usr/bin/env bash
# Runs the wizard on the bundled demo installation, in a private Wine prefix
# (build/demo/wineprefix). On the user's display when there is one; otherwise
# on a virtual display, with a screenshot of the first page.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target okapi lay-demo helpfile

demo="$PWD/build/demo"
export WINEPREFIX="$demo/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
cmake/wine-prefix.sh "$WINEPREFIX"
# Wine shows the host's root as drive Z:.
"$wine" build/win64/tools/lay-demo.exe "Z:$(echo "$PWD/build/win64/llb3cust.chm" | tr / '\\')"
cp build/win64/okapi.exe "$demo/okapi.exe"

if [ -n "${DISPLAY:-}" ]; then
  "$wine" "$demo/okapi.exe"
  /usr/lib/wine/wineserver64 -w
  exit 0
fi

# No display: a virtual one, a screenshot, then everything this script started ends.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$wine" "$demo/okapi.exe" &
okapi=$!
sleep "${OKAPI_SCREENSHOT_DELAY:-6}"
shot="$demo/okapi-welcome.png"
DISPLAY=$display import -window root "$shot"
echo "No display: the wizard ran on a virtual one. Screenshot: $shot"
kill "$okapi" 2>/dev/null || true
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
wait "$okapi" 2>/dev/null || true
