#!/usr/bin/env bash
# A no-guess game ID on a board of hexagons at Master, started from the
# command line: --describe tells where the mines are for the first cell;
# the game, started with --game, shows that board; the first cell and then
# every safe cell are clicked by their screen positions, no mine goes off
# and the winning face appears. On the way, H asks for a hint: a cell
# lights up and 30 seconds of penalty show.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1

id="fgboards-hx.dat:1:0:3:2026:N"
first=108
fg_describe "$id" "$first"
json="$FG_DESCRIBED"
cells="$(sed -n 's/.*"cells": \([0-9]*\).*/\1/p' <<<"$json")"
mines="$FG_MINES"
[ "$cells" = "217" ] || fail "expected 217 cells, got '$cells': $json"
[ "$(wc -w <<<"$mines")" -gt 20 ] || fail "no mines in $json"
[[ "$mines" != *" $first "* ]] || fail "the first cell is a mine: $json"

# A bad ID is refused before any window opens.
rc=0
(cd "$FG_RUN" && ./fusegrid --game "fgboards-hx.dat:1:0:3:x" 2>"$FG_OUT/bad_id.log") || rc=$?
[ "$rc" = "2" ] || fail "a bad ID gave exit code $rc"
grep -q "seed" "$FG_OUT/bad_id.log" || fail "no message for a bad seed: $(cat "$FG_OUT/bad_id.log")"
# So is a well-formed ID whose style file is missing or cannot be used:
# exit status 2, one line, and no display is needed (none is opened).
printf 'not a datafile' >"$FG_RUN/fgboards-jk.dat"
for bad in fgboards-zz.dat:0:0:0:1 fgboards-jk.dat:0:0:0:1; do
  rc=0
  (cd "$FG_RUN" && env -u DISPLAY ./fusegrid --game "$bad" 2>"$FG_OUT/bad_style.log") || rc=$?
  echo "--game $bad: exit code $rc, said: $(cat "$FG_OUT/bad_style.log")"
  [ "$rc" = "2" ] || fail "--game $bad gave exit code $rc"
  [ "$(wc -l <"$FG_OUT/bad_style.log")" = "1" ] || fail "--game $bad: not one line: $(cat "$FG_OUT/bad_style.log")"
  grep -q "style file" "$FG_OUT/bad_style.log" || fail "--game $bad: no message about the style file"
done
rm -f "$FG_RUN/fgboards-jk.dat"

fg_start_game -- --game "$id"
wid="$(fg_wait_window)"
fg_cell_centres fgboards-hx.dat 1 >"$FG_WORK/centres"
mapfile -t centres <"$FG_WORK/centres"
[ "${#centres[@]}" = "$cells" ] || fail "expected $cells cell centres, got ${#centres[@]}"

park_x=770 park_y=560
board_shown() {
  fg_pointer_at "$park_x" "$park_y" "$1" || return 1
  [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]
}
fg_pass_opening
fg_move "$park_x" "$park_y"
fg_wait_screen board_start "the game did not show the covered board of the ID" board_shown
fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"

steady() { fg_pointer_at "$park_x" "$park_y" "$1"; }
read -r x y <<<"${centres[$first]}"
fg_click "$x" "$y"

# The board at rest after the first click (its flashes over), then H.
fg_move "$park_x" "$park_y"
fg_wait_screen rest_a "the picture did not settle" steady
at_rest() { steady "$1" && ! fg_region_changed rest_a "$1" 710x584+89+16; }
until fg_wait_screen rest_b "the picture did not settle" steady && at_rest rest_b; do
  cp "$FG_OUT/rest_b.png" "$FG_OUT/rest_a.png"
done
fg_key h
hinted() {
  fg_region_changed rest_b "$1" 60x22+20+118 && fg_region_changed rest_b "$1" 710x584+89+16
}
fg_wait_screen hinted "no highlight and penalty after H" hinted
# The highlight goes after about two seconds; the penalty stays.
gone() { steady "$1" && ! fg_region_changed rest_b "$1" 710x584+89+16; }
fg_wait_screen hint_gone "the highlight did not go" gone
fg_region_changed rest_b hint_gone 60x22+20+118 || fail "the penalty went with the highlight"

fg_clear_safe_cells round "$park_x" "$park_y" "$mines"

won() { steady "$1" && fg_region_changed board_start "$1" 36x16+764+0; }
fg_wait_screen cleared "no winning face" won
# Nothing went off: the mines-hit and penalty readouts still show 0.
fg_region_changed board_start cleared 60x22+20+86 && fail "a mine went off"
# The penalty is the hint's alone.
fg_region_changed hint_gone cleared 60x22+20+118 && fail "penalty time was added after the hint"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
