#!/usr/bin/env bash
# Switching between a window and full screen in Graphics Options, both
# ways, does not open the pause screen. Another program taking the focus
# still pauses the game.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_pass_opening
fg_wait_main_screen main

# The pause screen as P shows it, for comparison.
fg_key p
fg_wait_screen paused "P did not pause" fg_other_region main "$FG_PAUSE_FRAME"
fg_key p
fg_wait_screen resumed "P did not resume" fg_same_region main "$FG_PAUSE_FRAME"

OPTIONS_MENU=192x60+128+34  # below the pointer on the Options button
DISPLAY_CHOICES=251x24+144+388

switch_display() {  # x of the choice in the dialog, name of the mode
  local old
  old="$(fg_frame_origin)"
  fg_click 190 8
  fg_wait_screen "menu_$2" "no Options menu" fg_other_region main "$OPTIONS_MENU"
  fg_click 200 56
  fg_wait_screen "dialog_$2" "no Graphics Options dialog" fg_other_region main "$DISPLAY_CHOICES"
  fg_click "$1" 400
  # The choice shows pressed, left of the pointer.
  fg_wait_screen "choice_$2" "the $2 choice did not show" fg_other_region "dialog_$2" 100x24+$(($1 - 125))+388
  # OK: the picture moves to the new mode's place, so the click does not
  # wait for the pointer after the release.
  fg_click_to_end 170 427
  new_mode_shown() {  # name: another origin, the dialog gone, the menu bar drawn
    [ "$(fg_frame_origin)" != "$old" ] && fg_same_region main "$DISPLAY_CHOICES" "$1" &&
      fg_same_region main 800x16+0+0 "$1"
  }
  fg_wait_screen "mode_$2" "no $2 picture after OK" new_mode_shown
  # Whole passes of the main screen later, no pause frame.
  fg_move 700 550
  fg_two_frames
  fg_screenshot "after_$2"
  fg_same_region main "$FG_PAUSE_FRAME" "after_$2" || fail "the pause screen opened after switching to $2"
}
switch_display 270 full_screen
[ "$(fg_frame_origin)" = "112 84" ] || fail "not full screen: the picture is at $(fg_frame_origin)"
switch_display 530 windowed
[ "$(fg_frame_origin)" = "0 0" ] || fail "not windowed: the picture is at $(fg_frame_origin)"

# Another program takes the focus: the game pauses.
xmessage -geometry +830+10 "another program" >/dev/null 2>&1 &
other_pid=$!
other_window() { other="$(xdotool search --class Xmessage 2>/dev/null | head -n 1)" && [ -n "$other" ]; }
fg_wait_until "the other program's window did not appear" other_window
xdotool windowfocus --sync "$other"
fg_wait_screen focus_lost "losing the focus did not pause the game" fg_same_region paused "$FG_PAUSE_FRAME"
xdotool windowfocus --sync "$wid"
fg_key p
fg_wait_screen focus_back "P did not resume after the focus came back" fg_same_region main "$FG_PAUSE_FRAME"
kill "$other_pid" 2>/dev/null || true

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
