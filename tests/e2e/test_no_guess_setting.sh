#!/usr/bin/env bash
# Options > "No-Guess Boards": the check mark follows a click, the choice
# is written to "fusegrid.ini" when the game ends, and the next start
# shows it on again.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
options_menu_area=192x112+128+16
mark=12x12+130+114  # the check mark of the "No-Guess Boards" row

fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started
fg_click 190 8
fg_wait_change started menu_off "$options_menu_area" "the Options menu did not open"
fg_click 200 120
fg_wait_change menu_off closed "$options_menu_area" "the Options menu did not close"
fg_click 190 8
fg_wait_change closed menu_on "$options_menu_area" "the Options menu did not open again"
fg_region_changed menu_off menu_on "$mark" || fail "the check mark did not follow the click"
fg_key Escape
fg_wait_change menu_on closed2 "$options_menu_area" "Escape did not close the Options menu"
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
grep -qx "no_guess=1" "$FG_RUN/fusegrid.ini" || fail "fusegrid.ini does not hold no_guess=1: $(cat "$FG_RUN/fusegrid.ini")"

# The next start reads the choice: the mark shows it on.
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn restarted
fg_click 190 8
fg_wait_change restarted menu_again "$options_menu_area" "the Options menu did not open after the restart"
fg_region_changed menu_on menu_again "$mark" && fail "the check mark is not on after the restart"
fg_region_changed menu_off menu_again "$mark" || fail "the check mark shows off after the restart"
fg_key Escape
fg_wait_change menu_again closed3 "$options_menu_area" "Escape did not close the Options menu"
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
