#!/usr/bin/env bash
# Installs the Debian packages Fusegrid needs to build, run and test.
# Does nothing when everything is there. Installing needs root: as root it
# runs apt-get itself, as another user it asks sudo for that step alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liballegro4-dev
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils imagemagick libx11-dev
  sox alsa-utils
  desktop-file-utils appstream dpkg-dev file groff-base man-db lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: these packages are missing and installing them needs root;" >&2
    echo "run this script as root, or install sudo: ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
