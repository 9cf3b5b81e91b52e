#!/usr/bin/env bash
# Two games in one game folder, each on an X server of its own, both
# started before either wins: each wins the same Beginner board and names
# its result. The scores file then holds both entries and both games'
# statistics (played 2, won 2), whichever saved last. Game A switches
# no-guess boards on, game B enters a name (which it offers next time):
# B closes first, and A's close keeps B's name beside A's choice.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_settings_windowed 1

id="fgboards.dat:0:0:0:4711"
first=40
fg_describe "$id" "$first"
mines="$FG_MINES"
fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"
park_x=770 park_y=560
parked() { fg_pointer_at "$park_x" "$park_y" "$1"; }
options_menu_area=192x112+128+16

# Each game has its display, process and screenshots; `as a` or `as b`
# points the helpers at one of them.
OUT_BASE="$FG_OUT"
mkdir -p "$OUT_BASE/a" "$OUT_BASE/b"
declare -A DISPLAY_OF PID_OF XVFB_OF
as() {
  [ -n "${CURRENT:-}" ] && PID_OF[$CURRENT]="$FG_GAME_PID"
  CURRENT="$1"
  export DISPLAY="${DISPLAY_OF[$1]}"
  FG_GAME_PID="${PID_OF[$1]:-}"
  FG_XVFB_PID="${XVFB_OF[$1]}"
  FG_OUT="$OUT_BASE/$1"
}
end_both() {
  for g in a b; do
    fg_end_process "${PID_OF[$g]:-}"
  done
  [ -n "${CURRENT:-}" ] && fg_end_process "$FG_GAME_PID"
  for g in a b; do
    fg_end_process "${XVFB_OF[$g]:-}"
  done
  rm -rf "$FG_WORK"
}
trap end_both EXIT
for g in a b; do
  FG_OUT="$OUT_BASE/$g"
  fg_start_xvfb
  DISPLAY_OF[$g]="$DISPLAY"
  XVFB_OF[$g]="$FG_XVFB_PID"
done

board_shown() { parked "$1" && [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]; }
one_colour() { [ "$(convert "$FG_OUT/$1.png" -crop "$2" +repage -format '%k' info:)" = "1" ]; }
ink_pixels() {
  convert "$FG_OUT/$1.png" -crop "$2" +repage -colorspace gray -threshold 60% -format '%[fx:int(mean*w*h+0.5)]' info:
}
prompt_up() {
  parked "$1" && one_colour "$1" 398x1+201+220 && one_colour "$1" 398x1+201+363 &&
    [ "$(ink_pixels "$1" 396x140+202+222)" -gt 500 ]
}
page_up() { parked "$1" && [ "$(ink_pixels "$1" 500x14+150+233)" -gt 100 ]; }

# Both games start and show the covered board.
for g in a b; do
  as "$g"
  fg_start_game -- --game "$id"
  fg_wait_window >/dev/null
  fg_pass_opening
  fg_move "$park_x" "$park_y"
  fg_wait_screen board_start "game $g did not show the covered board" board_shown
  fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"
done

# A switches no-guess boards on (Options menu, its row).
as a
fg_click 190 8
fg_wait_change board_start menu_on "$options_menu_area" "the Options menu did not open"
fg_click 200 120
fg_wait_change menu_on menu_closed "$options_menu_area" "the Options menu did not close"

# Each game wins the board and names its result: A with Esc (anonymous,
# its name to offer unchanged), B as "Bea".
win_and_name() {  # game, keys typed before Return or Escape, last key
  as "$1"
  read -r x y <<<"$(sed -n "$((first + 1))p" "$FG_WORK/centres")"
  fg_click "$x" "$y"
  fg_clear_safe_cells round "$park_x" "$park_y" "$mines"
  fg_wait_screen prompt "game $1: no high-score prompt after the win" prompt_up
  for c in $2; do
    fg_key "$c"
  done
  fg_key "$3"
  fg_wait_screen page "game $1: no table after the name" page_up
  fg_key Return
}
win_and_name b "B e a" Return
win_and_name a "" Escape

close_game() {
  as "$1"
  local wid
  wid="$(xdotool search --name '^FGrid' | head -n 1)"
  "$FG_WM_CLOSE" "$wid"
  fg_wait_exit
  [ "$FG_RC" = "0" ] || fail "game $1: exit code $FG_RC"
  PID_OF[$1]=""
}
close_game b
close_game a

scores="$FG_RUN/fusegrid.scores"
grep -qa "Bea" "$scores" || fail "B's entry is not in the file"
grep -qa -- "- Anonymous -" "$scores" || fail "A's entry is not in the file"
# One key: its statistics after magic, version, key count and the key.
u32() { od -An -tu4 -j"$1" -N4 "$scores" | tr -d ' '; }
echo "keys $(u32 12), played $(u32 36), won $(u32 40), entries $(u32 64)"
[ "$(u32 12)" = "1" ] || fail "expected one table, found $(u32 12)"
[ "$(u32 36)/$(u32 40)" = "2/2" ] || fail "played/won $(u32 36)/$(u32 40), expected 2/2"
[ "$(u32 64)" = "2" ] || fail "expected two entries, found $(u32 64)"
cat "$FG_RUN/fusegrid.ini"
grep -qx "no_guess=1" "$FG_RUN/fusegrid.ini" || fail "A's choice is lost: $(cat "$FG_RUN/fusegrid.ini")"
grep -qx "player_name=Bea" "$FG_RUN/fusegrid.ini" || fail "B's name is lost: $(cat "$FG_RUN/fusegrid.ini")"
echo "PASS"
