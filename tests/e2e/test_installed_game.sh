#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix, the game
# started from another folder with a home of its own (the binary where the
# install rules put it, PREFIX/games/fusegrid by default). It reads its
# datafiles from PREFIX/share/fusegrid, shows its main screen in a window
# the desktop can tell apart (title, instance and class names, owning
# process, icon), ends on a close request, and keeps its settings in
# ~/.local/share/fusegrid, leaving nothing anywhere else: not in the
# folder it was started from, not elsewhere in the home.
source "$(dirname "$0")/lib.sh"
build="$(dirname "$FG_GAME_DIR")"
prefix="$FG_WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$FG_OUT/install.log" || fail "cmake --install: $(cat "$FG_OUT/install.log")"
binary="$(grep -m1 '^[^/]*/fusegrid$' "$build/installed_files.txt")" || fail "no binary in installed_files.txt"
fg_start_xvfb

home="$FG_WORK/home" start="$FG_WORK/elsewhere"
mkdir -p "$home" "$start"
(cd "$start" && exec env -u XDG_DATA_HOME HOME="$home" "$prefix/$binary" \
  >"$FG_OUT/stdout.log" 2>"$FG_OUT/stderr.log") &
FG_GAME_PID=$!
wid="$(fg_wait_window)"
fg_wait_drawn started

# What the desktop reads off the window.
xprop -id "$wid" WM_NAME WM_CLASS _NET_WM_PID WM_CLIENT_MACHINE WM_HINTS >"$FG_OUT/xprop.txt" 2>&1 || fail "xprop: $(cat "$FG_OUT/xprop.txt")"
xprop -id "$wid" -notype 32c _NET_WM_ICON >"$FG_OUT/icon.txt" 2>&1 || true
cat "$FG_OUT/xprop.txt"
grep -qx "WM_NAME(STRING) = \"FGrid v${FG_VERSION:?}\"" "$FG_OUT/xprop.txt" || fail "the window title is not FGrid v$FG_VERSION"
grep -qx 'WM_CLASS(STRING) = "fusegrid", "Fusegrid"' "$FG_OUT/xprop.txt" || fail "the window's instance and class are not fusegrid, Fusegrid"
grep -qx "_NET_WM_PID(CARDINAL) = $FG_GAME_PID" "$FG_OUT/xprop.txt" || fail "_NET_WM_PID is not the game's process $FG_GAME_PID"
grep -q "^WM_CLIENT_MACHINE(STRING) = \"$(hostname)\"" "$FG_OUT/xprop.txt" || fail "WM_CLIENT_MACHINE is not this machine"
grep -q 'bitmap id # to use for icon' "$FG_OUT/xprop.txt" || fail "the window has no icon picture"
# The dock's icon: 32 x 32 pixels, 1024 values after the size.
grep -q '^_NET_WM_ICON = 32, 32, ' "$FG_OUT/icon.txt" || fail "the window has no 32x32 _NET_WM_ICON: $(head -c 200 "$FG_OUT/icon.txt")"
[ "$(sed 's/^_NET_WM_ICON = //' "$FG_OUT/icon.txt" | tr ',' '\n' | grep -c .)" = $((2 + 32 * 32)) ] || fail "_NET_WM_ICON does not hold 32x32 pixels"

"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC: $(cat "$FG_OUT/stderr.log")"

user="$home/.local/share/fusegrid"
[ -f "$user/fgrid.cfg" ] || fail "no fgrid.cfg in $user: $(ls -la "$user" 2>&1)"
[ "$(stat -c %s "$user/fgrid.cfg")" = "55" ] || fail "fgrid.cfg is not 55 bytes"
[ -f "$user/fusegrid.ini" ] || fail "no fusegrid.ini in $user"
[ -z "$(ls -A "$start")" ] || fail "files left where the game was started: $(ls -A "$start")"
outside="$(cd "$home" && find . -mindepth 1 -not -path './.local' -not -path './.local/share' -not -path './.local/share/fusegrid' -not -path './.local/share/fusegrid/*')"
[ -z "$outside" ] || fail "files left in the home outside ~/.local/share/fusegrid: $outside"
echo "PASS"
