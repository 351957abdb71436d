#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Safe to run again: it does nothing when everything is present.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(
  wine wine32:i386 wine64 xvfb xauth x11-utils
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-tools libwine-dev
  cmake ninja-build make g++ clang libclang-rt-14-dev
  googletest libbenchmark-dev
  python3-markdown chromium fonts-dejavu-core clang-format x11-xkb-utils
  msitools wixl
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  updated=0
else
  updated=1
fi

for p in "${packages[@]}"; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
# The POSIX-threads variant of the MinGW compiler is not needed; the win32 one is the default.
echo "setup: done"
