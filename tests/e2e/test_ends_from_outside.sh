#!/usr/bin/env bash
# The game ends in order when it is ended from outside: its X server goes
# away under it, or it is sent SIGTERM, on the main screen and in a
# dialog. It is gone within two seconds and its settings file is whole.
# Without a display it says so and exits with a failure status.
source "$(dirname "$0")/lib.sh"
fg_prepare_game

# Stops the test's X server with a signal and waits until it is gone, so
# that the next server does not meet the old one on its display number.
stop_xvfb() {  # signal
  kill -"$1" "$FG_XVFB_PID"
  wait "$FG_XVFB_PID" 2>/dev/null || true
  FG_XVFB_PID=""
  rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}"
}

# Starts the game on a new server, on its main screen or in a dialog.
start_in() {  # place
  fg_start_xvfb
  fg_settings_windowed 1
  fg_start_game
  fg_wait_window >/dev/null
  fg_wait_drawn main
  if [ "$1" = dialog ]; then
    fg_key F1
    fg_wait_change main dialog 300x200+250+200 "no board chooser"
  fi
  # The settings file now exists; what is checked below is written at the end.
  rm -f "$FG_RUN/fgrid.cfg" "$FG_RUN/fusegrid.ini"
}

# Waits for the game to end, 2 s at the most from the time in `start`, and
# checks its settings file and exit status.
check_end() {  # case name, expected exit status
  local name="$1" want="$2" rc=""
  while kill -0 "$FG_GAME_PID" 2>/dev/null; do
    [ $(($(date +%s%N) - start)) -lt 2000000000 ] || fail "$name: the game still runs after 2 s"
    sleep 0.05
  done
  wait "$FG_GAME_PID" && rc=0 || rc=$?
  FG_GAME_PID=""
  echo "$name: ended after $((($(date +%s%N) - start) / 1000000)) ms, exit status $rc"
  [ "$rc" = "$want" ] || fail "$name: exit status $rc, expected $want"
  [ -f "$FG_RUN/fgrid.cfg" ] || fail "$name: no settings file written"
  [ "$(stat -c %s "$FG_RUN/fgrid.cfg")" = "55" ] || fail "$name: the settings file is not whole"
  [ "$(od -An -tu1 -j22 -N1 "$FG_RUN/fgrid.cfg" | tr -d ' ')" = "1" ] || fail "$name: the settings are not the game's"
  grep -qx 'no_guess=[01]' "$FG_RUN/fusegrid.ini" || fail "$name: no second settings file written"
}

for place in main dialog; do
  for how in KILL TERM; do
    start_in "$place"
    start=$(date +%s%N)
    stop_xvfb "$how"
    check_end "X server killed with SIG$how, $place" 1
  done
  start_in "$place"
  start=$(date +%s%N)
  kill -TERM "$FG_GAME_PID"
  check_end "SIGTERM, $place" 143
  stop_xvfb TERM
done

# No display at all.
rc=0
(cd "$FG_RUN" && env -u DISPLAY ./fusegrid >"$FG_OUT/nodisplay.out" 2>"$FG_OUT/nodisplay.err") || rc=$?
echo "no display: exit status $rc, said: $(cat "$FG_OUT/nodisplay.err")"
[ "$rc" = "1" ] || fail "no display: exit status $rc"
grep -q "fusegrid: cannot start: no display could be opened" "$FG_OUT/nodisplay.err" || fail "no display: no message"
echo "PASS"
