#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Vexlo need,
# only those that are missing. Uses sudo when not run as root.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config
  libsfml-dev libopenal1 libopenal-dev libx11-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils imagemagick tmux libx11-dev
  fonts-dejavu-core
  alsa-utils fonts-liberation2 fonts-freefont-ttf
  emscripten nodejs chromium chromium-driver python3-selenium
  doxygen dpkg-dev lintian python3
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
