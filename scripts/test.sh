#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite:
# the unit and integration tests, the end-to-end tests of the real game in
# a window under Xvfb, the same tests built with the address and
# undefined-behaviour sanitizers, and the benchmarks (printed figures).
# Only the package installation runs as root (through sudo when needed).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
bash "$here/scripts/install-deps.sh"
# Run through sudo, the build and the tests belong to the user who called it.
if [ "$(id -u)" = 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  exec sudo -u "$SUDO_USER" -H bash "$0" "$@"
fi

echo "== Build"
# The tests are switched on whatever an earlier build (scripts/play.sh) chose.
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFG_TESTS=ON >/dev/null
cmake --build "$here/build" -j"$jobs"

echo "== Tests"
(cd "$here/build" && ctest --output-on-failure --no-tests=error -j"$jobs" --timeout 600)

echo "== Sanitizer build (address, undefined)"
cmake -S "$here" -B "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DFG_TESTS=ON -DFG_SANITIZE=ON -DFG_BENCHMARKS=OFF -DFG_CHECK_DIFFICULTY=OFF >/dev/null
cmake --build "$here/build-asan" -j"$jobs" --target fg_tests
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --no-tests=error -j"$jobs" -L unit --timeout 900)

echo "== Benchmarks"
bash "$here/tests/bench/run.sh" "$here/build"
