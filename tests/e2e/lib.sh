# Shared helpers of the end-to-end tests. Each test script is called as
#   test_x.sh GAME_BINARY GAME_DIR WM_CLOSE OUT_DIR [CELL_CENTRES [POINTER_AT [READ_TEXT]]]
# and runs the real game in its own copy of the game folder under its own
# Xvfb display. Screenshots and logs are kept in OUT_DIR/<test name>.
set -euo pipefail

FG_BIN="$(realpath "$1")"
FG_GAME_DIR="$(realpath "$2")"
FG_WM_CLOSE="$(realpath "$3")"
FG_OUT="$(realpath -m "$4")/$(basename "$0" .sh)"
FG_CELL_CENTRES="$(realpath "${5:-/nonexistent}")"
FG_POINTER_AT="$(realpath -m "${6:-/nonexistent}")"
FG_READ_TEXT="$(realpath -m "${7:-/nonexistent}")"
rm -rf "$FG_OUT"
mkdir -p "$FG_OUT"

FG_WORK="$(mktemp -d /tmp/fge2e.XXXXXX)"
# The size of the X server's screen, and the zoom the game's picture is
# shown at (set FG_ZOOM before the helpers below are used: positions and
# screenshots stay in the 800x600 picture's pixels).
FG_XVFB_SIZE="${FG_XVFB_SIZE:-1024x768}"
FG_ZOOM="${FG_ZOOM:-1}"
FG_XVFB_PID=""
FG_GAME_PID=""

# Ends a process of the test and waits until it is gone (SIGKILL after 5 s).
fg_end_process() {
  local pid="$1"
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 1 250); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# The game first, then its X server. The server is waited for: one that is
# still shutting down would remove the socket of the next test's server on
# the same display number.
fg_cleanup() {
  fg_end_process "$FG_GAME_PID"
  fg_end_process "$FG_XVFB_PID"
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

# Starts Xvfb on a free display number and exports DISPLAY. The server
# picks the number itself (-displayfd) and writes it once it accepts
# connections, so tests started at the same moment (by other developers
# on the same machine, too) never share a display. It does not reset when
# its last client leaves: a game connecting during a reset loses its
# display at once.
fg_start_xvfb() {
  local numfile="$FG_WORK/display"
  : >"$numfile"
  Xvfb -displayfd 3 -screen 0 "${FG_XVFB_SIZE}x24" -nolisten tcp -noreset 3>"$numfile" >"$FG_OUT/xvfb.log" 2>&1 &
  FG_XVFB_PID=$!
  xvfb_ready() {
    kill -0 "$FG_XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$FG_OUT/xvfb.log")"
    grep -q '^[0-9][0-9]*$' "$numfile"
  }
  fg_wait_until "Xvfb gave no display number" xvfb_ready
  export DISPLAY=":$(head -n 1 "$numfile")"
  xdpyinfo >/dev/null 2>&1 || fail "no X server on $DISPLAY"
}

# Starts the game in the prepared folder; extra environment may be given
# as NAME=VALUE arguments, and the game's own arguments after "--".
fg_start_game() {
  local envs=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    envs+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  (cd "$FG_RUN" && exec env HOME="$FG_WORK/home" "${envs[@]}" ./fusegrid "$@" >"$FG_OUT/stdout.log" 2>"$FG_OUT/stderr.log") &
  FG_GAME_PID=$!
}

# Waits for the game's window and prints its id.
fg_wait_window() {
  local wid=""
  for _ in $(seq 1 100); do
    wid="$(xdotool search --name '^FGrid' 2>/dev/null | head -n 1 || true)"
    [ -n "$wid" ] && { echo "$wid"; return 0; }
    if ! kill -0 "$FG_GAME_PID" 2>/dev/null; then
      local rc=0
      wait "$FG_GAME_PID" || rc=$?
      fail "the game ended before showing a window (exit code $rc, display $DISPLAY): $(cat "$FG_OUT/stdout.log" "$FG_OUT/stderr.log")"
    fi
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

# The absolute position "X Y" of the 800x600 picture of the game (shown
# at FG_ZOOM): the game's own window when windowed, the centred child of
# the full-screen window.
fg_frame_origin() {
  xwininfo -root -tree | grep -E " $((800 * FG_ZOOM))x$((600 * FG_ZOOM))\+" | head -n 1 | awk '{print $NF}' |
    tr '+' ' ' | awk '{print $1, $2}'
}

# A screenshot of the game's 800x600 picture.
fg_screenshot() {
  _fg_capture "$1" || fail "no 800x600 game picture on the screen"
}

# The same; 1 when there is no game picture to take.
_fg_capture() {
  local x y
  read -r x y <<<"$(fg_frame_origin)"
  [ -n "$x" ] || return 1
  if [ "$FG_ZOOM" = 1 ]; then
    import -window root -crop "800x600+$x+$y" +repage "$FG_OUT/$1.png"
  else
    # One pixel of each block of the enlarged picture.
    import -window root -crop "$((800 * FG_ZOOM))x$((600 * FG_ZOOM))+$x+$y" +repage png:- |
      convert png:- -sample 800x600 "$FG_OUT/$1.png"
  fi
}

# How long the waits below wait before they fail, in seconds.
FG_WAIT_SECONDS="${FG_WAIT_SECONDS:-30}"

# Runs a command again and again until it succeeds; fails with the message
# when FG_WAIT_SECONDS have passed, or at once when the game has ended.
fg_wait_until() {
  local _fw_what="$1" _fw_start="${EPOCHREALTIME/./}"
  shift
  until "$@"; do
    if [ -n "$FG_GAME_PID" ] && ! kill -0 "$FG_GAME_PID" 2>/dev/null; then
      fail "$_fw_what (the game ended)"
    fi
    [ $(( ${EPOCHREALTIME/./} - _fw_start )) -lt $(( FG_WAIT_SECONDS * 1000000 )) ] ||
      fail "$_fw_what (after ${FG_WAIT_SECONDS} s)"
    sleep 0.02
  done
}

# The game's pointer position "X Y" in its picture, from the system
# pointer.
fg_pointer_position() {
  local ox oy X Y SCREEN WINDOW
  read -r ox oy <<<"$(fg_frame_origin)"
  eval "$(xdotool getmouselocation --shell)"
  X=$(((X - ox) / FG_ZOOM)) Y=$(((Y - oy) / FG_ZOOM))
  # Where the whole pointer shows in the picture.
  X=$((X < 1 ? 1 : (X > 780 ? 780 : X))) Y=$((Y < 0 ? 0 : (Y > 580 ? 580 : Y)))
  echo "$X" "$Y"
}

# 0 when the game's picture shows its pointer with the tip at (X, Y): the
# game draws its pointer into every frame at the position it polled, so
# such a frame was composed after the pointer got there. The picture is a
# fresh capture, or the screenshot named by a third argument. The
# pointer's left edge is a dark line and a light triangle right of it:
# row r has the dark pixel at 0, light ones at 1 to r-1, a dark one at r.
fg_pointer_at() {
  local px="$1" py="$2" src
  if [ -n "${3:-}" ]; then
    src=("$FG_OUT/$3.png" -crop "11x11+$px+$py" +repage)
  else
    local ox oy
    read -r ox oy <<<"$(fg_frame_origin)"
    [ -n "$ox" ] || return 1
    # The X helper looks again and again for a fifth of a second, fast.
    if [ -x "$FG_POINTER_AT" ]; then
      if [ "$FG_ZOOM" = 1 ]; then
        "$FG_POINTER_AT" $((ox + px)) $((oy + py)) 200
      else
        "$FG_POINTER_AT" $((ox + px * FG_ZOOM)) $((oy + py * FG_ZOOM)) 200 "$FG_ZOOM"
      fi
      return
    fi
    [ "$FG_ZOOM" = 1 ] || fail "fg_pointer_at needs the pointer_at helper at zoom $FG_ZOOM"
    src=(-window root -crop "11x11+$((ox + px))+$((oy + py))" +repage)
  fi
  local cmd=convert
  [ -n "${3:-}" ] || cmd=import
  "$cmd" "${src[@]}" txt:- 2>/dev/null | awk -F'[(),: ]+' '
    NR > 1 {
      x = $1; y = $2; s = $3 + $4 + $5
      if (x > y) next
      if (x == 0 || x == y) { if (s > 150) bad++ }
      else if (s < 600) bad++
      seen++
    }
    END { exit !(seen == 66 && bad == 0) }'
}

# Moves the pointer to a point of the game's picture and waits until the
# game shows it there. At a zoom, the pointer goes to the last display
# pixel of the point's block (the one farthest from its top-left corner).
fg_move() {
  local ox oy
  read -r ox oy <<<"$(fg_frame_origin)"
  [ -n "$ox" ] || fail "no 800x600 game picture on the screen"
  xdotool mousemove $((ox + $1 * FG_ZOOM + FG_ZOOM - 1)) $((oy + $2 * FG_ZOOM + FG_ZOOM - 1))
  fg_wait_until "the game did not show its pointer at $1,$2" fg_pointer_at "$1" "$2"
}

# 0 when the screenshot shows the main screen: the play area is not black
# and the menu bar is drawn in another colour.
fg_main_screen_shown() {
  local play menu
  play="$(fg_pixel "$1" 600 450)"
  menu="$(fg_pixel "$1" 60 8)"
  [ "$play" != "0,0,0" ] && [ "$menu" != "$play" ]
}

# Takes screenshots named NAME until a check passes on them: the check is
# a command to which the name is appended. Fails with the message after
# FG_WAIT_SECONDS.
fg_wait_screen() {
  local name="$1" what="$2"
  shift 2
  _fg_shot_and_check() { _fg_capture "$name" 2>/dev/null && "$@" "$name"; }
  fg_wait_until "$what" _fg_shot_and_check "$@"
}

# Gets the game past its two opening screens: while the game's own pointer
# (drawn from the main screen on) is not shown where the system pointer
# stands, a key is pressed. A key pressed during the title ends it; one
# pressed while the second screen's picture slides in is dropped with the
# keyboard buffer, so the next round presses again. Returns once a frame of
# the main screen shows the pointer at (700, 550).
fg_pass_opening() {
  _fg_at_main_screen() {
    local ox oy
    read -r ox oy <<<"$(fg_frame_origin)"
    [ -n "$ox" ] || return 1
    xdotool mousemove $((ox + 700 * FG_ZOOM)) $((oy + 550 * FG_ZOOM))
    fg_pointer_at 700 550 && return 0
    xdotool key space
    return 1
  }
  fg_wait_until "the game did not get past its opening screens" _fg_at_main_screen
}

# Waits until the game shows its main screen (past the opening screens);
# the last screenshot is kept as NAME.
fg_wait_drawn() {
  fg_pass_opening
  fg_wait_screen "$1" "the game did not draw its main screen" fg_main_screen_shown
}

# Takes screenshots named NAME until a rectangle (WxH+X+Y) differs from the
# screenshot BEFORE; fails with the message otherwise.
fg_wait_change() {
  local before="$1" name="$2" rect="$3" what="$4"
  _fg_changed_from() { fg_region_changed "$before" "$1" "$rect"; }
  fg_wait_screen "$name" "$what" _fg_changed_from
}

# The look of each cell in a screenshot, one line per cell in the order of
# the centres file (lines "x y"): the colours of five points around the
# centre. Two screenshots show a cell alike when its lines are equal.
fg_cell_looks() {
  local fmt="" x y
  while read -r x y; do
    fmt+="%[pixel:p{$x,$y}] %[pixel:p{$((x - 3)),$((y - 3))}] %[pixel:p{$((x + 3)),$((y + 3))}]"
    fmt+=" %[pixel:p{$((x - 3)),$((y + 3))}] %[pixel:p{$((x + 3)),$((y - 3))}]\n"
  done <"$2"
  convert "$FG_OUT/$1.png" -format "$fmt" info:
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

# Presses a key as a player does, and holds it until the game has drawn a
# frame with the key down, then waits for a frame after its release. (The
# pointer is nudged by a pixel each time: a frame that shows the pointer
# at the new place was composed after the key event.) Wait for the key's
# effect with fg_wait_change or fg_wait_screen. Not for F2, whose press the
# game waits out without drawing frames: tap it (xdotool keydown, sleep
# 0.15, keyup), then fg_two_frames.
fg_key() {
  local x y
  read -r x y <<<"$(fg_pointer_position)"
  xdotool keydown "$1"
  fg_move $((x > 0 ? x - 1 : x + 1)) "$y"
  xdotool keyup "$1"
  fg_move "$x" "$y"
}

# Waits until the game has composed two more frames (the pointer, nudged a
# pixel and back, shows where it was sent): one whole pass of whatever
# screen runs has seen everything that happened before the call.
fg_two_frames() {
  local x y
  read -r x y <<<"$(fg_pointer_position)"
  fg_move $((x > 0 ? x - 1 : x + 1)) "$y"
  fg_move "$x" "$y"
}

# Clicks with the right mouse button; see fg_click.
fg_right_click() {
  fg_click_button 3 "$1" "$2"
}

# The screen positions of a board's cells, "x y" per line.
fg_cell_centres() {
  "$FG_CELL_CENTRES" "$FG_RUN" "$1" "$2"
}

# The line of text the game drew in its font inside a rectangle (WxH+X+Y,
# the line's top row at Y) of screenshot NAME, read as a player reads it.
fg_read_text() {
  convert "$FG_OUT/$1.png" -crop "$2" +repage ppm:- | "$FG_READ_TEXT" "$FG_RUN"
}

# 1 when two screenshots differ inside a rectangle (WxH+X+Y).
fg_region_changed() {
  local a b
  a="$(convert "$FG_OUT/$1.png" -crop "$3" +repage -format '%#' info:)"
  b="$(convert "$FG_OUT/$2.png" -crop "$3" +repage -format '%#' info:)"
  [ "$a" != "$b" ]
}

# A left click after which the game's picture may be gone or moved (Quit,
# a display mode change): pressed as fg_click does, and released without
# waiting for another frame.
fg_click_to_end() {
  fg_move "$1" "$2"
  xdotool mousedown 1
  fg_move $(($1 > 0 ? $1 - 1 : $1 + 1)) "$2"
  xdotool mousemove_relative -- $(($1 > 0 ? 1 : -FG_ZOOM)) 0 mouseup 1
}

# Clicks with the left button at a point of the game's picture; see
# fg_click_button.
fg_click() {
  fg_click_button 1 "$1" "$2"
}

# Clicks with a button (1 left, 2 middle, 3 right) at a point of the game's
# picture, and returns when the game has seen the press and the release:
# the pointer goes there and the game shows it there; the button goes down
# and stays down until a frame shows the pointer nudged a pixel to the
# side (that frame was composed after the press); it comes up with the
# pointer back on the point, and the pointer stays there until a frame
# shows it (composed after the release). No frame can miss the press or
# see the release elsewhere.
fg_click_button() {
  local button="$1" x="$2" y="$3"
  fg_move "$x" "$y"
  xdotool mousedown "$button"
  fg_move $((x > 0 ? x - 1 : x + 1)) "$y"
  xdotool mouseup "$button"
  fg_move "$x" "$y"
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

# Waits for the main screen with the pointer parked in the play area, away
# from the pause frame's place, and no pause frame shown; screenshot NAME
# is then the reference without the pause screen.
fg_wait_main_screen() {  # name
  fg_move 700 550
  _fg_main_without_pause() {
    fg_main_screen_shown "$1" && [ "$(convert "$FG_OUT/$1.png" -crop "$FG_PAUSE_FRAME" -format '%k' info:)" = "1" ]
  }
  fg_wait_screen "$1" "no main screen" _fg_main_without_pause
}

# The board of a game ID for a first cell, from --describe: sets
# FG_DESCRIBED (the JSON, kept as describe.json) and FG_MINES (the mine
# cells with a space on each side, " 3 17 40 ").
fg_describe() {
  FG_DESCRIBED="$(cd "$FG_RUN" && ./fusegrid --describe "$1" --first-cell "$2")" || fail "--describe $1 failed"
  echo "$FG_DESCRIBED" >"$FG_OUT/describe.json"
  FG_MINES=" $(sed -n 's/.*"mines": \[\([0-9, ]*\)\].*/\1/p' <<<"$FG_DESCRIBED" | tr -d ',') "
}

# Parks the pointer at X, Y and waits until the play area stands still:
# two screenshots in a row (the second kept as NAME) show it alike, so no
# particle, flash or cascade is left to hide a cell's look.
fg_wait_still() {
  local name="$1" px="$2" py="$3"
  fg_move "$px" "$py"
  _fg_parked_at() { fg_pointer_at "$px" "$py" "$1"; }
  fg_wait_screen "${name}_before" "the picture did not settle" _fg_parked_at
  _fg_still() {
    if _fg_parked_at "$1" && ! fg_region_changed "${name}_before" "$1" 710x584+89+16; then return 0; fi
    cp "$FG_OUT/$1.png" "$FG_OUT/${name}_before.png"
    return 1
  }
  fg_wait_screen "$name" "the picture did not come to rest" _fg_still
}

# Clears a board whose mines are known: rounds of clicks on every safe cell
# that still looks covered on a settled screenshot (the pointer parked at
# PARK_X, PARK_Y), until a round finds none (three rounds at most). Reads
# the cell centres ("x y" per line) from $FG_WORK/centres and the looks of
# the covered board (fg_cell_looks) from $FG_WORK/covered; MINES lists the
# mine cells with a space on each side (" 3 17 40 "). Screenshots are
# named PREFIX1, PREFIX2, ...
fg_clear_safe_cells() {
  local prefix="$1" park_x="$2" park_y="$3" mines="$4" round n i x y
  local -a centres covered
  mapfile -t centres <"$FG_WORK/centres"
  for round in 1 2 3; do
    fg_wait_still "$prefix$round" "$park_x" "$park_y"
    fg_cell_looks "$prefix$round" "$FG_WORK/centres" >"$FG_WORK/looks"
    mapfile -t covered < <(paste -d'|' "$FG_WORK/covered" "$FG_WORK/looks" | awk -F'|' '$1 == $2 { print NR - 1 }')
    n=0
    for i in "${covered[@]}"; do
      [[ "$mines" == *" $i "* ]] && continue
      read -r x y <<<"${centres[$i]}"
      fg_click "$x" "$y"
      n=$((n + 1))
    done
    echo "$prefix$round: $n safe cells clicked"
    [ "$n" = "0" ] && return 0
  done
  fail "safe cells still covered after 3 rounds"
}

# A new game as a new player makes it, from the main screen of screenshot
# REF with the pointer parked at PARK_X, PARK_Y: F1, Enter in the board
# chooser (the style in play, its first pattern), Enter in the mode dialog
# (Classic at Beginner). Returns once the covered board is shown
# (screenshot board_start), with its cell centres in $FG_WORK/centres and
# their covered looks in $FG_WORK/covered.
fg_first_board() {
  local ref="$1" park_x="$2" park_y="$3"
  fg_move "$park_x" "$park_y"
  fg_key F1
  fg_wait_change "$ref" chooser 600x400+100+100 "no board chooser after F1"
  fg_key Return
  fg_wait_change chooser mode_dialog 600x400+100+100 "no mode dialog after Enter in the chooser"
  fg_key Return
  fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"
  [ "$(wc -l <"$FG_WORK/centres")" = "81" ] || fail "expected the 81 cells of the first pattern"
  # Shown: every cell looks like the first one, covered, and the picture
  # is not shaken (the pointer shows where it is).
  _fg_board_shown() {
    fg_pointer_at "$park_x" "$park_y" "$1" || return 1
    fg_region_changed mode_dialog "$1" 700x560+90+20 || return 1
    [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]
  }
  fg_wait_screen board_start "no covered board after the dialogs" _fg_board_shown
  fg_cell_looks board_start "$FG_WORK/centres" >"$FG_WORK/covered"
}

# Clears the board of fg_first_board without knowing its mines: every cell
# is clicked, then, round after round (five at most), the cells that still
# look covered on a screenshot taken with the pointer parked and the
# picture still (round1, round2, ...): mines cost penalty time and play
# goes on.
fg_click_every_cell() {
  local park_x="$1" park_y="$2" round i x y
  local -a cells covered
  mapfile -t cells <"$FG_WORK/centres"
  covered=("${!cells[@]}")
  for round in 1 2 3 4 5; do
    for i in "${covered[@]}"; do
      read -r x y <<<"${cells[$i]}"
      fg_click "$x" "$y"
    done
    fg_wait_still "round$round" "$park_x" "$park_y"
    fg_cell_looks "round$round" "$FG_WORK/centres" >"$FG_WORK/looks"
    mapfile -t covered < <(paste -d'|' "$FG_WORK/covered" "$FG_WORK/looks" | awk -F'|' '$1 == $2 { print NR - 1 }')
    echo "round $round: ${#covered[@]} cells still covered"
    [ "${#covered[@]}" = "0" ] && return 0
  done
  fail "${#covered[@]} cells still covered after 5 rounds: ${covered[*]}"
}
