#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix, the game
# started as PREFIX/bin/fusegrid from another folder with a home of its
# own. It reads its datafiles from PREFIX/share/fusegrid, shows its main
# screen, ends on a close request, and keeps its settings in its user
# folder under XDG_DATA_HOME, leaving nothing in the folder it was started
# from.
source "$(dirname "$0")/lib.sh"
build="$(dirname "$FG_GAME_DIR")"
prefix="$FG_WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$FG_OUT/install.log" || fail "cmake --install: $(cat "$FG_OUT/install.log")"
fg_start_xvfb

home="$FG_WORK/home" data_home="$FG_WORK/data-home" start="$FG_WORK/elsewhere"
mkdir -p "$home" "$start"
(cd "$start" && exec env HOME="$home" XDG_DATA_HOME="$data_home" "$prefix/bin/fusegrid" \
  >"$FG_OUT/stdout.log" 2>"$FG_OUT/stderr.log") &
FG_GAME_PID=$!
wid="$(fg_wait_window)"
fg_wait_drawn started
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC: $(cat "$FG_OUT/stderr.log")"

user="$data_home/fusegrid"
[ -f "$user/fgrid.cfg" ] || fail "no fgrid.cfg in $user: $(ls -la "$user" 2>&1)"
[ "$(stat -c %s "$user/fgrid.cfg")" = "55" ] || fail "fgrid.cfg is not 55 bytes"
[ -f "$user/fusegrid.ini" ] || fail "no fusegrid.ini in $user"
[ -z "$(ls -A "$start")" ] || fail "files left where the game was started: $(ls -A "$start")"
[ -z "$(ls -A "$home")" ] || fail "files left in the home outside the data folder: $(ls -A "$home")"
echo "PASS"
