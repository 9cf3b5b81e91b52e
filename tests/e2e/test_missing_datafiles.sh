#!/usr/bin/env bash
# Without its datafiles the game reports the numbered error and exits with
# the failure status 1.
# With no xmessage on the PATH the library prints the message instead.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb

run_case() {  # name, files to remove, expected message
  local name="$1" remove="$2" want="$3"
  rm -f "$FG_RUN"/*.dat
  cp "$FG_GAME_DIR"/*.dat "$FG_RUN/"
  for f in $remove; do rm -f "$FG_RUN/$f"; done
  fg_start_game PATH=/nonexistent
  fg_wait_exit
  local rc="$FG_RC"
  cp "$FG_OUT/stdout.log" "$FG_OUT/$name.stdout"
  [ "$rc" = "1" ] || fail "$name: exit code $rc"
  grep -qF "$want" "$FG_OUT/stdout.log" || fail "$name: no message '$want' in: $(cat "$FG_OUT/stdout.log")"
  echo "$name: exit 1 with: $want"
}

run_case no_main "fgridgx.dat" "ERROR 009 - Unable to load main datafile."
run_case no_main_no_sound "fgridgx.dat fgridsfx.dat" "ERROR 009 - Unable to load main datafile."
run_case no_sound "fgridsfx.dat" "ERROR 010 - Unable to load sound data. (This is necessary even if no sound effect device is available.)"

# A damaged main datafile is no crash either.
cp "$FG_GAME_DIR"/*.dat "$FG_RUN/"
head -c 5000 "$FG_GAME_DIR/fgridgx.dat" >"$FG_RUN/fgridgx.dat"
fg_start_game PATH=/nonexistent
fg_wait_exit
rc="$FG_RC"
[ "$rc" = "1" ] || fail "damaged main datafile: exit code $rc"
grep -qF "ERROR 009" "$FG_OUT/stdout.log" || fail "damaged main datafile: no message 009"
echo "PASS"
