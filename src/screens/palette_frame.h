// The background the palette chooser and the palette editor share: a
// title bar, a window below it with a captioned list on the left and the
// preview picture on the right, and the bar between the OK and Cancel
// buttons.
#pragma once

#include <allegro.h>

#include "ui/list_box.h"

// Into the scene buffer.
void draw_palette_dialog_frame(const char* title, const char* list_caption, const ListBox* list);
