#!/usr/bin/env bash
# With window_zoom=2 in fusegrid.ini, the window is 1600x1200 and shows
# the picture enlarged; the pointer is seen where the system pointer is,
# and every cell of a board is clicked by its position in the enlarged
# window (on the last display pixel of its centre's block) until the board
# is cleared. Before that, Graphics Options' Window Size sets an 800x600
# window (1x) and a 1600x1200 one again (2x), kept in fusegrid.ini.
FG_XVFB_SIZE=2560x1600
FG_ZOOM=2
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
printf 'window_zoom=2\n' >"$FG_RUN/fusegrid.ini"
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started

size="$(xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')"
[ "$size" = "1600x1200" ] || fail "the window is $size, not 1600x1200"
# Enlarged pixel for pixel: every 2x2 block of the window is one colour.
read -r ox oy <<<"$(fg_frame_origin)"
import -window root -crop "1600x1200+$ox+$oy" +repage "$FG_OUT/whole.png"
convert "$FG_OUT/whole.png" -sample 800x600 -sample 1600x1200 "$FG_OUT/resampled.png"
differing="$(compare -metric AE "$FG_OUT/whole.png" "$FG_OUT/resampled.png" null: 2>&1 || true)"
[ "$differing" = "0" ] || fail "$differing pixels of the window are not in 2x2 blocks"

window_size() { xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

# Chooses a window size in Graphics Options (x of the choice, the zoom it
# gives) from the main screen shown in the screenshot REF.
choose_window_size() {
  local x="$1" zoom="$2" ref="$3"
  fg_click 190 8
  fg_wait_screen "menu_$zoom" "no Options menu" fg_other_region "$ref" 192x60+128+34
  fg_click 200 56
  fg_wait_screen "dialog_$zoom" "no Graphics Options dialog" fg_other_region "$ref" 528x32+136+436
  fg_click "$x" 450
  fg_click_to_end 170 427
  FG_ZOOM="$zoom"
  picture_shown() { [ -n "$(fg_frame_origin)" ]; }
  fg_wait_until "no picture at ${zoom}x after the choice" picture_shown
  fg_wait_screen "main_$zoom" "no main screen at ${zoom}x" fg_main_screen_shown
  [ "$(window_size)" = "$((800 * zoom))x$((600 * zoom))" ] || fail "the window is $(window_size) at ${zoom}x"
}
choose_window_size 300 1 started
grep -qx 'window_zoom=2' "$FG_RUN/fusegrid.ini" || fail "fusegrid.ini changed before the end: $(cat "$FG_RUN/fusegrid.ini")"
choose_window_size 400 2 main_1

park_x=700 park_y=520
fg_first_board main_2 "$park_x" "$park_y"
fg_click_every_cell "$park_x" "$park_y"
steady() { fg_pointer_at "$park_x" "$park_y" "$1"; }
won() { steady "$1" && fg_region_changed board_start "$1" 36x16+764+0; }
fg_wait_screen cleared "no winning face" won

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
grep -qx 'window_zoom=2' "$FG_RUN/fusegrid.ini" || fail "fusegrid.ini does not keep window_zoom=2: $(cat "$FG_RUN/fusegrid.ini")"
echo "PASS"
