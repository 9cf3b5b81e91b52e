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
fg_wait_main_screen main

# The first press shows the pause screen: its picture is the reference.
xdotool key Pause
fg_wait_screen pause_1 5 "press 1 of Pause did not pause" fg_other_region main "$FG_PAUSE_FRAME"
cp "$FG_OUT/pause_1.png" "$FG_OUT/paused.png"
for n in $(seq 2 10); do
  xdotool key Pause
  if [ $((n % 2)) = 1 ]; then
    fg_wait_screen "pause_$n" 5 "press $n of Pause did not pause" fg_same_region paused "$FG_PAUSE_FRAME"
  else
    fg_wait_screen "pause_$n" 5 "press $n of Pause did not resume" fg_same_region main "$FG_PAUSE_FRAME"
  fi
done

for n in 1 2; do
  xdotool key p
  if [ "$n" = 1 ]; then
    fg_wait_screen "tap_$n" 5 "a tap of P did not pause" fg_same_region paused "$FG_PAUSE_FRAME"
  else
    fg_wait_screen "tap_$n" 5 "a tap of P did not resume" fg_same_region main "$FG_PAUSE_FRAME"
  fi
done

# Keypad 5, as the key sends it with Num Lock off. (xdotool's "KP_5"
# would press Num Lock around it to reach that symbol, and Num Lock is a
# pause key.) The main screen still answers: its Options menu opens.
OPTIONS_MENU=192x60+128+34  # below the pointer on the Options button
xdotool key KP_Begin
options_open_or_paused() {  # name
  fg_other_region main "$OPTIONS_MENU" "$1" || fg_same_region paused "$FG_PAUSE_FRAME" "$1"
}
fg_act_until "fg_click 190 8" keypad_5 "neither the Options menu nor the pause screen after keypad 5" \
  options_open_or_paused
fg_same_region paused "$FG_PAUSE_FRAME" keypad_5 && fail "keypad 5 paused the game"
fg_act_until "fg_click 700 550" menu_closed "the Options menu did not close" fg_same_region main "$OPTIONS_MENU"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
