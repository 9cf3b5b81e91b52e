#!/usr/bin/env bash
# With an ALSA device (here one that writes what it mixes to a file) the
# sound system installs and a click on the menu bar is heard; without a
# sound device the game runs silent.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb

raw="$(fg_capture_sound)"
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_wait_drawn started
[ -f "$raw" ] || fail "the sound system did not open the ALSA device"
title="$(fg_sound_samples "$raw")"
# The ticks of the title, if it got to them before the key that ended it,
# have died away once two looks a frame apart agree.
_fg_sound_settled() {
  local a b
  a="$(fg_sound_samples "$raw")"
  fg_two_frames
  b="$(fg_sound_samples "$raw")"
  [ "$a" = "$b" ]
}
fg_wait_until "the title's sound did not end" _fg_sound_settled
before="$(fg_sound_samples "$raw")"
fg_click 40 8
click_heard() { [ "$(fg_sound_samples "$raw")" -gt $((before + 1000)) ]; }
fg_wait_until "the click was not heard" click_heard
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
rc="$FG_RC"
[ "$rc" = "0" ] || fail "exit code $rc"
after="$(fg_sound_samples "$raw")"
echo "samples that are not silence: $title after the opening, $before before the click, $after after"
[ "$after" -gt $((before + 1000)) ] || fail "the click was not heard"
if command -v sox >/dev/null; then
  sox -t raw -r 44100 -e unsigned -b 16 -c 2 "$raw" -n stat 2>&1 | grep -E "Maximum amplitude|RMS" || true
fi

# No sound device: the game still runs, silent.
rm -f "$FG_WORK/home/.asoundrc" "$raw"
fg_settings_windowed 1
fg_start_game
wid="$(fg_wait_window)"
fg_pass_opening
fg_click 40 8
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
rc="$FG_RC"
[ "$rc" = "0" ] || fail "silent run: exit code $rc"
[ ! -e "$raw" ] || fail "silent run wrote sound"
echo "PASS"
