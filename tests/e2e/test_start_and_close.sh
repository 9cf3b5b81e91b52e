#!/usr/bin/env bash
# The game starts in a window, shows its frame, and a window-close request
# ends it with exit code 0 and a 55-byte settings file.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_start_game
wid="$(fg_wait_window)"
sleep 1
fg_screenshot "$wid" frame

geometry="$(xdotool getwindowgeometry "$wid" | grep Geometry | awk '{print $2}')"
[ "$geometry" = "800x600" ] || fail "window is $geometry, not 800x600"

play="$(fg_pixel frame 400 300)"
menu="$(fg_pixel frame 60 8)"
panel="$(fg_pixel frame 44 300)"
echo "play area $play, menu bar $menu, status panel $panel"
[ "$play" != "0,0,0" ] || fail "the play area is black"
[ "$menu" != "$play" ] || fail "no menu bar drawn"
[ "$panel" != "$play" ] || fail "no status panel drawn"
# The face in the top right corner is drawn in its yellow.
face_yellow="$(convert "$FG_OUT/frame.png" -crop 36x16+764+0 -format '%[fx:maxima.r > 0.8 && maxima.g > 0.7 ? 1 : 0]' info:)"
[ "$face_yellow" = "1" ] || fail "no face in the corner"

"$FG_WM_CLOSE" "$wid"
rc="$(fg_wait_exit)"
[ "$rc" = "0" ] || fail "exit code $rc after a close request"
[ -f "$FG_RUN/fgrid.cfg" ] || fail "no settings file written"
size="$(stat -c %s "$FG_RUN/fgrid.cfg")"
[ "$size" = "55" ] || fail "settings file is $size bytes"
[ ! -e "$FG_RUN/fgrid.cfg.tmp" ] || fail "a temporary settings file was left"
echo "PASS"
