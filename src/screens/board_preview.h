// The board chooser's preview of the highlighted pattern: its board picture
// scaled down into a box, its cell count and its mine counts at the four
// skill levels, in a panel of its own right of the chooser's dialog.
#pragma once

#include <allegro.h>

enum {
  PREVIEW_PANEL_X1 = 540,  // the panel: title frame and body frame
  PREVIEW_PANEL_X2 = 779,
  PREVIEW_TITLE_Y1 = 152,
  PREVIEW_TITLE_Y2 = 167,
  PREVIEW_BODY_Y1 = 168,
  PREVIEW_BODY_Y2 = 447,
  PREVIEW_PICTURE_X1 = 548,  // the picture's inset box
  PREVIEW_PICTURE_Y1 = 176,
  PREVIEW_PICTURE_X2 = 771,
  PREVIEW_PICTURE_Y2 = 355,
  // Inside the box's edges the picture fits this area, centred, and keeps
  // its proportions; it is never enlarged.
  PREVIEW_PICTURE_W = PREVIEW_PICTURE_X2 - PREVIEW_PICTURE_X1 - 1,
  PREVIEW_PICTURE_H = PREVIEW_PICTURE_Y2 - PREVIEW_PICTURE_Y1 - 1,
  PREVIEW_FIGURES_X1 = 548,  // the counts' inset box
  PREVIEW_FIGURES_Y1 = 372,
  PREVIEW_FIGURES_X2 = 771,
  PREVIEW_FIGURES_Y2 = 439,
  PREVIEW_FIGURE_ROWS = 5,   // cells, then the mines of each skill level
  PREVIEW_FIGURE_TOP = 378,  // the first row's text
  PREVIEW_FIGURE_PITCH = 12
};

// The labels of the counts' rows.
extern const char* const PREVIEW_FIGURE_LABELS[PREVIEW_FIGURE_ROWS];

// What is shown of one pattern. An empty preview (no picture, no figures)
// shows its boxes empty.
struct BoardPreview {
  BITMAP* picture = nullptr;  // the scaled board picture, 8-bit, or nullptr
  bool has_figures = false;
  int figures[PREVIEW_FIGURE_ROWS] = {};  // cells, then mines by skill level
};

// The picture's size once fitted into the preview box.
void preview_fitted_size(int w, int h, int* fitted_w, int* fitted_h);

// Makes the preview of pattern `pattern` of a loaded style datafile; the
// previous preview is let go. A datafile that is missing, or whose layout,
// pattern record or board picture cannot be read safely, gives an empty
// preview.
void board_preview_set(BoardPreview* preview, const DATAFILE* style, int pattern);
void board_preview_clear(BoardPreview* preview);

// The panel's frames, caption and empty boxes: a static part of the dialog.
void board_preview_draw_frame(BITMAP* bmp);
// The picture and the counts, inside the boxes of board_preview_draw_frame.
void board_preview_draw(const BoardPreview* preview, BITMAP* bmp);
