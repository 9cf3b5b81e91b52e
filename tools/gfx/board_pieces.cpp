// The pictures drawn on and over the board: the number glyphs 1..64, the
// '?' mark, the flags, the three mines, the eleven explosion frames and the
// mouse pointer. Symbols are 16 x 16 pictures laid out for the symbol box
// of a cell; every picture uses only the palette indexes of its role.
#include <cmath>
#include <cstdint>

#include "gfx/gfx.h"

namespace {

// A one-colour pixel pattern: '#' is ink.
void stamp1(BITMAP* b, int x0, int y0, const char* const* rows, int n, int colour) {
  const Ink ink[] = {{'#', colour}};
  stamp(b, x0, y0, rows, n, ink, 1);
}

// ---------------------------------------------------------------------------
// Number glyphs. Single figures use a heavy 9 x 12 face with three-pixel
// stems; two figures side by side use a 6 x 12 face with two-pixel stems.

const char* const BIG_DIGITS[10][12] = {
    {".#######.", "#########", "###...###", "###...###", "###...###", "###...###", "###...###",
     "###...###", "###...###", "###...###", "#########", ".#######."},
    {"...###...", "..####...", ".#####...", "...###...", "...###...", "...###...", "...###...",
     "...###...", "...###...", "...###...", ".#######.", ".#######."},
    {".#######.", "#########", "###...###", "......###", ".....####", "...#####.", ".#####...",
     "####.....", "###......", "###......", "#########", "#########"},
    {".#######.", "#########", "###...###", "......###", "......###", "...#####.", "...#####.",
     "......###", "......###", "###...###", "#########", ".#######."},
    {"###...###", "###...###", "###...###", "###...###", "###...###", "#########", "#########",
     "......###", "......###", "......###", "......###", "......###"},
    {"#########", "#########", "###......", "###......", "########.", "#########", "......###",
     "......###", "......###", "###...###", "#########", ".#######."},
    {".#######.", "#########", "###......", "###......", "########.", "#########", "###...###",
     "###...###", "###...###", "###...###", "#########", ".#######."},
    {"#########", "#########", "......###", ".....###.", "....###..", "...###...", "...###...",
     "..###....", "..###....", "..###....", "..###....", "..###...."},
    {".#######.", "#########", "###...###", "###...###", ".#######.", ".#######.", "###...###",
     "###...###", "###...###", "###...###", "#########", ".#######."},
    {".#######.", "#########", "###...###", "###...###", "###...###", "###...###", "#########",
     ".########", "......###", "......###", "#########", ".#######."},
};

const char* const SMALL_DIGITS[10][12] = {
    {".####.", "######", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##",
     "##..##", "######", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..",
     "..##..", "######", "######"},
    {".####.", "######", "##..##", "....##", "....##", "...###", "..###.", ".###..", "###...",
     "##....", "######", "######"},
    {".####.", "######", "##..##", "....##", "....##", "..###.", "..###.", "....##", "....##",
     "##..##", "######", ".####."},
    {"##..##", "##..##", "##..##", "##..##", "##..##", "######", "######", "....##", "....##",
     "....##", "....##", "....##"},
    {"######", "######", "##....", "##....", "#####.", "######", "....##", "....##", "....##",
     "##..##", "######", ".####."},
    {".####.", "######", "##....", "##....", "#####.", "######", "##..##", "##..##", "##..##",
     "##..##", "######", ".####."},
    {"######", "######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", "..##..",
     "..##..", "..##..", "..##.."},
    {".####.", "######", "##..##", "##..##", ".####.", ".####.", "##..##", "##..##", "##..##",
     "##..##", "######", ".####."},
    {".####.", "######", "##..##", "##..##", "##..##", "##..##", "######", ".#####", "....##",
     "....##", "######", ".####."},
};

BITMAP* number_glyph(int n) {
  BITMAP* b = gfx_new_bitmap(16, 16);
  int colour = n <= 15 ? COL_NUMBER_FIRST - 1 + n : COL_NUMBER_FIRST + 15;
  if (n < 10) {
    stamp1(b, 3, 2, BIG_DIGITS[n], 12, colour);
  } else {
    // Two figures side by side, 6 + 1 + 6 pixels.
    stamp1(b, 1, 2, SMALL_DIGITS[n / 10], 12, colour);
    stamp1(b, 8, 2, SMALL_DIGITS[n % 10], 12, colour);
  }
  return b;
}

const char* const QUESTION[12] = {".#######.", "#########", "###...###", "......###",
                                  ".....####", "...#####.", "...####..", "...###...",
                                  "...###...", ".........", "...###...", "...###..."};

// ---------------------------------------------------------------------------
// Flags. The regular flag is a red pennant on a pole with a stepped foot;
// the Multi-Mine flags carry a square banner with the level's numeral.

const char* const REGULAR_FLAG[14] = {
    ".........PP.....",  //  1
    "......CCCPP.....",  //  2
    "....CCCCCPP.....",  //  3
    "..CCCCCCCPP.....",  //  4
    "CCCCCCCCCPP.....",  //  5
    "..CCCCCCCPP.....",  //  6
    "....CCCCCPP.....",  //  7
    "......CCCPP.....",  //  8
    ".........PP.....",  //  9
    ".........PP.....",  // 10
    ".........PP.....",  // 11
    ".......PPPPPP...",  // 12
    ".....PPPPPPPPPP.",  // 13
    ".....PPPPPPPPPP.",  // 14
};

// The Multi-Mine flags: the same pole and foot with a square banner that
// carries the level's numeral; 'C' cloth, 'H' lit hem, 'P' pole and ink.
const char* const BANNER_FLAG[14] = {
    ".........PP.....",  //  1
    "HHHHHHHHHPP.....",  //  2
    "CCCCCCCCCPP.....",  //  3
    "CCCCCCCCCPP.....",  //  4
    ".CCCCCCCCPP.....",  //  5
    "..CCCCCCCPP.....",  //  6
    ".CCCCCCCCPP.....",  //  7
    "CCCCCCCCCPP.....",  //  8
    "CCCCCCCCCPP.....",  //  9
    "CCCCCCCCCPP.....",  // 10
    ".........PP.....",  // 11
    ".......PPPPPP...",  // 12
    ".....PPPPPPPPPP.",  // 13
    ".....PPPPPPPPPP.",  // 14
};

const char* const BANNER_NUMERALS[3][7] = {
    {"..##.", ".###.", "..##.", "..##.", "..##.", "..##.", ".####"},
    {".###.", "##.##", "...##", "..##.", ".##..", "##...", "#####"},
    {"####.", "...##", "...##", ".###.", "...##", "...##", "####."},
};

BITMAP* multi_flag(int level) {
  BITMAP* b = gfx_new_bitmap(16, 16);
  int cloth = COL_MULTIFLAG1_FIRST + 3 * (level - 1);
  const Ink inks[] = {{'C', cloth}, {'H', cloth + 1}, {'P', cloth + 2}};
  stamp(b, 0, 1, BANNER_FLAG, 14, inks, 3);
  stamp1(b, 3, 3, BANNER_NUMERALS[level - 1], 7, cloth + 2);
  return b;
}

// ---------------------------------------------------------------------------
// Mines: a shaded sphere lit from the upper left, with spikes. The level-1
// mine has eight plain spikes, the level-2 mine a riveted belt, the level-3
// mine a belt and a glowing cross-band; the three ramps differ in hue too.

int ramp(int first, double t) {
  int k = static_cast<int>(std::lround(t * 15.0));
  if (k < 0) k = 0;
  if (k > 15) k = 15;
  return first + k;
}

BITMAP* mine(int level) {
  BITMAP* b = gfx_new_bitmap(16, 16);
  const int first = COL_MINE1_FIRST + 16 * (level - 1);
  const double c = 7.5;
  const double r = level == 1 ? 4.7 : 5.2;

  // Spikes first, so the sphere covers their roots.
  const int orth_len = 7;
  for (int k = 0; k <= orth_len; k++) {
    int lo = 7 - k, hi = 8 + k;
    int col = ramp(first, k >= orth_len - 1 ? 0.35 : 0.2);
    putpixel(b, lo, 7, col), putpixel(b, lo, 8, col);
    putpixel(b, hi, 7, col), putpixel(b, hi, 8, col);
    putpixel(b, 7, lo, col), putpixel(b, 8, lo, col);
    putpixel(b, 7, hi, col), putpixel(b, 8, hi, col);
  }
  const int diag_len = level == 1 ? 6 : 7;
  for (int k = 2; k <= diag_len; k++) {
    int col = ramp(first, 0.25);
    putpixel(b, 7 - k + 1, 7 - k + 1, col);
    putpixel(b, 8 + k - 1, 7 - k + 1, col);
    putpixel(b, 7 - k + 1, 8 + k - 1, col);
    putpixel(b, 8 + k - 1, 8 + k - 1, col);
  }
  // Spike tips one step brighter, on the lit side.
  putpixel(b, 7, 0, ramp(first, 0.6));
  putpixel(b, 0, 7, ramp(first, 0.6));

  // The sphere.
  const double lx = -0.55, ly = -0.62, lz = 0.56;
  for (int y = 0; y < 16; y++) {
    for (int x = 0; x < 16; x++) {
      double dx = x - c, dy = y - c;
      double d2 = dx * dx + dy * dy;
      if (d2 > r * r) continue;
      double nz = std::sqrt(r * r - d2) / r;
      double nx = dx / r, ny = dy / r;
      double lit = nx * lx + ny * ly + nz * lz;
      if (lit < 0) lit = 0;
      double t = 0.08 + 0.72 * lit;
      bool edge = d2 > (r - 1.0) * (r - 1.0);
      if (edge && lit < 0.55) t = 0.02;
      // Belt: a darker equator band with bright rivets (levels 2 and 3).
      if (level >= 2 && std::fabs(dy) < 0.6) {
        t = t * 0.55;
        if ((x == 4 || x == 7 || x == 10 || x == 12) && !edge) t = 0.85;
      }
      // Level 3: a glowing vertical band crossing the belt.
      if (level == 3 && std::fabs(dx) < 0.6 && std::fabs(dy) >= 0.6 && !edge) t = 0.55 + 0.3 * lit;
      putpixel(b, x, y, ramp(first, t));
    }
  }
  // Specular highlight.
  putpixel(b, 5, 4, first + 15);
  putpixel(b, 4, 5, first + 15);
  putpixel(b, 5, 5, first + 14);
  putpixel(b, 6, 4, first + 13);
  putpixel(b, 4, 6, first + 13);
  return b;
}

// ---------------------------------------------------------------------------
// The explosion: a flash that swells into a fireball, burns out from the
// middle into a ragged ring and leaves drifting smoke and embers. Colours
// run over "Explosions" from 113 (dark ember) to 127 (white heat).

const int EXPLOSION_SIZE = 48;

uint32_t hash2(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

double lattice(int x, int y, int seed) { return (hash2(x, y, seed) & 0xFFFF) / 65535.0; }

// Smooth value noise in 0..1.
double value_noise(double x, double y, int seed) {
  int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  double fx = x - xi, fy = y - yi;
  double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  double a = lattice(xi, yi, seed), b = lattice(xi + 1, yi, seed);
  double c = lattice(xi, yi + 1, seed), d = lattice(xi + 1, yi + 1, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double turbulence(double x, double y, int seed) {
  return 0.55 * value_noise(x, y, seed) + 0.3 * value_noise(2 * x, 2 * y, seed + 1) +
         0.15 * value_noise(4 * x, 4 * y, seed + 2);
}

// The fireball is a cluster of billows around a hot core. Per frame: the
// core's radius and heat, and how far out the billows have drifted, how
// big they are and how hot they still burn.
const double CORE_RADIUS[OBJ_EXPLOSION_FRAMES] = {5, 8.5, 11, 11.5, 10.5, 9, 7, 5, 3, 0, 0};
const double CORE_HEAT[OBJ_EXPLOSION_FRAMES] = {1, 1, 1, 0.97, 0.92, 0.8, 0.62, 0.45, 0.3, 0, 0};
const double BILLOW_DIST[OBJ_EXPLOSION_FRAMES] = {0, 3, 6, 9, 11.5, 13, 14.5, 15.5, 16.5, 17, 17.5};
const double BILLOW_SIZE[OBJ_EXPLOSION_FRAMES] = {0, 3.5, 5.5, 7, 8, 8.5, 8.5, 8, 7, 5.5, 4};
const double BILLOW_HEAT[OBJ_EXPLOSION_FRAMES] = {1, 1, 0.95, 0.9, 0.8, 0.68, 0.54, 0.4, 0.28, 0.18, 0.1};
const double EROSION[OBJ_EXPLOSION_FRAMES] = {0, 0, 0, 0, 0, 0, 0.1, 0.2, 0.3, 0.38, 0.46};
const double RAYS[OBJ_EXPLOSION_FRAMES] = {0, 12, 17, 14, 0, 0, 0, 0, 0, 0, 0};

struct Billow {
  double ang, dist, size, cool;
};

const int BILLOWS = 13;

Billow billow(int k) {
  const double two_pi = 6.283185307179586;
  Billow b;
  b.ang = two_pi * k / BILLOWS + 0.35 * (lattice(k, 1, 3) - 0.5);
  b.dist = 0.7 + 0.3 * lattice(k, 2, 3);
  b.size = 0.8 + 0.4 * lattice(k, 3, 3);
  b.cool = 0.85 + 0.3 * lattice(k, 4, 3);
  return b;
}

BITMAP* explosion_frame(int f) {
  const int n = EXPLOSION_SIZE;
  const double c = (n - 1) / 2.0;
  static double heat[EXPLOSION_SIZE][EXPLOSION_SIZE];
  for (int y = 0; y < n; y++) {
    for (int x = 0; x < n; x++) {
      heat[y][x] = -1;  // not covered
      // Ragged edges: distances are stretched by smooth noise.
      double wob = 1.0 + 0.35 * (turbulence(x / 3.5 + f * 0.6, y / 3.5 - f * 0.4, 17) - 0.5);
      double dx = x - c, dy = y - c;
      double d = std::sqrt(dx * dx + dy * dy);
      // Billows are painted one over the other, each with a darker rim,
      // so the cloud shows its lobes; the core is painted last, on top.
      double h = -1;
      if (BILLOW_SIZE[f] > 0) {
        for (int i = 0; i < BILLOWS; i++) {
          Billow b = billow((i * 5) % BILLOWS);  // painted in a scattered order
          double bx = c + std::cos(b.ang) * BILLOW_DIST[f] * b.dist;
          double by = c + std::sin(b.ang) * BILLOW_DIST[f] * b.dist;
          double r = BILLOW_SIZE[f] * b.size;
          double ex = x - bx, ey = y - by;
          double e = std::sqrt(ex * ex + ey * ey) * wob;
          if (e >= r) continue;
          double u = e / r;
          // Lit on the side facing the middle of the blast.
          double inward = (d > 0.5) ? -(ex * dx + ey * dy) / (r * d) : 0;
          h = BILLOW_HEAT[f] * b.cool * (1.0 - 0.45 * u * u) + 0.12 * inward;
          if (u > 0.85) h -= 0.07;
        }
      }
      if (CORE_RADIUS[f] > 0 && d * wob < CORE_RADIUS[f]) {
        double u = d * wob / CORE_RADIUS[f];
        double ch = CORE_HEAT[f] * (1.0 - 0.35 * u * u);
        if (ch > h) h = ch;
      }
      for (int k = 0; k < 8 && RAYS[f] > 0; k++) {
        double a = k * 0.785398 + 0.2;
        double along = dx * std::cos(a) + dy * std::sin(a);
        double across = std::fabs(-dx * std::sin(a) + dy * std::cos(a));
        double len = RAYS[f] * (k % 2 ? 0.7 : 1.0);
        if (along > 0 && along < len && across < 1.3 * (1.0 - along / len) + 0.3) {
          double rh = 0.95 - 0.45 * along / len;
          if (rh > h) h = rh;
        }
      }
      if (h < 0 || d > c) continue;
      // Late frames: the cloud tears into holes and wisps.
      if (EROSION[f] > 0 && turbulence(x / 5.0 + f * 0.3, y / 5.0 + f * 0.2, 41) < EROSION[f] + 0.12 * (d / c))
        continue;
      heat[y][x] = h + 0.1 * (turbulence(x / 2.5, y / 2.5 + f, 29) - 0.5);
    }
  }
  BITMAP* b = gfx_new_bitmap(n, n);
  for (int y = 0; y < n; y++) {
    for (int x = 0; x < n; x++) {
      double h = heat[y][x];
      if (h < -0.5) continue;
      // A darker rim gives the cloud its outline.
      bool rim = x == 0 || y == 0 || x == n - 1 || y == n - 1 || heat[y][x - 1] < -0.5 ||
                 heat[y][x + 1] < -0.5 || heat[y - 1][x] < -0.5 || heat[y + 1][x] < -0.5;
      if (rim) h -= 0.18;
      if (h < 0) h = 0;
      if (h > 1) h = 1;
      putpixel(b, x, y, COL_EXPLOSION_FIRST + static_cast<int>(std::lround(h * 14.0)));
    }
  }
  // Embers thrown out from frame 5 on.
  for (int k = 0; k < 16 && f >= 5; k++) {
    double a = lattice(k, 7, 9) * 6.283185307179586;
    double dist = 9 + (f - 4) * (2.0 + 1.5 * lattice(k, 8, 9));
    if (dist > c - 1) continue;
    int x = static_cast<int>(c + std::cos(a) * dist), y = static_cast<int>(c + std::sin(a) * dist);
    double h = 0.75 - 0.06 * (f - 5) - 0.2 * lattice(k, 9, 9);
    if (lattice(k, f, 13) < 0.25) continue;  // flicker
    putpixel(b, x, y, COL_EXPLOSION_FIRST + static_cast<int>(std::lround(h * 14.0)));
  }
  return b;
}

// ---------------------------------------------------------------------------
// The mouse pointer: an arrow with its hot spot in the top-left pixel.

const char* const POINTER[19] = {
    "X...........",  //
    "XX..........",  //
    "XoX.........",  //
    "XooX........",  //
    "XoooX.......",  //
    "XooooX......",  //
    "XoooooX.....",  //
    "XooooooX....",  //
    "XoooooooX...",  //
    "XooooooooX..",  //
    "XoooooooooX.",  //
    "XooooooXXXXX",  //
    "XoooXooX....",  //
    "XooX.XooX...",  //
    "XoX..XooX...",  //
    "XX....XooX..",  //
    "X.....XooX..",  //
    ".......XooX.",  //
    "........XX..",
};

}  // namespace

// Objects 8-18 (explosion), 39-42 (flags), 111-113 (mines), 128 (pointer),
// 131-194 (number glyphs) and 195 ('?').
void build_board_pieces(GfxSet& set) {
  for (int n = 1; n <= 64; n++) gfx_set_bitmap(set, OBJ_NUMBER_BASE + n, number_glyph(n));

  BITMAP* q = gfx_new_bitmap(16, 16);
  stamp1(q, 3, 2, QUESTION, 12, COL_QUESTION);
  gfx_set_bitmap(set, OBJ_QUESTION, q);

  BITMAP* flag = gfx_new_bitmap(16, 16);
  const Ink flag_inks[] = {{'C', COL_FLAG_A}, {'P', COL_FLAG_B}};
  stamp(flag, 0, 1, REGULAR_FLAG, 14, flag_inks, 2);
  gfx_set_bitmap(set, OBJ_FLAG, flag);
  for (int level = 1; level <= 3; level++) gfx_set_bitmap(set, OBJ_FLAG_LEVEL1 + level - 1, multi_flag(level));

  for (int level = 1; level <= 3; level++) gfx_set_bitmap(set, OBJ_MINE_LEVEL1 + level - 1, mine(level));

  for (int f = 0; f < OBJ_EXPLOSION_FRAMES; f++) gfx_set_bitmap(set, OBJ_EXPLOSION_FIRST + f, explosion_frame(f));

  BITMAP* arrow = gfx_new_bitmap(12, 19);
  const Ink arrow_inks[] = {{'X', COL_CURSOR_A}, {'o', COL_CURSOR_B}};
  stamp(arrow, 0, 0, POINTER, 19, arrow_inks, 2);
  gfx_set_bitmap(set, OBJ_POINTER, arrow);
}
