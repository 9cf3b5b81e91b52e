#!/usr/bin/env bash
# The Pause key pauses and resumes on every press: ten presses, made as a
# player makes them, show and hide the pause screen in turn. So does P
# tapped quicker than a frame. Keypad 5 does not pause.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_pass_opening
fg_wait_main_screen main

# Taps KEY (X reports Pause pressed and released at once) N times, and
# waits after each tap for the pause screen to show or go.
toggles() {  # key, name, count
  local n
  for n in $(seq 1 "$3"); do
    xdotool key "$1"
    if [ $((n % 2)) = 1 ]; then
      fg_wait_screen "$2_$n" "press $n of $2 did not pause" fg_other_region main "$FG_PAUSE_FRAME"
    else
      fg_wait_screen "$2_$n" "press $n of $2 did not resume" fg_same_region main "$FG_PAUSE_FRAME"
    fi
  done
}
toggles Pause pause 10
toggles p tap 2

# Keypad 5, as the key sends it with Num Lock off. (xdotool's "KP_5"
# would press Num Lock around it to reach that symbol, and Num Lock is a
# pause key.) Two frames later the main screen still shows.
xdotool key KP_Begin
fg_two_frames
fg_screenshot keypad_5
fg_same_region main "$FG_PAUSE_FRAME" keypad_5 || fail "keypad 5 paused the game"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
