// The styles the game ships: each tiling as a few prototiles repeated over a
// lattice, and each pattern as a region of one tiling cut out by a mask.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "styles/style_geometry.h"

namespace styles {

namespace {

constexpr double PI = 3.14159265358979323846;

struct Proto {
  Poly poly;
  bool grouped = false;  // selected by the group point instead of its centroid
  Pt group;
  int tint = 0;
};

struct Tiling {
  std::vector<Proto> protos;
  Pt a, b;  // lattice vectors
  Pt anchor;  // a point of the tiling patterns centre on (a cell centre or a vertex)
};

Poly rect(int x0, int y0, int x1, int y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

Poly moved(const Poly& p, int dx, int dy) {
  Poly q = p;
  for (Pt& v : q) {
    v.x += dx;
    v.y += dy;
  }
  return q;
}

Proto proto(Poly p) { return Proto{std::move(p), false, {}, 0}; }
Proto grouped(Poly p, Pt g, int tint) { return Proto{std::move(p), true, g, tint}; }

// Squares of side s.
Tiling squares(int s) { return Tiling{{proto(rect(0, 0, s, s))}, {s, 0}, {0, s}, {0, 0}}; }

// Flat-topped hexagons w wide and h high, in columns 3w/4 apart.
Tiling hexagons(int w, int h) {
  const Poly hex{{0, h / 2}, {w / 4, 0}, {3 * w / 4, 0}, {w, h / 2}, {3 * w / 4, h}, {w / 4, h}};
  return Tiling{{proto(hex)}, {3 * w / 4, h / 2}, {0, h}, {w / 2, h / 2}};
}

// Triangles of side s and height h, in rows; anchored on a vertex.
Tiling triangles(int s, int h) {
  const Poly up{{0, h}, {s / 2, 0}, {s, h}};
  const Poly down{{s / 2, 0}, {3 * s / 2, 0}, {s, h}};
  return Tiling{{proto(up), proto(down)}, {s, 0}, {s / 2, h}, {s / 2, 0}};
}

// Octagons l wide with corners cut by c, and the small squares (standing on
// a corner) between each four of them.
Tiling octagons(int l, int c) {
  const Poly oct{{c, 0}, {l - c, 0}, {l, c}, {l, l - c}, {l - c, l}, {c, l}, {0, l - c}, {0, c}};
  const Poly diamond{{l, l - c}, {l + c, l}, {l, l + c}, {l - c, l}};
  return Tiling{{proto(oct), proto(diamond)}, {l, 0}, {0, l}, {l / 2, l / 2}};
}

// Cubes seen from above: each hexagon w wide and w high split into a lid and
// two side faces; a cube is selected as a whole by its centre.
Tiling cubes(int w) {
  const int r = w / 2, q = w / 4;
  const Pt top{0, -r}, ur{r, -q}, lr{r, q}, bottom{0, r}, ll{-r, q}, ul{-r, -q}, c{0, 0};
  return Tiling{{grouped({top, ur, c, ul}, c, 1), grouped({ul, c, bottom, ll}, c, 0), grouped({c, ur, lr, bottom}, c, -1)},
                {w, 0},
                {r, 3 * r / 2},
                {0, 0}};
}

// Cairo pentagons: four around each four-way vertex of a square lattice of
// pitch 2s (every other vertex of the lattice turned the other way).
Tiling cairo(int s) {
  const Poly p0{{0, 0}, {s, s / 2}, {s, 3 * s / 2}, {0, 2 * s}, {-s / 2, s}};
  Tiling t;
  Poly p = p0;
  for (int k = 0; k < 4; k++) {
    t.protos.push_back(proto(p));
    for (Pt& v : p) v = Pt{-v.y, v.x};
  }
  t.a = {2 * s, 2 * s};
  t.b = {2 * s, -2 * s};
  t.anchor = {0, 0};
  return t;
}

// Hexagons and triangles twice their side, turning round each hexagon like
// the sails of a windmill: every hexagon edge is half of a triangle's edge,
// whose other half meets the next triangle. On a triangular grid of pitch s
// (rows h apart) the hexagon covers six grid triangles and each of its two
// triangles four; the hexagons repeat on the grid vectors (2, 1) and
// (-1, 3). Hexagons are 2s wide and 2h high, triangles the same.
Tiling hexagons_triangles(int s, int h) {
  auto grid = [s, h](int i, int j) { return Pt{i * s + j * s / 2, j * h}; };
  const Poly hex{grid(1, 0), grid(0, 1), grid(-1, 1), grid(-1, 0), grid(0, -1), grid(1, -1)};
  const Poly up{grid(1, 0), grid(1, 2), grid(-1, 2)};
  const Poly down{grid(0, 1), grid(-2, 3), grid(-2, 1)};
  return Tiling{{proto(hex), proto(up), proto(down)}, grid(2, 1), grid(-1, 3), {0, 0}};
}

// Bricks 2u x u in running bond.
Tiling running_bond(int u) { return Tiling{{proto(rect(0, 0, 2 * u, u))}, {2 * u, 0}, {u, u}, {u, u / 2}}; }

// Basketweave: pairs of lying and standing bricks in a checkerboard.
Tiling basketweave(int u) {
  return Tiling{{proto(rect(0, 0, 2 * u, u)), proto(rect(0, u, 2 * u, 2 * u)), proto(rect(2 * u, 0, 3 * u, 2 * u)),
                 proto(rect(3 * u, 0, 4 * u, 2 * u))},
                {4 * u, 0},
                {2 * u, 2 * u},
                {2 * u, u}};
}

// Herringbone: lying and standing bricks in staircases.
Tiling herringbone(int u) {
  return Tiling{{proto(rect(0, 0, 2 * u, u)), proto(rect(0, u, u, 3 * u))}, {u, u}, {2 * u, -2 * u}, {u, u}};
}

// Windmill: four bricks turning round a small square.
Tiling windmill(int u) {
  return Tiling{{proto(rect(0, 0, 2 * u, u)), proto(rect(2 * u, 0, 3 * u, 2 * u)), proto(rect(u, 2 * u, 3 * u, 3 * u)),
                 proto(rect(0, u, u, 3 * u)), proto(rect(u, u, 2 * u, 2 * u))},
                {3 * u, 0},
                {0, 3 * u},
                {3 * u / 2, 3 * u / 2}};
}

// Masks: which cells of a region a pattern keeps, given the cell's point
// (centroid or group point) relative to the region's centre, in pixels.
using Keep = std::function<bool(double x, double y)>;

Keep everything() {
  return [](double, double) { return true; };
}
Keep disc(double r) {
  return [r](double x, double y) { return x * x + y * y <= r * r; };
}
Keep disc_at(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Keep ring(double r0, double r1) {
  return [=](double x, double y) {
    const double d = x * x + y * y;
    return d >= r0 * r0 && d <= r1 * r1;
  };
}
Keep ring_at(double cx, double cy, double r0, double r1) {
  return [=](double x, double y) {
    const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d >= r0 * r0 && d <= r1 * r1;
  };
}
Keep diamond(double r) {
  return [r](double x, double y) { return std::fabs(x) + std::fabs(y) <= r; };
}
Keep box(double hw, double hh) {
  return [=](double x, double y) { return std::fabs(x) <= hw && std::fabs(y) <= hh; };
}
Keep box_at(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}
// A regular hexagon of inradius r; pointy (corners up and down) or flat.
Keep hexagon(double r, bool pointy) {
  return [=](double x, double y) {
    const double base = pointy ? 0.0 : PI / 6;
    for (int k = 0; k < 3; k++) {
      const double a = base + k * PI / 3;
      if (std::fabs(x * std::cos(a) + y * std::sin(a)) > r) return false;
    }
    return true;
  };
}
// A polygon given by its corners (even-odd rule).
Keep polygon(std::vector<std::pair<double, double>> pts) {
  return [pts](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const double xi = pts[i].first, yi = pts[i].second, xj = pts[j].first, yj = pts[j].second;
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}
std::vector<std::pair<double, double>> star_points(int points, double ro, double ri, double cy) {
  std::vector<std::pair<double, double>> pts;
  for (int k = 0; k < 2 * points; k++) {
    const double a = -PI / 2 + k * PI / points;
    const double r = k % 2 ? ri : ro;
    pts.push_back({r * std::cos(a), cy + r * std::sin(a)});
  }
  return pts;
}
Keep star(int points, double ro, double ri, double cy) { return polygon(star_points(points, ro, ri, cy)); }
// Two triangles, one pointing up and one down.
Keep hexagram(double r, double cy) {
  std::vector<std::pair<double, double>> up, down;
  for (int k = 0; k < 3; k++) {
    const double a = -PI / 2 + k * 2 * PI / 3;
    up.push_back({r * std::cos(a), cy + r * std::sin(a)});
    down.push_back({r * std::cos(a + PI), cy + r * std::sin(a + PI)});
  }
  const Keep u = polygon(up), d = polygon(down);
  return [u, d](double x, double y) { return u(x, y) || d(x, y); };
}
Keep heart(double s, double cy) {
  return [=](double x, double y) {
    const double X = x / s, Y = -(y - cy) / s;
    const double q = X * X + Y * Y - 1;
    return q * q * q - X * X * Y * Y * Y <= 0;
  };
}
Keep both(Keep a, Keep b) {
  return [a, b](double x, double y) { return a(x, y) && b(x, y); };
}
Keep either(Keep a, Keep b) {
  return [a, b](double x, double y) { return a(x, y) || b(x, y); };
}
Keep without(Keep a, Keep b) {
  return [a, b](double x, double y) { return a(x, y) && !b(x, y); };
}
// An Archimedean spiral arm of the given width, its turns pitch apart,
// round a solid core, ending after the given number of turns.
Keep spiral(double pitch, double width, double core, int turns) {
  return [=](double x, double y) {
    const double r = std::sqrt(x * x + y * y);
    if (r < core) return true;
    const double t = std::atan2(y, x) / (2 * PI);  // -0.5 .. 0.5
    const double u = r / pitch - t;                  // turns along the arm
    return u < turns + 1 && (u - std::floor(u)) * pitch < width;
  };
}

Keep on_lattice(const Tiling& t, std::function<bool(int q, int r)> f) {
  const double det = static_cast<double>(t.a.x) * t.b.y - static_cast<double>(t.a.y) * t.b.x;
  const Pt a = t.a, b = t.b;
  return [=](double x, double y) {
    const double q = (x * b.y - y * b.x) / det, r = (a.x * y - a.y * x) / det;
    return f(static_cast<int>(std::lround(q)), static_cast<int>(std::lround(r)));
  };
}
Keep hex_cluster(const Tiling& t, int radius) {
  return on_lattice(t, [radius](int q, int r) { return std::max({std::abs(q), std::abs(r), std::abs(q + r)}) <= radius; });
}

struct Cut {
  const char* name;
  Tiling tiling;
  int w, h;  // the region, centred on the tiling's anchor
  Keep keep;
  int min_component = 8;
};

// The same cut centred on another point of the tiling (e.g. a cell centre
// instead of a vertex, for an odd number of cells across).
Cut centred(Cut c, Pt centre) {
  c.tiling.anchor = centre;
  return c;
}

constexpr int MARGIN = 9;  // pixels of board picture round the cells

int ceil_div(int a, int b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }
int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The cells of a tiling whose points lie strictly inside the region and
// inside the mask. Cells stay where the tiling puts them, so every
// prototile keeps the same place within its blocks in every pattern.
std::vector<CellDef> cut_cells(const Cut& c) {
  const Tiling& t = c.tiling;
  const double det = static_cast<double>(t.a.x) * t.b.y - static_cast<double>(t.a.y) * t.b.x;
  double qmin = 1e9, qmax = -1e9, rmin = 1e9, rmax = -1e9;
  for (int k = 0; k < 4; k++) {
    const double x = t.anchor.x + (k & 1 ? 1 : -1) * (c.w / 2.0 + 96), y = t.anchor.y + (k & 2 ? 1 : -1) * (c.h / 2.0 + 96);
    const double q = (x * t.b.y - y * t.b.x) / det, r = (t.a.x * y - t.a.y * x) / det;
    qmin = std::min(qmin, q);
    qmax = std::max(qmax, q);
    rmin = std::min(rmin, r);
    rmax = std::max(rmax, r);
  }
  std::vector<CellDef> out;
  std::vector<bool> kept;
  for (int q = static_cast<int>(std::floor(qmin)) - 1; q <= static_cast<int>(std::ceil(qmax)) + 1; q++)
    for (int r = static_cast<int>(std::floor(rmin)) - 1; r <= static_cast<int>(std::ceil(rmax)) + 1; r++)
      for (const Proto& p : t.protos) {
        const int dx = q * t.a.x + r * t.b.x, dy = q * t.a.y + r * t.b.y;
        double px, py;
        if (p.grouped) {
          px = p.group.x + dx;
          py = p.group.y + dy;
        } else {
          outline_centroid(p.poly, px, py);
          px += dx;
          py += dy;
        }
        px -= t.anchor.x;
        py -= t.anchor.y;
        if (std::fabs(px) >= c.w / 2.0 || std::fabs(py) >= c.h / 2.0) continue;
        CellDef cell;
        cell.outline = moved(p.poly, dx, dy);
        cell.tint = p.tint;
        out.push_back(cell);
        kept.push_back(c.keep(px, py));
      }
  // A single cell left out among kept ones is a hole of one tile: fill it.
  const auto nb = outline_neighbours(out);
  std::vector<CellDef> in;
  for (size_t i = 0; i < out.size(); i++) {
    bool fill = !kept[i] && nb[i].size() >= 3;
    for (int j : nb[i]) fill = fill && kept[static_cast<size_t>(j)];
    if (kept[i] || fill) in.push_back(out[i]);
  }
  return in;
}

// Drops cells without neighbours and pieces smaller than min_component.
void prune(std::vector<CellDef>& cells, int min_component) {
  for (;;) {
    const auto nb = outline_neighbours(cells);
    const size_t n = cells.size();
    std::vector<int> comp(n, -1), size;
    for (size_t i = 0; i < n; i++) {
      if (comp[i] >= 0) continue;
      const int id = static_cast<int>(size.size());
      size.push_back(0);
      std::vector<size_t> stack{i};
      comp[i] = id;
      while (!stack.empty()) {
        const size_t v = stack.back();
        stack.pop_back();
        size[static_cast<size_t>(id)]++;
        for (int w : nb[v])
          if (comp[static_cast<size_t>(w)] < 0) {
            comp[static_cast<size_t>(w)] = id;
            stack.push_back(static_cast<size_t>(w));
          }
      }
    }
    std::vector<CellDef> kept;
    for (size_t i = 0; i < n; i++)
      if (!nb[i].empty() && size[static_cast<size_t>(comp[i])] >= min_component) kept.push_back(cells[i]);
    if (kept.size() == n) return;
    cells.swap(kept);
  }
}

// The mine counts the calibration chose (fg_calibrate, target
// calibrate_mines): style file, pattern, four mine counts, four MegaMine
// counts. A pattern not listed keeps the shares of set_mines.
struct MineCounts {
  const char* file;
  const char* pattern;
  int mines[4];
  int mega[4];
};
const MineCounts MINE_COUNTS[] = {
#include "styles/mine_counts.inc"
    {nullptr, nullptr, {0, 0, 0, 0}, {0, 0, 0, 0}},
};

void apply_mine_counts(StyleDef& st) {
  for (PatternDef& p : st.patterns)
    for (const MineCounts& m : MINE_COUNTS)
      if (m.file && st.file_name == m.file && p.name == m.pattern) {
        std::copy(m.mines, m.mines + 4, p.mines);
        std::copy(m.mega, m.mega + 4, p.mega);
      }
}

void set_mines(PatternDef& p) {
  const int n = static_cast<int>(p.cells.size());
  const double share[4] = {0.12, 0.16, 0.20, 0.24};
  const double mega[4] = {0.02, 0.025, 0.03, 0.04};
  for (int k = 0; k < 4; k++) {
    p.mines[k] = std::max(1, static_cast<int>(std::lround(n * share[k])));
    p.mega[k] = std::max(1, std::min(255, static_cast<int>(std::lround(n * mega[k]))));
    if (k > 0) {
      p.mines[k] = std::max(p.mines[k], p.mines[k - 1]);
      p.mega[k] = std::max(p.mega[k], p.mega[k - 1]);
    }
  }
}

int shape_for(StyleDef& st, CellDef& c) {
  int x0 = c.outline[0].x, y0 = c.outline[0].y;
  for (const Pt& v : c.outline) {
    x0 = std::min(x0, v.x);
    y0 = std::min(y0, v.y);
  }
  c.bx = floor_div(x0, 8);
  c.by = floor_div(y0, 8);
  const Poly rel = moved(c.outline, -8 * c.bx, -8 * c.by);
  for (size_t s = 0; s < st.shapes.size(); s++)
    if (st.shapes[s].outline == rel) return static_cast<int>(s);
  ShapeDef s;
  s.outline = rel;
  s.tint = c.tint;
  int x1 = 0, y1 = 0;
  for (const Pt& v : rel) {
    x1 = std::max(x1, v.x);
    y1 = std::max(y1, v.y);
  }
  s.pic_w = 8 * ceil_div(x1, 8);
  s.pic_h = 8 * ceil_div(y1, 8);
  s.grid_w = s.pic_w / 8 + 2;
  s.grid_h = s.pic_h / 8 + 2;
  double cx, cy;
  outline_centroid(rel, cx, cy);
  s.symbol_x = std::max(0, std::min(255, static_cast<int>(std::lround(cx - 8))));
  s.symbol_y = std::max(0, std::min(255, static_cast<int>(std::lround(cy - 8))));
  st.shapes.push_back(s);
  return static_cast<int>(st.shapes.size()) - 1;
}

PatternDef make_pattern(StyleDef& st, const Cut& c) {
  PatternDef p;
  p.name = c.name;
  std::vector<CellDef> cells = cut_cells(c);
  prune(cells, c.min_component);
  if (cells.empty()) {
    p.width = p.height = 8;
    return p;
  }
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);
  for (const CellDef& cell : cells)
    for (const Pt& v : cell.outline) {
      x0 = std::min(x0, v.x);
      y0 = std::min(y0, v.y);
      x1 = std::max(x1, v.x);
      y1 = std::max(y1, v.y);
    }
  // Whole blocks only, so every shape keeps its place within its blocks.
  const int tx = 8 * ceil_div(MARGIN - x0, 8), ty = 8 * ceil_div(MARGIN - y0, 8);
  for (CellDef& cell : cells) cell.outline = moved(cell.outline, tx, ty);
  p.width = 8 * ceil_div(x1 + tx + MARGIN, 8);
  p.height = 8 * ceil_div(y1 + ty + MARGIN, 8);
  // Reading order: by centroid, top to bottom, then left to right.
  std::vector<std::pair<std::pair<double, double>, size_t>> order;
  for (size_t i = 0; i < cells.size(); i++) {
    double cx, cy;
    outline_centroid(cells[i].outline, cx, cy);
    order.push_back({{std::floor(cy / 4), cx}, i});
  }
  std::sort(order.begin(), order.end());
  for (const auto& o : order) p.cells.push_back(cells[o.second]);
  for (CellDef& cell : p.cells) cell.shape = shape_for(st, cell);
  set_mines(p);
  return p;
}

// Codes the style's shapes with the first encoding under which the grid
// neighbours of every pattern equal the outline neighbours.
void encode_style(StyleDef& st) {
  for (Encoding e : {ENCODE_AREA, ENCODE_CORNERS}) {
    st.encoding = e;
    for (ShapeDef& s : st.shapes) encode_shape(s, e);
    bool ok = true;
    for (const PatternDef& p : st.patterns)
      if (grid_neighbours(st, p) != outline_neighbours(p.cells)) {
        ok = false;
        break;
      }
    if (ok) return;
  }
}

StyleDef make_style(const char* file, const char* name, Look look, const std::vector<Cut>& cuts) {
  StyleDef st;
  st.file_name = file;
  st.name = name;
  st.look = look;
  for (const Cut& c : cuts) st.patterns.push_back(make_pattern(st, c));
  apply_mine_counts(st);
  encode_style(st);
  return st;
}

}  // namespace

bool mine_counts_listed(const std::string& file, const std::string& pattern) {
  for (const MineCounts& m : MINE_COUNTS)
    if (m.file && file == m.file && pattern == m.pattern) return true;
  return false;
}

std::vector<StyleDef> build_styles() {
  std::vector<StyleDef> out;

  {
    const Tiling s32 = squares(32), s24 = squares(24), s16 = squares(16);
    out.push_back(make_style(
        "fgboards.dat", "Classic Squares", LOOK_SLATE,
        {
            centred({"Beginner 9 x 9", s32, 288, 288, everything()}, {16, 16}),
            {"Intermediate 16 x 16", s32, 512, 512, everything()},
            {"Expert 28 x 16", s24, 672, 384, everything()},
            {"Huge 40 x 32", s16, 640, 512, everything()},
            {"Diamond", s24, 552, 552, diamond(270)},
            {"Cross", s24, 528, 528, either(box(96, 264), box(264, 96))},
            {"Picture Frame", s24, 672, 528, without(everything(), box(336 - 144, 264 - 144))},
            {"Windows", s24, 624, 528,
             [](double x, double y) {
               const int c = static_cast<int>(std::floor((x + 312) / 24)), r = static_cast<int>(std::floor((y + 264) / 24));
               return !((c % 5 == 2 || c % 5 == 3) && (r % 5 == 2 || r % 5 == 3));
             }},
        }));
  }
  {
    const Tiling h16 = hexagons(32, 28), h12 = hexagons(24, 20);
    out.push_back(make_style(
        "fgboards-hx.dat", "Honeycomb", LOOK_WAX,
        {
            {"Little Hive", h16, 320, 320, hex_cluster(h16, 4)},
            {"Hive", h16, 560, 560, hex_cluster(h16, 8)},
            {"Meadow", h16, 640, 520, everything()},
            {"Swarm", h12, 656, 530, everything()},
            {"Flower", h12, 560, 560,
             either(disc(125), [](double x, double y) {
               for (int k = 0; k < 6; k++) {
                 const double a = k * PI / 3 + PI / 6;
                 const double dx = x - 170 * std::cos(a), dy = y - 170 * std::sin(a);
                 if (dx * dx + dy * dy <= 78 * 78) return true;
               }
               return false;
             })},
            {"Ring", h16, 560, 560, ring(140, 260)},
            {"Star of David", h12, 560, 560, hexagram(270, 20)},
        }));
  }
  {
    const Tiling t48 = triangles(48, 42), t32 = triangles(32, 28);
    out.push_back(make_style(
        "fgboards-tr.dat", "Triangles", LOOK_STONE,
        {
            {"Pyramid", t48, 384, 336, polygon({{-192, 168}, {0, -168}, {192, 168}})},
            {"Hexagon", t32, 320, 280, hexagon(4 * 28, false)},
            {"Great Pyramid", t32, 512, 448, polygon({{-256, 224}, {0, -224}, {256, 224}})},
            {"Triangle Field", t32, 640, 500, everything()},
            {"Star of David", t32, 600, 600,
             either(polygon({{0, -224}, {192, 112}, {-192, 112}}), polygon({{0, 224}, {192, -112}, {-192, -112}}))},
            {"Hourglass", t32, 600, 600,
             either(polygon({{-144, -252}, {144, -252}, {0, 0}}), polygon({{-144, 252}, {144, 252}, {0, 0}}))},
        }));
  }
  {
    const Tiling o48 = octagons(48, 16), o40 = octagons(40, 14);
    out.push_back(make_style("fgboards-oc.dat", "Octagons & Squares", LOOK_TERRACE,
                             {
                                 {"Patio", o48, 288, 288, everything()},
                                 {"Courtyard", o40, 520, 440, everything()},
                                 {"Plaza", o40, 640, 520, everything()},
                                 {"Rosette", o40, 560, 560, disc(250)},
                                 {"Cross", o40, 540, 540, either(box(100, 270), box(270, 100))},
                                 {"Diamond", o40, 560, 560, diamond(250)},
                             }));
  }
  {
    const Tiling c48 = cubes(48);
    out.push_back(make_style(
        "fgboards-cu.dat", "Cubes", LOOK_TOY,
        {
            {"Small Stack", c48, 400, 400, hex_cluster(c48, 2)},
            {"Big Cube", c48, 700, 700, hex_cluster(c48, 5)},
            {"Pyramid", c48, 1000, 1000, on_lattice(c48, [](int q, int r) { return r >= 0 && r <= 9 && q >= -r && q <= 0; })},
            {"Cube Field", c48, 624, 500, everything()},
            {"Leaning Tower", c48, 560, 520, on_lattice(c48, [](int q, int r) { return (q + r >= -2 && q + r <= 2) && std::abs(r) <= 6; })},
            {"Tumbling Blocks", c48, 1000, 1000, on_lattice(c48, [](int q, int r) { return std::abs(q) <= 4 && std::abs(r) <= 4; })},
}));
  }
  {
    const Tiling p24 = cairo(24), p20 = cairo(20), p16 = cairo(16);
    out.push_back(make_style("fgboards-ca.dat", "Cairo Pentagons", LOOK_MOSAIC,
                             {
                                 {"Courtyard", p24, 384, 384, everything()},
                                 {"Plaza", p20, 560, 480, everything()},
                                 {"Grand Bazaar", p16, 672, 544, everything()},
                                 {"Rose Window", p20, 560, 560, disc(250)},
                                 {"Diamond", p16, 560, 560, diamond(272)},
                                 {"Cross", p24, 560, 560, either(box(88, 250), box(250, 88))},
                             }));
  }
  {
    const Tiling k18 = hexagons_triangles(18, 16);
    out.push_back(make_style("fgboards-ht.dat", "Hexagons & Triangles", LOOK_LATTICE,
                             {
                                 {"Trellis", k18, 432, 360, everything()},
                                 {"Hexagon", k18, 520, 520, hexagon(200, true)},
                                 {"Snowflake", k18, 600, 560, hexagram(265, 0)},
                                 {"Big Trellis", k18, 640, 500, everything()},
                                 {"Ring", k18, 560, 560, ring(115, 240)},
                             }));
  }
  {
    const Tiling b16 = running_bond(16), b24 = running_bond(24), bw = basketweave(16), hb = herringbone(16),
                 wm = windmill(16);
    out.push_back(make_style(
        "fgboards-br.dat", "Brickwork", LOOK_MORTAR,
        {
            {"Big Bricks", b24, 480, 384, everything()},
            {"Running Bond", b16, 640, 480, everything()},
            {"Basketweave", bw, 512, 512, everything()},
            {"Herringbone", hb, 512, 448, everything()},
            {"Windmill", wm, 576, 480, everything()},
            {"Archway", b16, 640, 512, without(everything(), either(disc_at(0, 96, 150), box_at(-150, 96, 150, 300)))},
            {"Castle", b16, 640, 512,
             without(everything(), [](double x, double y) {
               return y < -160 && std::cos(2 * PI * x / 144) < 0;  // five merlons, the middle one centred
             })},
        }));
  }
  {
    const Tiling s24 = squares(24), s16 = squares(16), h12 = hexagons(24, 20);
    out.push_back(make_style(
        "fgboards-pi.dat", "Pictures", LOOK_PAPER,
        {
            {"Heart", h12, 600, 560, heart(215, 27)},
            {"Star", s16, 600, 560, star(5, 290, 118, 30)},
            {"Rings", h12, 688, 400, either(ring_at(-190, 0, 70, 150), either(ring_at(0, 0, 70, 150), ring_at(190, 0, 70, 150)))},
            {"Target", h12, 560, 560, either(either(disc(60), ring(100, 165)), either(ring(205, 275), either(box(26, 275), box(275, 24))))},
            {"Crown", s16, 640, 480,
             polygon({{-260, 200}, {260, 200}, {260, -200}, {195, -40}, {130, -200}, {65, -40}, {0, -200},
                      {-65, -40}, {-130, -200}, {-195, -40}, {-260, -200}})},
            {"Crescent Moon", h12, 560, 560, without(disc(260), disc_at(120, -60, 210))},
            {"Spiral", s16, 576, 576, spiral(104, 74, 48, 2)},
            {"Smiling Face", s16, 560, 560,
             without(disc(270), either(either(disc_at(-90, -70, 40), disc_at(90, -70, 40)),
                                       both(ring_at(0, 0, 130, 170), box_at(-200, 40, 200, 300))))},
        }));
  }
  return out;
}

}  // namespace styles
