// Draws every picture, the palettes and the font of the game and writes
// the main datafile "fgridgx.dat" and the window icon source.
//   fg_gen_gfx OUTPUT.dat ICON.c [PREVIEW_DIR]
// With a preview folder, every picture is also written there as a PNG.
#include <cstdio>
#include <string>

#include "common/preview.h"
#include "gfx/gfx.h"
#include "platform/safe_file.h"

void gfx_set_bitmap(GfxSet& set, int index, BITMAP* bmp) {
  GfxObject& o = set.obj[index];
  if (o.bmp) destroy_bitmap(o.bmp);
  o.kind = GfxObject::BITMAP_OBJ;
  o.bmp = bmp;
}

void gfx_set_rle(GfxSet& set, int index, BITMAP* bmp) {
  gfx_set_bitmap(set, index, bmp);
  set.obj[index].kind = GfxObject::RLE_OBJ;
}

void gfx_set_palette(GfxSet& set, int index, const PALETTE pal) {
  GfxObject& o = set.obj[index];
  o.kind = GfxObject::PALETTE_OBJ;
  for (int i = 0; i < PAL_SIZE; i++) o.pal[i] = pal[i];
}

BITMAP* gfx_new_bitmap(int w, int h) {
  BITMAP* b = create_bitmap_ex(8, w, h);
  clear_to_color(b, 0);
  return b;
}

void stamp(BITMAP* b, int x0, int y0, const char* const* rows, int n, const Ink* inks, int ink_count) {
  for (int y = 0; y < n; y++)
    for (int x = 0; rows[y][x]; x++)
      for (int k = 0; k < ink_count; k++)
        if (rows[y][x] == inks[k].ch) putpixel(b, x0 + x, y0 + y, inks[k].colour);
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.dat ICON.c [PREVIEW_DIR]\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_color_depth(8);

  static GfxSet set;
  build_default_palette(set);
  build_font(set);
  build_ui_pieces(set);
  build_board_pieces(set);
  build_status_pieces(set);
  build_title_pieces(set);

  DatafileWriter dat;
  for (int i = 0; i < MAIN_OBJECT_COUNT; i++) {
    GfxObject& o = set.obj[i];
    char name[16];
    std::snprintf(name, sizeof name, "O%03d", i);
    switch (o.kind) {
      case GfxObject::BITMAP_OBJ: dat.add_bitmap(o.bmp, name); break;
      case GfxObject::RLE_OBJ: dat.add_rle_sprite(o.bmp, name); break;
      case GfxObject::PALETTE_OBJ: dat.add_palette(o.pal, name); break;
      case GfxObject::FONT_OBJ: dat.add_mono_font(o.first_char, o.glyphs, name); break;
      case GfxObject::EMPTY: dat.add_data({0}, name); break;  // an index the game does not use
    }
  }
  if (!dat.write(argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  const std::string icon = build_window_icon_source(set);
  if (write_file_whole(argv[2], icon.data(), icon.size()) != WRITE_DONE) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc > 3) {
    for (int i = 0; i < MAIN_OBJECT_COUNT; i++) {
      GfxObject& o = set.obj[i];
      if (!o.bmp) continue;
      char path[512];
      std::snprintf(path, sizeof path, "%s/obj%03d.png", argv[3], i);
      const RGB* pal = set.pal;
      if (i == OBJ_LOGO) pal = set.obj[OBJ_LOGO_PALETTE].pal;
      if (i == OBJ_PRESS_KEY_PICTURE) pal = set.obj[OBJ_PRESS_KEY_PALETTE].pal;
      save_png(path, o.bmp, pal);
    }
  }
  return 0;
}
