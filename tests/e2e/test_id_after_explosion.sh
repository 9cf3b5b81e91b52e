#!/usr/bin/env bash
# The ID shown is the board in play, whatever the screen did before the
# first click. With the screen shake on (the default), a mine goes off and
# a new board starts while the picture still shakes and the blast still
# glows: F2 in Classic, and the next board of an Endurance run. Each time
# the ID is read off File > Game ID... as a player reads it, --describe
# gives that board's mines for a first cell, and the board is cleared by
# those mines: no mine goes off.
source "$(dirname "$0")/lib.sh"
fg_prepare_game
fg_start_xvfb
fg_settings_windowed 1

park_x=770 park_y=560
dialog_area=520x136+140+236
steady() { fg_pointer_at "$park_x" "$park_y" "$1"; }
fg_cell_centres fgboards.dat 0 >"$FG_WORK/centres"
mapfile -t centres <"$FG_WORK/centres"
[ "${#centres[@]}" = "81" ] || fail "expected the 81 cells of the first pattern"

click_cell() {
  local x y
  read -r x y <<<"${centres[$1]}"
  fg_click "$x" "$y"
}

# Waits for a covered board (every cell looks alike, the pointer parked)
# as screenshot NAME.
wait_covered_board() {
  _covered() {
    steady "$1" || return 1
    [ "$(fg_cell_looks "$1" "$FG_WORK/centres" | sort -u | wc -l)" = "1" ]
  }
  fg_move "$park_x" "$park_y"
  fg_wait_screen "$1" "no covered board" _covered
}

# The clicks that clear a board whose mines are known, after its first
# cell: again and again the lowest covered safe cell, with the cascade of
# every empty cell opened (cells touch when their centres lie within one
# and a half cells of each other). The last click clears the board, so no
# click lands after it.
plan_clicks() {
  awk -v mines="$1" -v first="$2" '
    { x[NR - 1] = $1; y[NR - 1] = $2; n = NR }
    END {
      pitch = 1e9
      for (i = 1; i < n; i++) if (x[i] != x[0] && (x[i] - x[0]) ^ 2 < pitch ^ 2) pitch = x[i] - x[0]
      if (pitch < 0) pitch = -pitch
      split(mines, m, " "); for (k in m) mine[m[k]] = 1
      for (i = 0; i < n; i++) for (j = 0; j < n; j++)
        if (i != j && (x[i] - x[j]) ^ 2 <= (1.5 * pitch) ^ 2 && (y[i] - y[j]) ^ 2 <= (1.5 * pitch) ^ 2) {
          nb[i, ++count[i]] = j
          if (mine[j]) clue[i]++
        }
      open_cell(first)
      for (;;) {
        next_cell = -1
        for (i = 0; i < n && next_cell < 0; i++) if (!mine[i] && !opened[i]) next_cell = i
        if (next_cell < 0) break
        print next_cell
        open_cell(next_cell)
      }
    }
    function open_cell(c,   k) {
      if (opened[c] || mine[c]) return
      opened[c] = 1
      if (clue[c] == 0) for (k = 1; k <= count[c]; k++) open_cell(nb[c, k])
    }' "$FG_WORK/centres"
}

click_plan() {
  local c
  for c in $(plan_clicks "$1" "$2"); do click_cell "$c"; done
}

# File > Game ID...: the line under "This board:", read off the screen;
# Esc closes the dialog. Sets SHOWN_ID.
read_shown_id() {
  local name="$1"
  fg_move "$park_x" "$park_y"
  fg_wait_screen "${name}_before" "the picture did not settle" steady
  fg_click 60 8
  fg_wait_change "${name}_before" "${name}_menu" 200x240+0+16 "the File menu did not open"
  fg_click 60 232
  fg_wait_change "${name}_menu" "$name" "$dialog_area" "no Game ID dialog"
  SHOWN_ID="$(fg_read_text "$name" 500x8+150+280)" || fail "the ID on the screen could not be read: '$SHOWN_ID'"
  echo "shown: $SHOWN_ID"
  [[ "$SHOWN_ID" == fgboards.dat:0:* ]] || fail "not the ID of the first pattern: '$SHOWN_ID'"
  fg_key Escape
  fg_wait_change "$name" "${name}_closed" "$dialog_area" "the Game ID dialog did not close"
}

# A mine of a described board that the first click leaves covered.
a_mine() { awk '{ print $1 }' <<<"$1"; }

# --- Classic: a mine goes off, F2, and the new board by its shown ID.
id_a="fgboards.dat:0:0:0:20261211"
first=40
fg_describe "$id_a" "$first"
mines_a="$FG_MINES"
fg_start_game -- --game "$id_a"
wid="$(fg_wait_window)"
fg_pass_opening
wait_covered_board board_a
click_cell "$first"
click_cell "$(a_mine "$mines_a")"
# The game waits out F2's press without drawing frames: a tap.
xdotool keydown F2 sleep 0.3 keyup F2
wait_covered_board board_b
read_shown_id id_b
fg_describe "$SHOWN_ID" "$first"
click_cell "$first"
click_plan "$FG_MINES" "$first"
# Won: the first win in this player's folder makes a high score. Esc
# enters it, Enter leaves the table, and the main screen shows the board's
# readouts again.
fg_move "$park_x" "$park_y"
won() { [ "$(fg_read_text "$1" 380x8+210+234 2>/dev/null)" = "You have made a high score!" ]; }
fg_wait_screen classic_won "the board of the shown ID was not won" won
fg_key Escape
fg_wait_change classic_won table_page 500x140+150+233 "no table after the name"
fg_key Return
back() { steady "$1" && fg_region_changed table_page "$1" 500x140+150+233; }
fg_wait_screen classic_back "no main screen after the table" back
# The mines-hit readout still shows what it showed on the covered board.
fg_region_changed id_b_closed classic_back 60x22+20+86 && fail "a mine went off on the board of the shown ID"
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"

# --- Endurance: a mine goes off, the board is cleared, and the next board
# of the run, started while the picture still shakes, by its shown ID.
id_e="fgboards.dat:0:5:0:4000000001"
fg_describe "$id_e" "$first"
fg_start_game -- --game "$id_e"
wid="$(fg_wait_window)"
fg_pass_opening
wait_covered_board board_e
click_cell "$first"
click_cell "$(a_mine "$FG_MINES")"
click_plan "$FG_MINES" "$first"
wait_covered_board next_board
read_shown_id id_next
fg_describe "$SHOWN_ID" "$first"
click_cell "$first"
click_plan "$FG_MINES" "$first"
# Cleared: the run goes on to a third board. Mines hit and damage (the
# fifth and sixth readouts) are the run's: one mine, from the first board.
wait_covered_board third_board
fg_region_changed id_next_closed third_board 60x22+20+150 && fail "a mine went off on the next board"
fg_region_changed id_next_closed third_board 60x22+20+182 && fail "damage was taken on the next board"
"$FG_WM_CLOSE" "$wid"
fg_wait_exit
[ "$FG_RC" = "0" ] || fail "exit code $FG_RC"
echo "PASS"
