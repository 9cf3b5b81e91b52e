// The highlight of a hinted cell: a ring along the cell's outline that
// pulses for a couple of seconds, drawn onto a frame (the BackBuffer)
// every frame while it lasts. A safe cell gets a green ring; a mine gets
// a red and orange ring over a red checker tint of its face.
#pragma once

#include <allegro.h>

extern const float HINT_HIGHLIGHT_SECONDS;  // 2.0

// Starts the highlight of a cell of the board in play, replacing any
// running one; mine tells which look it takes. -1 or a cell outside the
// board stops it.
void start_hint_highlight(int cell, bool mine);
void stop_hint_highlight();

// Advances the highlight by the frame's seconds. It ends after
// HINT_HIGHLIGHT_SECONDS, when its cell is uncovered or when another board
// has been loaded.
void advance_hint_highlight(float seconds);

// The cell highlighted, or -1 when none is.
int hint_highlight_cell();

// The running highlight onto target: only pixels of the cell's tile.
void draw_hint_highlight(BITMAP* target);
