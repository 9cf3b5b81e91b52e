// The pictures of the user interface: window frame pieces, scroll bar
// arrows, check marks, slider labels, the palette preview, the About page,
// the graphics switches, the game mode and skill level boxes, and the
// picture beside the chain reaction speeds.
//
// Every picture keeps to the palette indexes of its role: the toolkit
// colours 6..10 and 88..92 for frames, buttons and text; where a picture
// shows a piece of the game (a tile, a number, a mine, a flag, an LED)
// that piece is drawn in the indexes the game itself uses for it, so that
// recolouring the game recolours these pictures too.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/info_page_keys.h"

namespace {

// ---------------------------------------------------------------------------
// Small drawing helpers

void hl(BITMAP* b, int x1, int x2, int y, int c) { hline(b, x1, y, x2, c); }
void vl(BITMAP* b, int x, int y1, int y2, int c) { vline(b, x, y1, y2, c); }

// Draws a picture given as rows of characters; '.' and ' ' are left alone,
// any other character is looked up in `keys` and drawn in the colour at the
// same position of `colours`.
void pattern(BITMAP* b, int x, int y, const std::vector<const char*>& rows, const char* keys,
             const std::vector<int>& colours) {
  for (size_t r = 0; r < rows.size(); r++)
    for (int c = 0; rows[r][c]; c++) {
      const char* k = std::strchr(keys, rows[r][c]);
      if (rows[r][c] != '.' && rows[r][c] != ' ' && k)
        putpixel(b, x + c, y + static_cast<int>(r), colours[static_cast<size_t>(k - keys)]);
    }
}

// A two-pixel bevel: outer ring light/dark, inner ring light2/dark2; the
// dark sides win at the two mixed corners.
void bevel(BITMAP* b, int x1, int y1, int x2, int y2, int light, int light2, int dark2, int dark) {
  hl(b, x1, x2, y1, light);
  vl(b, x1, y1, y2, light);
  hl(b, x1 + 1, x2 - 1, y1 + 1, light2);
  vl(b, x1 + 1, y1 + 1, y2 - 1, light2);
  hl(b, x1 + 1, x2 - 1, y2 - 1, dark2);
  vl(b, x2 - 1, y1 + 1, y2 - 1, dark2);
  hl(b, x1, x2, y2, dark);
  vl(b, x2, y1, y2, dark);
}

// A raised window panel like the game's frames: bevel 6/7 .. 9/10, inside 8.
void raised(BITMAP* b, int x1, int y1, int x2, int y2) {
  rectfill(b, x1, y1, x2, y2, COL_WINDOW);
  bevel(b, x1, y1, x2, y2, COL_WINDOW_LIGHT, COL_INSET_LIGHT, COL_INSET_DARK, COL_WINDOW_DARK);
}

// The game's inset box: fill 89, top/left 7, bottom/right 9.
void inset(BITMAP* b, int x1, int y1, int x2, int y2) {
  rectfill(b, x1, y1, x2, y2, COL_MENU_BG);
  hl(b, x1, x2, y2, COL_INSET_DARK);
  vl(b, x2, y1, y2, COL_INSET_DARK);
  hl(b, x1, x2, y1, COL_INSET_LIGHT);
  vl(b, x1, y1, y2, COL_INSET_LIGHT);
}

// A selected face: fill 91 with a bright ring of 92 and a dark ring inside it.
void selected_face(BITMAP* b, int x1, int y1, int x2, int y2) {
  rectfill(b, x1, y1, x2, y2, COL_MENU_SELECTED_BG);
  rect(b, x1, y1, x2, y2, COL_MENU_SELECTED_FONT);
  rect(b, x1 + 1, y1 + 1, x2 - 1, y2 - 1, COL_WINDOW_DARK);
}

// Bold text: every glyph drawn twice, one pixel apart, and one pixel of
// extra spacing so that neighbouring letters stay apart.
void text_bold(BITMAP* b, int x, int y, const char* s, int c) {
  for (const char* p = s; *p; p++) {
    char one[2] = {*p, 0};
    gfx_text(b, x, y, one, c);
    gfx_text(b, x + 1, y, one, c);
    x += gfx_text_width(one) + 1;
  }
}
int bold_width(const char* s) { return gfx_text_width(s) + static_cast<int>(std::strlen(s)); }
void text_bold_centre(BITMAP* b, int cx, int y, const char* s, int c) { text_bold(b, cx - bold_width(s) / 2, y, s, c); }

// Text at a whole-number scale, with the game font.
void text_scaled(BITMAP* b, int x, int y, const char* s, int c, int scale) {
  BITMAP* t = gfx_new_bitmap(gfx_text_width(s) + 1, 8);
  gfx_text(t, 0, 0, s, 1);
  for (int ty = 0; ty < t->h; ty++)
    for (int tx = 0; tx < t->w; tx++)
      if (getpixel(t, tx, ty))
        rectfill(b, x + tx * scale, y + ty * scale, x + tx * scale + scale - 1, y + ty * scale + scale - 1, c);
  destroy_bitmap(t);
}

// ---------------------------------------------------------------------------
// Pieces of the game, drawn in the game's own palette roles

// A hidden tile of size s: the minefield keys 1..5.
void tile_hidden(BITMAP* b, int x, int y, int s) {
  rectfill(b, x, y, x + s - 1, y + s - 1, COL_MINEFIELD_FACE);
  bevel(b, x, y, x + s - 1, y + s - 1, COL_MINEFIELD_LIGHT, 2, 4, COL_MINEFIELD_DARK);
}

// A revealed tile: flat, slightly sunken.
void tile_revealed(BITMAP* b, int x, int y, int s) {
  rectfill(b, x, y, x + s - 1, y + s - 1, COL_REVEALED_A);
  hl(b, x, x + s - 1, y, COL_REVEALED_B);
  vl(b, x, y, y + s - 1, COL_REVEALED_B);
}

// An exploded tile: scorched.
void tile_exploded(BITMAP* b, int x, int y, int s) {
  rectfill(b, x, y, x + s - 1, y + s - 1, COL_EXPLODED_A);
  hl(b, x, x + s - 1, y, COL_EXPLODED_B);
  vl(b, x, y, y + s - 1, COL_EXPLODED_B);
  // scorch marks
  const int m[][2] = {{2, 3}, {s - 4, 2}, {3, s - 3}, {s - 3, s - 4}, {1, s / 2}, {s / 2, 1}, {s - 2, s / 2 + 1}};
  for (auto& p : m) putpixel(b, x + p[0], y + p[1], COL_EXPLODED_B);
}

// A clue number in its number colour, bold, centred in a box of size s.
void number(BITMAP* b, int x, int y, int s, int n, int colour = -1) {
  char t[8];
  std::snprintf(t, sizeof t, "%d", n);
  if (colour < 0) colour = COL_NUMBER_FIRST + (n > 16 ? 15 : n - 1);
  int w = bold_width(t) - 1;
  text_bold(b, x + (s - w) / 2, y + (s - 7) / 2, t, colour);
}

// A mine of radius r centred at (cx, cy), shaded from its gradient
// (first = 32, 48 or 64: dark key, body key at +8, highlight key at +15).
void mine(BITMAP* b, int cx, int cy, int r, int first) {
  const int spike = first + 3;
  int len = r + std::max(2, r / 3);
  for (int k = 0; k < 8; k++) {
    double a = k * M_PI / 4;
    int ex = cx + static_cast<int>(std::lround(std::cos(a) * len));
    int ey = cy + static_cast<int>(std::lround(std::sin(a) * len));
    line(b, cx, cy, ex, ey, spike);
    if (r >= 6 && k % 2 == 0) {  // thicker straight spikes on big mines
      if (k == 0 || k == 4)
        line(b, cx, cy + 1, ex, ey + 1, spike);
      else
        line(b, cx + 1, cy, ex + 1, ey, spike);
    }
  }
  for (int dy = -r; dy <= r; dy++)
    for (int dx = -r; dx <= r; dx++) {
      double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
      if (d > r + 0.3) continue;
      // light comes from the upper left
      double l = -(dx + dy) / (r * 1.5);
      int idx = first + 8 + static_cast<int>(std::lround(l * 6.5));
      if (d > r - 0.8) idx -= 3;
      if (idx < first + 1) idx = first + 1;
      if (idx > first + 14) idx = first + 14;
      putpixel(b, cx + dx, cy + dy, idx);
    }
  int h = std::max(1, r / 3);
  int hx = cx - r / 2 + (r > 3 ? 0 : 1), hy = cy - r / 2 + (r > 3 ? 0 : 1);
  rectfill(b, hx, hy, hx + h - 1, hy + h - 1, first + 15);
}

// A flag in a 16 x 16 symbol box at (x, y): cloth to the left of the pole.
void flag(BITMAP* b, int x, int y, int cloth, int light, int pole) {
  // clang-format off
  pattern(b, x, y,
          {"................",
           "................",
           ".......lc#......",
           ".....llcc#......",
           "...llcccc#......",
           ".cccccccc#......",
           "...cccccc#......",
           ".....cccc#......",
           ".......cc#......",
           ".........#......",
           ".........#......",
           ".......#####....",
           ".....#########..",
           "................"},
          "c#l", {cloth, pole, light});
  // clang-format on
}
void regular_flag(BITMAP* b, int x, int y) { flag(b, x, y, COL_FLAG_A, COL_FLAG_A, COL_FLAG_B); }
void multi_flag(BITMAP* b, int x, int y, int level) {
  int f = COL_MULTIFLAG1_FIRST + 3 * (level - 1);
  flag(b, x, y, f, f + 1, f + 2);
  // the level as small notches on the pole's foot
  for (int k = 0; k < level; k++) putpixel(b, x + 10 + 2 * k, y + 10, f + 1);
}

void question(BITMAP* b, int x, int y, int s) { text_bold(b, x + (s - 6) / 2, y + (s - 7) / 2, "?", COL_QUESTION); }

// A seven-segment digit: w x h with segment thickness t; -1 draws all
// segments unlit.
void led_digit(BITMAP* b, int x, int y, int w, int h, int t, int digit, int on, int off) {
  static const char* SEGS[10] = {"abcdef", "bc",     "abged", "abgcd",   "fgbc",
                                 "afgcd",  "afgedc", "abc",   "abcdefg", "abcdfg"};
  const char* lit = digit >= 0 ? SEGS[digit] : "";
  int mid = y + (h - t) / 2;
  auto seg = [&](char s) {
    int c = std::strchr(lit, s) ? on : off;
    switch (s) {
      case 'a':
        rectfill(b, x + t, y, x + w - 1 - t, y + t - 1, c);
        break;
      case 'g':
        rectfill(b, x + t, mid, x + w - 1 - t, mid + t - 1, c);
        break;
      case 'd':
        rectfill(b, x + t, y + h - t, x + w - 1 - t, y + h - 1, c);
        break;
      case 'f':
        rectfill(b, x, y + t, x + t - 1, mid - 1, c);
        break;
      case 'b':
        rectfill(b, x + w - t, y + t, x + w - 1, mid - 1, c);
        break;
      case 'e':
        rectfill(b, x, mid + t, x + t - 1, y + h - 1 - t, c);
        break;
      case 'c':
        rectfill(b, x + w - t, mid + t, x + w - 1, y + h - 1 - t, c);
        break;
    }
  };
  for (char s : std::string("abcdefg")) seg(s);
}

// An LED readout: digits (and ':' for a colon) on a dark status panel well.
void led_readout(BITMAP* b, int x, int y, const char* text, int w, int h, int t, int on, int off) {
  int cx = x;
  for (const char* p = text; *p; p++) {
    if (*p == ':') {
      rectfill(b, cx, y + h / 3 - t / 2, cx + t - 1, y + h / 3 - t / 2 + t - 1, on);
      rectfill(b, cx, y + 2 * h / 3 - t / 2, cx + t - 1, y + 2 * h / 3 - t / 2 + t - 1, on);
      cx += t + 3;
    } else if (*p == ';') {  // an unlit colon
      rectfill(b, cx, y + h / 3 - t / 2, cx + t - 1, y + h / 3 - t / 2 + t - 1, off);
      rectfill(b, cx, y + 2 * h / 3 - t / 2, cx + t - 1, y + 2 * h / 3 - t / 2 + t - 1, off);
      cx += t + 3;
    } else {
      led_digit(b, cx, y, w, h, t, *p == ' ' ? -1 : *p - '0', on, off);
      cx += w + 3;
    }
  }
}
int led_width(const char* text, int w, int t) {
  int n = 0;
  for (const char* p = text; *p; p++) n += (*p == ':' || *p == ';') ? t + 3 : w + 3;
  return n - 3;
}

// The smiley, 13 x 13, at (x, y).
void smiley(BITMAP* b, int x, int y) {
  circlefill(b, x + 6, y + 6, 6, COL_SMILEY_FACE);
  circle(b, x + 6, y + 6, 6, COL_SMILEY_INK);
  putpixel(b, x + 4, y + 4, COL_SMILEY_INK);
  putpixel(b, x + 8, y + 4, COL_SMILEY_INK);
  putpixel(b, x + 4, y + 5, COL_SMILEY_INK);
  putpixel(b, x + 8, y + 5, COL_SMILEY_INK);
  putpixel(b, x + 3, y + 8, COL_SMILEY_INK);
  hl(b, x + 4, x + 8, y + 9, COL_SMILEY_INK);
  putpixel(b, x + 9, y + 8, COL_SMILEY_INK);
}

// The mouse pointer, 8 x 12, outline 95 and fill 111.
void pointer(BITMAP* b, int x, int y) {
  // clang-format off
  pattern(b, x, y,
          {"o.......",
           "oo......",
           "ofo.....",
           "offo....",
           "offfo...",
           "offffo..",
           "offfffo.",
           "offffffo",
           "offfoooo",
           "ofoffo..",
           "oo.offo.",
           "....oo.."},
          "of", {COL_CURSOR_A, COL_CURSOR_B});
  // clang-format on
}

// Explosion sparks around (cx, cy): a ring of particles in the flame ramp.
void sparks(BITMAP* b, int cx, int cy, int r, int seed) {
  unsigned s = static_cast<unsigned>(seed) * 2654435761u + 12345u;
  auto rnd = [&s](int n) {
    s = s * 1103515245u + 12345u;
    return static_cast<int>((s >> 16) % static_cast<unsigned>(n));
  };
  for (int k = 0; k < 26; k++) {
    double a = rnd(360) * M_PI / 180.0;
    double d = r * (0.45 + rnd(60) / 100.0);
    int px = cx + static_cast<int>(std::lround(std::cos(a) * d));
    int py = cy + static_cast<int>(std::lround(std::sin(a) * d));
    int c = COL_EXPLOSION_FIRST + 14 - static_cast<int>((d / r) * 12) + rnd(2);
    if (c < COL_EXPLOSION_FIRST) c = COL_EXPLOSION_FIRST;
    if (c > COL_EXPLOSION_LAST) c = COL_EXPLOSION_LAST;
    putpixel(b, px, py, c);
    if (k % 3 == 0) putpixel(b, px + 1, py, c - 1 < COL_EXPLOSION_FIRST ? c : c - 1);
  }
}

// A flame burst of radius r: jagged rays from white heat at the centre
// to embers at the tips, in the explosion ramp 113..127.
void burst(BITMAP* b, int cx, int cy, int r) {
  const int rays = 16;
  for (int band = 0; band < 5; band++) {
    double scale = 1.0 - band * 0.18;
    int c = COL_EXPLOSION_FIRST + 2 + band * 3;
    std::vector<int> pts;
    for (int k = 0; k < rays * 2; k++) {
      double a = k * M_PI / rays + 0.1;
      double d = (k % 2 == 0 ? r * (0.8 + 0.2 * ((k * 7) % 5) / 4.0) : r * 0.45) * scale;
      pts.push_back(cx + static_cast<int>(std::lround(std::cos(a) * d)));
      pts.push_back(cy + static_cast<int>(std::lround(std::sin(a) * d)));
    }
    polygon(b, rays * 2, pts.data(), c > COL_EXPLOSION_LAST ? COL_EXPLOSION_LAST : c);
  }
}

// ---------------------------------------------------------------------------
// A small board of 16-pixel tiles described by characters:
//   H hidden, . revealed, 1..9 and J..P (10..16) numbers, F flag,
//   a b c multi-flags of level 1..3, ? mark, m n o revealed mines of level
//   1..3, X exploded mine, S a number 2 in its brightest flash shade,
//   ' ' nothing.
void mini_board(BITMAP* b, int x, int y, const std::vector<const char*>& rows, int step = 17) {
  const int s = 16;
  for (size_t r = 0; r < rows.size(); r++)
    for (int c = 0; rows[r][c]; c++) {
      int tx = x + c * step, ty = y + static_cast<int>(r) * step;
      char ch = rows[r][c];
      if (ch == ' ') continue;
      if (ch == 'H' || ch == 'F' || ch == 'a' || ch == 'b' || ch == 'c' || ch == '?')
        tile_hidden(b, tx, ty, s);
      else if (ch == 'X')
        tile_exploded(b, tx, ty, s);
      else
        tile_revealed(b, tx, ty, s);
      if (ch >= '1' && ch <= '9') number(b, tx, ty, s, ch - '0');
      if (ch >= 'J' && ch <= 'P') number(b, tx, ty, s, ch - 'J' + 10);
      if (ch == 'S') number(b, tx, ty, s, 2, COL_SHADES_FIRST + 4);
      if (ch == 'F') regular_flag(b, tx, ty + 1);
      if (ch >= 'a' && ch <= 'c') multi_flag(b, tx, ty + 1, ch - 'a' + 1);
      if (ch == '?') question(b, tx, ty, s);
      if (ch == 'm' || ch == 'X') mine(b, tx + 8, ty + 8, 3, COL_MINE1_FIRST);
      if (ch == 'n') mine(b, tx + 8, ty + 8, 3, COL_MINE2_FIRST);
      if (ch == 'o') mine(b, tx + 8, ty + 8, 3, COL_MINE3_FIRST);
    }
}

// ---------------------------------------------------------------------------
// 31..38: window frame pieces

void build_frame_pieces(GfxSet& set) {
  // Draw one small frame and cut the pieces from it.
  BITMAP* ref = gfx_new_bitmap(6, 6);
  raised(ref, 0, 0, 5, 5);
  auto cut = [&](int index, int x, int y, int w, int h) {
    BITMAP* p = gfx_new_bitmap(w, h);
    blit(ref, p, x, y, 0, 0, w, h);
    gfx_set_bitmap(set, index, p);
  };
  cut(OBJ_FRAME_TOP_LEFT, 0, 0, 2, 2);
  cut(OBJ_FRAME_TOP_RIGHT, 4, 0, 2, 2);
  cut(OBJ_FRAME_BOTTOM_LEFT, 0, 4, 2, 2);
  cut(OBJ_FRAME_BOTTOM_RIGHT, 4, 4, 2, 2);
  cut(OBJ_FRAME_TOP, 2, 0, 1, 2);
  cut(OBJ_FRAME_BOTTOM, 2, 4, 1, 2);
  cut(OBJ_FRAME_LEFT, 0, 2, 2, 1);
  cut(OBJ_FRAME_RIGHT, 4, 2, 2, 1);
  destroy_bitmap(ref);
}

// ---------------------------------------------------------------------------
// 0..7: scroll bar arrows

// dir: 0 up, 1 down, 2 left, 3 right.
void arrow_shape(BITMAP* b, int cx, int cy, int dir, int c) {
  for (int k = 0; k < 4; k++) {  // 4 rows, 1, 3, 5, 7 wide
    switch (dir) {
      case 0:
        hl(b, cx - k, cx + k, cy - 2 + k, c);
        break;
      case 1:
        hl(b, cx - k, cx + k, cy + 1 - k, c);
        break;
      case 2:
        vl(b, cx - 2 + k, cy - k, cy + k, c);
        break;
      case 3:
        vl(b, cx + 1 - k, cy - k, cy + k, c);
        break;
    }
  }
}

BITMAP* arrow_button(int dir, bool pressed) {
  BITMAP* b = gfx_new_bitmap(16, 16);
  if (!pressed) {
    raised(b, 0, 0, 15, 15);
    arrow_shape(b, 7, 7, dir, COL_MENU_FONT);
  } else {
    // pushed in: the flat pressed fill, a dark rim on the upper left
    rectfill(b, 0, 0, 15, 15, COL_MENU_BG);
    hl(b, 0, 15, 0, COL_WINDOW_DARK);
    vl(b, 0, 0, 15, COL_WINDOW_DARK);
    hl(b, 1, 15, 15, COL_INSET_DARK);
    vl(b, 15, 1, 15, COL_INSET_DARK);
    arrow_shape(b, 8, 8, dir, COL_MENU_FONT);
  }
  return b;
}

void build_arrows(GfxSet& set) {
  gfx_set_bitmap(set, OBJ_SCROLL_UP, arrow_button(0, false));
  gfx_set_bitmap(set, OBJ_SCROLL_UP_PRESSED, arrow_button(0, true));
  gfx_set_bitmap(set, OBJ_SCROLL_DOWN, arrow_button(1, false));
  gfx_set_bitmap(set, OBJ_SCROLL_DOWN_PRESSED, arrow_button(1, true));
  gfx_set_bitmap(set, OBJ_SCROLL_LEFT, arrow_button(2, false));
  gfx_set_bitmap(set, OBJ_SCROLL_LEFT_PRESSED, arrow_button(2, true));
  gfx_set_bitmap(set, OBJ_SCROLL_RIGHT, arrow_button(3, false));
  gfx_set_bitmap(set, OBJ_SCROLL_RIGHT_PRESSED, arrow_button(3, true));
}

// ---------------------------------------------------------------------------
// 22, 23: check marks (drawn as characters, so one colour)

void build_check_marks(GfxSet& set) {
  // clang-format off
  const std::vector<const char*> box = {"##########",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "#........#",
                                        "##########"};
  // clang-format on
  BITMAP* off = gfx_new_bitmap(10, 10);
  pattern(off, 0, 0, box, "#", {COL_MENU_FONT});
  gfx_set_bitmap(set, OBJ_CHECK_OFF, off);

  BITMAP* on = gfx_new_bitmap(10, 10);
  pattern(on, 0, 0, box, "#", {COL_MENU_FONT});
  // clang-format off
  pattern(on, 0, 0,
          {"..........",
           "..........",
           ".......#..",
           "......##..",
           "..#..##...",
           "..####....",
           "...##.....",
           "....#.....",
           "..........",
           ".........."},
          "#", {COL_MENU_FONT});
  // clang-format on
  gfx_set_bitmap(set, OBJ_CHECK_ON, on);
}

// ---------------------------------------------------------------------------
// 25..27: slider labels B, G, R

void build_slider_labels(GfxSet& set) {
  // clang-format off
  static const std::vector<const char*> letters[3] = {
      {"######.",
       "##...##",
       "##...##",
       "##..##.",
       "######.",
       "##...##",
       "##...##",
       "##...##",
       "######."},
      {".#####.",
       "##...##",
       "##.....",
       "##.....",
       "##.####",
       "##...##",
       "##...##",
       "##...##",
       ".#####."},
      {"######.",
       "##...##",
       "##...##",
       "##...##",
       "######.",
       "##.##..",
       "##..##.",
       "##...##",
       "##...##"}};
  // clang-format on
  const int index[3] = {OBJ_LABEL_BLUE, OBJ_LABEL_GREEN, OBJ_LABEL_RED};
  for (int k = 0; k < 3; k++) {
    BITMAP* b = gfx_new_bitmap(16, 16);
    inset(b, 0, 0, 15, 15);
    pattern(b, 5, 4, letters[k], "#", {COL_WINDOW_DARK});  // shadow
    pattern(b, 4, 3, letters[k], "#", {COL_MENU_FONT});
    gfx_set_bitmap(set, index[k], b);
  }
}

// ---------------------------------------------------------------------------
// 21: beside the chain reaction speeds: a cascade running along a row

void build_chain_picture(GfxSet& set) {
  BITMAP* b = gfx_new_bitmap(264, 18);
  const int n = 14;
  for (int k = 0; k < n; k++) {
    int x = 1 + k * 19, y = 1;
    if (k < 6) {
      tile_revealed(b, x, y, 16);
    } else if (k == 6) {
      // the tile opening now: half sunk, with a bright rim
      tile_revealed(b, x, y, 16);
      burst(b, x + 8, y + 8, 8);
      rectfill(b, x + 7, y + 7, x + 9, y + 9, COL_EXPLOSION_LAST);
    } else {
      tile_hidden(b, x, y, 16);
    }
    if (k < 6) {  // chevrons showing the direction of the wave
      int cx = x + 6, cy = y + 8;
      for (int d = 0; d < 4; d++) {
        putpixel(b, cx + d, cy - 3 + d, COL_REVEALED_B);
        putpixel(b, cx + d, cy + 3 - d, COL_REVEALED_B);
      }
    }
  }
  gfx_set_bitmap(set, OBJ_CHAIN_SPEED_PICTURE, b);
}

// ---------------------------------------------------------------------------
// 43..52: graphics switches, 96 x 120 each

void switch_illustration(BITMAP* b, int k, int x, int y, int w, int h) {
  int cx = x + w / 2, cy = y + h / 2;
  switch (k) {
    case 0: {  // particle effects: a tile bursting into shards and sparks
      tile_revealed(b, cx - 8, cy - 8, 16);
      number(b, cx - 8, cy - 8, 16, 3);
      // shards of the tile flying out, in the number's flash shades
      const int shards[][3] = {{-20, -12, 0}, {18, -14, 1}, {-24, 6, 2}, {22, 8, 1},   {-10, 17, 3},
                               {12, 18, 2},   {-30, -4, 3}, {30, -2, 3}, {-4, -20, 1}, {6, -21, 0}};
      for (auto& s : shards) {
        int c = COL_SHADES_FIRST + 8 + s[2];
        rectfill(b, cx + s[0], cy + s[1], cx + s[0] + 1, cy + s[1] + 1, c);
      }
      sparks(b, cx, cy, 26, 3);
      break;
    }
    case 1: {  // number animation: a clue flashing from bright to its colour
      int x0 = cx - 28;
      for (int i = 0; i < 3; i++) {
        tile_revealed(b, x0 + i * 20, cy - 8, 16);
        int c = i == 0 ? COL_SHADES_FIRST + 4 : i == 1 ? COL_SHADES_FIRST + 5 : COL_NUMBER_FIRST + 1;
        number(b, x0 + i * 20, cy - 8, 16, 2, c);
      }
      // motion ticks over the first tile
      for (int i = 0; i < 3; i++) {
        putpixel(b, x0 + 3 + 5 * i, cy - 12, COL_SHADES_FIRST + 4);
        putpixel(b, x0 + 3 + 5 * i, cy - 13, COL_SHADES_FIRST + 4);
      }
      // arrows between the steps
      for (int i = 0; i < 2; i++) {
        int ax = x0 + 17 + i * 20;
        putpixel(b, ax + 1, cy + 12, COL_MENU_FONT);
        putpixel(b, ax, cy + 11, COL_MENU_FONT);
        putpixel(b, ax, cy + 13, COL_MENU_FONT);
      }
      break;
    }
    case 2: {  // mine animation: an exploding mine
      burst(b, cx, cy, 26);
      tile_exploded(b, cx - 9, cy - 9, 18);
      mine(b, cx, cy, 5, COL_MINE1_FIRST);
      sparks(b, cx, cy, 28, 11);
      break;
    }
    case 3: {  // screen shake: a small board with shake lines on both sides
      mini_board(b, cx - 17, cy - 17, {"H1", "1F"});
      // ghost edge of the moved board
      for (int i = 0; i < 3; i++) {
        vl(b, cx - 22 - 4 * i, cy - 12 + 2 * i, cy + 12 - 2 * i, COL_MENU_FONT);
        vl(b, cx + 21 + 4 * i, cy - 12 + 2 * i, cy + 12 - 2 * i, COL_MENU_FONT);
      }
      break;
    }
    case 4: {  // blinking clock colon: an LED clock on a status panel well
      const char* t = "12:34";
      int lw = led_width(t, 8, 2);
      rectfill(b, cx - lw / 2 - 4, cy - 12, cx - lw / 2 + lw + 3, cy + 11, COL_STATUS_DARK);
      rect(b, cx - lw / 2 - 5, cy - 13, cx - lw / 2 + lw + 4, cy + 12, COL_STATUS_FACE);
      led_readout(b, cx - lw / 2, cy - 8, t, 8, 17, 2, COL_LED_STD_ON, COL_LED_STD_OFF);
      // blink rays around the colon
      int colon_x = cx - lw / 2 + 2 * (8 + 3);
      putpixel(b, colon_x - 1, cy - 15, COL_MENU_FONT);
      putpixel(b, colon_x + 2, cy - 15, COL_MENU_FONT);
      putpixel(b, colon_x - 1, cy + 14, COL_MENU_FONT);
      putpixel(b, colon_x + 2, cy + 14, COL_MENU_FONT);
      break;
    }
  }
}

// An indicator lamp, 9 x 9, lit or not.
void lamp(BITMAP* b, int x, int y, bool on) {
  circlefill(b, x + 4, y + 4, 4, on ? COL_LED_STD_ON : COL_LED_STD_OFF);
  circle(b, x + 4, y + 4, 4, COL_WINDOW_DARK);
  if (on) {
    putpixel(b, x + 3, y + 3, COL_MENU_SELECTED_FONT);
    putpixel(b, x + 2, y + 3, COL_MENU_SELECTED_FONT);
    putpixel(b, x + 3, y + 2, COL_MENU_SELECTED_FONT);
  }
}

void build_switches(GfxSet& set) {
  const char* names[5] = {"Particle Effects", "Number Animation", "Mine Animation", "Screen Shake", "Blinking Colon"};
  for (int k = 0; k < 5; k++)
    for (int on = 0; on < 2; on++) {
      BITMAP* b = gfx_new_bitmap(96, 120);
      if (on)
        selected_face(b, 0, 0, 95, 119);
      else
        raised(b, 0, 0, 95, 119);
      inset(b, 6, 6, 89, 65);
      set_clip_rect(b, 7, 7, 88, 64);
      switch_illustration(b, k, 7, 7, 82, 58);
      set_clip_rect(b, 0, 0, 95, 119);
      int tc = on ? COL_MENU_SELECTED_FONT : COL_MENU_FONT;
      gfx_text_centre(b, 48, 73, names[k], tc);
      // separator
      hl(b, 12, 83, 87, on ? COL_WINDOW_DARK : COL_INSET_DARK);
      hl(b, 12, 83, 88, on ? COL_MENU_SELECTED_FONT : COL_INSET_LIGHT);
      // indicator: lamp and state
      const char* state = on ? "On" : "Off";
      int tw = bold_width(state);
      int total = 9 + 6 + tw;
      int lx = 48 - total / 2;
      lamp(b, lx, 99, on);
      text_bold(b, lx + 15, 100, state, tc);
      gfx_set_bitmap(set, OBJ_GFX_SWITCH_FIRST + 2 * k + (on ? 0 : 1), b);
    }
}

// ---------------------------------------------------------------------------
// 114..127: game mode boxes, 112 x 64

void no_sign(BITMAP* b, int cx, int cy, int c) {
  circle(b, cx, cy, 9, c);
  circle(b, cx, cy, 8, c);
  for (int d = -6; d <= 6; d++) {
    putpixel(b, cx + d, cy + d, c);
    putpixel(b, cx + d + 1, cy + d, c);
  }
}

void mode_emblem(BITMAP* b, int m, int cx, int cy, int ink) {
  switch (m) {
    case 0:  // Classic: clues around a flagged mine
      mini_board(b, cx - 33, cy - 16, {"HF1.", "111."});
      break;
    case 1:  // Flagless: clues, and flags are not allowed
      mini_board(b, cx - 45, cy - 16, {"HH1.", "111."});
      regular_flag(b, cx + 27, cy - 8);
      no_sign(b, cx + 34, cy, ink);
      break;
    case 2: {  // Backwards: clues count the safe neighbours
      mini_board(b, cx - 42, cy - 16, {"H43", "243"});
      // two opposed arrows: the count turned round
      int ax = cx + 18, ay = cy;
      // clang-format off
      pattern(b, ax, ay - 9,
              {"...........#....",
               "...........##...",
               "##############..",
               "##############..",
               "...........##...",
               "...........#....",
               "................",
               "................",
               "....#...........",
               "...##...........",
               "..##############",
               "..##############",
               "...##...........",
               "....#..........."},
              "#", {ink});
      // clang-format on
      break;
    }
    case 3:  // Multi-Mine: three flag levels and summed clues
      mini_board(b, cx - 33, cy - 16, {"abcH", "3653"});
      break;
    case 4: {  // Moving Mines: a mine on the move
      mini_board(b, cx - 45, cy - 16, {"HHH", "121"});
      int mx = cx + 30, my = cy;
      for (int i = 0; i < 3; i++) hl(b, mx - 22 + 2 * i, mx - 12, my - 4 + 4 * i, ink);
      mine(b, mx, my, 5, COL_MINE1_FIRST);
      break;
    }
    case 5: {  // Endurance: the clock counting down
      const char* t = "30:00";
      int lw = led_width(t, 8, 2);
      int x0 = cx - lw / 2;
      rectfill(b, x0 - 5, cy - 13, x0 + lw + 4, cy + 12, COL_STATUS_DARK);
      rect(b, x0 - 6, cy - 14, x0 + lw + 5, cy + 13, COL_STATUS_FACE);
      led_readout(b, x0, cy - 9, t, 8, 17, 2, COL_LED_STD_ON, COL_LED_STD_OFF);
      break;
    }
    case 6: {  // MegaMine: clues give the distance to the mine
      tile_revealed(b, cx - 45, cy - 12, 24);
      mine(b, cx - 33, cy, 6, COL_MINE1_FIRST);
      mini_board(b, cx - 16, cy - 8, {"123"});
      break;
    }
  }
}

void build_modes(GfxSet& set) {
  const char* names[7] = {"Classic", "Flagless", "Backwards", "Multi-Mine", "Moving Mines", "Endurance", "MegaMine"};
  for (int m = 0; m < 7; m++)
    for (int chosen = 0; chosen < 2; chosen++) {
      BITMAP* b = gfx_new_bitmap(112, 64);
      if (chosen)
        selected_face(b, 0, 0, 111, 63);
      else
        raised(b, 0, 0, 111, 63);
      inset(b, 5, 5, 106, 44);
      set_clip_rect(b, 6, 6, 105, 43);
      mode_emblem(b, m, 56, 25, chosen ? COL_MENU_SELECTED_FONT : COL_MENU_FONT);
      set_clip_rect(b, 0, 0, 111, 63);
      int tc = chosen ? COL_MENU_SELECTED_FONT : COL_MENU_FONT;
      if (chosen)
        text_bold_centre(b, 56, 50, names[m], tc);
      else
        gfx_text_centre(b, 56, 50, names[m], tc);
      gfx_set_bitmap(set, OBJ_MODE_FIRST + 2 * m + (chosen ? 0 : 1), b);
    }
}

// ---------------------------------------------------------------------------
// 199..206: skill level boxes, 112 x 32

void build_skills(GfxSet& set) {
  const char* names[4] = {"Beginner", "Intermediate", "Expert", "Master"};
  for (int s = 0; s < 4; s++)
    for (int chosen = 0; chosen < 2; chosen++) {
      BITMAP* b = gfx_new_bitmap(112, 32);
      if (chosen)
        selected_face(b, 0, 0, 111, 31);
      else
        raised(b, 0, 0, 111, 31);
      int tc = chosen ? COL_MENU_SELECTED_FONT : COL_MENU_FONT;
      if (chosen)
        text_bold_centre(b, 56, 5, names[s], tc);
      else
        gfx_text_centre(b, 56, 5, names[s], tc);
      // one mine per level, empty sockets for the rest
      for (int i = 0; i < 4; i++) {
        int mx = 56 - 21 + 14 * i, my = 22;
        if (i <= s)
          mine(b, mx, my, 3, COL_MINE1_FIRST);
        else
          circle(b, mx, my, 3, chosen ? COL_INSET_LIGHT : COL_INSET_DARK);
      }
      gfx_set_bitmap(set, OBJ_SKILL_FIRST + 2 * s + (chosen ? 0 : 1), b);
    }
}

// ---------------------------------------------------------------------------
// 24: palette preview, a miniature of the game screen (RLE sprite)

void build_palette_preview(GfxSet& set) {
  const int W = 296, H = 264;
  BITMAP* b = gfx_new_bitmap(W, H);
  rectfill(b, 0, 0, W - 1, H - 1, COL_BACKGROUND);

  // Status column on the left, with the LED readouts.
  const int col_w = 46;
  rectfill(b, 0, 12, col_w - 1, H - 1, COL_STATUS_FACE);
  bevel(b, 0, 12, col_w - 1, H - 1, COL_STATUS_LIGHT, 12, 14, COL_STATUS_DARK);
  struct Led {
    const char* text;
    int on, off;
  } leds[5] = {{"1:27", COL_LED_STD_ON, COL_LED_STD_OFF},
               {"040", COL_LED_L1_ON, COL_LED_L1_OFF},
               {"012", COL_LED_L2_ON, COL_LED_L2_OFF},
               {"005", COL_LED_L3_ON, COL_LED_L3_OFF},
               {"003", COL_LED_STD_ON, COL_LED_STD_OFF}};
  for (int i = 0; i < 5; i++) {
    int y = 20 + i * 30;
    int lw = led_width(leds[i].text, 6, 1);
    int x = (col_w - lw) / 2;
    rectfill(b, x - 3, y - 3, x + lw + 2, y + 13, COL_STATUS_DARK);
    hl(b, x - 3, x + lw + 2, y + 14, COL_STATUS_LIGHT);
    led_readout(b, x, y, leds[i].text, 6, 11, 1, leds[i].on, leds[i].off);
    // a badge below each readout
    hl(b, 6, col_w - 7, y + 20, 12);
  }
  // small badges: a flag of each kind and a mine
  regular_flag(b, 4, 186);
  multi_flag(b, 22, 186, 1);
  multi_flag(b, 4, 204, 2);
  multi_flag(b, 22, 204, 3);
  mine(b, 12, 236, 4, COL_MINE2_FIRST);
  mine(b, 31, 236, 4, COL_MINE3_FIRST);

  // Menu bar along the top, the face at its right end.
  rectfill(b, 0, 0, W - 1, 11, COL_WINDOW);
  bevel(b, 0, 0, 40, 11, COL_WINDOW_LIGHT, COL_INSET_LIGHT, COL_INSET_DARK, COL_WINDOW_DARK);
  rectfill(b, 41, 0, 90, 11, COL_MENU_BG);  // the held "Options" button
  bevel(b, 91, 0, W - 17, 11, COL_WINDOW_LIGHT, COL_INSET_LIGHT, COL_INSET_DARK, COL_WINDOW_DARK);
  gfx_text(b, 12, 2, "File", COL_MENU_FONT);
  gfx_text(b, 50, 3, "Options", COL_MENU_FONT);
  rectfill(b, W - 16, 0, W - 1, 11, COL_WINDOW);
  smiley(b, W - 14, -1);

  // The board: a grid of tiles with a bit of everything.
  // The upper right is a cluster of multi-level mines with the high clues
  // 9..16 (J..P); the lower left a plain field with the clues 1..8, an
  // exploded mine and a clue in the middle of its flash.
  static const std::vector<const char*> board = {"HHHHHHc9bF1...",  //
                                                 "HHHHH2LcM21...",  //
                                                 "HHHHHJcNc31111",  //
                                                 "H2111KOcP42?FH",  //
                                                 "H2...13b6a33HH",  //
                                                 "F21...112HH8HH",  //
                                                 "11..111F2FFFF7",  //
                                                 "...12X1.134556",  //
                                                 ".1123S1.HHHHHH",  //
                                                 "12F1m1..HHHHHH",  //
                                                 "HF21...1HHHHHH",  //
                                                 "H3n21..1HHHHHH",  //
                                                 "HH4211.2HHHHHH",  //
                                                 "HHHHHoHHHHHHHH"};
  mini_board(b, col_w + 4, 15, board);
  // the explosion around the exploded cell
  sparks(b, col_w + 4 + 5 * 17 + 8, 15 + 7 * 17 + 8, 17, 5);

  // A drop-down menu from "Options", with the check mark row selected.
  rectfill(b, 41, 12, 124, 67, COL_MENU_BG);
  rect(b, 41, 12, 124, 67, COL_INSET_DARK);
  const char* items[4] = {"'?' Marks", "Graphics", "Sound", "Colors"};
  for (int i = 0; i < 4; i++) {
    int y = 14 + i * 13 + (i > 0 ? 3 : 0);
    if (i == 3) {
      rectfill(b, 42, y - 1, 123, y + 10, COL_MENU_SELECTED_BG);
      gfx_text(b, 56, y + 1, items[i], COL_MENU_SELECTED_FONT);
    } else {
      gfx_text(b, 56, y + 1, items[i], COL_MENU_FONT);
    }
  }
  hl(b, 42, 123, 28, COL_MENU_FONT);
  // check mark of the first row
  rect(b, 45, 15, 51, 21, COL_MENU_FONT);
  line(b, 46, 18, 47, 19, COL_MENU_FONT);
  line(b, 47, 19, 50, 16, COL_MENU_FONT);

  // A dialog window in the lower right: title bar, inset list, buttons.
  const int dx = 166, dy = 150, dw = 122, dh = 104;
  raised(b, dx, dy, dx + dw - 1, dy + 13);
  gfx_text_centre(b, dx + dw / 2, dy + 3, "Adjust Colors", COL_MENU_FONT);
  raised(b, dx, dy + 14, dx + dw - 1, dy + dh - 15);
  inset(b, dx + 6, dy + 19, dx + dw - 24, dy + dh - 21);
  // The first rows of the list as the shipped palettes fill it.
  const char* rows[4] = {"- Default -", "Color Safe", "Dusk", "Ember"};
  for (int i = 0; i < 4; i++) {
    int y = dy + 21 + 14 * i;
    if (i == 2) {
      rectfill(b, dx + 7, y - 1, dx + dw - 25, y + 11, COL_MENU_SELECTED_BG);
      gfx_text(b, dx + 11, y + 1, rows[i], COL_MENU_SELECTED_FONT);
    } else {
      gfx_text(b, dx + 11, y + 1, rows[i], COL_MENU_FONT);
    }
  }
  // the list's scroll bar
  int sx = dx + dw - 22;
  rectfill(b, sx, dy + 19, sx + 13, dy + dh - 21, COL_INSET_LIGHT);
  raised(b, sx, dy + 19, sx + 13, dy + 32);
  arrow_shape(b, sx + 6, dy + 26, 0, COL_MENU_FONT);
  raised(b, sx, dy + 47, sx + 13, dy + 58);
  raised(b, sx, dy + dh - 34, sx + 13, dy + dh - 21);
  arrow_shape(b, sx + 6, dy + dh - 28, 1, COL_MENU_FONT);
  // buttons: OK raised, Cancel held down
  raised(b, dx, dy + dh - 14, dx + 39, dy + dh - 1);
  gfx_text_centre(b, dx + 20, dy + dh - 11, "OK!", COL_MENU_FONT);
  raised(b, dx + 40, dy + dh - 14, dx + dw - 41, dy + dh - 1);
  rectfill(b, dx + dw - 40, dy + dh - 14, dx + dw - 1, dy + dh - 1, COL_MENU_BG);
  gfx_text_centre(b, dx + dw - 19, dy + dh - 10, "Cancel", COL_MENU_FONT);

  // The pointer over the list.
  pointer(b, dx + 60, dy + 52);

  gfx_set_rle(set, OBJ_PALETTE_PREVIEW, b);
}

// ---------------------------------------------------------------------------
// 28: the information page, one colour

class Page {
 public:
  explicit Page(BITMAP* b) : b_(b) {}
  static constexpr int INK = COL_MENU_FONT;

  // Writes text wrapped to the width w starting at (x, y); returns the y
  // below the last line.
  int para(int x, int y, int w, const char* text, int line_h = 11) {
    std::string word, line;
    auto flush = [&]() {
      gfx_text(b_, x, y, line.c_str(), INK);
      y += line_h;
      line.clear();
    };
    const char* p = text;
    while (true) {
      if (*p == ' ' || *p == '\0') {
        std::string trial = line.empty() ? word : line + " " + word;
        if (gfx_text_width(trial.c_str()) > w && !line.empty()) {
          flush();
          line = word;
        } else {
          line = trial;
        }
        word.clear();
        if (*p == '\0') break;
      } else {
        word += *p;
      }
      p++;
    }
    if (!line.empty()) flush();
    return y;
  }

  // A section heading with a rule to the right.
  void heading(int x, int y, int w, const char* text) {
    text_bold(b_, x, y, text, INK);
    int tw = bold_width(text);
    for (int xx = x + tw + 6; xx < x + w; xx += 2) putpixel(b_, xx, y + 4, INK);
  }

  // A key cap: the label in a rounded box; returns its width.
  int key(int x, int y, const char* label) {
    int w = gfx_text_width(label) + 6;
    cap(x, y, w);
    gfx_text(b_, x + 4, y, label, INK);
    return w;
  }

  // A key cap with an arrow pointing 'L'eft, 'R'ight, 'U'p or 'D'own;
  // returns its width.
  int arrow_key(int x, int y, char direction) {
    const int w = 12, cx = x + 6, cy = y + 4;
    cap(x, y, w);
    for (int i = 0; i < 4; i++) {
      if (direction == 'U') hl(b_, cx - i, cx + i, cy - 2 + i, INK);
      if (direction == 'D') hl(b_, cx - i, cx + i, cy + 1 - i, INK);
      if (direction == 'L') vl(b_, cx - 2 + i, cy - i, cy + i, INK);
      if (direction == 'R') vl(b_, cx + 1 - i, cy - i, cy + i, INK);
    }
    return w;
  }

  // A row of the Keys column: its caps side by side from x, then what they
  // do, starting no further left than text_x.
  void key_row(int x, int y, int text_x, const InfoKey& k) {
    static const char* const ARROWS[4] = {"Left", "Right", "Up", "Down"};
    for (const char* label : k.caps) {
      if (!label) break;
      int w = 0;
      for (int a = 0; a < 4; a++)
        if (std::strcmp(label, ARROWS[a]) == 0) w = arrow_key(x, y, "LRUD"[a]);
      if (w == 0) w = key(x, y, label);
      x += w + 4;
    }
    gfx_text(b_, std::max(text_x, x + 4), y, k.text, INK);
  }

  // A mouse with the given buttons (bit 1 left, 2 right, 4 middle) filled.
  void mouse(int x, int y, int buttons) {
    // body 13 x 18
    rect(b_, x, y + 2, x + 12, y + 17, INK);
    putpixel(b_, x, y + 2, 0);
    putpixel(b_, x + 12, y + 2, 0);
    putpixel(b_, x, y + 17, 0);
    putpixel(b_, x + 12, y + 17, 0);
    hl(b_, x + 1, x + 11, y + 1, INK);
    putpixel(b_, x + 1, y + 2, INK);
    putpixel(b_, x + 11, y + 2, INK);
    hl(b_, x + 1, x + 11, y + 8, INK);
    vl(b_, x + 6, y + 1, y + 8, INK);
    if (buttons & 1) rectfill(b_, x + 2, y + 3, x + 5, y + 7, INK);
    if (buttons & 2) rectfill(b_, x + 7, y + 3, x + 10, y + 7, INK);
    if (buttons & 4) {
      vl(b_, x + 5, y + 3, y + 6, INK);
      vl(b_, x + 7, y + 3, y + 6, INK);
      vl(b_, x + 6, y + 3, y + 6, INK);
    }
    // the cord
    vl(b_, x + 6, y - 3, y, INK);
  }

 private:
  // The box of a key cap w pixels wide, around text at (x + 4, y).
  void cap(int x, int y, int w) {
    hl(b_, x + 1, x + w - 1, y - 2, INK);
    hl(b_, x + 1, x + w - 1, y + 9, INK);
    hl(b_, x + 1, x + w - 1, y + 10, INK);  // a heavier lower edge
    vl(b_, x, y - 1, y + 9, INK);
    vl(b_, x + w, y - 1, y + 9, INK);
  }

  BITMAP* b_;
};

void build_info_page(GfxSet& set) {
  const int W = 640, H = 476;
  BITMAP* b = gfx_new_bitmap(W, H);
  Page pg(b);
  const int INK = Page::INK;
  const int L = 14, R = W - 14, FULL = R - L;

  // Title: the game's name three times as large, the version beside it.
  int tw = gfx_text_width("Fusegrid") * 3;
  int tx = (W - tw) / 2 - 10;
  text_scaled(b, tx, 10, "Fusegrid", INK, 3);
  gfx_text(b, tx + tw + 6, 25, "v1.0", INK);
  gfx_text_centre(b, W / 2, 40, "A mine-sweeping puzzle on boards of many shapes", INK);
  // double rule with a diamond in the middle
  hl(b, L, R, 53, INK);
  hl(b, L, R, 55, INK);
  for (int d = 0; d < 4; d++) {
    hl(b, W / 2 - 3 + d, W / 2 + 3 - d, 54 - d, INK);
    hl(b, W / 2 - 3 + d, W / 2 + 3 - d, 54 + d, INK);
  }
  for (int d = 0; d < 3; d++) hl(b, W / 2 - 2 + d, W / 2 + 2 - d, 54, 0);

  int y = 66;
  pg.heading(L, y, FULL, "The Game");
  y = pg.para(L, y + 14, FULL,
              "Every board hides a number of mines among its cells, and the cells come in many shapes: squares, "
              "hexagons, triangles and more. Uncover every safe cell. An uncovered cell shows a clue about the "
              "mines among the cells that touch it, and an empty region opens by itself in a chain reaction. "
              "A mine you uncover explodes and costs a penalty, but the game goes on until the board is clear.");

  // Two columns: the mouse on the left, the keys on the right.
  y += 8;
  const int colw = (FULL - 24) / 2;
  const int RX = L + colw + 24;
  pg.heading(L, y, colw, "Mouse");
  pg.heading(RX, y, colw, "Keys");
  int my = y + 18;
  struct MouseRow {
    int buttons;
    const char* what;
    const char* text;
  } mrows[4] = {
      {1, "Left click", "Uncover a cell."},
      {2, "Right click",
       "Place a flag on a cell you believe hides a mine. Click again for a '?' mark, "
       "and again to clear it."},
      {3, "Both buttons", "Chord: on a clue whose mines are all flagged, uncover all its other neighbours."},
      {4, "Middle button", "Chord, as with both buttons."},
  };
  for (auto& r : mrows) {
    pg.mouse(L + 2, my + 3, r.buttons);
    text_bold(b, L + 22, my, r.what, INK);
    int ny = pg.para(L + 22, my + 11, colw - 22, r.text);
    my = std::max(ny, my + 24) + 5;
  }

  // The keys in two half columns, the main screen's first, then those of
  // the windows and dialogs.
  const int KEY_PITCH = 16;
  auto key_rows = [&](const InfoKey* rows, int count, int top) {
    int bottom = top;
    for (int i = 0; i < count; i++) {
      const InfoKey& k = rows[i];
      const int x = RX + std::max(k.column, 0) * (colw / 2 + 4);
      const int yy = top + k.row * KEY_PITCH;
      pg.key_row(x, yy, x + 30, k);
      bottom = std::max(bottom, yy + KEY_PITCH);
    }
    return bottom;
  };
  int ky_end = key_rows(INFO_PLAY_KEYS, sizeof INFO_PLAY_KEYS / sizeof INFO_PLAY_KEYS[0], y + 20);
  gfx_text(b, RX, ky_end, "In windows and dialogs:", INK);
  ky_end = key_rows(INFO_WINDOW_KEYS, sizeof INFO_WINDOW_KEYS / sizeof INFO_WINDOW_KEYS[0], ky_end + 14);
  my = pg.para(L, my, colw, "The menus hold these commands and all the options.");

  // Game modes, one line each.
  y = std::max(my, ky_end) + 6;
  pg.heading(L, y, FULL, "Game Modes");
  y += 16;
  struct ModeRow {
    const char* name;
    const char* text;
  } modes[7] = {
      {"Classic", "Clues count the mines around a cell. Clear the board in the shortest time."},
      {"Flagless", "Classic without flags or chords: keep the mines in your head."},
      {"Backwards", "Clues count the safe cells around a cell instead of the mines."},
      {"Multi-Mine",
       "Mines of level 1, 2 and 3; clues add up the levels. Flag each mine at its level, then press Check!"},
      {"Moving Mines", "After every cell you uncover, one mine moves to another hidden cell. No flags."},
      {"Endurance", "Board after board against a time limit of 10, 20 or 30 minutes; clues score points."},
      {"MegaMine", "Clues give the distance to the nearest mine. The score starts at 10000 and only falls."},
  };
  for (auto& m : modes) {
    // a small diamond bullet
    putpixel(b, L + 3, y + 2, INK);
    hl(b, L + 2, L + 4, y + 3, INK);
    putpixel(b, L + 3, y + 4, INK);
    text_bold(b, L + 10, y, m.name, INK);
    gfx_text(b, L + 92, y, m.text, INK);
    y += 12;
  }

  y += 8;
  pg.heading(L, y, FULL, "Skill and Scoring");
  pg.para(L, y + 14, FULL,
          "The skill level (Beginner, Intermediate, Expert or Master) sets how many mines a board holds. "
          "Every mine uncovered adds penalty time to the clock, or costs damage or score in Endurance and "
          "MegaMine. The status panel on the left keeps count of time, mines left and mines hit.");

  // Footer.
  hl(b, L, R, H - 20, INK);
  gfx_text_centre(b, W / 2, H - 13, "Press OK! or Enter to return to the game.", INK);

  gfx_set_bitmap(set, OBJ_INFO_PAGE, b);
}

}  // namespace

// Objects 0-7, 21-28, 31-38, 43-52, 114-127 and 199-206.
void build_ui_pieces(GfxSet& set) {
  build_frame_pieces(set);
  build_arrows(set);
  build_check_marks(set);
  build_slider_labels(set);
  build_chain_picture(set);
  build_switches(set);
  build_modes(set);
  build_skills(set);
  build_palette_preview(set);
  build_info_page(set);
}
