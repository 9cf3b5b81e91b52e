#!/usr/bin/env bash
# A new player's first board: F1 opens the board chooser on the style in
# play, Enter takes its first pattern, Enter takes Classic at Beginner.
# Then every cell is clicked by its screen position until the board is
# cleared: mines cost penalty time and play goes on, the winning face
# appears, and the reveal and explosion sounds are heard.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
raw="$(fg_capture_sound)"
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
sleep 1

fg_key F1 1
fg_screenshot chooser
fg_key Return 1
fg_screenshot mode_dialog
fg_key Return 1
fg_screenshot board_start
fg_region_changed chooser board_start 700x560+90+20 || fail "no board after the dialogs"

before="$(fg_sound_samples "$raw")"
mapfile -t cells < <(fg_cell_centres fgboards.dat 0)
[ "${#cells[@]}" = "81" ] || fail "expected the 81 cells of the first pattern, got ${#cells[@]}"
for c in "${cells[@]}"; do
  read -r x y <<<"$c"
  fg_click "$x" "$y"
done
sleep 3
fg_screenshot cleared
after="$(fg_sound_samples "$raw")"

fg_region_changed board_start cleared 700x560+90+20 || fail "the cells did not change"
# The penalty readout (fourth badge of Classic: y 112..143) moved from 0:00.
fg_region_changed board_start cleared 60x22+20+118 || fail "no penalty time after the mines"
# The winning face in the corner differs from the neutral one.
fg_region_changed board_start cleared 36x16+764+0 || fail "no winning face"
echo "samples that are not silence: $before before play, $after after"
# An explosion sample alone is about 0.9 s, far more than a few ticks.
[ "$((after - before))" -gt 40000 ] || fail "the reveal and explosion sounds were not heard"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
