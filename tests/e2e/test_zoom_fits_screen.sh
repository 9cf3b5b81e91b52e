#!/usr/bin/env bash
# On a 1920x1080 screen a 2x window (1600x1200) does not fit: with
# window_zoom=2 the window is the largest that does, 800x600, and the
# choice is kept as the player made it.
FG_XVFB_SIZE=1920x1080
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
printf 'window_zoom=2\n' >"$FG_RUN/fusegrid.ini"
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started
size="$(xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')"
[ "$size" = "800x600" ] || fail "the window is $size, not the 800x600 that fits"
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
grep -qx 'window_zoom=2' "$FG_RUN/fusegrid.ini" || fail "the choice was not kept: $(cat "$FG_RUN/fusegrid.ini")"
echo "PASS"
