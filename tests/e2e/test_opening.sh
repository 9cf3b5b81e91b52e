#!/usr/bin/env bash
# The opening: the title builds its logo dot by dot (three looks while it
# grows differ, none shows the menu bar); a key ends it, a second key ends
# the "Press any key to continue." screen once its picture has slid in; the
# empty main screen says how to begin; F1, Enter, Enter loads a board, the
# hint goes and the menu bar names what is in play.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"

logo=356x52+222+274
menu_bar=800x16+0+0
# Pixels of the logo area that are not black in screenshot NAME.
lit() { convert "$FG_OUT/$1.png" -crop "$logo" +repage -fill black -opaque black -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:; }
no_menu_bar() { [ "$(convert "$FG_OUT/$1.png" -crop "$menu_bar" +repage -format '%[fx:maxima]' info:)" = "0" ]; }

shows_some() { [ "$(lit "$1")" -gt 0 ]; }
fg_wait_screen title_a "the title showed no dot" shows_some
a="$(lit title_a)"
grown_from_a() { [ "$(lit "$1")" -gt $((2 * a + 20)) ]; }
fg_wait_screen title_b "the logo did not grow" grown_from_a
b="$(lit title_b)"
# Well into the dots: hundreds of them.
grown_from_b() { [ "$(lit "$1")" -gt $((2 * b + 1000)) ]; }
fg_wait_screen title_c "the logo did not grow further" grown_from_b
c="$(lit title_c)"
echo "lit pixels of the logo: $a, $b, $c"
for shot in title_a title_b title_c; do
  no_menu_bar "$shot" || fail "$shot shows something in the menu bar"
done

# A key ends the title; the picture slides in and the text shows.
xdotool key space
text=190x14+592+576
text_shown() { [ "$(convert "$FG_OUT/$1.png" -crop "$text" +repage -format '%[fx:maxima.r > 0.9 && maxima.g > 0.9 && maxima.b > 0.9 ? 1 : 0]' info:)" = "1" ]; }
fg_wait_screen press_any_key "no 'Press any key to continue.'" text_shown
fg_pass_opening
fg_wait_screen main "no main screen" fg_main_screen_shown

hint=420x56+234+176
colours() { convert "$FG_OUT/$1.png" -crop "$2" +repage -format '%k' info:; }
[ "$(colours main "$hint")" -gt 2 ] || fail "the empty main screen shows no hint"
filler=480x12+262+2
[ "$(colours main "$filler")" = "1" ] || fail "the menu bar names a board before one is loaded"

fg_key F1
chooser_open() { fg_other_region main 356x120+222+240 "$1"; }
fg_wait_screen chooser "the board chooser did not open" chooser_open
fg_key Return
fg_two_frames
fg_key Return
board_loaded() { [ "$(colours "$1" "$filler")" -gt 1 ]; }
fg_wait_screen board "no board was loaded" board_loaded
fg_region_changed main board "$hint" || fail "the hint is still shown with a board in play"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
