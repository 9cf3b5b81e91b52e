#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and starts it.
# Only the package installation runs as root (through sudo when needed):
# the build belongs to the player. Run through sudo, the build and the
# game run as the user who called sudo.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  exec sudo -u "$SUDO_USER" -H env DISPLAY="${DISPLAY:-}" XAUTHORITY="${XAUTHORITY:-}" bash "$0" "$@"
fi
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFG_TESTS=OFF
cmake --build "$here/build" -j"$(nproc)"
cd "$here/build/game"
exec ./fusegrid "$@"
