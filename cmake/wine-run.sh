#!/usr/bin/env bash
# Emulator for the Windows build: wine-run.sh PREFIX program.exe [args...]
# Wine's helper processes inherit and keep stdout/stderr open, so ctest and
# ninja would wait for them; the output goes to files and is replayed instead.
set -u
prefix=$1; shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=("$(dirname "$0")/wine.sh" wine64)
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
# Once in some hundred runs Wine ends silently and at once with a failure,
# before the program gets to print anything (seen in CI, not reproduced by
# hand). Every program run here prints on failure, so silence means the
# program never ran: start it again, and say so.
for attempt in 1 2 3; do
  "${wine[@]}" "$@" >"$out" 2>"$err" </dev/null
  rc=$?
  if [ "$rc" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then break; fi
  echo "wine-run: $1 ended with status $rc before printing anything" \
    "(attempt $attempt)" >&2
done
cat "$out"
cat "$err" >&2
exit $rc
