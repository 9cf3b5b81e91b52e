# Shared helpers of the end-to-end tests. Each test script is called as
#   test_x.sh GAME_BINARY GAME_DIR WM_CLOSE OUT_DIR
# and runs the real game in its own copy of the game folder under its own
# Xvfb display. Screenshots and logs are kept in OUT_DIR/<test name>.
set -euo pipefail

FG_BIN="$(realpath "$1")"
FG_GAME_DIR="$(realpath "$2")"
FG_WM_CLOSE="$(realpath "$3")"
FG_OUT="$(realpath -m "$4")/$(basename "$0" .sh)"
FG_CELL_CENTRES="$(realpath "${5:-/nonexistent}")"
rm -rf "$FG_OUT"
mkdir -p "$FG_OUT"

FG_WORK="$(mktemp -d /tmp/fge2e.XXXXXX)"
FG_XVFB_PID=""
FG_GAME_PID=""

fg_cleanup() {
  [ -n "$FG_GAME_PID" ] && kill "$FG_GAME_PID" 2>/dev/null || true
  [ -n "$FG_XVFB_PID" ] && kill "$FG_XVFB_PID" 2>/dev/null || true
  rm -rf "$FG_WORK"
}
trap fg_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A copy of the game folder (binary and datafiles) to run in.
fg_prepare_game() {
  mkdir -p "$FG_WORK/game/Colors" "$FG_WORK/home"
  cp "$FG_BIN" "$FG_WORK/game/fusegrid"
  cp "$FG_GAME_DIR"/*.dat "$FG_WORK/game/"
  FG_RUN="$FG_WORK/game"
}

# Starts Xvfb on a free display number and exports DISPLAY.
fg_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$FG_OUT/xvfb.log" 2>&1 &
    FG_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$FG_XVFB_PID" 2>/dev/null || true
  done
  fail "no Xvfb display could be started"
}

# Starts the game in the prepared folder; extra environment may be given
# as NAME=VALUE arguments.
fg_start_game() {
  (cd "$FG_RUN" && exec env HOME="$FG_WORK/home" "$@" ./fusegrid >"$FG_OUT/stdout.log" 2>"$FG_OUT/stderr.log") &
  FG_GAME_PID=$!
}

# Waits for the game's window and prints its id.
fg_wait_window() {
  local wid=""
  for _ in $(seq 1 100); do
    wid="$(xdotool search --name '^FGrid' 2>/dev/null | head -n 1 || true)"
    [ -n "$wid" ] && { echo "$wid"; return 0; }
    kill -0 "$FG_GAME_PID" 2>/dev/null || fail "the game ended before showing a window"
    sleep 0.1
  done
  fail "no game window appeared"
}

# Waits for the game to end; its exit code is left in FG_RC.
fg_wait_exit() {
  FG_RC=""
  for _ in $(seq 1 100); do
    if ! kill -0 "$FG_GAME_PID" 2>/dev/null; then
      FG_RC=0
      wait "$FG_GAME_PID" || FG_RC=$?
      FG_GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the game did not end"
}

# The absolute position "X Y" of the 800x600 picture of the game: the game's
# own window when windowed, the centred child of the full-screen window.
fg_frame_origin() {
  xwininfo -root -tree | grep -E ' 800x600\+' | head -n 1 | awk '{print $NF}' | tr '+' ' ' | awk '{print $1, $2}'
}

# A screenshot of the game's 800x600 picture.
fg_screenshot() {
  local name="$1" x y
  read -r x y <<<"$(fg_frame_origin)"
  [ -n "$x" ] || fail "no 800x600 game picture on the screen"
  import -window root -crop "800x600+$x+$y" +repage "$FG_OUT/$name.png"
}

# The colour of one pixel of a screenshot, as "r,g,b" in 0..255.
fg_pixel() {
  convert "$FG_OUT/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# The 8-bit screen colour of a 6-bit palette entry, as the display shows it.
fg_colour_near() {
  local got="$1" want="$2" tolerance="${3:-8}"
  local IFS=,
  read -r gr gg gb <<<"$got"
  read -r wr wg wb <<<"$want"
  for pair in "$gr $wr" "$gg $wg" "$gb $wb"; do
    set -- $pair
    local d=$(( $1 - $2 ))
    [ ${d#-} -le "$tolerance" ] || return 1
  done
}

# Presses a key as a player does.
fg_key() {
  xdotool keydown "$1" sleep 0.15 keyup "$1"
  sleep "${2:-0.5}"
}

# Clicks with the right mouse button.
fg_right_click() {
  local x y
  read -r x y <<<"$(fg_frame_origin)"
  xdotool mousemove $((x + $1)) $((y + $2)) sleep 0.1 mousedown 3 sleep 0.15 mouseup 3
}

# The screen positions of a board's cells, "x y" per line.
fg_cell_centres() {
  "$FG_CELL_CENTRES" "$FG_RUN" "$1" "$2"
}

# 1 when two screenshots differ inside a rectangle (WxH+X+Y).
fg_region_changed() {
  local a b
  a="$(convert "$FG_OUT/$1.png" -crop "$3" +repage -format '%#' info:)"
  b="$(convert "$FG_OUT/$2.png" -crop "$3" +repage -format '%#' info:)"
  [ "$a" != "$b" ]
}

# Clicks at a point of the game's picture, holding the button as a player
# does, for a tenth of a second or more.
fg_click() {
  local x y
  read -r x y <<<"$(fg_frame_origin)"
  xdotool mousemove $((x + $1)) $((y + $2)) sleep 0.2 mousedown 1 sleep 0.15 mouseup 1
}

# A settings file of defaults with the window (1) or full screen (0) choice.
fg_settings_windowed() {
  {
    printf '\x01\x80'
    printf '\x01%.0s' $(seq 1 16)
    printf '\xcd\xcc\x4c\x3d'  # 0.05
    printf "\\x0$1"
    head -c 32 /dev/zero
  } >"$FG_RUN/fgrid.cfg"
}

# Gives the game an ALSA device that writes what it mixes to a file, and
# prints the file's path.
fg_capture_sound() {
  local raw="$FG_WORK/out.raw"
  echo "pcm.!default { type file; slave.pcm \"null\"; file \"$raw\"; format \"raw\" }" >"$FG_WORK/home/.asoundrc"
  echo "$raw"
}

# How many 16-bit samples of a raw capture differ from silence. The
# library mixes unsigned 16-bit samples, so silence is 32768.
fg_sound_samples() {
  od -An -v -tu2 -w32 "$1" | awk '{ for (i = 1; i <= NF; i++) if ($i != 32768) n++ } END { print n + 0 }'
}

# Takes screenshot NAME, again and again, until the command "$@ NAME"
# succeeds; returns 1 when it has not within about SECONDS. A moment
# without a game picture (a display mode change) is waited out.
fg_poll_screen() {  # name seconds command...
  local name="$1" seconds="$2" x y
  shift 2
  local tries=$((seconds * 10))
  for ((i = 0; i < tries; i++)); do
    read -r x y <<<"$(fg_frame_origin)"
    if [ -n "$x" ] && import -window root -crop "800x600+$x+$y" +repage "$FG_OUT/$name.png" 2>/dev/null &&
      "$@" "$name"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# fg_poll_screen, failing with MESSAGE when the screen does not come.
fg_wait_screen() {  # name seconds message command...
  local name="$1" seconds="$2" message="$3"
  shift 3
  fg_poll_screen "$name" "$seconds" "$@" || fail "$message"
}

# Does ACTION (a command) until screenshot NAME passes the check: the
# action is repeated, up to three times, only when a try showed no effect
# for three seconds (on a loaded machine a frame can outlast a click).
fg_act_until() {  # action name message command...
  local action="$1" name="$2" message="$3"
  shift 3
  for _ in 1 2 3; do
    $action
    fg_poll_screen "$name" 3 "$@" && return 0
  done
  fail "$message"
}

# The pause screen's frame, "Game Paused - ...".
FG_PAUSE_FRAME=360x64+220+268

# 0 when screenshot NAME shows, inside a rectangle (WxH+X+Y), what screenshot
# REF shows; the name comes last for fg_wait_screen.
fg_same_region() {  # ref geometry name
  ! fg_region_changed "$1" "$3" "$2"
}

# 0 when screenshot NAME differs from screenshot REF inside a rectangle.
fg_other_region() {  # ref geometry name
  fg_region_changed "$1" "$3" "$2"
}

# Waits for the main screen with no game in play, its menu bar and play
# area drawn, and the pointer (drawn into the picture) moved out of the
# pause frame's place; screenshot NAME is then the reference without the
# pause screen.
fg_wait_main_screen() {  # name
  fg_main_screen_drawn() {
    local play menu
    xdotool mousemove 700 $((550 + RANDOM % 2))  # again on every try, in case the window missed it
    play="$(fg_pixel "$1" 600 450)"
    menu="$(fg_pixel "$1" 60 8)"
    [ "$play" != "0,0,0" ] && [ "$menu" != "$play" ] &&
      [ "$(convert "$FG_OUT/$1.png" -crop "$FG_PAUSE_FRAME" -format '%k' info:)" = "1" ]
  }
  fg_wait_screen "$1" 10 "no main screen" fg_main_screen_drawn
}
