// Reads a line of text that the game drew in its own font, from a piece of
// a screenshot, as a player reads it off the screen:
//   convert shot.png -crop WxH+X+Y +repage ppm:- | read_text GAME_DIR
// The piece holds the line with its top row at the top of the piece, on a
// plain background: every pixel unlike the top-left one is ink. Each glyph
// of the font (fgridgx.dat, object 30) is drawn into a bitmap and matched
// column by column, the widest glyph that fits first; a run of blank
// columns as wide as a space is a space. Prints the text and a newline;
// exits 1 when some ink matches no glyph.
#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/main_datafile.h"

namespace {

struct Glyph {
  char code;
  std::vector<unsigned> columns;  // a bit a row, row 0 the lowest bit
};

bool read_ppm(FILE* in, int& w, int& h, std::vector<unsigned char>& rgb) {
  int maxval = 0;
  if (std::fscanf(in, "P6 %d %d %d", &w, &h, &maxval) != 3 || w <= 0 || h <= 0 || maxval != 255) return false;
  std::fgetc(in);  // the one white-space byte before the pixels
  rgb.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  return std::fread(rgb.data(), 1, rgb.size(), in) == rgb.size();
}

std::vector<Glyph> font_glyphs(FONT* font, int rows) {
  std::vector<Glyph> glyphs;
  for (int c = 33; c <= 126; c++) {
    const char text[2] = {static_cast<char>(c), 0};
    const int w = text_length(font, text);
    BITMAP* bmp = create_bitmap_ex(8, w, rows);
    clear_to_color(bmp, 0);
    textout_ex(bmp, font, text, 0, 0, 1, -1);
    Glyph g{static_cast<char>(c), {}};
    for (int x = 0; x < w; x++) {
      unsigned bits = 0;
      for (int y = 0; y < rows; y++)
        if (getpixel(bmp, x, y) != 0) bits |= 1u << y;
      g.columns.push_back(bits);
    }
    destroy_bitmap(bmp);
    glyphs.push_back(g);
  }
  return glyphs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: convert shot.png -crop WxH+X+Y +repage ppm:- | %s GAME_DIR\n", argv[0]);
    return 2;
  }
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0 || chdir(argv[1]) != 0) return 2;
  set_color_depth(8);
  DATAFILE* data = load_datafile("fgridgx.dat");
  if (!data) {
    std::fprintf(stderr, "read_text: cannot load fgridgx.dat\n");
    return 2;
  }
  FONT* font = static_cast<FONT*>(data[OBJ_FONT].dat);
  const int rows = text_height(font);
  const int space = text_length(font, " ");

  int w = 0, h = 0;
  std::vector<unsigned char> rgb;
  if (!read_ppm(stdin, w, h, rgb)) {
    std::fprintf(stderr, "read_text: no binary PPM on standard input\n");
    return 2;
  }
  std::vector<unsigned> columns(static_cast<size_t>(w), 0);
  for (int x = 0; x < w; x++)
    for (int y = 0; y < h && y < rows; y++) {
      const unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      if (p[0] != rgb[0] || p[1] != rgb[1] || p[2] != rgb[2]) columns[static_cast<size_t>(x)] |= 1u << y;
    }

  const std::vector<Glyph> glyphs = font_glyphs(font, rows);
  std::string text;
  int x = 0;
  int blank = 0;  // blank columns before x since the last glyph ended
  while (x < w) {
    while (x < w && columns[static_cast<size_t>(x)] == 0) {
      x++;
      blank++;
    }
    if (x == w) break;  // nothing but background to the end
    // A glyph may begin with blank columns of its own: it starts that many
    // columns before the ink.
    const Glyph* best = nullptr;
    int best_lead = 0;
    for (const Glyph& g : glyphs) {
      const int gw = static_cast<int>(g.columns.size());
      int lead = 0;
      while (lead < gw && g.columns[static_cast<size_t>(lead)] == 0) lead++;
      if (lead == gw || lead > blank) continue;
      if (best && gw - lead <= static_cast<int>(best->columns.size()) - best_lead) continue;
      bool fits = true;
      // The glyph's blank right-hand columns may lie past the piece's edge.
      for (int i = lead; i < gw && fits; i++) {
        const int at = x - lead + i;
        fits = at < w ? columns[static_cast<size_t>(at)] == g.columns[static_cast<size_t>(i)]
                      : g.columns[static_cast<size_t>(i)] == 0;
      }
      if (fits) {
        best = &g;
        best_lead = lead;
      }
    }
    if (!best) {
      std::printf("%s?\n", text.c_str());
      std::fprintf(stderr, "read_text: no glyph fits the ink at column %d\n", x);
      return 1;
    }
    if (!text.empty() && blank - best_lead >= space) text += ' ';
    text += best->code;
    x += static_cast<int>(best->columns.size()) - best_lead;
    blank = 0;
  }
  std::printf("%s\n", text.c_str());
  unload_datafile(data);
  return 0;
}
