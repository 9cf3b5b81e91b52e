// Geometry of the board styles: outline neighbours, adjacency grid coding,
// tile pixels and the checks every pattern passes before it is written.
#include "styles/style_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace styles {

namespace {

long long cross(const Pt& o, const Pt& a, const Pt& b) {
  return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

int sign(long long v) { return (v > 0) - (v < 0); }

bool on_segment(const Pt& p, const Pt& a, const Pt& b) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// Closed segments share a point (exact).
bool segments_meet(const Pt& a, const Pt& b, const Pt& c, const Pt& d) {
  const int d1 = sign(cross(c, d, a)), d2 = sign(cross(c, d, b));
  const int d3 = sign(cross(a, b, c)), d4 = sign(cross(a, b, d));
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  if (d1 == 0 && on_segment(a, c, d)) return true;
  if (d2 == 0 && on_segment(b, c, d)) return true;
  if (d3 == 0 && on_segment(c, a, b)) return true;
  if (d4 == 0 && on_segment(d, a, b)) return true;
  return false;
}

struct Box {
  int x0, y0, x1, y1;
};

Box bounds(const Poly& p) {
  Box b{p[0].x, p[0].y, p[0].x, p[0].y};
  for (const Pt& v : p) {
    b.x0 = std::min(b.x0, v.x);
    b.y0 = std::min(b.y0, v.y);
    b.x1 = std::max(b.x1, v.x);
    b.y1 = std::max(b.y1, v.y);
  }
  return b;
}

// Closed convex outlines share a point. Outlines of a tiling never overlap,
// so they meet exactly when their boundaries do.
bool outlines_meet(const Poly& p, const Poly& q) {
  const size_t n = p.size(), m = q.size();
  for (size_t i = 0; i < n; i++)
    for (size_t j = 0; j < m; j++)
      if (segments_meet(p[i], p[(i + 1) % n], q[j], q[(j + 1) % m])) return true;
  return false;
}

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// A value n.(x, y) with x, y each either an integer or an integer less an
// infinitesimal: kept as (integer part, multiple of the infinitesimal) and
// compared lexicographically.
struct EpsValue {
  long long whole;
  long long eps;
};
bool eps_less(const EpsValue& a, const EpsValue& b) { return a.whole != b.whole ? a.whole < b.whole : a.eps < b.eps; }

// The half-open quarter [qx, qx + 4) x [qy, qy + 4) shares a point with the
// closed convex outline: separating axis test against the closed box
// [qx, qx + 4 - e] x [qy, qy + 4 - e] for an infinitesimal e, exact.
bool quarter_meets(const Poly& p, int qx, int qy) {
  const Box b = bounds(p);
  if (b.x1 < qx || b.x0 >= qx + 4 || b.y1 < qy || b.y0 >= qy + 4) return false;
  const size_t n = p.size();
  const long long cx[4] = {qx, qx + 4, qx, qx + 4}, cex[4] = {0, -1, 0, -1};
  const long long cy[4] = {qy, qy, qy + 4, qy + 4}, cey[4] = {0, 0, -1, -1};
  for (size_t i = 0; i < n; i++) {
    const Pt& a = p[i];
    const Pt& c = p[(i + 1) % n];
    const long long nx = c.y - a.y, ny = -(c.x - a.x);
    long long pmin = nx * p[0].x + ny * p[0].y, pmax = pmin;
    for (const Pt& v : p) {
      const long long s = nx * v.x + ny * v.y;
      pmin = std::min(pmin, s);
      pmax = std::max(pmax, s);
    }
    EpsValue bmin{0, 0}, bmax{0, 0};
    for (int k = 0; k < 4; k++) {
      const EpsValue v{nx * cx[k] + ny * cy[k], nx * cex[k] + ny * cey[k]};
      if (k == 0 || eps_less(v, bmin)) bmin = v;
      if (k == 0 || eps_less(bmax, v)) bmax = v;
    }
    if (eps_less(bmax, EpsValue{pmin, 0}) || eps_less(EpsValue{pmax, 0}, bmin)) return false;
  }
  return true;
}

bool quarter_holds_vertex(const Poly& p, int qx, int qy) {
  for (const Pt& v : p)
    if (floor_div(v.x, 4) * 4 == qx && floor_div(v.y, 4) * 4 == qy) return true;
  return false;
}

double segment_distance(double px, double py, const Pt& a, const Pt& b, double& t_out) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
  t = std::max(0.0, std::min(1.0, t));
  t_out = t;
  const double ex = a.x + t * dx - px, ey = a.y + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

double signed_area2(const Poly& p) {
  long long s = 0;
  for (size_t i = 0; i < p.size(); i++) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % p.size()];
    s += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
  }
  return static_cast<double>(s);
}

}  // namespace

void outline_centroid(const Poly& p, double& cx, double& cy) {
  double a = 0, x = 0, y = 0;
  for (size_t i = 0; i < p.size(); i++) {
    const Pt& u = p[i];
    const Pt& v = p[(i + 1) % p.size()];
    const double c = static_cast<double>(u.x) * v.y - static_cast<double>(v.x) * u.y;
    a += c;
    x += (u.x + v.x) * c;
    y += (u.y + v.y) * c;
  }
  cx = x / (3.0 * a);
  cy = y / (3.0 * a);
}

std::vector<std::vector<int>> outline_neighbours(const std::vector<CellDef>& cells) {
  const int n = static_cast<int>(cells.size());
  std::vector<Box> box(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) box[static_cast<size_t>(i)] = bounds(cells[static_cast<size_t>(i)].outline);
  // Cells sorted by their left edge, so only cells starting before a
  // cell's right edge need comparing.
  std::vector<int> order(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) order[static_cast<size_t>(i)] = i;
  std::sort(order.begin(), order.end(), [&](int a, int b) { return box[static_cast<size_t>(a)].x0 < box[static_cast<size_t>(b)].x0; });
  std::vector<std::vector<int>> out(static_cast<size_t>(n));
  for (size_t oi = 0; oi < order.size(); oi++) {
    const int i = order[oi];
    const Box& bi = box[static_cast<size_t>(i)];
    for (size_t oj = oi + 1; oj < order.size(); oj++) {
      const int j = order[oj];
      const Box& bj = box[static_cast<size_t>(j)];
      if (bj.x0 > bi.x1) break;
      if (bj.y0 > bi.y1 || bj.y1 < bi.y0) continue;
      if (outlines_meet(cells[static_cast<size_t>(i)].outline, cells[static_cast<size_t>(j)].outline)) {
        out[static_cast<size_t>(i)].push_back(j);
        out[static_cast<size_t>(j)].push_back(i);
      }
    }
  }
  for (auto& l : out) std::sort(l.begin(), l.end());
  return out;
}

std::vector<std::vector<int>> grid_neighbours(const StyleDef& style, const PatternDef& pattern) {
  const auto& cells = pattern.cells;
  const int n = static_cast<int>(cells.size());
  std::vector<std::vector<int>> out(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) {
    const CellDef& ci = cells[static_cast<size_t>(i)];
    const ShapeDef& si = style.shapes[static_cast<size_t>(ci.shape)];
    for (int j = i + 1; j < n; j++) {
      const CellDef& cj = cells[static_cast<size_t>(j)];
      const ShapeDef& sj = style.shapes[static_cast<size_t>(cj.shape)];
      const int dx = ci.bx - cj.bx, dy = ci.by - cj.by;
      // Grids that do not overlap have no block pair to compare.
      if (dx >= sj.grid_w || -dx >= si.grid_w || dy >= sj.grid_h || -dy >= si.grid_h) continue;
      bool touch = false;
      for (int x = 0; x < si.grid_w && !touch; x++)
        for (int y = 0; y < si.grid_h && !touch; y++) {
          const int jx = x + dx, jy = y + dy;
          if (jx < 0 || jy < 0 || jx >= sj.grid_w || jy >= sj.grid_h) continue;
          for (int k = 0; k < 4; k++)
            if (si.codes[x][y][k] + sj.codes[jx][jy][k] >= 3) {
              touch = true;
              break;
            }
        }
      if (touch) {
        out[static_cast<size_t>(i)].push_back(j);
        out[static_cast<size_t>(j)].push_back(i);
      }
    }
  }
  return out;
}

std::vector<TilePixel> tile_pixels(const Poly& p, int pic_w, int pic_h) {
  std::vector<TilePixel> out(static_cast<size_t>(pic_w * pic_h));
  const size_t n = p.size();
  const double orient = signed_area2(p) > 0 ? 1.0 : -1.0;
  for (int y = 0; y < pic_h; y++)
    for (int x = 0; x < pic_w; x++) {
      const double px = x + 0.5, py = y + 0.5;
      bool inside = true;
      double best = 1e9;
      size_t best_edge = 0;
      for (size_t i = 0; i < n; i++) {
        const Pt& a = p[i];
        const Pt& b = p[(i + 1) % n];
        const double c = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
        if (c * orient < 0) inside = false;
        double t;
        const double d = segment_distance(px, py, a, b, t);
        if (d < best) {
          best = d;
          best_edge = i;
        }
      }
      TilePixel& tp = out[static_cast<size_t>(y * pic_w + x)];
      if (!inside || best < GROUT_HALF) continue;
      tp.depth = static_cast<float>(best - GROUT_HALF);
      const Pt& a = p[best_edge];
      const Pt& b = p[(best_edge + 1) % n];
      double nx = (b.y - a.y) * orient, ny = -(b.x - a.x) * orient;
      const double len = std::sqrt(nx * nx + ny * ny);
      tp.nx = static_cast<float>(nx / len);
      tp.ny = static_cast<float>(ny / len);
    }
  return out;
}

std::vector<uint8_t> tile_mask(const ShapeDef& shape) {
  const auto px = tile_pixels(shape.outline, shape.pic_w, shape.pic_h);
  std::vector<uint8_t> m(px.size());
  for (size_t i = 0; i < px.size(); i++) m[i] = px[i].depth >= 0 ? 1 : 0;
  return m;
}

// Fills a shape's grid codes from its outline (relative to its picture).
void encode_shape(ShapeDef& s, Encoding e) {
  for (int bx = 0; bx < GRID_MAX; bx++)
    for (int by = 0; by < GRID_MAX; by++)
      for (int k = 0; k < 4; k++) s.codes[bx][by][k] = 0;
  for (int bx = 0; bx < s.grid_w; bx++)
    for (int by = 0; by < s.grid_h; by++)
      for (int k = 0; k < 4; k++) {
        const int qx = 8 * bx + 4 * (k & 1), qy = 8 * by + 4 * (k >> 1);
        if (!quarter_meets(s.outline, qx, qy)) continue;
        if (e == ENCODE_AREA || quarter_holds_vertex(s.outline, qx, qy))
          s.codes[bx][by][k] = 2;
        else
          s.codes[bx][by][k] = 1;
      }
}

int most_mines_allowed(int cells, int most_neighbours) {
  const int zone = std::max(2, std::min(32, cells / 48));
  const long needed = std::min<long>(static_cast<long>(zone) * (1 + most_neighbours), cells);
  return cells - static_cast<int>(needed);
}

std::string check_pattern(const StyleDef& style, const PatternDef& pat, PatternFigures* fig) {
  char msg[256];
  auto fail = [&](const char* fmt, int a, int b, int c) {
    std::snprintf(msg, sizeof msg, fmt, a, b, c);
    return std::string(style.name + " / " + pat.name + ": " + msg);
  };
  const int n = static_cast<int>(pat.cells.size());
  PatternFigures f;
  f.cells = n;
  if (n < 1 || n > PATTERN_MAX_CELLS) return fail("%d cells", n, 0, 0);
  if (pat.width > BOARD_MAX_W || pat.height > BOARD_MAX_H || pat.width < 8 || pat.height < 8)
    return fail("board picture %d x %d", pat.width, pat.height, 0);
  if (pat.name.size() > 31) return fail("pattern name too long", 0, 0, 0);
  const int columns = pat.width / 8, rows = pat.height / 8;

  // Shapes and positions: every tile's picture inside the board rectangle.
  for (int i = 0; i < n; i++) {
    const CellDef& c = pat.cells[static_cast<size_t>(i)];
    if (c.shape < 0 || c.shape >= static_cast<int>(style.shapes.size())) return fail("cell %d: shape %d", i, c.shape, 0);
    const ShapeDef& s = style.shapes[static_cast<size_t>(c.shape)];
    if (s.grid_w < 3 || s.grid_h < 3 || s.grid_w > GRID_MAX || s.grid_h > GRID_MAX)
      return fail("shape %d: grid %d x %d", c.shape, s.grid_w, s.grid_h);
    if (s.pic_w != 8 * (s.grid_w - 2) || s.pic_h != 8 * (s.grid_h - 2)) return fail("shape %d: picture size", c.shape, 0, 0);
    if (c.bx < 0 || c.by < 0 || c.bx + s.grid_w - 2 > columns || c.by + s.grid_h - 2 > rows || c.bx > 255 || c.by > 255)
      return fail("cell %d at block %d,%d leaves the board", i, c.bx, c.by);
  }

  // Hit grid, as the game fills it.
  std::vector<std::vector<int>> bucket(static_cast<size_t>(HIT_COLUMNS * HIT_ROWS));
  for (int i = 0; i < n; i++) {
    const CellDef& c = pat.cells[static_cast<size_t>(i)];
    const ShapeDef& s = style.shapes[static_cast<size_t>(c.shape)];
    for (int col = c.bx; col < c.bx + s.grid_w - 2; col++)
      for (int row = c.by; row < c.by + s.grid_h - 2; row++) {
        if (col >= HIT_COLUMNS || row >= HIT_ROWS) return fail("cell %d beyond the hit grid", i, 0, 0);
        auto& b = bucket[static_cast<size_t>(HIT_ROWS * col + row)];
        b.push_back(i);
        f.fullest_bucket = std::max<int>(f.fullest_bucket, static_cast<int>(b.size()));
        if (b.size() > HIT_SLOTS_PER_BUCKET) return fail("bucket %d,%d takes a fifth cell (%d)", col, row, i);
      }
  }

  // Pixels: no two tiles on one pixel, and the hit test finds each tile.
  std::vector<std::vector<uint8_t>> masks(style.shapes.size());
  for (size_t s = 0; s < style.shapes.size(); s++) masks[s] = tile_mask(style.shapes[s]);
  std::vector<int> owner(static_cast<size_t>(pat.width * pat.height), -1);
  for (int i = 0; i < n; i++) {
    const CellDef& c = pat.cells[static_cast<size_t>(i)];
    const ShapeDef& s = style.shapes[static_cast<size_t>(c.shape)];
    const auto& m = masks[static_cast<size_t>(c.shape)];
    long count = 0;
    for (int y = 0; y < s.pic_h; y++)
      for (int x = 0; x < s.pic_w; x++) {
        if (!m[static_cast<size_t>(y * s.pic_w + x)]) continue;
        const int X = 8 * c.bx + x, Y = 8 * c.by + y;
        int& o = owner[static_cast<size_t>(Y * pat.width + X)];
        if (o >= 0) return fail("cells %d and %d both cover a pixel (%d)", o, i, X);
        o = i;
        count++;
      }
    if (count < 16) return fail("cell %d has only %d pixels", i, static_cast<int>(count), 0);
    f.opaque_pixels += count;
  }
  auto cell_at = [&](int X, int Y) {
    const auto& b = bucket[static_cast<size_t>(HIT_ROWS * (X / 8) + Y / 8)];
    for (int i : b) {
      const CellDef& c = pat.cells[static_cast<size_t>(i)];
      const ShapeDef& s = style.shapes[static_cast<size_t>(c.shape)];
      const int x = X - 8 * c.bx, y = Y - 8 * c.by;
      if (x < 0 || y < 0 || x >= s.pic_w || y >= s.pic_h) return i;  // beyond the picture counts as a hit
      if (masks[static_cast<size_t>(c.shape)][static_cast<size_t>(y * s.pic_w + x)]) return i;
    }
    return -1;
  };
  for (int Y = 0; Y < 8 * rows; Y++)
    for (int X = 0; X < 8 * columns; X++) {
      const int want = owner[static_cast<size_t>(Y * pat.width + X)];
      const int got = cell_at(X, Y);
      if (got != want) return fail("pixel %d,%d hits cell %d", X, Y, got);
    }
  for (int Y = 0; Y < pat.height; Y++)
    for (int X = 0; X < pat.width; X++)
      if ((X >= 8 * columns || Y >= 8 * rows) && owner[static_cast<size_t>(Y * pat.width + X)] >= 0)
        return fail("tile pixel %d,%d outside the board rectangle", X, Y, 0);

  // Neighbours.
  const auto geo = outline_neighbours(pat.cells);
  const auto game = grid_neighbours(style, pat);
  for (int i = 0; i < n; i++) {
    const auto& a = geo[static_cast<size_t>(i)];
    const auto& b = game[static_cast<size_t>(i)];
    if (a != b) {
      int extra = -1, missing = -1;
      for (int j : b)
        if (!std::binary_search(a.begin(), a.end(), j)) extra = j;
      for (int j : a)
        if (!std::binary_search(b.begin(), b.end(), j)) missing = j;
      return fail("cell %d: grid finds extra neighbour %d, misses %d", i, extra, missing);
    }
    if (a.empty()) return fail("cell %d has no neighbour", i, 0, 0);
    f.most_neighbours = std::max<int>(f.most_neighbours, static_cast<int>(a.size()));
    f.neighbour_pairs += static_cast<long>(a.size());
  }
  f.neighbour_pairs /= 2;
  if (f.most_neighbours > PATTERN_MAX_NEIGHBOURS) return fail("a cell has %d neighbours", f.most_neighbours, 0, 0);

  // Components.
  std::vector<int> comp(static_cast<size_t>(n), -1);
  for (int i = 0; i < n; i++) {
    if (comp[static_cast<size_t>(i)] >= 0) continue;
    std::vector<int> stack{i};
    comp[static_cast<size_t>(i)] = f.components;
    while (!stack.empty()) {
      const int v = stack.back();
      stack.pop_back();
      for (int w : geo[static_cast<size_t>(v)])
        if (comp[static_cast<size_t>(w)] < 0) {
          comp[static_cast<size_t>(w)] = f.components;
          stack.push_back(w);
        }
    }
    f.components++;
  }

  // Mines.
  const int allowed = most_mines_allowed(n, f.most_neighbours);
  for (int k = 0; k < 4; k++) {
    if (pat.mines[k] < 1 || pat.mines[k] > allowed || pat.mines[k] > 32767)
      return fail("mines %d for skill %d (at most %d)", pat.mines[k], k, allowed);
    if (pat.mega[k] < 1 || pat.mega[k] > 255 || pat.mega[k] > allowed)
      return fail("MegaMine mines %d for skill %d (at most %d)", pat.mega[k], k, allowed);
    if (k > 0 && (pat.mines[k] < pat.mines[k - 1] || pat.mega[k] < pat.mega[k - 1]))
      return fail("mine counts fall at skill %d", k, 0, 0);
  }
  if (fig) *fig = f;
  return "";
}

}  // namespace styles
