// The status panel down the left edge of the main screen and the face in
// the menu bar: the LED digit sets, the twelve counter badges, the panel's
// edge and filler strips, and the seven expressions of the face.
#include <cmath>

#include "gfx/gfx.h"

namespace {

// ---------------------------------------------------------------------------
// LED readouts. A digit is a 10 x 21 cell: seven tapered segments in an
// 8 x 21 frame one pixel in from the left, so neighbouring digits placed 10
// pixels apart keep a two-pixel gap. Unlit segments are drawn in the set's
// dark colour; the cell around them is transparent and shows the badge's
// window. A colon is 4 x 21 with two square dots.

const int LED_W = 10;
const int LED_H = 21;
const int COLON_W = 4;

enum Segment { SEG_A = 1, SEG_B = 2, SEG_C = 4, SEG_D = 8, SEG_E = 16, SEG_F = 32, SEG_G = 64 };

const int DIGIT_SEGMENTS[10] = {
    SEG_A | SEG_B | SEG_C | SEG_D | SEG_E | SEG_F,          // 0
    SEG_B | SEG_C,                                          // 1
    SEG_A | SEG_B | SEG_G | SEG_E | SEG_D,                  // 2
    SEG_A | SEG_B | SEG_G | SEG_C | SEG_D,                  // 3
    SEG_F | SEG_G | SEG_B | SEG_C,                          // 4
    SEG_A | SEG_F | SEG_G | SEG_C | SEG_D,                  // 5
    SEG_A | SEG_F | SEG_G | SEG_E | SEG_C | SEG_D,          // 6
    SEG_A | SEG_B | SEG_C,                                  // 7
    SEG_A | SEG_B | SEG_C | SEG_D | SEG_E | SEG_F | SEG_G,  // 8
    SEG_A | SEG_B | SEG_C | SEG_D | SEG_F | SEG_G,          // 9
};

// Pixels of one segment inside the 8 x 21 frame; the middle segment is
// three rows high so that every segment has tapered ends.
void draw_segment(BITMAP* b, int seg, int colour) {
  const int x = 1;  // frame offset inside the cell
  switch (seg) {
    case SEG_A:
      hline(b, x + 1, 0, x + 6, colour);
      hline(b, x + 2, 1, x + 5, colour);
      break;
    case SEG_D:
      hline(b, x + 1, 20, x + 6, colour);
      hline(b, x + 2, 19, x + 5, colour);
      break;
    case SEG_G:
      hline(b, x + 2, 9, x + 5, colour);
      hline(b, x + 1, 10, x + 6, colour);
      hline(b, x + 2, 11, x + 5, colour);
      break;
    case SEG_F:
      vline(b, x + 0, 1, 9, colour);
      vline(b, x + 1, 2, 8, colour);
      break;
    case SEG_B:
      vline(b, x + 7, 1, 9, colour);
      vline(b, x + 6, 2, 8, colour);
      break;
    case SEG_E:
      vline(b, x + 0, 11, 19, colour);
      vline(b, x + 1, 12, 18, colour);
      break;
    case SEG_C:
      vline(b, x + 7, 11, 19, colour);
      vline(b, x + 6, 12, 18, colour);
      break;
  }
}

BITMAP* led_cell(int lit_segments, int off, int on) {
  BITMAP* b = gfx_new_bitmap(LED_W, LED_H);
  for (int seg = SEG_A; seg <= SEG_G; seg <<= 1) draw_segment(b, seg, (lit_segments & seg) ? on : off);
  return b;
}

BITMAP* led_colon(int colour) {
  BITMAP* b = gfx_new_bitmap(COLON_W, LED_H);
  rectfill(b, 1, 5, 2, 6, colour);
  rectfill(b, 1, 14, 2, 15, colour);
  return b;
}

// One LED set: digits 0..9 at first, then two colon pictures (unlit, lit),
// the minus sign and the blank, in that order.
void build_led_set(GfxSet& set, int first, int off, int on) {
  for (int d = 0; d < 10; d++) gfx_set_bitmap(set, first + d, led_cell(DIGIT_SEGMENTS[d], off, on));
  gfx_set_bitmap(set, first + 10, led_colon(off));
  gfx_set_bitmap(set, first + 11, led_colon(on));
  gfx_set_bitmap(set, first + 12, led_cell(SEG_G, off, on));
  gfx_set_bitmap(set, first + 13, led_cell(0, off, on));
}

// ---------------------------------------------------------------------------
// Badges: an 88 x 32 bevelled plate with a sunken LED window at its right
// and an icon for its counter at its left.

const int BADGE_W = 88;
const int BADGE_H = 32;

enum ReadoutFormat { FORMAT_TIME, FORMAT_FIVE, FORMAT_THREE };

// The window's inner left edge; digits of each format sit 3 pixels inside.
int window_left(ReadoutFormat format) {
  switch (format) {
    case FORMAT_TIME: return 17;
    case FORMAT_FIVE: return 25;
    case FORMAT_THREE: return 45;
  }
  return 17;
}

void plate(BITMAP* b, int w, int h) {
  rectfill(b, 0, 0, w - 1, h - 1, COL_STATUS_FACE);
  hline(b, 0, 0, w - 1, COL_STATUS_LIGHT);
  vline(b, 0, 0, h - 1, COL_STATUS_LIGHT);
  hline(b, 1, 1, w - 2, COL_STATUS_LIGHT + 1);
  vline(b, 1, 1, h - 2, COL_STATUS_LIGHT + 1);
  hline(b, 1, h - 1, w - 1, COL_STATUS_DARK);
  vline(b, w - 1, 1, h - 1, COL_STATUS_DARK);
  hline(b, 2, h - 2, w - 2, COL_STATUS_DARK - 1);
  vline(b, w - 2, 2, h - 2, COL_STATUS_DARK - 1);
}

void led_window(BITMAP* b, int x1, int y1, int x2, int y2) {
  rectfill(b, x1, y1, x2, y2, COL_STATUS_DARK);
  hline(b, x1 - 1, y1 - 1, x2, COL_STATUS_DARK - 1);
  vline(b, x1 - 1, y1 - 1, y2, COL_STATUS_DARK - 1);
  hline(b, x1 - 1, y2 + 1, x2 + 1, COL_STATUS_LIGHT);
  vline(b, x2 + 1, y1 - 1, y2 + 1, COL_STATUS_LIGHT);
}

// Icons are drawn into a 14 x 14 box and get a one-pixel shadow toward the
// lower right so they stand off the plate.
const int ICON = 14;

void put_icon(BITMAP* badge, BITMAP* icon, int x, int y) {
  for (int iy = 0; iy < ICON; iy++) {
    for (int ix = 0; ix < ICON; ix++) {
      if (getpixel(icon, ix, iy) != 0 && (ix + 1 >= ICON || iy + 1 >= ICON || getpixel(icon, ix + 1, iy + 1) == 0)) {
        putpixel(badge, x + ix + 1, y + iy + 1, COL_STATUS_DARK - 1);
      }
    }
  }
  for (int iy = 0; iy < ICON; iy++) {
    for (int ix = 0; ix < ICON; ix++) {
      int c = getpixel(icon, ix, iy);
      if (c) putpixel(badge, x + ix, y + iy, c);
    }
  }
}

void disc(BITMAP* b, double cx, double cy, double r, int colour) {
  for (int y = 0; y < ICON; y++)
    for (int x = 0; x < ICON; x++)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) putpixel(b, x, y, colour);
}

// A clock: dark rim, a light steel dial (from the regular mine ramp), dark
// hour marks and red hands. The stopwatch variant has a crown on top and
// its hand at another time.
BITMAP* icon_clock(bool stopwatch) {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  const double cx = 6.5, cy = stopwatch ? 7.5 : 6.5;
  const double r = stopwatch ? 6.0 : 6.6;
  disc(b, cx, cy, r, COL_STATUS_DARK);
  disc(b, cx, cy, r - 1.2, COL_MINE1_FIRST + 13);
  const int top = static_cast<int>(cy - r + 1.2), bottom = static_cast<int>(cy + r - 1.2);
  // Hour marks at 12, 3, 6 and 9.
  putpixel(b, 6, top + 1, COL_STATUS_DARK - 1), putpixel(b, 7, top + 1, COL_STATUS_DARK - 1);
  putpixel(b, 6, bottom - 1, COL_STATUS_DARK - 1), putpixel(b, 7, bottom - 1, COL_STATUS_DARK - 1);
  int mid = static_cast<int>(cy);
  putpixel(b, 2, mid, COL_STATUS_DARK - 1), putpixel(b, 2, mid + 1, COL_STATUS_DARK - 1);
  putpixel(b, 11, mid, COL_STATUS_DARK - 1), putpixel(b, 11, mid + 1, COL_STATUS_DARK - 1);
  if (stopwatch) {
    rectfill(b, 5, 0, 8, 0, COL_STATUS_DARK);
    putpixel(b, 6, 1, COL_STATUS_DARK), putpixel(b, 7, 1, COL_STATUS_DARK);
    // One hand, pointing up and to the right.
    putpixel(b, 6, mid, COL_LED_STD_ON);
    putpixel(b, 7, mid, COL_LED_STD_ON);
    putpixel(b, 7, mid - 1, COL_LED_STD_ON);
    putpixel(b, 8, mid - 2, COL_LED_STD_ON);
    putpixel(b, 8, mid - 3, COL_LED_STD_ON);
  } else {
    // Minute hand up, hour hand to three.
    vline(b, 6, top + 2, mid, COL_STATUS_DARK);
    hline(b, 6, mid, 9, COL_LED_STD_ON);
    putpixel(b, 6, mid, COL_STATUS_DARK);
  }
  return b;
}

// A cut gem in the level-3 LED colours.
BITMAP* icon_gem() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  const char* const rows[] = {
      "...ccccccc...", "..cCcCcCcCc..", ".cCcccCcccCc.", "ccccccccccccc", ".cccccCccccc.",
      "..ccccCcccc..", "...cccCccc...", "....ccCcc....", ".....cCc.....", "......c......",
  };
  const Ink inks[] = {{'c', COL_LED_L3_ON}, {'C', COL_LED_L3_OFF}};
  stamp(b, 0, 2, rows, 10, inks, 2);
  return b;
}

// A five-pointed star in amber with a darker rim.
BITMAP* icon_star() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  int pts[20];
  const double pi = 3.14159265358979;
  for (int k = 0; k < 10; k++) {
    double a = -pi / 2 + k * pi / 5;
    double r = (k % 2 == 0) ? 6.9 : 2.9;
    pts[2 * k] = static_cast<int>(std::lround(6.5 + r * std::cos(a)));
    pts[2 * k + 1] = static_cast<int>(std::lround(7.2 + r * std::sin(a)));
  }
  polygon(b, 10, pts, COL_LED_L2_OFF);
  for (int k = 0; k < 10; k++) {
    double a = -pi / 2 + k * pi / 5;
    double r = (k % 2 == 0) ? 5.4 : 2.2;
    pts[2 * k] = static_cast<int>(std::lround(6.5 + r * std::cos(a)));
    pts[2 * k + 1] = static_cast<int>(std::lround(7.2 + r * std::sin(a)));
  }
  polygon(b, 10, pts, COL_LED_L2_ON);
  return b;
}

// A little board: a dark tray of 3 x 3 raised tiles, the middle one
// uncovered and showing a red clue.
BITMAP* icon_board() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  rectfill(b, 0, 0, 12, 12, COL_STATUS_DARK);
  for (int ty = 0; ty < 3; ty++) {
    for (int tx = 0; tx < 3; tx++) {
      int x = 1 + 4 * tx, y = 1 + 4 * ty;
      if (tx == 1 && ty == 1) {
        rectfill(b, x, y, x + 2, y + 2, COL_STATUS_DARK - 1);
        putpixel(b, x + 1, y + 1, COL_LED_STD_ON);
        continue;
      }
      rectfill(b, x, y, x + 2, y + 2, COL_STATUS_LIGHT);
      putpixel(b, x + 2, y + 2, COL_STATUS_LIGHT + 1);
    }
  }
  return b;
}

// A small spiked mine in one of the three mine ramps.
BITMAP* icon_mine(int level) {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  const int first = COL_MINE1_FIRST + 16 * (level - 1);
  const double c = 6.5;
  for (int k = 0; k <= 6; k++) {
    int col = first + 3;
    putpixel(b, 6 - k + 0, 6, col), putpixel(b, 6 - k, 7, col);
    putpixel(b, 7 + k, 6, col), putpixel(b, 7 + k, 7, col);
    putpixel(b, 6, 6 - k, col), putpixel(b, 7, 6 - k, col);
    putpixel(b, 6, 7 + k, col), putpixel(b, 7, 7 + k, col);
  }
  for (int k = 1; k <= 4; k++) {
    putpixel(b, 6 - k, 6 - k, first + 3);
    putpixel(b, 7 + k, 6 - k, first + 3);
    putpixel(b, 6 - k, 7 + k, first + 3);
    putpixel(b, 7 + k, 7 + k, first + 3);
  }
  const double r = 4.3;
  for (int y = 0; y < ICON; y++) {
    for (int x = 0; x < ICON; x++) {
      double dx = x - c, dy = y - c;
      double d2 = dx * dx + dy * dy;
      if (d2 > r * r) continue;
      double nz = std::sqrt(r * r - d2) / r;
      double lit = (-0.55 * dx / r) + (-0.62 * dy / r) + 0.56 * nz;
      if (lit < 0) lit = 0;
      int k = static_cast<int>(std::lround((0.08 + 0.72 * lit) * 15));
      putpixel(b, x, y, first + (k > 15 ? 15 : k));
    }
  }
  putpixel(b, 5, 4, first + 15);
  putpixel(b, 4, 5, first + 14);
  return b;
}

// Three-by-five numerals for the level marks.
const char* const PIP_NUMERALS[3][5] = {
    {".#.", "##.", ".#.", ".#.", "###"},
    {"##.", "..#", ".#.", "#..", "###"},
    {"##.", "..#", ".#.", "..#", "##."},
};

// An eight-pointed burst: red outside, amber inside.
BITMAP* icon_burst() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  int pts[32];
  const double pi = 3.14159265358979;
  for (int pass = 0; pass < 2; pass++) {
    for (int k = 0; k < 16; k++) {
      double a = k * pi / 8 + 0.2;
      double r = pass == 0 ? ((k % 2 == 0) ? 7.0 : 3.4) : ((k % 2 == 0) ? 4.6 : 2.0);
      pts[2 * k] = static_cast<int>(std::lround(6.5 + r * std::cos(a)));
      pts[2 * k + 1] = static_cast<int>(std::lround(6.5 + r * std::sin(a)));
    }
    polygon(b, 16, pts, pass == 0 ? COL_LED_STD_ON : COL_LED_L2_ON);
  }
  return b;
}

// An hourglass with amber sand running down.
BITMAP* icon_hourglass() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  const char* const rows[] = {
      "LLLLLLLLLLL", ".D.......D.", ".DsssssssD.", "..DsssssD..", "...DsssD...", "....DsD....",
      ".....D.....", "....D.D....", "...D.s.D...", "..D..s..D..", ".D.sssss.D.", ".DsssssssD.",
      "LLLLLLLLLLL",
  };
  const Ink inks[] = {{'L', COL_STATUS_LIGHT}, {'D', COL_STATUS_DARK}, {'s', COL_LED_L2_ON}};
  stamp(b, 1, 0, rows, 13, inks, 3);
  return b;
}

// A red heart with a light glint.
BITMAP* icon_heart() {
  BITMAP* b = gfx_new_bitmap(ICON, ICON);
  const char* const rows[] = {
      ".RRR.....RRR.", "RrrrR...RrrrR", "RrwrrR.RrrrrR", "RrwrrrRrrrrrR", "RrrrrrrrrrrrR",
      ".RrrrrrrrrrR.", "..RrrrrrrrR..", "...RrrrrrR...", "....RrrrR....", ".....RrR.....",
      "......R......",
  };
  const Ink inks[] = {{'R', COL_LED_STD_OFF}, {'r', COL_LED_STD_ON}, {'w', COL_STATUS_LIGHT}};
  stamp(b, 0, 1, rows, 11, inks, 3);
  return b;
}

struct BadgeInfo {
  int object;
  ReadoutFormat format;
};

// Slot order of the status panel.
const BadgeInfo BADGES[12] = {
    {OBJ_BADGE_FIRST + 0, FORMAT_TIME},    // 0 spare clock
    {OBJ_BADGE_FIRST + 10, FORMAT_TIME},   // 1 game time
    {OBJ_BADGE_FIRST + 3, FORMAT_FIVE},    // 2 spare five digits
    {OBJ_BADGE_FIRST + 8, FORMAT_FIVE},    // 3 score
    {OBJ_BADGE_FIRST + 1, FORMAT_THREE},   // 4 boards played
    {OBJ_BADGE_FIRST + 7, FORMAT_THREE},   // 5 mines left
    {OBJ_BADGE_FIRST + 4, FORMAT_THREE},   // 6 level-1 mines left
    {OBJ_BADGE_FIRST + 5, FORMAT_THREE},   // 7 level-2 mines left
    {OBJ_BADGE_FIRST + 6, FORMAT_THREE},   // 8 level-3 mines left
    {OBJ_BADGE_FIRST + 2, FORMAT_THREE},   // 9 mines hit
    {OBJ_BADGE_FIRST + 11, FORMAT_TIME},   // 10 penalty time
    {OBJ_BADGE_FIRST + 9, FORMAT_FIVE},    // 11 damage
};

BITMAP* badge(int slot) {
  BITMAP* b = gfx_new_bitmap(BADGE_W, BADGE_H);
  plate(b, BADGE_W, BADGE_H);
  led_window(b, window_left(BADGES[slot].format), 4, 78, 28);

  BITMAP* icon = nullptr;
  int level_mark = 0;
  switch (slot) {
    case 0: icon = icon_clock(true); break;
    case 1: icon = icon_clock(false); break;
    case 2: icon = icon_gem(); break;
    case 3: icon = icon_star(); break;
    case 4: icon = icon_board(); break;
    case 5: icon = icon_mine(1); break;
    case 6: icon = icon_mine(1), level_mark = 1; break;
    case 7: icon = icon_mine(2), level_mark = 2; break;
    case 8: icon = icon_mine(3), level_mark = 3; break;
    case 9: icon = icon_burst(); break;
    case 10: icon = icon_hourglass(); break;
    case 11: icon = icon_heart(); break;
  }
  put_icon(b, icon, 2, 9);
  destroy_bitmap(icon);
  if (level_mark) {
    static const int mark_colour[3] = {COL_LED_L1_ON, COL_LED_L2_ON, COL_LED_L3_ON};
    BITMAP* mark = gfx_new_bitmap(ICON, ICON);
    const Ink ink[] = {{'#', mark_colour[level_mark - 1]}};
    stamp(mark, 0, 0, PIP_NUMERALS[level_mark - 1], 5, ink, 1);
    put_icon(b, mark, 18, 13);
    destroy_bitmap(mark);
  }
  return b;
}

// ---------------------------------------------------------------------------
// Panel strips: the separator under the last badge is the lit top edge of
// the empty panel below, the filler its face with light and dark sides,
// and the bottom edge closes it at the bottom of the screen.

BITMAP* panel_separator() {
  BITMAP* b = gfx_new_bitmap(BADGE_W, 2);
  hline(b, 0, 0, BADGE_W - 1, COL_STATUS_DARK);
  hline(b, 0, 1, BADGE_W - 2, COL_STATUS_LIGHT);
  putpixel(b, BADGE_W - 1, 1, COL_STATUS_DARK);
  return b;
}

BITMAP* panel_filler() {
  BITMAP* b = gfx_new_bitmap(BADGE_W, 1);
  hline(b, 0, 0, BADGE_W - 1, COL_STATUS_DARK - 1);
  putpixel(b, 0, 0, COL_STATUS_LIGHT);
  putpixel(b, 1, 0, COL_STATUS_LIGHT + 1);
  putpixel(b, BADGE_W - 2, 0, COL_STATUS_DARK - 1);
  putpixel(b, BADGE_W - 1, 0, COL_STATUS_DARK);
  return b;
}

BITMAP* panel_bottom() {
  BITMAP* b = gfx_new_bitmap(BADGE_W, 2);
  hline(b, 0, 0, BADGE_W - 1, COL_STATUS_DARK - 1);
  putpixel(b, 0, 0, COL_STATUS_LIGHT);
  hline(b, 0, 1, BADGE_W - 1, COL_STATUS_DARK);
  return b;
}

// ---------------------------------------------------------------------------
// The face: a 16-pixel disc in the middle of a 36 x 16 picture, drawn with
// the face colour and the ink colour only.

const int FACE_W = 36;
const int FACE_H = 16;
const int FACE_X = 10;  // left edge of the disc's 16 x 16 box

// The disc: 'o' outline, '.' inside (face colour), ' ' outside.
const char* const FACE_DISC[FACE_H] = {
    "     oooooo     ", "   oo......oo   ", "  o..........o  ", " o............o ",
    " o............o ", "o..............o", "o..............o", "o..............o",
    "o..............o", "o..............o", "o..............o", " o............o ",
    " o............o ", "  o..........o  ", "   oo......oo   ", "     oooooo     ",
};

// Features over the disc, rows 3 to 12 of it; '#' is ink.
const char* const FACE_FEATURES[7][10] = {
    // 207 lost: crossed eyes, frown
    {"...#.#....#.#...", "....#......#....", "...#.#....#.#...", "................", "................",
     "................", "......####......", ".....#....#.....", "....#......#....", "................"},
    // 208 blink: shut eyes, smile
    {"................", "................", "...###....###...", "................", "................",
     "....#......#....", ".....#....#.....", "......####......", "................", "................"},
    // 209 idle: looking up and to the left, mouth pursed to that side
    {"...##.....##....", "...##.....##....", "................", "................", "................",
     "................", "....#####.......", "................", "................", "................"},
    // 210 neutral smile
    {"....##....##....", "....##....##....", "....##....##....", "................", "................",
     "....#......#....", ".....#....#.....", "......####......", "................", "................"},
    // 211 button held: wide eyes, round mouth
    {"...####..####...", "...#..#..#..#...", "...#.##..##.#...", "...####..####...", "................",
     "......####......", ".....#....#.....", ".....#....#.....", "......####......", "................"},
    // 212 idle: looking up and to the right, mouth pursed to that side
    {"....##.....##...", "....##.....##...", "................", "................", "................",
     "................", ".......#####....", "................", "................", "................"},
    // 213 won: dark glasses, broad grin
    {"..############..", "..#####..#####..", "...###....###...", "................", "................",
     "...##########...", "....#.#..#.#....", ".....######.....", "................", "................"},
};

BITMAP* face(int which) {
  BITMAP* b = gfx_new_bitmap(FACE_W, FACE_H);
  const Ink disc_inks[] = {{'o', COL_SMILEY_INK}, {'.', COL_SMILEY_FACE}};
  stamp(b, FACE_X, 0, FACE_DISC, FACE_H, disc_inks, 2);
  const Ink ink[] = {{'#', COL_SMILEY_INK}};
  stamp(b, FACE_X, 3, FACE_FEATURES[which], 10, ink, 1);
  return b;
}

}  // namespace

// Objects 53-108 (LED sets), 196-198 (panel strips), 207-213 (faces) and
// 214-225 (badges).
void build_status_pieces(GfxSet& set) {
  build_led_set(set, OBJ_LED_LEVEL1_DIGIT0, COL_LED_L1_OFF, COL_LED_L1_ON);
  build_led_set(set, OBJ_LED_LEVEL2_DIGIT0, COL_LED_L2_OFF, COL_LED_L2_ON);
  build_led_set(set, OBJ_LED_LEVEL3_DIGIT0, COL_LED_L3_OFF, COL_LED_L3_ON);
  build_led_set(set, OBJ_LED_DIGIT0, COL_LED_STD_OFF, COL_LED_STD_ON);

  for (int slot = 0; slot < 12; slot++) gfx_set_bitmap(set, BADGES[slot].object, badge(slot));
  gfx_set_bitmap(set, OBJ_PANEL_BOTTOM, panel_bottom());
  gfx_set_bitmap(set, OBJ_PANEL_FILLER, panel_filler());
  gfx_set_bitmap(set, OBJ_PANEL_SEPARATOR, panel_separator());

  for (int f = 0; f < 7; f++) gfx_set_bitmap(set, OBJ_FACE_LOST + f, face(f));
}
