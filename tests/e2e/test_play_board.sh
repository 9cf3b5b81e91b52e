#!/usr/bin/env bash
# A new player's first board: F1 opens the board chooser on the style in
# play, Enter takes its first pattern, Enter takes Classic at Beginner.
# Then every cell is clicked by its screen position, and the cells that
# still look covered are clicked again, until the board is cleared: mines
# cost penalty time and play goes on, the winning face appears, and the
# reveal and explosion sounds are heard. Closing the window keeps the
# result in the high scores.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
raw="$(fg_capture_sound)"
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started

# The pointer waits off the board, where it hides no cell.
park_x=700 park_y=520
fg_first_board started "$park_x" "$park_y"
before="$(fg_sound_samples "$raw")"
fg_click_every_cell "$park_x" "$park_y"

steady() { fg_pointer_at "$park_x" "$park_y" "$1"; }
# The winning face in the corner differs from the neutral one (and stays).
won() { steady "$1" && fg_region_changed board_start "$1" 36x16+764+0; }
fg_wait_screen cleared "no winning face" won
# The penalty readout (fourth badge of Classic: y 112..143) moved from 0:00.
fg_region_changed board_start cleared 60x22+20+118 || fail "no penalty time after the mines"
# An explosion sample alone is about 0.9 s, far more than a few ticks.
sounds_heard() { [ "$(($(fg_sound_samples "$raw") - before))" -gt 40000 ]; }
fg_wait_until "the reveal and explosion sounds were not heard" sounds_heard
echo "samples that are not silence: $before before play, $(fg_sound_samples "$raw") after"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
# The won board's result was still waiting for a name when the window
# closed: it is kept, under "- Anonymous -" (no name was ever entered).
grep -qaF -- "- Anonymous -" "$FG_RUN/fusegrid.scores" || fail "the won board is not in fusegrid.scores"
echo "PASS"
