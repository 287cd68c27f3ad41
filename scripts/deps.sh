#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, if
# missing. With OKAPI_TEST_32BIT=1 (scripts/test.sh sets it) it also lays a
# root in which Wine runs 32-bit programs (the shipped okapi.exe is one).
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
[ "$wine32" -eq 0 ] || packages+=(debootstrap qemu-user-static)
root=1
[ "$(id -u)" -eq 0 ] || root=0
# Never wait for a password: without rights, say what is missing and stop.
as_root() {
  if [ "$root" -eq 1 ]; then "$@"; else sudo -n "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

[ "$wine32" -eq 1 ] || exit 0
# 32-bit Wine lives in a root of its own, laid from Debian's release and its
# updates: its 32-bit and 64-bit libraries then have the same versions, which
# multiarch needs and this machine's security updates may break.
wine_root=/opt/okapi-wine32
need_root() {
  echo "deps.sh: 32-bit Wine is not set up: $1. Run scripts/deps.sh as root once." >&2
  exit 1
}
if [ ! -x "$wine_root/usr/lib/wine/wine" ]; then
  [ "$root" -eq 1 ] || need_root "$wine_root is missing"
  echo "Laying $wine_root (Debian with 64- and 32-bit Wine)"
  rm -rf "$wine_root.new"
  debootstrap --variant=minbase bookworm "$wine_root.new" http://deb.debian.org/debian >/dev/null
  printf 'deb http://deb.debian.org/debian bookworm%s main\n' "" -updates \
    >"$wine_root.new/etc/apt/sources.list"
  cp /etc/resolv.conf "$wine_root.new/etc/"
  x11=(libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1)
  unshare -m /bin/sh -ec "mount -t proc proc '$wine_root.new/proc'
    mount --rbind /dev '$wine_root.new/dev'
    chroot '$wine_root.new' /bin/sh -ec 'dpkg --add-architecture i386; apt-get update -qq
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        wine64 wine32:i386 ${x11[*]} ${x11[*]/%/:i386}; apt-get clean'" \
    >"$wine_root.log" 2>&1 || { cat "$wine_root.log" >&2; exit 1; }
  rm -rf "$wine_root"
  mv "$wine_root.new" "$wine_root"
fi
# This kernel runs no i386 code itself: binfmt_misc hands every i386 ELF file
# to qemu-user, opened at registration (F) so that it works inside the root.
binfmt=/proc/sys/fs/binfmt_misc
if ! grep -qsx 'flags: .*F.*' "$binfmt/qemu-i386"; then
  [ "$root" -eq 1 ] || need_root "i386 programs are not registered with binfmt_misc"
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  [ ! -e "$binfmt/qemu-i386" ] || echo -1 >"$binfmt/qemu-i386"
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >"$binfmt/register"
fi
