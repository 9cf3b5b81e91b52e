#!/usr/bin/env bash
# Installs the Debian packages Fusegrid needs to build, run and test.
# Run as root (or through sudo). Does nothing when everything is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liballegro4-dev
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils imagemagick libx11-dev
  sox alsa-utils
  desktop-file-utils appstream dpkg-dev file groff-base man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
