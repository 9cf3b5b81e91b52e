#!/usr/bin/env bash
# Switching between a window and full screen in Graphics Options, both
# ways, does not open the pause screen: the main screen answers at once
# (its Options menu opens) and no pause frame shows. Another program
# taking the focus still pauses the game.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"

fg_wait_main_screen main

# The pause screen as P shows it, for comparison.
fg_key p 0
fg_wait_screen paused 5 "P did not pause" fg_other_region main "$FG_PAUSE_FRAME"
fg_key p 0
fg_wait_screen resumed 5 "P did not resume" fg_same_region main "$FG_PAUSE_FRAME"

OPTIONS_MENU=192x60+128+34  # below the pointer on the Options button
# Menus are closed by a click in the empty play area, which is harmless
# should it come after the menu closed (Esc would quit the game).
fg_act_until "fg_click 190 8" options_menu "no Options menu" fg_other_region main "$OPTIONS_MENU"
fg_act_until "fg_click 700 550" menu_closed "the Options menu did not close" fg_same_region main "$OPTIONS_MENU"

options_menu_or_pause() {  # name
  fg_same_region options_menu "$OPTIONS_MENU" "$1" || fg_same_region paused "$FG_PAUSE_FRAME" "$1"
}

switch_display() {  # x of the choice in the dialog, name of the mode
  local old
  old="$(fg_frame_origin)"
  fg_act_until "fg_click 190 8" "menu_before_$2" "no Options menu before $2" fg_same_region options_menu "$OPTIONS_MENU"
  fg_act_until "fg_click 200 56" "dialog_$2" "no Graphics Options dialog" fg_other_region main 251x24+144+388
  # The choice shows pressed before OK is clicked.
  fg_act_until "fg_click $1 400" "choice_$2" "the $2 choice did not show" \
    fg_other_region "dialog_$2" 100x24+$(($1 - 125))+388  # left of the pointer
  new_mode_shown() {  # name: another origin, the dialog gone, the menu bar drawn
    [ "$(fg_frame_origin)" != "$old" ] && fg_same_region main 251x24+144+388 "$1" &&
      fg_same_region main 800x16+0+0 "$1"
  }
  fg_act_until "fg_click 170 427" "mode_$2" "no $2 picture after OK" new_mode_shown
  # The main screen answers: the Options menu opens. Had the switch
  # paused the game, the pause frame would show instead.
  fg_act_until "fg_click 190 8" "answer_$2" "neither the Options menu nor the pause screen after switching to $2" \
    options_menu_or_pause
  fg_same_region paused "$FG_PAUSE_FRAME" "answer_$2" && fail "the pause screen opened after switching to $2"
  fg_act_until "fg_click 700 550" "closed_$2" "the Options menu did not close after switching to $2" \
    fg_same_region main "$OPTIONS_MENU"
  fg_same_region main "$FG_PAUSE_FRAME" "closed_$2" || fail "the pause screen opened after switching to $2"
}
switch_display 270 full_screen
[ "$(fg_frame_origin)" = "112 84" ] || fail "not full screen: the picture is at $(fg_frame_origin)"
switch_display 530 windowed
[ "$(fg_frame_origin)" = "0 0" ] || fail "not windowed: the picture is at $(fg_frame_origin)"

# Another program takes the focus: the game pauses.
xmessage -geometry +830+10 "another program" >/dev/null 2>&1 &
other_pid=$!
other=""
for _ in $(seq 1 50); do
  other="$(xdotool search --class Xmessage 2>/dev/null | head -n 1 || true)"
  [ -n "$other" ] && break
  sleep 0.1
done
[ -n "$other" ] || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other"
fg_wait_screen focus_lost 5 "losing the focus did not pause the game" fg_same_region paused "$FG_PAUSE_FRAME"
xdotool windowfocus --sync "$wid"
fg_key p 0
fg_wait_screen focus_back 5 "P did not resume after the focus came back" fg_same_region main "$FG_PAUSE_FRAME"
kill "$other_pid" 2>/dev/null || true

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
