#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tavrin need.
# Idempotent: it installs only what is missing, and does nothing when all is there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config dpkg-dev python3
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-webengine-dev
  xvfb xauth x11-utils openbox imagemagick appstream
  clang libclang-rt-14-dev
)
# The tests also judge our RTF with LibreOffice, as a user's other program,
# type into the real program on a private X server with xdotool, and check
# the code's format with clang-format.
if [ "${TAVRIN_DEPS:-}" = tests ]; then
  packages+=(libreoffice-writer-nogui xdotool clang-format)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
