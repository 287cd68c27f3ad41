#!/usr/bin/env bash
# Creates a Wine prefix fit for the tests: no prompts, Wine's fonts installed
# (this Wine does not read them from /usr/share), a virtual desktop so that
# windows hide and close without waiting for a window manager.
set -eu
prefix=$1
wine=$(dirname "$0")/wine.sh
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  env -u DISPLAY "$wine" wine64 wineboot -i >/dev/null 2>&1 </dev/null || true
  "$wine" wineserver64 -w || true
fi
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
w() { env -u DISPLAY "$wine" wine64 "$@" >/dev/null 2>&1 </dev/null; }
w reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
w reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
"$wine" wineserver64 -w || true
touch "$prefix/.okapi-ready"
