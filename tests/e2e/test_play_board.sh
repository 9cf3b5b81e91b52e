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
fg_move "$park_x" "$park_y"
fg_key F1
fg_wait_change started chooser 600x400+100+100 "no board chooser after F1"
fg_key Return
fg_wait_change chooser mode_dialog 600x400+100+100 "no mode dialog after Enter in the chooser"
fg_key Return

fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"
mapfile -t cells <"$FG_WORK/centres"
[ "${#cells[@]}" = "81" ] || fail "expected the 81 cells of the first pattern, got ${#cells[@]}"
# The board is shown when every cell looks like the first one, covered,
# and the picture is not shaken (the pointer shows where it is).
board_shown() {
  fg_pointer_at "$park_x" "$park_y" "$1" || return 1
  fg_region_changed mode_dialog "$1" 700x560+90+20 || return 1
  [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]
}
fg_wait_screen board_start "no covered board after the dialogs" board_shown
fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"

# Each round clicks the cells that still look covered; a screenshot taken
# with the pointer parked and the picture still tells which they are.
before="$(fg_sound_samples "$raw")"
steady() { fg_pointer_at "$park_x" "$park_y" "$1"; }
covered=("${!cells[@]}")
for round in 1 2 3 4 5; do
  for i in "${covered[@]}"; do
    read -r x y <<<"${cells[$i]}"
    fg_click "$x" "$y"
  done
  fg_move "$park_x" "$park_y"
  fg_wait_screen "round$round" "the picture did not settle after round $round" steady
  fg_cell_looks "round$round" "$FG_WORK/centres" >"$FG_WORK/looks"
  mapfile -t covered < <(paste -d'|' "$FG_WORK/covered" "$FG_WORK/looks" | awk -F'|' '$1 == $2 { print NR - 1 }')
  echo "round $round: ${#covered[@]} cells still covered"
  [ "${#covered[@]}" = "0" ] && break
done
[ "${#covered[@]}" = "0" ] || fail "${#covered[@]} cells still covered after 5 rounds: ${covered[*]}"

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
