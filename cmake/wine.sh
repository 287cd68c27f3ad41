#!/usr/bin/env bash
# wine.sh wine64|wineserver64 [args...]: one of Wine's programs, from this
# machine, or when OKAPI_WINE_ROOT names one, from the root that scripts/deps.sh
# lays for 32-bit Wine. That root sees this machine's /tmp (X and wineserver
# sockets), devices and this source tree at their own paths; the mounts live
# only as long as the processes they were made for.
set -u
program=/usr/lib/wine/$1; shift
root=${OKAPI_WINE_ROOT:-}
[ -n "$root" ] || exec "$program" "$@"
tree=$(cd "$(dirname "$0")/.." && pwd)
exec unshare -m /bin/sh -euc '
  root=$1 tree=$2 here=$3; shift 3
  for d in /proc /sys /dev /tmp "$tree"; do
    mkdir -p "$root$d"
    mount --rbind "$d" "$root$d"
  done
  exec chroot "$root" /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$here" "$@"
' sh "$root" "$tree" "$PWD" "$program" "$@"
