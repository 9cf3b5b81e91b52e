// Drawing the board and the status panel: one cell in any of its states,
// the whole board over its picture, the badges of the status panel and,
// every frame, the LED readouts inside them.
#pragma once

#include <allegro.h>

#include <cstdint>

#include "rules/board_state.h"

// One readout slot of the status panel: time slots read seconds, the
// others a signed counter. Set once at start-up by init_status_slots.
struct StatusSlot {
  const float* seconds;   // time slots (0, 1, 10)
  const int32_t* value;   // every other slot
};
extern StatusSlot status_slots[STATUS_SLOTS];

// The main datafile badge drawn behind each slot's readout.
extern const int STATUS_BADGES[STATUS_SLOTS];

enum ReadoutFormat { READOUT_TIME, READOUT_FIVE, READOUT_THREE };
ReadoutFormat readout_format(int slot);

// Points the twelve slots at their GameSession counters; slots 0 and 2
// at values that stay 0.
void init_status_slots();

// Draws one cell onto target; pressed 1 shows a HIDDEN or QUESTION cell
// on its revealed picture. Pictures the style or the main datafile
// lacks (no style loaded, a clue above 64) are left out.
void draw_cell(const Cell& cell, BITMAP* target, int pressed);
void draw_cell(int index, BITMAP* target, int pressed);
// The board picture of the current pattern, then every cell, pressed 0.
void redraw_board(BITMAP* target);
// Draws a cell that changed into the SceneBuffer: its whole area (its
// pictures and glyph box) as a full redraw of the board draws it, so no
// trace of its old look stays around it.
void redraw_changed_cell(int index);
// Set when the SceneBuffer no longer shows the board (a dialog blanked the
// play area): the main screen redraws the whole board when it resumes.
extern int redraw_requested;

// Clears the SceneBuffer to the background and the BackBuffer to 0, sets
// the current palette and draws the board (when it has cells).
void rebuild_scene();
// Badges of the shown slots, separator, filler and bottom edge, onto the
// SceneBuffer.
void draw_status_panel();
// The digits of every shown slot, onto the BackBuffer.
void draw_status_readouts();

// Pressed-cell feedback on the BackBuffer, for one frame; -1 is no cell.
void press_cell(int index);
void press_cell_and_neighbours(int index);
