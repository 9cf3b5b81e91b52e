#!/usr/bin/env bash
# Prints the benchmark figures: the Google Benchmark timings, and the real
# game's start-up time, memory and idle CPU share in a window under Xvfb:
# still on its main screen, with a board in play and its clock running,
# and a bare frame loop as the baseline, all in the same run.
#   run.sh BUILD_DIR
# FG_FIGURES_ONLY=1 leaves out the Google Benchmark timings.
set -euo pipefail
build="$(cd "$1" && pwd)"
game="$build/game"

if [ -x "$build/tests/fg_bench" ] && [ "${FG_FIGURES_ONLY:-0}" != 1 ]; then
  (cd "$game" && "$build/tests/fg_bench" --benchmark_min_time=0.2)
fi

# No-guess boards: every pattern at every level, 20 seeds each, against
# the game's budget of work (about half a minute).
if [ -x "$build/tests/no_guess_table" ]; then
  (cd "$game" && "$build/tests/no_guess_table" 20 0 all 0)
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

# Gets the game past its two opening screens: a key until the game's own
# pointer (drawn from the main screen on) shows where the system pointer is.
cat >"$work/pass_opening.sh" <<SETUP
set -eu
pointer_at() {
  import -window root -crop "11x11+\$((FG_PICTURE_X + 700))+\$((FG_PICTURE_Y + 550))" +repage txt:- 2>/dev/null |
    awk -F'[(),: ]+' 'NR > 1 { x = \$1; y = \$2; s = \$3 + \$4 + \$5; if (x > y) next;
      if (x == 0 || x == y) { if (s > 150) bad++ } else if (s < 600) bad++; seen++ }
      END { exit !(seen == 66 && bad == 0) }'
}
for _ in \$(seq 1 100); do
  xdotool mousemove \$((FG_PICTURE_X + 700)) \$((FG_PICTURE_Y + 550)) sleep 0.1
  pointer_at && exit 0
  xdotool key space
done
echo "setup: the opening screens did not end"
exit 1
SETUP

# Brings the game past its opening to a Beginner board of the first
# pattern with one cell opened, so that its clock runs: F1 opens the board
# chooser, Enter takes the pattern, Enter takes Classic at Beginner. Each
# step waits (at most 5 s) for the picture to change.
cat >"$work/start_clock.sh" <<SETUP
set -eu
bash "$work/pass_opening.sh"
picture() { import -window root -crop "800x600+\$FG_PICTURE_X+\$FG_PICTURE_Y" +repage rgb:- | md5sum; }
press() {
  before="\$(picture)"
  xdotool \$1 sleep 0.15 \$2
  for _ in \$(seq 1 50); do [ "\$(picture)" != "\$before" ] && return 0; sleep 0.1; done
  echo "setup: no change after \$1"
  return 1
}
press "keydown F1" "keyup F1"
press "keydown Return" "keyup Return"
press "keydown Return" "keyup Return"
read -r x y <<<"\$("$build/tests/cell_centres" "$work" fgboards.dat 0 | sed -n 41p)"
xdotool mousemove \$((FG_PICTURE_X + x)) \$((FG_PICTURE_Y + y)) sleep 0.2
press "mousedown 1" "mouseup 1"
SETUP

# Allegro's ALSA probe complains on stderr when there is no sound card.
echo "== The game in a window under Xvfb (targets: picture shown under 0.3 s, under 20 MB;"
echo "   still screen at or below the baseline and under 2 % of a core)"
"$build/tests/game_figures" -l "still on its main screen" -s "bash $work/pass_opening.sh" "$work" 10 2>/dev/null
"$build/tests/game_figures" -l "with a board in play, its clock running" -s "bash $work/start_clock.sh" "$work" 10 2>/dev/null |
  grep "CPU share\|setup" || true
echo "== Baseline: a bare loop of vsync and one full-screen blit, in the same conditions"
"$build/tests/game_figures" -l "of the bare loop" "$work" 10 "$build/tests/bare_loop" 2>/dev/null | grep "CPU share"
