#!/usr/bin/env bash
# The game starts, full screen (the default) and in a window, shows its
# frame, and a window-close request ends it with exit code 0 and a 55-byte
# settings file.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb

check_frame() {  # screenshot name
  local shot="$1"
  local play menu panel face_yellow
  play="$(fg_pixel "$shot" 600 450)"
  menu="$(fg_pixel "$shot" 60 8)"
  panel="$(fg_pixel "$shot" 44 300)"
  echo "$shot: play area $play, menu bar $menu, status panel $panel"
  [ "$play" != "0,0,0" ] || fail "$shot: the play area is black"
  [ "$menu" != "$play" ] || fail "$shot: no menu bar drawn"
  [ "$panel" != "$play" ] || fail "$shot: no status panel drawn"
  # The face in the top right corner is drawn in its yellow.
  face_yellow="$(convert "$FG_OUT/$shot.png" -crop 36x16+764+0 -format '%[fx:maxima.r > 0.8 && maxima.g > 0.7 ? 1 : 0]' info:)"
  [ "$face_yellow" = "1" ] || fail "$shot: no face in the corner"
}

close_and_check() {  # window id, expected windowed byte
  "$FG_WM_CLOSE" "$1"
  fg_wait_exit
  local rc="$FG_RC"
  [ "$rc" = "0" ] || fail "exit code $rc after a close request"
  [ -f "$FG_RUN/fgrid.cfg" ] || fail "no settings file written"
  local size
  size="$(stat -c %s "$FG_RUN/fgrid.cfg")"
  [ "$size" = "55" ] || fail "settings file is $size bytes"
  [ ! -e "$FG_RUN/fgrid.cfg.tmp" ] || fail "a temporary settings file was left"
  grep -qx 'no_guess=[01]' "$FG_RUN/fusegrid.ini" || fail "no second settings file written"
  ! compgen -G "$FG_RUN/*.??????" >/dev/null || fail "a temporary file was left: $(compgen -G "$FG_RUN/*.??????")"
  local windowed
  windowed="$(od -An -tu1 -j22 -N1 "$FG_RUN/fgrid.cfg" | tr -d ' ')"
  [ "$windowed" = "$2" ] || fail "windowed setting $windowed, expected $2"
}

# First start: no settings file, full screen.
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn fullscreen
check_frame fullscreen
close_and_check "$wid" 0

# In a window.
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn windowed
geometry="$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} /Map State:/{m=$3} END{print w "x" h " " m}')"
[ "$geometry" = "800x600 IsViewable" ] || fail "window is $geometry"
check_frame windowed
xprop -id "$wid" WM_HINTS >"$FG_OUT/wm_hints.txt"
grep -q "bitmap id # to use for icon" "$FG_OUT/wm_hints.txt" || fail "the window has no icon: $(cat "$FG_OUT/wm_hints.txt")"
close_and_check "$wid" 1
echo "PASS"
