#!/usr/bin/env bash
# Emulator for the Windows build: wine-run.sh PREFIX program.exe [args...]
# Wine's helper processes inherit and keep stdout/stderr open, so ctest and
# ninja would wait for them; the output goes to files and is replayed instead.
set -u
prefix=$1; shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$wine" "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
exit $rc
