#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, if missing.
set -eu
packages=(
  g++ cmake ninja-build libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb xauth imagemagick python3
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
  clang libclang-rt-14-dev libxml2-utils clang-format
  fp-utils nsis
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  # Never wait for a password: without rights, say what is missing and stop.
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo -n)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
