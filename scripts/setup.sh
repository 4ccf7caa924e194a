#!/usr/bin/env bash
# Installs the Debian packages the kit needs to build and test, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libinih-dev libsqlite3-dev
  libfreetype-dev libpng-dev libpixman-1-dev libsdl2-dev
  xfonts-shinonome unifont
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
