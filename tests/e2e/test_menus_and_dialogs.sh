#!/usr/bin/env bash
# A new player goes through the game's menus and dialogs: File > New Game,
# the second style and its third pattern, Backwards at Expert, a few cells;
# F6 to Endurance with 20 minutes; Options > "'?' Marks" toggles and its
# check mark follows; About opens and closes; Quit ends the game with exit
# code 0 and the settings written.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started

dialog=600x400+100+100
file_menu_area=200x200+0+16
options_menu_area=200x60+128+16

# File > New Game.
fg_click 60 8
fg_wait_change started file_menu "$file_menu_area" "the File menu did not open"
fg_click 60 24
fg_wait_change file_menu chooser "$dialog" "no board chooser after New Game"
# The second style (row 2 of the style list), then its third pattern.
fg_click 350 209
fg_wait_change chooser chooser_style "$dialog" "the second style was not chosen"
fg_click 350 337
fg_wait_change chooser_style chooser_choice "$dialog" "the third pattern was not chosen"
fg_click 303 439
fg_wait_change chooser_choice mode_dialog "$dialog" "no mode dialog after the chooser"
# Backwards (mode 2) at Expert (level 2), OK.
fg_click 460 240
fg_wait_change mode_dialog mode_backwards "$dialog" "Backwards was not chosen"
fg_click 460 376
fg_wait_change mode_backwards mode_choice "$dialog" "Expert was not chosen"
style="$(ls "$FG_RUN" | grep -i '^fgboards.*\.dat$' | LC_ALL=C sort | head -n 2 | tail -n 1)"
fg_cell_centres "$style" 2 >"$FG_WORK/centres"
mapfile -t cells <"$FG_WORK/centres"
fg_click 190 407
# The board is shown when every cell looks alike (covered) and the pointer,
# parked on the status panel, shows where it is.
park_x=40 park_y=400
fg_move "$park_x" "$park_y"
board_shown() {
  fg_pointer_at "$park_x" "$park_y" "$1" || return 1
  fg_region_changed mode_choice "$1" 700x560+90+20 || return 1
  [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]
}
fg_wait_screen board "no covered board after New Game" board_shown
fg_region_changed file_menu board 700x560+90+20 || fail "no board after New Game"
fg_cell_looks board "$FG_WORK/centres" >"$FG_WORK/covered"

# A few cells: the first click opens its cell at least.
for i in 0 5 10; do
  read -r x y <<<"${cells[$i]}"
  fg_click "$x" "$y"
done
fg_move "$park_x" "$park_y"
first_open() {
  fg_pointer_at "$park_x" "$park_y" "$1" || return 1
  [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | head -n 1)" != "$(head -n 1 "$FG_WORK/covered")" ]
}
fg_wait_screen played "the cells did not open" first_open

# F6: Endurance (mode 5), OK, then 20 minutes.
fg_key F6
fg_wait_change played mode_dialog2 "$dialog" "no mode dialog after F6"
fg_click 460 336
fg_wait_change mode_dialog2 mode_endurance "$dialog" "Endurance was not chosen"
fg_click 190 383
fg_wait_change mode_endurance time_limit "$dialog" "no time limit dialog after Endurance"
fg_click 400 308
# Endurance shows five badges: time, score, boards, mines left, hits, damage.
fg_wait_change played endurance 88x200+0+16 "the status panel did not change to Endurance"

# Options > "'?' Marks" once; the check mark follows when the menu opens again.
fg_click 190 8
fg_wait_change endurance marks_on "$options_menu_area" "the Options menu did not open"
fg_click 200 24
fg_wait_change marks_on marks_closed "$options_menu_area" "the Options menu did not close"
fg_click 190 8
fg_wait_change marks_closed marks_off "$options_menu_area" "the Options menu did not open again"
fg_region_changed marks_on marks_off 12x12+130+18 || fail "the check mark did not follow"
fg_key Escape
fg_wait_change marks_off menu_closed "$options_menu_area" "Escape did not close the Options menu"

# About opens and closes.
fg_click 60 8
fg_wait_change menu_closed file_menu2 "$file_menu_area" "the File menu did not open"
fg_click 60 150
fg_wait_change endurance about "$dialog" "no About page"
fg_click 110 540
fg_wait_change about after_about "$dialog" "the About page did not close"

# Quit.
fg_click 60 8
fg_wait_change after_about file_menu3 "$file_menu_area" "the File menu did not open"
fg_click_to_end 60 184
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC after Quit"
[ "$(stat -c %s "$FG_RUN/fgrid.cfg")" = "55" ] || fail "settings not written"
marks="$(od -An -tu1 -j0 -N1 "$FG_RUN/fgrid.cfg" | tr -d ' ')"
[ "$marks" = "0" ] || fail "the '?' Marks setting was not saved off (got $marks)"
echo "PASS"
