#!/usr/bin/env bash
# The X server goes away while the name prompt of a won board is shown:
# the game ends (exit status 1) and its result is in the scores file all
# the same, under the name the game offered (the last one entered), with
# the game counted as played and won. On the way: what a write cut short
# left behind (a temporary file of one of the game's files) is removed at
# start, and nothing else of such a name.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
printf 'player_name=Kay\n' >"$FG_RUN/fusegrid.ini"
printf 'cut short' >"$FG_RUN/fusegrid.scores.Ab3xYz"
printf 'cut short' >"$FG_RUN/fusegrid.ini.000000"
printf 'keep' >"$FG_WORK/target"
ln -s "$FG_WORK/target" "$FG_RUN/fgrid.cfg.linked"
printf 'keep' >"$FG_RUN/fusegrid.scores.Ab3xYzW"

id="fgboards.dat:0:0:0:4711"
first=40
fg_describe "$id" "$first"
mines="$FG_MINES"
fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"
park_x=770 park_y=560
parked() { fg_pointer_at "$park_x" "$park_y" "$1"; }
board_shown() { parked "$1" && [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]; }
one_colour() { [ "$(convert "$FG_OUT/$1.png" -crop "$2" +repage -format '%k' info:)" = "1" ]; }
prompt_up() {
  parked "$1" && one_colour "$1" 398x1+201+220 && one_colour "$1" 398x1+201+363 &&
    [ "$(convert "$FG_OUT/$1.png" -crop 396x140+202+222 +repage -colorspace gray -threshold 60% \
      -format '%[fx:int(mean*w*h+0.5)]' info:)" -gt 500 ]
}

fg_start_game -- --game "$id"
fg_wait_window >/dev/null
fg_pass_opening
fg_move "$park_x" "$park_y"
fg_wait_screen board_start "the game did not show the covered board" board_shown
[ ! -e "$FG_RUN/fusegrid.scores.Ab3xYz" ] && [ ! -e "$FG_RUN/fusegrid.ini.000000" ] ||
  fail "stale temporary files are still there: $(ls "$FG_RUN")"
[ -L "$FG_RUN/fgrid.cfg.linked" ] && [ "$(cat "$FG_WORK/target")" = "keep" ] || fail "a link was removed or followed"
[ -f "$FG_RUN/fusegrid.scores.Ab3xYzW" ] || fail "a file of another pattern was removed"
fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"
read -r x y <<<"$(sed -n "$((first + 1))p" "$FG_WORK/centres")"
fg_click "$x" "$y"
fg_clear_safe_cells round "$park_x" "$park_y" "$mines"
fg_wait_screen prompt "no high-score prompt after the win" prompt_up
grep -qa "Kay" "$FG_RUN/fusegrid.scores" 2>/dev/null && fail "the entry is in the file before the end"

kill -KILL "$FG_XVFB_PID"
wait "$FG_XVFB_PID" 2>/dev/null || true
FG_XVFB_PID=""
rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}"
fg_wait_exit
echo "exit status $FG_RC; stderr: $(cat "$FG_OUT/stderr.log")"
[ "$FG_RC" = "1" ] || fail "exit status $FG_RC, expected 1"
scores="$FG_RUN/fusegrid.scores"
grep -qa "Kay" "$scores" || fail "the waiting result is not in the file"
u32() { od -An -tu4 -j"$1" -N4 "$scores" | tr -d ' '; }
[ "$(u32 36)/$(u32 40)/$(u32 64)" = "1/1/1" ] || fail "played/won/entries $(u32 36)/$(u32 40)/$(u32 64), expected 1/1/1"
echo "PASS"
