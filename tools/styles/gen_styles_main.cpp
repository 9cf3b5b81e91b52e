// Computes the board styles and writes their style datafiles.
//   fg_gen_styles OUTDIR [PREVIEW_DIR]
// Every pattern is checked first (hit grid, pixels, neighbours, limits, and
// every symbol the game can draw in a cell staying inside that cell, judged
// on the symbols of OUTDIR/fgridgx.dat, which must exist) and nothing is
// written when a check fails. With a preview folder each board is also
// drawn as the game would show it, once with all cells hidden and once in
// play, using the palette and symbols of that datafile.
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/main_datafile.h"
#include "common/preview.h"
#include "styles/style_art.h"
#include "styles/style_geometry.h"
#include "styles/style_symbols.h"
#include "styles/style_writer.h"

using namespace styles;

namespace {

struct Symbols {
  DATAFILE* dat = nullptr;
  PALETTE pal{};
  BITMAP* bitmap(int index) const {
    if (!dat) return nullptr;
    for (int i = 0; i <= index; i++)
      if (dat[i].type == DAT_END) return nullptr;
    return dat[index].type == DAT_BITMAP ? static_cast<BITMAP*>(dat[index].dat) : nullptr;
  }
};

void draw_symbol(BITMAP* target, const Symbols& sym, int index, int x, int y) {
  if (BITMAP* s = sym.bitmap(index)) draw_sprite(target, s, x, y);
}

uint32_t mix(uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352du;
  v ^= v >> 15;
  v *= 0x846ca68bu;
  return v ^ (v >> 16);
}

// Draws one board as the game's board area shows it: hidden only, or a game
// in progress (a revealed region, flags on its edge, two exploded mines).
void preview_board(const StyleDef& st, size_t q, const Symbols& sym, bool in_play, const std::string& path,
                   BITMAP* sheet) {
  const PatternDef& pat = st.patterns[q];
  const int n = static_cast<int>(st.shapes.size());
  std::vector<BITMAP*> hidden, revealed, exploded;
  for (int s = 0; s < n; s++) {
    hidden.push_back(draw_hidden_tile(st.shapes[static_cast<size_t>(s)]));
    revealed.push_back(draw_revealed_tile(st.shapes[static_cast<size_t>(s)]));
    exploded.push_back(draw_exploded_tile(st.shapes[static_cast<size_t>(s)], static_cast<unsigned>(s)));
  }
  BITMAP* area = create_bitmap_ex(8, BOARD_MAX_W, BOARD_MAX_H);
  clear_to_color(area, 88);
  BITMAP* boardpic = draw_board_picture(st, pat);
  const int ox = (BOARD_MAX_W - pat.width) / 2, oy = (BOARD_MAX_H - pat.height) / 2;
  draw_sprite(area, boardpic, ox, oy);

  const auto nb = outline_neighbours(pat.cells);
  const int cells = static_cast<int>(pat.cells.size());
  std::vector<int> mine(static_cast<size_t>(cells), 0);
  for (int k = 0; k < pat.mines[2]; k++) mine[mix(static_cast<uint32_t>(k * 7919 + 17)) % static_cast<uint32_t>(cells)] = 1;
  // Revealed: the safe cells of the left part of the board.
  std::vector<int> open(static_cast<size_t>(cells), 0);
  if (in_play) {
    for (int i = 0; i < cells; i++) {
      double cx, cy;
      outline_centroid(pat.cells[static_cast<size_t>(i)].outline, cx, cy);
      open[static_cast<size_t>(i)] = cx < pat.width * 0.55 + (cy - pat.height / 2) * 0.25;
    }
  }
  int exploded_left = 2, question_left = 1;
  for (int i = 0; i < cells; i++) {
    const CellDef& c = pat.cells[static_cast<size_t>(i)];
    const ShapeDef& s = st.shapes[static_cast<size_t>(c.shape)];
    const int x = ox + 8 * c.bx, y = oy + 8 * c.by;
    int clue = 0;
    for (int j : nb[static_cast<size_t>(i)]) clue += mine[static_cast<size_t>(j)];
    if (open[static_cast<size_t>(i)] && !mine[static_cast<size_t>(i)]) {
      draw_sprite(area, revealed[static_cast<size_t>(c.shape)], x, y);
      if (clue > 0) draw_symbol(area, sym, OBJ_NUMBER_BASE + clue, x + s.symbol_x, y + s.symbol_y);
    } else if (open[static_cast<size_t>(i)] && mine[static_cast<size_t>(i)] && exploded_left > 0) {
      exploded_left--;
      draw_sprite(area, exploded[static_cast<size_t>(c.shape)], x, y);
      draw_symbol(area, sym, OBJ_MINE_LEVEL1, x + s.symbol_x, y + s.symbol_y);
    } else {
      draw_sprite(area, hidden[static_cast<size_t>(c.shape)], x, y);
      if (open[static_cast<size_t>(i)] && mine[static_cast<size_t>(i)]) {
        draw_symbol(area, sym, OBJ_FLAG, x + s.symbol_x, y + s.symbol_y);
      } else if (in_play && question_left > 0 && i % 7 == 3) {
        question_left--;
        draw_symbol(area, sym, OBJ_QUESTION, x + s.symbol_x, y + s.symbol_y);
      }
    }
  }
  save_png(path.c_str(), area, sym.pal);
  if (sheet) {
    const int col = static_cast<int>(q % 4), row = static_cast<int>(q / 4);
    stretch_blit(area, sheet, 0, 0, BOARD_MAX_W, BOARD_MAX_H, col * BOARD_MAX_W / 2, row * BOARD_MAX_H / 2, BOARD_MAX_W / 2,
                 BOARD_MAX_H / 2);
  }
  if (in_play) {
    // The middle of the board, twice enlarged, to judge the details.
    BITMAP* zoom = create_bitmap_ex(8, 640, 480);
    const int cx = ox + pat.width / 2, cy = oy + pat.height / 2;
    stretch_blit(area, zoom, std::max(0, cx - 240), std::max(0, cy - 120), 320, 240, 0, 0, 640, 480);
    save_png((path.substr(0, path.size() - 4) + "-zoom.png").c_str(), zoom, sym.pal);
    destroy_bitmap(zoom);
  }
  destroy_bitmap(boardpic);
  destroy_bitmap(area);
  for (BITMAP* b : hidden) destroy_bitmap(b);
  for (BITMAP* b : revealed) destroy_bitmap(b);
  for (BITMAP* b : exploded) destroy_bitmap(b);
}

// The three pictures of every shape, three times enlarged, three shapes a row.
void preview_shapes(const StyleDef& st, const Symbols& sym, const std::string& path) {
  const int z = 3, pic = 48 * z + 12, per_row = 3;
  const int n = static_cast<int>(st.shapes.size());
  BITMAP* sheet = create_bitmap_ex(8, per_row * 3 * pic + 12, ((n + per_row - 1) / per_row) * pic + 12);
  clear_to_color(sheet, 88);
  for (int s = 0; s < n; s++) {
    const ShapeDef& sh = st.shapes[static_cast<size_t>(s)];
    BITMAP* pics[3] = {draw_hidden_tile(sh), draw_revealed_tile(sh), draw_exploded_tile(sh, static_cast<unsigned>(s))};
    for (int k = 0; k < 3; k++) {
      if (k == 1) draw_symbol(pics[k], sym, OBJ_NUMBER_BASE + 3, sh.symbol_x, sh.symbol_y);
      if (k == 2) draw_symbol(pics[k], sym, OBJ_MINE_LEVEL1, sh.symbol_x, sh.symbol_y);
      const int x = 12 + ((s % per_row) * 3 + k) * pic, y = 12 + (s / per_row) * pic;
      stretch_sprite(sheet, pics[k], x, y, sh.pic_w * z, sh.pic_h * z);
      destroy_bitmap(pics[k]);
    }
  }
  save_png(path.c_str(), sheet, sym.pal);
  destroy_bitmap(sheet);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTDIR [PREVIEW_DIR]\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_color_depth(8);
  const std::string out = argv[1];

  Symbols sym;
  const std::string gx = out + "/fgridgx.dat";
  sym.dat = load_datafile(gx.c_str());
  SymbolPictures pictures;
  const std::string symbols_error = symbols_from_datafile(sym.dat, &pictures);
  if (!symbols_error.empty()) {
    std::fprintf(stderr, "FAILED: %s: %s\n", gx.c_str(), symbols_error.c_str());
    return 1;
  }

  const std::vector<StyleDef> all = build_styles();
  bool ok = true;
  long patterns = 0, cells = 0, pairs = 0, pixels = 0, symbol_cells = 0;
  for (const StyleDef& st : all) {
    std::printf("%-16s %-22s %3zu shapes, %s grids\n", st.file_name.c_str(), st.name.c_str(), st.shapes.size(),
                st.encoding == ENCODE_AREA ? "area" : "corner");
    for (const PatternDef& pat : st.patterns) {
      PatternFigures f;
      std::string err = check_pattern(st, pat, &f);
      if (err.empty()) err = check_symbol_containment(st, pat, pictures, &symbol_cells);
      if (!err.empty()) {
        std::fprintf(stderr, "FAILED: %s\n", err.c_str());
        ok = false;
        continue;
      }
      patterns++;
      cells += f.cells;
      pairs += f.neighbour_pairs;
      pixels += f.opaque_pixels;
      std::printf("  %-22s %4d cells %3dx%3d  neighbours<=%2d  bucket<=%d  pieces %d  mines %d/%d/%d/%d mega %d/%d/%d/%d\n",
                  pat.name.c_str(), f.cells, pat.width, pat.height, f.most_neighbours, f.fullest_bucket, f.components,
                  pat.mines[0], pat.mines[1], pat.mines[2], pat.mines[3], pat.mega[0], pat.mega[1], pat.mega[2], pat.mega[3]);
    }
  }
  if (!ok) return 1;
  std::printf("%zu styles, %ld patterns, %ld cells, %ld neighbour pairs and %ld tile pixels checked\n", all.size(), patterns,
              cells, pairs, pixels);
  std::printf("symbols inside their cells: %ld cells checked with %zu numbers and %zu other symbols each\n", symbol_cells,
              pictures.numbers.size(), pictures.others.size());

  for (const StyleDef& st : all) {
    std::string error;
    if (!write_style_file(st, out + "/" + st.file_name, &error)) {
      std::fprintf(stderr, "FAILED: %s\n", error.c_str());
      return 1;
    }
  }

  if (argc >= 3) {
    const std::string dir = argv[2];
    if (sym.dat[OBJ_DEFAULT_PALETTE].type == DAT_PALETTE) {
      const RGB* p = static_cast<const RGB*>(sym.dat[OBJ_DEFAULT_PALETTE].dat);
      for (int i = 0; i < PAL_SIZE; i++) sym.pal[i] = p[i];
    } else {
      for (int i = 0; i < PAL_SIZE; i++) sym.pal[i].r = sym.pal[i].g = sym.pal[i].b = static_cast<unsigned char>(i / 4);
    }
    for (const StyleDef& st : all) {
      const std::string base = dir + "/" + st.file_name.substr(0, st.file_name.size() - 4);
      preview_shapes(st, sym, base + "-shapes.png");
      // All boards of the style at half size, hidden.
      const int rows = static_cast<int>((st.patterns.size() + 3) / 4);
      BITMAP* sheet = create_bitmap_ex(8, 2 * BOARD_MAX_W, rows * BOARD_MAX_H / 2);
      clear_to_color(sheet, 88);
      for (size_t q = 0; q < st.patterns.size(); q++) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "-%02zu", q);
        preview_board(st, q, sym, false, base + suffix + "-hidden.png", sheet);
        preview_board(st, q, sym, true, base + suffix + "-play.png", nullptr);
      }
      save_png((base + "-boards.png").c_str(), sheet, sym.pal);
      destroy_bitmap(sheet);
    }
  }
  unload_datafile(sym.dat);
  return 0;
}
