#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, if
# missing. With OKAPI_TEST_32BIT=1 it also lets Wine run 32-bit programs (the
# shipped okapi.exe is one), through qemu-user.
set -eu
packages=(
  g++ cmake ninja-build libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine64 fonts-wine xvfb xauth imagemagick python3
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
  clang libclang-rt-14-dev libxml2-utils clang-format
  fp-utils nsis osslsigncode
)
wine32=0
[ "${OKAPI_TEST_32BIT:-0}" = 1 ] && wine32=1
[ "$wine32" -eq 0 ] || packages+=(wine32:i386 qemu-user)
root=1
[ "$(id -u)" -eq 0 ] || root=0
# Never wait for a password: without rights, say what is missing and stop.
as_root() {
  if [ "$root" -eq 1 ]; then "$@"; else sudo -n "$@"; fi
}

if [ "$wine32" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture (for wine32)"
  as_root dpkg --add-architecture i386 || {
    echo "deps.sh: run as root: dpkg --add-architecture i386" >&2
    exit 1
  }
  updated=0
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ "${updated:-1}" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  [ ${#missing[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
fi

# This kernel runs no i386 code itself: the 32-bit Wine loader starts through
# qemu-user, which binfmt_misc hands every i386 ELF file to.
binfmt=/proc/sys/fs/binfmt_misc
if [ "$wine32" -eq 1 ] && [ ! -e "$binfmt/qemu-i386" ]; then
  if [ "$root" -eq 0 ]; then
    echo "deps.sh: 32-bit Wine cannot start: i386 programs are not registered with binfmt_misc." >&2
    echo "  Run scripts/deps.sh as root once (it mounts binfmt_misc and registers /usr/bin/qemu-i386)." >&2
    exit 1
  fi
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' \
    >"$binfmt/register"
fi
