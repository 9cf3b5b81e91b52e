#include "screens/palette_frame.h"

#include "platform/lifecycle.h"
#include "platform/main_datafile.h"
#include "palette/palette_entries.h"
#include "ui/frames.h"

void draw_palette_dialog_frame(const char* title, const char* list_caption, const ListBox* list) {
  draw_frame(SceneBuffer, 112, 120, 687, 135);
  draw_frame(SceneBuffer, 112, 136, 687, 463);
  draw_frame(SceneBuffer, 184, 464, 615, 479);
  draw_text_centre(SceneBuffer, 400, 124, COL_MENU_FONT, title);
  draw_text(SceneBuffer, 124, 140, COL_MENU_FONT, list_caption);
  list_box_draw_frame(list, SceneBuffer);
  draw_rle_sprite(SceneBuffer, static_cast<RLE_SPRITE*>(MainDatafile[OBJ_PALETTE_PREVIEW].dat), 376, 152);
}
