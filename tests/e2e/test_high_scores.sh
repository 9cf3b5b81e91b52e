#!/usr/bin/env bash
# High scores in the real game: a Beginner board (a game ID, whose mines
# --describe tells) is won by clicking its safe cells; the prompt takes a
# typed name and the table shows it highlighted. After a restart F3 shows
# the same row. A corrupt scores file is told of at the next start, F3
# shows a fresh table, and the damaged file is kept aside.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1

id="fgboards.dat:0:0:0:4711"
first=40
fg_describe "$id" "$first"
json="$FG_DESCRIBED"
mines="$FG_MINES"
[ "$(wc -w <<<"$mines")" = "10" ] || fail "expected 10 mines: $json"
fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"

park_x=770 park_y=560
parked() { fg_pointer_at "$park_x" "$park_y" "$1"; }
# The page's table: its first row (the highlight bar and the text on it),
# the whole table, and the menu bar's filler.
row0=500x14+150+233
table=500x140+150+233
filler=480x14+260+1
prompt=396x140+202+222

# The text of a region alone: light pixels (the menu font on any of the
# backgrounds, the highlight's font too) white, everything else black.
ink() {
  convert "$FG_OUT/$1.png" -crop "$2" +repage -colorspace gray -threshold 60% "$FG_OUT/$1.ink.png"
  convert "$FG_OUT/$1.ink.png" -format '%#' info:
}
ink_pixels() {
  convert "$FG_OUT/$1.png" -crop "$2" +repage -colorspace gray -threshold 60% -format '%[fx:int(mean*w*h+0.5)]' info:
}

# --- The win, the name and the highlighted row --------------------------
fg_start_game -- --game "$id"
wid="$(fg_wait_window)"
board_shown() { parked "$1" && [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]; }
fg_pass_opening
fg_move "$park_x" "$park_y"
fg_wait_screen board_start "the game did not show the covered board" board_shown
fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"
read -r x y <<<"$(sed -n "$((first + 1))p" "$FG_WORK/centres")"
fg_click "$x" "$y"
fg_clear_safe_cells round "$park_x" "$park_y" "$mines"

# After the fireworks the prompt comes up over the board: its frame's top
# and bottom edges run the whole width in one colour, and its texts show.
one_colour() { [ "$(convert "$FG_OUT/$1.png" -crop "$2" +repage -format '%k' info:)" = "1" ]; }
prompt_up() {
  parked "$1" && one_colour "$1" 398x1+201+220 && one_colour "$1" 398x1+201+363 &&
    [ "$(ink_pixels "$1" "$prompt")" -gt 500 ]
}
fg_wait_screen prompt "no high-score prompt after the win" prompt_up
for c in T e s s; do
  fg_key "$c"
done
fg_key Return
# The table: its first row highlighted (the bar is not the table's own
# dark background), the next row empty.
highlighted() {
  parked "$1" || return 1
  [ "$(fg_pixel "$1" 152 240)" != "$(fg_pixel "$1" 152 254)" ] && [ "$(ink_pixels "$1" "$row0")" -gt 100 ]
}
fg_wait_screen page_after_win "no table with the new entry highlighted" highlighted
[ "$(ink_pixels page_after_win 500x14+150+247)" = "0" ] || fail "a second row in a table of one entry"
grep -qa "Tess" "$FG_RUN/fusegrid.scores" || fail "the name is not in fusegrid.scores"
row_after_win="$(ink page_after_win "$row0")"
fg_key Return
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
grep -qx "player_name=Tess" "$FG_RUN/fusegrid.ini" || fail "the name to offer is not kept: $(cat "$FG_RUN/fusegrid.ini")"
grep -qx "last_table=fgboards.dat:0:0:0:0" "$FG_RUN/fusegrid.ini" || fail "the last table is not kept"

# --- After a restart F3 shows the same row --------------------------------
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn restarted
fg_move "$park_x" "$park_y"
fg_wait_screen restarted "the picture did not settle" parked
fg_key F3
page_up() { parked "$1" && fg_region_changed restarted "$1" "$table" && [ "$(ink_pixels "$1" "$row0")" -gt 100 ]; }
fg_wait_screen page_after_restart "F3 showed no table" page_up
[ "$(fg_pixel page_after_restart 152 240)" = "$(fg_pixel page_after_restart 152 254)" ] ||
  fail "the row is still highlighted after a restart"
[ "$(ink page_after_restart "$row0")" = "$row_after_win" ] || fail "F3 after the restart shows another row"
fg_key Escape
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"

# --- A corrupt file: the line, a fresh table, the backup -----------------
printf 'FGSCORES\x01\x00\x00\x00\xff\xff\xff\xffjunk' >"$FG_RUN/fusegrid.scores"
cp "$FG_RUN/fusegrid.scores" "$FG_WORK/corrupt"
fg_start_game
wid="$(fg_wait_window)"
fg_pass_opening
fg_move "$park_x" "$park_y"
told() { parked "$1" && fg_main_screen_shown "$1" && [ "$(ink_pixels "$1" "$filler")" -gt 200 ]; }
fg_wait_screen damaged "no line in the menu bar about the damaged file" told
fg_region_changed restarted damaged "$filler" || fail "the menu bar shows nothing new"
grep -q "could not be read" "$FG_OUT/stderr.log" || fail "no line on stderr: $(cat "$FG_OUT/stderr.log")"
cmp -s "$FG_WORK/corrupt" "$FG_RUN/fusegrid.scores.bak" || fail "the damaged file is not kept as fusegrid.scores.bak"
[ ! -e "$FG_RUN/fusegrid.scores" ] || fail "the damaged file is still in place"
fg_key F3
fresh() { parked "$1" && fg_region_changed damaged "$1" "$table"; }
fg_wait_screen page_fresh "F3 showed no table" fresh
[ "$(ink_pixels page_fresh "$row0")" = "0" ] || fail "the fresh table has a row"
fg_key Escape
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
