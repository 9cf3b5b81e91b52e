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
sleep 1

# File > New Game.
fg_click 60 8
sleep 0.5
fg_screenshot file_menu
fg_click 60 24
sleep 1
# The second style (row 2 of the style list), then its third pattern.
fg_click 350 209
sleep 0.5
fg_click 350 337
sleep 0.3
fg_screenshot chooser_choice
fg_click 303 439
sleep 1
# Backwards (mode 2) at Expert (level 2), OK.
fg_click 460 240
fg_click 460 376
sleep 0.3
fg_screenshot mode_choice
fg_click 190 407
sleep 1.5
fg_screenshot board
fg_region_changed file_menu board 700x560+90+20 || fail "no board after New Game"

# A few cells.
style="$(ls "$FG_RUN" | grep -i '^fgboards.*\.dat$' | LC_ALL=C sort | head -n 2 | tail -n 1)"
mapfile -t cells < <(fg_cell_centres "$style" 2)
for i in 0 5 10; do
  read -r x y <<<"${cells[$i]}"
  fg_click "$x" "$y"
done
sleep 1
fg_screenshot played
fg_region_changed board played 700x560+90+20 || fail "the cells did not open"

# F6: Endurance (mode 5), OK, then 20 minutes.
fg_key F6 1
fg_click 460 336
sleep 0.3
fg_click 190 383
sleep 1
fg_screenshot time_limit
fg_click 400 308
sleep 1.5
fg_screenshot endurance
# Endurance shows five badges: time, score, boards, mines left, hits, damage.
fg_region_changed played endurance 88x200+0+16 || fail "the status panel did not change to Endurance"

# Options > "'?' Marks" once; the check mark follows when the menu opens again.
fg_click 190 8
sleep 0.5
fg_screenshot marks_on
fg_click 200 24
sleep 0.8
fg_click 190 8
sleep 0.5
fg_screenshot marks_off
fg_region_changed marks_on marks_off 12x12+130+18 || fail "the check mark did not follow"
fg_key Escape 0.5

# About opens and closes.
fg_click 60 8
sleep 0.5
fg_click 60 150
sleep 1
fg_screenshot about
fg_region_changed endurance about 600x400+100+100 || fail "no About page"
fg_click 110 540
sleep 1
fg_screenshot after_about

# Quit.
fg_click 60 8
sleep 0.5
fg_click 60 184
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC after Quit"
[ "$(stat -c %s "$FG_RUN/fgrid.cfg")" = "55" ] || fail "settings not written"
marks="$(od -An -tu1 -j0 -N1 "$FG_RUN/fgrid.cfg" | tr -d ' ')"
[ "$marks" = "0" ] || fail "the '?' Marks setting was not saved off (got $marks)"
echo "PASS"
