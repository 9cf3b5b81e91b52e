#include "screens/board_preview.h"

#include <cstdint>
#include <string>

#include "platform/datafile_check.h"
#include "board/style_file.h"
#include "palette/palette_entries.h"
#include "ui/frames.h"

const char* const PREVIEW_FIGURE_LABELS[PREVIEW_FIGURE_ROWS] = {"Cells", "Beginner", "Intermediate", "Expert",
                                                                "Master"};

namespace {

bool inside(size_t size, uint64_t offset, uint64_t length) { return offset <= size && length <= size - offset; }

// The board picture of a pattern, or nullptr when it is not an 8-bit RLE
// sprite of a board's size at most.
const RLE_SPRITE* pattern_picture(const DATAFILE* style, int n, int pattern) {
  const int index = 3 * n + 1 + pattern;
  if (index >= datafile_object_count(style)) return nullptr;
  const DATAFILE& obj = style[index];
  if (obj.type != DAT_RLE_SPRITE || !obj.dat) return nullptr;
  const RLE_SPRITE* spr = static_cast<const RLE_SPRITE*>(obj.dat);
  if (spr->w < 1 || spr->h < 1 || spr->w > BOARD_AREA_WIDTH || spr->h > BOARD_AREA_HEIGHT || spr->color_depth != 8)
    return nullptr;
  return spr;
}

// The picture over the inset box's background, scaled to fit the box.
BITMAP* scaled_picture(const RLE_SPRITE* spr) {
  BITMAP* full = create_bitmap_ex(8, spr->w, spr->h);
  if (!full) return nullptr;
  clear_to_color(full, COL_MENU_BG);
  draw_rle_sprite(full, const_cast<RLE_SPRITE*>(spr), 0, 0);
  int w = 0, h = 0;
  preview_fitted_size(spr->w, spr->h, &w, &h);
  BITMAP* scaled = create_bitmap_ex(8, w, h);
  if (scaled) stretch_blit(full, scaled, 0, 0, spr->w, spr->h, 0, 0, w, h);
  destroy_bitmap(full);
  return scaled;
}

}  // namespace

void preview_fitted_size(int w, int h, int* fitted_w, int* fitted_h) {
  if (w <= PREVIEW_PICTURE_W && h <= PREVIEW_PICTURE_H) {
    *fitted_w = w;
    *fitted_h = h;
  } else if (w * PREVIEW_PICTURE_H >= h * PREVIEW_PICTURE_W) {  // the width decides
    *fitted_w = PREVIEW_PICTURE_W;
    *fitted_h = h * PREVIEW_PICTURE_W / w;
  } else {
    *fitted_w = w * PREVIEW_PICTURE_H / h;
    *fitted_h = PREVIEW_PICTURE_H;
  }
  if (*fitted_w < 1) *fitted_w = 1;
  if (*fitted_h < 1) *fitted_h = 1;
}

void board_preview_clear(BoardPreview* preview) {
  if (preview->picture) destroy_bitmap(preview->picture);
  *preview = BoardPreview{};
}

void board_preview_set(BoardPreview* preview, const DATAFILE* style, int pattern) {
  board_preview_clear(preview);
  if (!style || pattern < 0) return;
  size_t size = 0;
  const uint8_t* layout = style_layout(style, &size);
  if (!layout || size < STYLE_HEADER_SIZE) return;
  const int n = read_u8(layout, 0x20);
  const int p = read_u8(layout, 0x21);
  if (pattern >= p) return;
  const uint32_t table = read_u32(layout, 0x26);
  const uint64_t entry = static_cast<uint64_t>(table) + 4u * static_cast<uint64_t>(pattern);
  if (!inside(size, entry, 4)) return;
  const uint32_t record = read_u32(layout, static_cast<uint32_t>(entry));
  if (!inside(size, record, PATTERN_RECORD_HEADER)) return;
  const RLE_SPRITE* spr = pattern_picture(style, n, pattern);
  if (!spr) return;

  preview->has_figures = true;
  preview->figures[0] = static_cast<int16_t>(read_u16(layout, record + 0x20));
  for (int skill = 0; skill < 4; skill++)
    preview->figures[1 + skill] =
        static_cast<int16_t>(read_u16(layout, record + 0x22 + 2u * static_cast<uint32_t>(skill)));
  preview->picture = scaled_picture(spr);
}

void board_preview_draw_frame(BITMAP* bmp) {
  draw_frame(bmp, PREVIEW_PANEL_X1, PREVIEW_TITLE_Y1, PREVIEW_PANEL_X2, PREVIEW_TITLE_Y2);
  draw_text_centre(bmp, (PREVIEW_PANEL_X1 + PREVIEW_PANEL_X2 + 1) / 2, PREVIEW_TITLE_Y1 + 4, COL_MENU_FONT,
                   "Pattern Preview");
  draw_frame(bmp, PREVIEW_PANEL_X1, PREVIEW_BODY_Y1, PREVIEW_PANEL_X2, PREVIEW_BODY_Y2);
  draw_inset_box(bmp, PREVIEW_PICTURE_X1, PREVIEW_PICTURE_Y1, PREVIEW_PICTURE_X2, PREVIEW_PICTURE_Y2);
  draw_text(bmp, PREVIEW_FIGURES_X1 + 4, PREVIEW_FIGURES_Y1 - 12, COL_MENU_FONT, "Cells and Mines");
  draw_inset_box(bmp, PREVIEW_FIGURES_X1, PREVIEW_FIGURES_Y1, PREVIEW_FIGURES_X2, PREVIEW_FIGURES_Y2);
}

void board_preview_draw(const BoardPreview* preview, BITMAP* bmp) {
  if (const BITMAP* pic = preview->picture) {
    const int x = PREVIEW_PICTURE_X1 + 1 + (PREVIEW_PICTURE_W - pic->w) / 2;
    const int y = PREVIEW_PICTURE_Y1 + 1 + (PREVIEW_PICTURE_H - pic->h) / 2;
    blit(const_cast<BITMAP*>(pic), bmp, 0, 0, x, y, pic->w, pic->h);
  }
  if (!preview->has_figures) return;
  for (int row = 0; row < PREVIEW_FIGURE_ROWS; row++) {
    const int y = PREVIEW_FIGURE_TOP + PREVIEW_FIGURE_PITCH * row;
    draw_text(bmp, PREVIEW_FIGURES_X1 + 8, y, COL_MENU_FONT, PREVIEW_FIGURE_LABELS[row]);
    draw_text_right(bmp, PREVIEW_FIGURES_X2 - 7, y, COL_MENU_FONT, std::to_string(preview->figures[row]).c_str());
  }
}
