#!/usr/bin/env bash
# Prints the benchmark figures: the Google Benchmark timings, and the real
# game's start-up time, memory and idle CPU share in a window under Xvfb.
#   run.sh BUILD_DIR
set -euo pipefail
build="$1"
game="$build/game"

if [ -x "$build/tests/fg_bench" ]; then
  (cd "$game" && "$build/tests/fg_bench" --benchmark_min_time=0.2)
fi

work="$(mktemp -d /tmp/fgbench.XXXXXX)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$game/fusegrid" "$game"/*.dat "$work/"
for n in $(seq 141 190); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 && break
done
# Allegro's ALSA probe complains on stderr when there is no sound card.
echo "== The game in a window under Xvfb"
"$build/tests/game_figures" "$work" 5 2>/dev/null
echo "== Baseline: a bare loop of vsync and one full-screen blit, in the same conditions"
"$build/tests/game_figures" "$work" 5 "$build/tests/bare_loop" 2>/dev/null | grep "CPU share"
