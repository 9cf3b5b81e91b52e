// The two screens before play: the title logo (object 109) with its
// palette (110), and the "Press any key to continue." picture (227) with
// its palette (226).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "screens/title.h"

namespace {

// ---------------------------------------------------------------------------
// Palette helpers

struct Stop {
  float at;  // 0..1 along the ramp
  int r, g, b;
};

void put(RGB* pal, int i, int r, int g, int b) {
  pal[i].r = static_cast<unsigned char>(std::clamp(r, 0, 63));
  pal[i].g = static_cast<unsigned char>(std::clamp(g, 0, 63));
  pal[i].b = static_cast<unsigned char>(std::clamp(b, 0, 63));
  pal[i].filler = 0;
}

// count entries from first, following the colour stops from dark to bright.
void ramp(RGB* pal, int first, int count, const std::vector<Stop>& stops) {
  for (int k = 0; k < count; k++) {
    float t = count > 1 ? static_cast<float>(k) / (count - 1) : 1.0f;
    size_t s = 0;
    while (s + 2 < stops.size() && t > stops[s + 1].at) s++;
    const Stop& a = stops[s];
    const Stop& b = stops[s + 1];
    float f = std::clamp((t - a.at) / (b.at - a.at), 0.0f, 1.0f);
    auto mix = [f](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * f)); };
    put(pal, first + k, mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
  }
}

// ---------------------------------------------------------------------------
// The logo

// Palette of the title (object 110):
//   0        black
//   20       the gold of the letter faces at the scan's dots (see below)
//   32..47   fire sparks      (47 white heat down to dark red)
//   48..63   electric sparks  (63 white down to deep blue)
//   64..79   violet sparks    (79 white down to deep purple)
//   80..95   gold dust, the dots that build the logo (95 white)
//   96..159  the gold of the letters, dark to bright
//   160..191 the glow around the letters, dark to bright
//   254      the black rim round the letters (black, but not transparent)
//   255      white
const int GOLD_FIRST = 96, GOLD_COUNT = 64;
const int GLOW_FIRST = 160, GLOW_COUNT = 32;
const int DOT_INDEX = 20;
const int RIM_INDEX = 254;

void build_logo_palette(RGB* pal) {
  for (int i = 0; i < PAL_SIZE; i++) put(pal, i, 0, 0, 0);
  ramp(pal, 32, 16, {{0.0f, 6, 0, 0}, {0.35f, 40, 6, 0}, {0.7f, 62, 36, 4}, {1.0f, 63, 63, 50}});
  ramp(pal, 48, 16, {{0.0f, 0, 2, 10}, {0.4f, 6, 20, 52}, {0.75f, 24, 52, 63}, {1.0f, 60, 63, 63}});
  ramp(pal, 64, 16, {{0.0f, 6, 0, 10}, {0.4f, 34, 6, 44}, {0.75f, 58, 30, 63}, {1.0f, 63, 58, 63}});
  ramp(pal, 80, 16, {{0.0f, 8, 4, 0}, {0.4f, 44, 26, 4}, {0.75f, 62, 52, 20}, {1.0f, 63, 63, 58}});
  ramp(pal, GOLD_FIRST, GOLD_COUNT,
       {{0.0f, 5, 2, 0}, {0.3f, 26, 12, 1}, {0.55f, 48, 30, 6}, {0.8f, 62, 50, 18}, {1.0f, 63, 63, 54}});
  ramp(pal, GLOW_FIRST, GLOW_COUNT, {{0.0f, 2, 0, 0}, {0.5f, 22, 5, 0}, {1.0f, 50, 20, 2}});
  put(pal, RIM_INDEX, 0, 0, 0);
  put(pal, 255, 63, 63, 63);
}

// The letters on a grid of 3 x 3 pixel cells, 13 cells high.
//   '#' a full cell, '.' an empty one,
//   'q' 'p' 'b' 'd' a half cell cut along a diagonal: the filled half lies
//   lower right (q), lower left (p), upper right (b) or upper left (d);
//   '+' a full cell that keeps its square corners.
// Convex corners of '#' cells are cut by one cell diagonal automatically.
const int CELL = 3;
const int LETTER_ROWS = 13;

struct Letter {
  const char* rows[LETTER_ROWS];
};

const Letter LETTERS[] = {
    {{".q#########",  // F
      "q##########",
      "###########",
      "###........",
      "###........",
      "#########..",
      "#########..",
      "#########..",
      "###........",
      "###........",
      "###........",
      "###........",
      "###........"}},
    {{"###......###",  // U
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###p....q###",
      "############",
      "b##########d",
      ".b########d."}},
    {{".q##########",  // S
      "q###########",
      "############",
      "###.........",
      "###.........",
      "##########p.",
      "b##########p",
      ".b##########",
      ".........###",
      ".........###",
      "############",
      "###########d",
      "##########d."}},
    {{".q#########",  // E
      "q##########",
      "###########",
      "###........",
      "###........",
      "#########..",
      "#########..",
      "#########..",
      "###........",
      "###........",
      "###########",
      "##########d",
      "#########d."}},
    {{".q##########",  // G
      "q###########",
      "############",
      "###.........",
      "###.........",
      "###...######",
      "###...######",
      "###...######",
      "###......###",
      "###p.....###",
      "############",
      "b##########d",
      ".b########d."}},
    {{".q########p.",  // R
      "q##########p",
      "############",
      "###......###",
      "###......###",
      "############",
      "###########d",
      "##########d.",
      "###...b##p..",
      "###....b##p.",
      "###.....b##p",
      "###......###",
      "###......###"}},
    {{"###",  // I
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###",
      "###"}},
    {{"+########p..",  // D: a square stem, the bowl round on the right
      "##########p.",
      "###########p",
      "###.....b###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###......###",
      "###.....q###",
      "###########d",
      "##########d.",
      "+########d.."}},
};
const int LETTER_COUNT = sizeof LETTERS / sizeof LETTERS[0];
const int LETTER_GAP = 4 * CELL;  // pixels between letters
const int LETTER_TOP = 5;         // pixel row of the letters' top

const int LOGO_W = 355, LOGO_H = 51;

struct Grid {
  int w, h;
  std::vector<float> v;
  Grid(int w_, int h_, float init = 0.0f) : w(w_), h(h_), v(static_cast<size_t>(w_) * h_, init) {}
  float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
  float get(int x, int y) const {
    return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : v[static_cast<size_t>(y) * w + x];
  }
};

int letter_cols(const Letter& l) { return static_cast<int>(std::string(l.rows[0]).size()); }

char cell_of(const Letter& l, int cx, int cy) {
  if (cy < 0 || cy >= LETTER_ROWS || cx < 0 || cx >= letter_cols(l)) return '.';
  return l.rows[cy][cx];
}

// Coverage of one pixel (u, v in 0..2) of a cell.
bool cell_pixel(char c, int u, int v) {
  switch (c) {
    case '#':
    case '+': return true;
    case 'q': return u + v >= 2;
    case 'p': return v >= u;
    case 'b': return u >= v;
    case 'd': return u + v <= 2;
    default: return false;
  }
}

// A full cell whose two neighbours around a corner are empty gets that
// corner cut.
char chamfered(const Letter& l, int cx, int cy) {
  char c = cell_of(l, cx, cy);
  if (c != '#') return c;
  bool up = cell_of(l, cx, cy - 1) == '.', down = cell_of(l, cx, cy + 1) == '.';
  bool left = cell_of(l, cx - 1, cy) == '.', right = cell_of(l, cx + 1, cy) == '.';
  if (up && left) return 'q';
  if (up && right) return 'p';
  if (down && left) return 'b';
  if (down && right) return 'd';
  return c;
}

// The letters' shape: 1 inside, 0 outside; the left edge of each letter
// goes to starts.
Grid letter_mask(std::vector<int>& starts) {
  int total = 0;
  for (int i = 0; i < LETTER_COUNT; i++) total += letter_cols(LETTERS[i]) * CELL + (i ? LETTER_GAP : 0);
  int x0 = (LOGO_W - total) / 2;
  Grid m(LOGO_W, LOGO_H);
  for (int i = 0; i < LETTER_COUNT; i++) {
    const Letter& l = LETTERS[i];
    starts.push_back(x0);
    for (int cy = 0; cy < LETTER_ROWS; cy++)
      for (int cx = 0; cx < letter_cols(l); cx++) {
        char c = chamfered(l, cx, cy);
        for (int v = 0; v < CELL; v++)
          for (int u = 0; u < CELL; u++)
            if (cell_pixel(c, u, v)) m.at(x0 + cx * CELL + u, LETTER_TOP + cy * CELL + v) = 1.0f;
      }
    x0 += letter_cols(l) * CELL + LETTER_GAP;
  }
  return m;
}

// Distance from every pixel to the nearest pixel where the mask differs
// from this pixel's value (up to radius), with the direction to it.
struct Field {
  Grid dist, dx, dy;
  Field(int w, int h) : dist(w, h, 99.0f), dx(w, h), dy(w, h) {}
};

Field distance_field(const Grid& m, int radius) {
  Field f(m.w, m.h);
  for (int y = 0; y < m.h; y++)
    for (int x = 0; x < m.w; x++) {
      bool in = m.get(x, y) > 0.5f;
      float best = 99.0f;
      int bx = 0, by = 0;
      for (int j = -radius; j <= radius; j++)
        for (int i = -radius; i <= radius; i++) {
          int px = x + i, py = y + j;
          bool other = (px < 0 || py < 0 || px >= m.w || py >= m.h) ? in : ((m.get(px, py) > 0.5f) != in);
          if (!other) continue;
          float d = std::sqrt(static_cast<float>(i * i + j * j));
          if (d < best) best = d, bx = i, by = j;
        }
      f.dist.at(x, y) = best;
      f.dx.at(x, y) = static_cast<float>(bx);
      f.dy.at(x, y) = static_cast<float>(by);
    }
  return f;
}

int gold(float level) {
  int k = static_cast<int>(std::lround(std::clamp(level, 0.0f, 1.0f) * (GOLD_COUNT - 1)));
  return GOLD_FIRST + k;
}

// Brightness of a letter face at a pixel row. The face is one even gold
// on every row the title scan looks at (rows 2 mod 4), so that its dots
// there can take index 20; between those rows run the streaks of polished
// metal: a shine near the top and a dark horizon under the middle.
const float FACE_LEVEL = 0.62f;

float face_level(int y) {
  switch (y) {
    case 7: return 0.86f;
    case 8: return 0.98f;
    case 9: return 0.80f;
    case 23: return 0.54f;
    case 24: return 0.46f;
    case 25: return 0.56f;
    default: return FACE_LEVEL;
  }
}

// A four-pointed star of light centred on (cx, cy).
void draw_glint(BITMAP* b, int cx, int cy) {
  const float arm[] = {1.0f, 1.0f, 0.97f, 0.92f, 0.86f, 0.8f, 0.74f};
  for (int k = 6; k >= 1; k--) {
    int c = gold(arm[k]);
    putpixel(b, cx - k, cy, c);
    putpixel(b, cx + k, cy, c);
    if (k <= 4) {
      putpixel(b, cx, cy - k, c);
      putpixel(b, cx, cy + k, c);
    }
  }
  putpixel(b, cx - 1, cy - 1, gold(0.85f));
  putpixel(b, cx + 1, cy - 1, gold(0.85f));
  putpixel(b, cx - 1, cy + 1, gold(0.85f));
  putpixel(b, cx + 1, cy + 1, gold(0.85f));
  putpixel(b, cx, cy, 255);
}

BITMAP* draw_logo() {
  std::vector<int> starts;
  Grid body = letter_mask(starts);
  // The letters stand out of the screen: a three pixel extrusion to the
  // lower right.
  const int DEPTH = 3;
  Grid solid = body;
  for (int y = 0; y < LOGO_H; y++)
    for (int x = 0; x < LOGO_W; x++)
      for (int k = 1; k <= DEPTH; k++)
        if (body.get(x - k, y - k) > 0.5f) solid.at(x, y) = 1.0f;
  Field in = distance_field(body, 4);
  Field out = distance_field(solid, 8);

  BITMAP* b = gfx_new_bitmap(LOGO_W, LOGO_H);
  const float lx = -0.7071f, ly = -0.7071f;  // towards the light
  for (int y = 0; y < LOGO_H; y++)
    for (int x = 0; x < LOGO_W; x++) {
      int c = 0;
      if (body.get(x, y) > 0.5f) {
        float d = in.dist.get(x, y);
        float level = face_level(y);
        if (d <= 3.0f) {
          // Bevel: the outward normal points towards the nearest outside pixel.
          float nx = in.dx.get(x, y), ny = in.dy.get(x, y);
          float n = std::sqrt(nx * nx + ny * ny);
          float lit = n > 0 ? (nx * lx + ny * ly) / n : 0.0f;
          float edge = (3.5f - d) / 3.0f;
          level = 0.55f + 0.45f * lit * edge + (level - 0.55f) * (1.0f - edge);
          if (d <= 1.0f) level += lit > 0 ? 0.1f : -0.1f;
        }
        c = gold(level);
      } else if (solid.get(x, y) > 0.5f) {
        // Extrusion side walls, darker further from the face.
        int k = 1;
        while (k <= DEPTH && body.get(x - k, y - k) < 0.5f) k++;
        c = gold(0.30f - 0.06f * k);
      } else {
        float d = out.dist.get(x, y);
        if (d <= 3.0f) {
          c = RIM_INDEX;  // black rim
        } else if (d <= 8.0f) {
          float t = 1.0f - (d - 3.0f) / 5.0f;
          c = GLOW_FIRST + static_cast<int>(std::lround(t * t * (GLOW_COUNT - 1)));
          if (c == GLOW_FIRST) c = 0;
        }
      }
      putpixel(b, x, y, c);
    }
  // Two glints where the light catches the top left corners.
  draw_glint(b, starts[0] + 4, LETTER_TOP + 3);
  draw_glint(b, starts[5] + 4, LETTER_TOP + 3);
  return b;
}

int colour_cost(const RGB& a, const RGB& b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Fits the logo to the title scan. Index 20 takes the colour of the letter
// faces, so every face pixel on a scanned point can become 20 unseen; the
// rim round the letters is black, so its pixels there can become 0 unseen.
// Of all such one-pixel touch-ups the cheapest (by colour change) are made
// until the scan finds exactly TITLE_POINTS; ties go to the faces, then
// to the scan order. Returns false when that cannot be done.
bool fit_logo_to_scan(BITMAP* logo, RGB* pal) {
  pal[DOT_INDEX] = pal[gold(FACE_LEVEL)];
  const RGB black{0, 0, 0, 0};
  struct Touch {
    int cost, order, x, y, colour;
  };
  int need = TITLE_POINTS - static_cast<int>(title_scan_points(logo).size());
  std::vector<Touch> options;
  for (int x = 0; x <= 352; x += 4)
    for (int y = 6; y <= 42; y += 4) {
      int p = getpixel(logo, x, y);
      int around = getpixel(logo, x + 2, y) + getpixel(logo, x, y + 2) + getpixel(logo, x + 2, y + 2);
      bool listed = (p == 0 || p == DOT_INDEX) && p + around != 0;
      int order = static_cast<int>(options.size());
      if (need > 0 && !listed) {
        Touch t{2 * colour_cost(pal[p], pal[DOT_INDEX]), order, x, y, DOT_INDEX};
        if (p != 0 && around != 0 && 2 * colour_cost(pal[p], black) + 1 < t.cost)
          t = {2 * colour_cost(pal[p], black) + 1, order, x, y, 0};
        options.push_back(t);
      } else if (need < 0 && listed && p == 0) {
        options.push_back({0, order, x, y, RIM_INDEX});  // black stays black
      }
    }
  size_t n = static_cast<size_t>(std::abs(need));
  if (options.size() < n) return false;
  std::sort(options.begin(), options.end(), [](const Touch& a, const Touch& b) {
    return a.cost != b.cost ? a.cost < b.cost : a.order < b.order;
  });
  for (size_t i = 0; i < n; i++) putpixel(logo, options[i].x, options[i].y, options[i].colour);
  return static_cast<int>(title_scan_points(logo).size()) == TITLE_POINTS;
}

// ---------------------------------------------------------------------------
// The "Press any key to continue." picture (object 227): a free-form board
// of hexagons, squares and triangles in play, seen in perspective under the
// logo, with a few cells bursting. It is rendered in full colour with four
// samples a pixel and then reduced to its own palette (object 226): index
// 0 black and 255 white for the line the game writes over the bottom right
// corner, indexes 1..254 chosen for the picture by median cut.

const int PIC_W = 800, PIC_H = 600;

struct Col {
  float r = 0, g = 0, b = 0;
};
Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Col operator*(Col a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Col mix(Col a, Col b, float t) { return a * (1.0f - t) + b * t; }
Col rgb6(const RGB& c) { return {c.r / 63.0f, c.g / 63.0f, c.b / 63.0f}; }

struct V2 {
  double x = 0, y = 0;
};
V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
V2 operator*(V2 a, double k) { return {a.x * k, a.y * k}; }
double dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }

struct V3 {
  double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 a) { return a * (1.0 / std::sqrt(dot(a, a))); }

// The scene's own random numbers, so that the picture never changes.
struct SceneRandom {
  uint32_t state;
  double unit() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0;
  }
  double range(double a, double b) { return a + (b - a) * unit(); }
};

enum TileState { TILE_HIDDEN, TILE_OPEN, TILE_FLAGGED, TILE_BLOWN };

struct Tile {
  std::vector<V2> v;  // corners, counter-clockwise on the board plane
  V2 c;               // centre
  double inradius = 0;
  bool mine = false;
  int clue = 0;
  TileState state = TILE_HIDDEN;
  std::vector<int> nb;
};

// Signed distance from p to the tile's outline, positive inside, and the
// outward normal of the nearest side.
double tile_distance(const Tile& t, V2 p, V2* normal) {
  double best = 1e9;
  size_t n = t.v.size();
  for (size_t i = 0; i < n; i++) {
    V2 a = t.v[i], b = t.v[(i + 1) % n];
    V2 e = b - a;
    double len = std::sqrt(dot(e, e));
    double d = (e.x * (p.y - a.y) - e.y * (p.x - a.x)) / len;
    if (d < best) {
      best = d;
      if (normal) *normal = {e.y / len, -e.x / len};
    }
  }
  return best;
}

// Board outline: a rounded, uneven blob, as free-form as the game's boards.
bool on_board(V2 c) {
  double a = std::atan2(c.y, c.x);
  double r = 9.6 * (1.0 + 0.10 * std::sin(3 * a + 0.6) + 0.06 * std::cos(5 * a - 0.3));
  return c.x * c.x / 1.25 + c.y * c.y < r * r;
}

// The tiling of hexagons, squares and triangles (each hexagon ringed by
// six squares and six triangles), side 1, clipped to the board outline.
std::vector<Tile> make_tiles() {
  const double PI = 3.14159265358979;
  const double L = 1.0 + std::sqrt(3.0);
  const V2 e1{L, 0}, e2{L / 2, L * std::sqrt(3.0) / 2};
  std::vector<Tile> tiles;
  auto add = [&tiles](std::vector<V2> v) {
    Tile t;
    t.v = v;
    for (V2 p : v) t.c = t.c + p * (1.0 / v.size());
    t.inradius = tile_distance(t, t.c, nullptr);
    if (on_board(t.c)) tiles.push_back(t);
  };
  auto corner = [PI](V2 c, int k) {
    double a = (30.0 + 60.0 * k) * PI / 180.0;
    return V2{c.x + std::cos(a), c.y + std::sin(a)};
  };
  for (int j = -10; j <= 10; j++)
    for (int i = -14; i <= 14; i++) {
      V2 c = e1 * i + e2 * j;
      std::vector<V2> hex;
      for (int k = 0; k < 6; k++) hex.push_back(corner(c, k));
      add(hex);
      for (V2 e : {e1, e2, e2 - e1}) {
        double len = std::sqrt(dot(e, e));
        V2 n = e * (0.5 / len), t{-n.y, n.x};
        V2 m = c + e * 0.5;
        add({m + n + t, m - n + t, m - n - t, m + n - t});
      }
      add({corner(c, 0), corner(c + e1, 2), corner(c + e2, 4)});
      add({corner(c + e1, 1), corner(c + e1 + e2, 3), corner(c + e2, 5)});
    }
  for (size_t a = 0; a < tiles.size(); a++)
    for (size_t b = a + 1; b < tiles.size(); b++) {
      V2 d = tiles[a].c - tiles[b].c;
      if (dot(d, d) > 9.0) continue;
      bool touch = false;
      for (V2 p : tiles[a].v)
        for (V2 q : tiles[b].v)
          if (dot(p - q, p - q) < 1e-6) touch = true;
      if (touch) {
        tiles[a].nb.push_back(static_cast<int>(b));
        tiles[b].nb.push_back(static_cast<int>(a));
      }
    }
  return tiles;
}

int nearest_tile(const std::vector<Tile>& tiles, V2 p) {
  int best = 0;
  for (size_t i = 0; i < tiles.size(); i++)
    if (dot(tiles[i].c - p, tiles[i].c - p) < dot(tiles[best].c - p, tiles[best].c - p)) best = static_cast<int>(i);
  return best;
}

// A game in progress: mines, an opened region with its clues, flags on
// some of the mines around it and two mines that went off.
void play_tiles(std::vector<Tile>& tiles, SceneRandom& rnd) {
  for (Tile& t : tiles) t.mine = rnd.unit() < 0.16;
  int start = nearest_tile(tiles, {-1.0, -1.0});
  tiles[start].mine = false;
  for (int n : tiles[start].nb) tiles[n].mine = false;
  for (Tile& t : tiles) {
    t.clue = 0;
    for (int n : t.nb) t.clue += tiles[n].mine;
  }
  // Open from the start, then from the empty tiles nearest to it, until
  // about a third of the board is open.
  std::vector<int> order(tiles.size());
  for (size_t i = 0; i < order.size(); i++) order[i] = static_cast<int>(i);
  V2 from = tiles[start].c;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return dot(tiles[a].c - from, tiles[a].c - from) < dot(tiles[b].c - from, tiles[b].c - from);
  });
  size_t open = 0;
  for (int first : order) {
    if (open * 3 >= tiles.size()) break;
    if (tiles[first].mine || tiles[first].clue != 0 || tiles[first].state == TILE_OPEN) continue;
    std::vector<int> todo{first};
    while (!todo.empty()) {
      int i = todo.back();
      todo.pop_back();
      if (tiles[i].state == TILE_OPEN) continue;
      tiles[i].state = TILE_OPEN;
      open++;
      if (tiles[i].clue == 0)
        for (int n : tiles[i].nb)
          if (tiles[n].state == TILE_HIDDEN) todo.push_back(n);
    }
  }
  std::vector<int> edge_mines;
  for (int i : order) {
    if (!tiles[i].mine) continue;
    bool edge = false;
    for (int n : tiles[i].nb) edge = edge || tiles[n].state == TILE_OPEN;
    if (edge) edge_mines.push_back(i);
  }
  // The hexagons among them nearest to two spots in front went off; flags
  // on about half the rest.
  for (V2 spot : {V2{-3.5, -1.0}, V2{3.0, -3.5}}) {
    int pick = -1;
    for (int i : edge_mines)
      if (tiles[i].v.size() == 6 && tiles[i].state == TILE_HIDDEN &&
          (pick < 0 || dot(tiles[i].c - spot, tiles[i].c - spot) < dot(tiles[pick].c - spot, tiles[pick].c - spot)))
        pick = i;
    if (pick >= 0) tiles[pick].state = TILE_BLOWN;
  }
  for (int i : edge_mines)
    if (tiles[i].state == TILE_HIDDEN && rnd.unit() < 0.55) tiles[i].state = TILE_FLAGGED;
}

struct Camera {
  V3 pos, right, up, fwd;
  double focal = 1, cx = 0, cy = 0;

  // The point of the board plane (z = 0) seen through a screen position.
  bool to_board(double sx, double sy, V2* out) const {
    V3 d = fwd + right * ((sx - cx) / focal) + up * (-(sy - cy) / focal);
    if (d.z > -1e-6) return false;
    double t = -pos.z / d.z;
    *out = {pos.x + d.x * t, pos.y + d.y * t};
    return true;
  }
  // Screen position of a point; *scale is pixels per board unit there.
  V2 to_screen(V3 p, double* scale) const {
    V3 q = p - pos;
    double z = dot(q, fwd);
    *scale = focal / z;
    return {cx + dot(q, right) * focal / z, cy - dot(q, up) * focal / z};
  }
};

Camera make_camera() {
  Camera cam;
  const double pitch = 54.0 * 3.14159265358979 / 180.0, dist = 32.0;
  V3 target{0.0, -1.2, 0.0};
  cam.pos = target + V3{0.0, -std::cos(pitch) * dist, std::sin(pitch) * dist};
  cam.fwd = unit(target - cam.pos);
  cam.right = {1, 0, 0};
  cam.up = cross(cam.right, cam.fwd);
  cam.focal = 720;
  cam.cx = PIC_W / 2.0;
  cam.cy = 325;
  return cam;
}

struct Flag {
  V2 base;       // screen position of the foot
  double scale;  // pixels per board unit
};

struct Scene {
  std::vector<Tile> tiles;
  Camera cam;
  std::vector<Flag> flags;  // far to near
  // Tiles by 1.5-unit buckets of the board plane.
  double bx0 = -30, by0 = -30, bucket = 1.5;
  int bw = 40, bh = 40;
  std::vector<std::vector<int>> buckets;
  const BITMAP* glyph[9] = {};
  const BITMAP* mine = nullptr;
  const RGB* game_pal = nullptr;

  void index_tiles() {
    buckets.assign(static_cast<size_t>(bw * bh), {});
    for (size_t i = 0; i < tiles.size(); i++) {
      double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
      for (V2 p : tiles[i].v) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
      }
      const double m = 0.6;  // reaches over the board's margin
      for (int by = static_cast<int>((y0 - m - by0) / bucket); by <= static_cast<int>((y1 + m - by0) / bucket); by++)
        for (int bx = static_cast<int>((x0 - m - bx0) / bucket); bx <= static_cast<int>((x1 + m - bx0) / bucket); bx++)
          if (bx >= 0 && by >= 0 && bx < bw && by < bh) buckets[static_cast<size_t>(by * bw + bx)].push_back(static_cast<int>(i));
    }
  }
  const std::vector<int>* near(V2 p) const {
    int bx = static_cast<int>(std::floor((p.x - bx0) / bucket)), by = static_cast<int>(std::floor((p.y - by0) / bucket));
    if (bx < 0 || by < 0 || bx >= bw || by >= bh) return nullptr;
    return &buckets[static_cast<size_t>(by * bw + bx)];
  }
};

const V2 LIGHT_DIR{-0.7071, 0.7071};  // towards the light, on the board plane
const double GAP = 0.06;                // half the grout between tiles
const double MARGIN = 0.5;              // board plate beyond the outer tiles

// Colour of a 16 x 16 symbol picture laid on a tile, or false where it has
// no ink. The picture's box spans size board units round the tile's centre.
bool symbol_at(const Scene& s, const BITMAP* sym, const Tile& t, V2 p, double size, Col* out) {
  if (!sym) return false;
  V2 q = p - t.c;
  int gx = static_cast<int>(std::floor((q.x / size + 0.5) * sym->w));
  int gy = static_cast<int>(std::floor((0.5 - q.y / size) * sym->h));
  if (gx < 0 || gy < 0 || gx >= sym->w || gy >= sym->h) return false;
  int c = getpixel(const_cast<BITMAP*>(sym), gx, gy);
  if (c <= 0) return false;
  *out = rgb6(s.game_pal[c]);
  return true;
}

Col background(double sx, double sy) {
  float t = static_cast<float>(sy / PIC_H);
  Col c = mix({0.015f, 0.02f, 0.04f}, {0.045f, 0.055f, 0.085f}, t);
  double dx = (sx - 400) / 420.0, dy = (sy - 380) / 260.0;
  float glow = static_cast<float>(std::exp(-(dx * dx + dy * dy) * 1.6));
  return c + Col{0.03f, 0.04f, 0.07f} * glow;
}

// Light falling on the board: a wide pool round its middle.
float board_light(V2 p) {
  V2 d = p - V2{-1.0, 1.5};
  return static_cast<float>(0.28 + 0.62 * std::exp(-dot(d, d) / (2 * 8.0 * 8.0)));
}

// One sample of the board, or false where the board is not.
bool shade_board(const Scene& s, V2 p, Col* out) {
  const std::vector<int>* cand = s.near(p);
  if (!cand) return false;
  int inside = -1;
  double best = -1e9;
  V2 normal{0, 0};
  for (int i : *cand) {
    V2 n;
    double d = tile_distance(s.tiles[i], p, &n);
    if (d > best) best = d, inside = i, normal = n;
  }
  if (inside < 0 || best < -MARGIN) return false;
  float light = board_light(p);
  if (best < GAP) {
    // The plate under the tiles: dark grout, a lit lip round its edge.
    Col plate{0.075f, 0.085f, 0.115f};
    if (best < -MARGIN + 0.12) plate = dot(normal, LIGHT_DIR) > 0 ? Col{0.22f, 0.24f, 0.30f} : Col{0.04f, 0.045f, 0.06f};
    *out = plate * light;
    return true;
  }
  const Tile& t = s.tiles[inside];
  double bevel = std::min(0.14, 0.4 * (t.inradius - GAP));
  double lit = dot(normal, LIGHT_DIR);
  Col c;
  if (t.state == TILE_HIDDEN || t.state == TILE_FLAGGED) {
    Col face{0.56f, 0.60f, 0.70f}, hi{0.86f, 0.89f, 0.96f}, lo{0.22f, 0.25f, 0.35f};
    face = face * static_cast<float>(1.0 + 0.08 * dot(p - t.c, LIGHT_DIR) / t.inradius);
    if (best - GAP < bevel) {
      float k = static_cast<float>(0.15 + 0.85 * std::fabs(lit));
      c = mix(face, lit > 0 ? hi : lo, k);
    } else {
      c = face;
    }
  } else if (t.state == TILE_OPEN) {
    Col face{0.41f, 0.43f, 0.48f};
    c = face;
    if (best - GAP < 0.07 && lit > 0.2) c = Col{0.27f, 0.29f, 0.34f};  // sunken: shade on the lit side
    Col ink;
    double size = std::min(1.5, t.inradius * 1.85);
    if (t.clue > 0 && t.clue <= 8 && symbol_at(s, s.glyph[t.clue], t, p, size, &ink)) c = ink;
  } else {
    double r = std::sqrt(dot(p - t.c, p - t.c)) / (t.inradius + 0.3);
    c = mix({0.78f, 0.26f, 0.10f}, {0.22f, 0.06f, 0.03f}, static_cast<float>(std::min(1.0, r)));
    Col ink;
    if (symbol_at(s, s.mine, t, p, std::min(1.5, t.inradius * 1.9), &ink)) c = ink;
    light = std::max(light, 0.9f);
  }
  *out = c * light;
  return true;
}

// A flag standing on its tile: pole, cloth to the left, a foot.
bool shade_flag(const Flag& f, double sx, double sy, Col* out) {
  double k = f.scale;
  double x = (sx - f.base.x) / k, y = (f.base.y - sy) / k;  // board units, up positive
  if (x < -0.75 || x > 0.2 || y < -0.12 || y > 1.45) return false;
  // Foot: a flat dark disc.
  double fx = x / 0.32, fy = (y - 0.0) / 0.09;
  if (fx * fx + fy * fy < 1.0 && y < 0.05) {
    *out = Col{0.10f, 0.10f, 0.12f} + Col{0.1f, 0.1f, 0.12f} * static_cast<float>(std::max(0.0, -fx));
    return true;
  }
  if (x > -0.04 && x < 0.04 && y >= 0 && y < 1.38) {
    *out = x < 0 ? Col{0.38f, 0.38f, 0.42f} : Col{0.14f, 0.14f, 0.17f};
    return true;
  }
  // Cloth: from the pole's top (y 1.38) to 0.8, its tip at x -0.62.
  double top = 1.38, bot = 0.78, tip = -0.64, mid = (top + bot) / 2;
  if (x <= -0.04 && x > tip) {
    double f2 = (x - tip) / (-0.04 - tip);  // 0 at the tip, 1 at the pole
    double half = f2 * (top - bot) / 2;
    double wave = 0.03 * std::sin(x * 9.0);
    if (std::fabs(y - mid - wave) < half) {
      float shade = static_cast<float>(0.75 + 0.35 * (y - mid - wave) / ((top - bot) / 2) * 0.5 + 0.2 * f2);
      *out = Col{0.92f, 0.12f, 0.08f} * shade;
      return true;
    }
  }
  return false;
}

// Additive light of sparks, bursts and embers, one value a pixel.
struct LightLayer {
  std::vector<Col> px = std::vector<Col>(static_cast<size_t>(PIC_W * PIC_H));
  void add(int x, int y, Col c) {
    if (x < 0 || y < 0 || x >= PIC_W || y >= PIC_H) return;
    Col& p = px[static_cast<size_t>(y * PIC_W + x)];
    p = p + c;
  }
  // A soft round spot.
  void splat(double x, double y, double radius, Col c) {
    int r = static_cast<int>(std::ceil(radius * 2.5));
    for (int j = -r; j <= r; j++)
      for (int i = -r; i <= r; i++) {
        int px_ = static_cast<int>(std::floor(x)) + i, py_ = static_cast<int>(std::floor(y)) + j;
        double dx = px_ + 0.5 - x, dy = py_ + 0.5 - y;
        add(px_, py_, c * static_cast<float>(std::exp(-(dx * dx + dy * dy) / (2 * radius * radius))));
      }
  }
  // A streak, bright at its head.
  void streak(V2 tail, V2 head, Col c) {
    V2 d = head - tail;
    int steps = std::max(2, static_cast<int>(std::sqrt(dot(d, d)) * 2));
    for (int k = 0; k <= steps; k++) {
      double t = static_cast<double>(k) / steps;
      V2 p = tail + d * t;
      splat(p.x, p.y, 0.6, c * static_cast<float>(0.15 + 0.85 * t * t) * (2.0f / steps * 3.0f));
    }
  }
};

// Sparks flying from a point of the board: hot at heart, reddening outward.
void burst(LightLayer& l, const Camera& cam, V2 at, SceneRandom& rnd, int count, Col hot, Col cool, float power) {
  double k;
  V2 c = cam.to_screen({at.x, at.y, 0.25}, &k);
  l.splat(c.x, c.y, 0.8 * k, cool * (0.4f * power));
  l.splat(c.x, c.y, 0.22 * k, hot * (0.7f * power));
  for (int n = 0; n < count; n++) {
    double a = rnd.range(0, 6.2831853);
    double speed = rnd.range(0.7, 4.0) * k;
    double t = rnd.range(0.3, 1.0);
    V2 dir{std::cos(a), std::sin(a) * 0.75 - 0.45};
    V2 head = c + dir * (speed * t) + V2{0, 0.35 * k * t * t};
    V2 tail = c + dir * (speed * t * 0.55) + V2{0, 0.35 * k * t * t * 0.3};
    Col col = mix(hot, cool, static_cast<float>(t)) * power;
    l.streak(tail, head, col);
    l.splat(head.x, head.y, 0.8, col * 0.9f);
  }
}

// Median cut of the picture's colours (6-bit components) into count
// colours, polished by a few rounds of nearest-colour averaging.
std::vector<Col> median_cut(const std::vector<uint32_t>& keys, int count) {
  struct Entry {
    int r, g, b, n;
  };
  std::vector<Entry> hist;
  {
    std::vector<uint32_t> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size();) {
      size_t j = i;
      while (j < sorted.size() && sorted[j] == sorted[i]) j++;
      uint32_t k = sorted[i];
      hist.push_back({static_cast<int>(k >> 12), static_cast<int>((k >> 6) & 63), static_cast<int>(k & 63), static_cast<int>(j - i)});
      i = j;
    }
  }
  struct Box {
    size_t a, b;  // range of hist
    long pop;
    int axis, span;
  };
  auto measure = [&hist](size_t a, size_t b) {
    int lo[3] = {63, 63, 63}, hi[3] = {0, 0, 0};
    long pop = 0;
    for (size_t i = a; i < b; i++) {
      int v[3] = {hist[i].r, hist[i].g, hist[i].b};
      for (int c = 0; c < 3; c++) lo[c] = std::min(lo[c], v[c]), hi[c] = std::max(hi[c], v[c]);
      pop += hist[i].n;
    }
    const int w[3] = {3, 4, 2};
    int axis = 0, span = -1;
    for (int c = 0; c < 3; c++)
      if ((hi[c] - lo[c]) * w[c] > span) span = (hi[c] - lo[c]) * w[c], axis = c;
    return Box{a, b, pop, axis, span};
  };
  std::vector<Box> boxes{measure(0, hist.size())};
  while (static_cast<int>(boxes.size()) < count) {
    size_t pick = boxes.size();
    double best = 0;
    for (size_t i = 0; i < boxes.size(); i++) {
      double score = boxes[i].span > 0 ? std::sqrt(static_cast<double>(boxes[i].pop)) * boxes[i].span : 0;
      if (score > best) best = score, pick = i;
    }
    if (pick == boxes.size()) break;
    Box bx = boxes[pick];
    int axis = bx.axis;
    auto val = [axis](const Entry& e) { return axis == 0 ? e.r : axis == 1 ? e.g : e.b; };
    std::sort(hist.begin() + static_cast<long>(bx.a), hist.begin() + static_cast<long>(bx.b),
              [&val](const Entry& x, const Entry& y) { return val(x) < val(y); });
    long half = 0;
    size_t m = bx.a;
    while (m < bx.b - 1 && half + hist[m].n <= bx.pop / 2) half += hist[m++].n;
    if (m == bx.a) m++;
    // Keep equal values on one side.
    while (m < bx.b && m > bx.a && val(hist[m]) == val(hist[m - 1])) m++;
    if (m >= bx.b) {
      m = bx.b - 1;
      while (m > bx.a + 1 && val(hist[m]) == val(hist[m - 1])) m--;
    }
    boxes[pick] = measure(bx.a, m);
    boxes.push_back(measure(m, bx.b));
  }
  std::vector<Col> pal;
  for (const Box& bx : boxes) {
    double r = 0, g = 0, b = 0, n = 0;
    for (size_t i = bx.a; i < bx.b; i++) r += hist[i].r * hist[i].n, g += hist[i].g * hist[i].n, b += hist[i].b * hist[i].n, n += hist[i].n;
    pal.push_back({static_cast<float>(r / n), static_cast<float>(g / n), static_cast<float>(b / n)});
  }
  for (int round = 0; round < 4; round++) {
    std::vector<double> sr(pal.size()), sg(pal.size()), sb(pal.size()), sn(pal.size());
    for (const Entry& e : hist) {
      size_t best = 0;
      float bd = 1e30f;
      for (size_t i = 0; i < pal.size(); i++) {
        float dr = pal[i].r - e.r, dg = pal[i].g - e.g, db = pal[i].b - e.b;
        float d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bd) bd = d, best = i;
      }
      sr[best] += e.r * e.n, sg[best] += e.g * e.n, sb[best] += e.b * e.n, sn[best] += e.n;
    }
    for (size_t i = 0; i < pal.size(); i++)
      if (sn[i] > 0) pal[i] = {static_cast<float>(sr[i] / sn[i]), static_cast<float>(sg[i] / sn[i]), static_cast<float>(sb[i] / sn[i])};
  }
  return pal;
}

BITMAP* draw_press_key_picture(const GfxSet& set, BITMAP* logo, const RGB* logo_pal, RGB* pal) {
  SceneRandom rnd{20240611u};
  Scene s;
  s.tiles = make_tiles();
  play_tiles(s.tiles, rnd);
  s.cam = make_camera();
  s.index_tiles();
  s.game_pal = set.pal;
  for (int n = 1; n <= 8; n++) s.glyph[n] = set.obj[OBJ_NUMBER_BASE + n].bmp;
  s.mine = set.obj[OBJ_MINE_LEVEL1].bmp;
  for (const Tile& t : s.tiles)
    if (t.state == TILE_FLAGGED) {
      double k;
      V2 base = s.cam.to_screen({t.c.x + 0.1, t.c.y - 0.05, 0}, &k);
      s.flags.push_back({base, k});
    }
  std::sort(s.flags.begin(), s.flags.end(), [](const Flag& a, const Flag& b) { return a.base.y < b.base.y; });

  // The board and its flags, four samples a pixel.
  std::vector<Col> img(static_cast<size_t>(PIC_W * PIC_H));
  const double sub[4][2] = {{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}};
  for (int y = 0; y < PIC_H; y++)
    for (int x = 0; x < PIC_W; x++) {
      Col sum;
      for (const auto& o : sub) {
        double sx = x + o[0], sy = y + o[1];
        Col c = background(sx, sy);
        V2 p;
        if (s.cam.to_board(sx, sy, &p)) shade_board(s, p, &c);
        for (const Flag& f : s.flags) shade_flag(f, sx, sy, &c);
        sum = sum + c * 0.25f;
      }
      img[static_cast<size_t>(y * PIC_W + x)] = sum;
    }

  // Bursts over the mines that went off and over one tile being opened,
  // and embers drifting over the board.
  LightLayer light;
  for (const Tile& t : s.tiles)
    if (t.state == TILE_BLOWN) burst(light, s.cam, t.c, rnd, 100, {1.0f, 0.92f, 0.65f}, {0.95f, 0.32f, 0.06f}, 1.0f);
  for (size_t i = 0; i < s.tiles.size(); i++) {
    const Tile& t = s.tiles[i];
    if (t.state == TILE_OPEN && t.clue >= 2 && t.c.y < -4.0) {
      burst(light, s.cam, t.c, rnd, 40, {0.85f, 0.95f, 1.0f}, {0.25f, 0.45f, 0.95f}, 0.8f);
      break;
    }
  }
  for (int n = 0; n < 90; n++) {
    double x = rnd.range(30, 770), y = rnd.range(150, 520);
    float b = static_cast<float>(rnd.range(0.08, 0.35));
    light.splat(x, y, 0.7, Col{1.0f, 0.55f, 0.2f} * b);
  }

  // Compose: light, the logo (twice its size) and a vignette that keeps
  // the corners, and the text's corner, quiet.
  const int LOGO_X = (PIC_W - 2 * LOGO_W) / 2, LOGO_Y = 30;
  for (int y = 0; y < PIC_H; y++)
    for (int x = 0; x < PIC_W; x++) {
      Col& c = img[static_cast<size_t>(y * PIC_W + x)];
      c = c + light.px[static_cast<size_t>(y * PIC_W + x)];
      int lx = (x - LOGO_X) / 2, ly = (y - LOGO_Y) / 2;
      if (x >= LOGO_X && y >= LOGO_Y && lx < LOGO_W && ly < LOGO_H) {
        int v = getpixel(logo, lx, ly);
        if (v != 0) c = rgb6(logo_pal[v]);
      }
      double dx = (x - 400) / 400.0, dy = (y - 300) / 300.0;
      float vig = static_cast<float>(1.0 - 0.45 * std::pow(std::min(1.0, (dx * dx + dy * dy) / 2.0), 1.5));
      double tx = (x - 780) / 190.0, ty = (y - 584) / 26.0;  // behind the line of text
      if (tx * tx + ty * ty < 4.0) vig *= static_cast<float>(0.35 + 0.65 * std::min(1.0, (tx * tx + ty * ty) / 4.0));
      c = c * vig;
    }

  // Reduce to the palette: 6-bit components with a fine ordered dither,
  // then the nearest of the chosen colours.
  static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  std::vector<uint32_t> keys(img.size());
  for (int y = 0; y < PIC_H; y++)
    for (int x = 0; x < PIC_W; x++) {
      const Col& c = img[static_cast<size_t>(y * PIC_W + x)];
      float d = (BAYER[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f;
      auto q = [d](float v) { return static_cast<uint32_t>(std::clamp(static_cast<int>(std::floor(v * 63.0f + 0.5f + d * 0.9f)), 0, 63)); };
      keys[static_cast<size_t>(y * PIC_W + x)] = q(c.r) << 12 | q(c.g) << 6 | q(c.b);
    }
  std::vector<Col> chosen = median_cut(keys, 254);
  for (int i = 0; i < PAL_SIZE; i++) put(pal, i, 0, 0, 0);
  for (size_t i = 0; i < chosen.size(); i++)
    put(pal, static_cast<int>(i) + 1, static_cast<int>(std::lround(chosen[i].r)), static_cast<int>(std::lround(chosen[i].g)),
        static_cast<int>(std::lround(chosen[i].b)));
  put(pal, 255, 63, 63, 63);
  std::vector<int> lookup(1 << 18, -1);
  BITMAP* b = gfx_new_bitmap(PIC_W, PIC_H);
  for (int y = 0; y < PIC_H; y++)
    for (int x = 0; x < PIC_W; x++) {
      uint32_t k = keys[static_cast<size_t>(y * PIC_W + x)];
      if (lookup[k] < 0) {
        int r = static_cast<int>(k >> 12), g = static_cast<int>((k >> 6) & 63), bl = static_cast<int>(k & 63);
        int best = 0, bd = 1 << 30;
        for (int i = 0; i < PAL_SIZE; i++) {
          int dr = pal[i].r - r, dg = pal[i].g - g, db = pal[i].b - bl;
          int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
          if (d < bd) bd = d, best = i;
        }
        lookup[k] = best;
      }
      putpixel(b, x, y, lookup[k]);
    }
  return b;
}

}  // namespace

void build_title_pieces(GfxSet& set) {
  PALETTE lp;
  build_logo_palette(lp);
  BITMAP* logo = draw_logo();
  if (!fit_logo_to_scan(logo, lp)) {
    std::fprintf(stderr, "the logo does not give the title scan %d points\n", static_cast<int>(TITLE_POINTS));
    std::exit(1);
  }
  gfx_set_palette(set, OBJ_LOGO_PALETTE, lp);
  gfx_set_bitmap(set, OBJ_LOGO, logo);

  PALETTE pp;
  BITMAP* picture = draw_press_key_picture(set, logo, lp, pp);
  gfx_set_palette(set, OBJ_PRESS_KEY_PALETTE, pp);
  gfx_set_bitmap(set, OBJ_PRESS_KEY_PICTURE, picture);
}
