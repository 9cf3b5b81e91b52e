#include "common/icon_art.h"

#include <algorithm>
#include <cmath>

const IconInk ICON_INKS[] = {
    {'.', 0x0c, 0x0e, 0x14},  // outline
    {'a', 0xf0, 0xf3, 0xfa},  // tile highlight
    {'b', 0xbe, 0xc6, 0xd6},  // tile, lit
    {'c', 0x98, 0xa2, 0xb6},  // tile face
    {'d', 0x74, 0x7e, 0x94},  // tile, shaded
    {'e', 0x4c, 0x55, 0x6a},  // tile edge in shadow
    {'f', 0x2c, 0x32, 0x42},  // deep shadow
    {'g', 0xff, 0x6a, 0x50},  // flag highlight
    {'h', 0xe8, 0x2a, 0x1e},  // flag
    {'i', 0xa8, 0x16, 0x10},  // flag shade
    {'j', 0x66, 0x0c, 0x08},  // flag fold
    {'k', 0x26, 0x26, 0x2c},  // pole
    {'l', 0x8c, 0x8c, 0x98},  // pole highlight
    {'m', 0x50, 0x50, 0x5a},  // foot
    {'n', 0x1a, 0x1c, 0x24},  // foot shadow
};
const int ICON_INK_COUNT = sizeof ICON_INKS / sizeof ICON_INKS[0];

const IconInk* icon_ink_of(char key) {
  for (int k = 0; k < ICON_INK_COUNT; k++)
    if (ICON_INKS[k].key == key) return &ICON_INKS[k];
  return nullptr;
}

namespace {

using Points = std::vector<IconPoint>;

const float PI = 3.14159265f;

// The tile: a pointy-topped hexagon round (16, 16), its sides facing
// 0, 60, ... 300 degrees (y down). The outline is one unit wide, the
// bevel two more.
const float TILE_X = 16.0f, TILE_Y = 16.0f;
const float TILE_APOTHEM = 13.6f;
const float OUTLINE = 1.0f, BEVEL = 3.0f;

// Corner k of the hexagon with that apothem: between side k and side k + 1.
IconPoint hex_corner(float apothem, int k) {
  const float a = (60.0f * k + 30.0f) * PI / 180.0f;
  const float r = apothem / std::cos(30.0f * PI / 180.0f);
  return {TILE_X + r * std::cos(a), TILE_Y + r * std::sin(a)};
}

Points hexagon(float apothem) {
  Points p;
  for (int k = 0; k < 6; k++) p.push_back(hex_corner(apothem, k));
  return p;
}

// The bevel of side k, lit from the upper left.
char bevel_ink(int side) {
  const float a = 60.0f * side * PI / 180.0f;
  const float lit = -(std::cos(a) + std::sin(a)) * 0.7071f;
  if (lit > 0.5f) return 'a';
  if (lit > 0.1f) return 'b';
  if (lit > -0.1f) return 'd';
  return lit > -0.6f ? 'e' : 'f';
}

Points rectangle(float x1, float y1, float x2, float y2) { return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}; }

// The polygon cut down to what lies inside the convex polygon (corners
// clockwise on screen, as hexagon() gives them).
Points clip_to_convex(Points poly, const Points& convex) {
  for (size_t k = 0; k < convex.size() && !poly.empty(); k++) {
    const IconPoint a = convex[k], b = convex[(k + 1) % convex.size()];
    auto inside = [&](IconPoint p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) >= 0; };
    Points out;
    for (size_t i = 0; i < poly.size(); i++) {
      const IconPoint p = poly[i], q = poly[(i + 1) % poly.size()];
      if (inside(p)) out.push_back(p);
      if (inside(p) != inside(q)) {
        const float dp = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        const float dq = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
        const float t = dp / (dp - dq);
        out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
      }
    }
    poly = out;
  }
  return poly;
}

// The flag's cloth, blowing to the left from the pole at x 18 to its tip
// at x 7, waving up and down. Across the cloth, v runs from -0.5 at its
// upper edge to 0.5 at its lower edge; the strip from v_top down to the
// lower edge, its curves cut every quarter of a unit.
Points cloth_strip(float v_top) {
  const float pole = 18.0f, tip = 7.0f, top = 5.5f, bottom = 15.5f;
  const int steps = 44;
  auto edge = [&](float x, float v) {
    const float t = (pole - x) / (pole - tip);  // 0 at the pole, 1 at the tip
    const float wave = 0.6f * std::sin(x * 0.6f + 1.0f);
    const float mid = (top + bottom) / 2 + wave;
    const float half = (1.0f - t) * (bottom - top) / 2;
    return IconPoint{x, mid + 2 * half * v};
  };
  Points p;
  for (int s = 0; s <= steps; s++) p.push_back(edge(tip + (pole - tip) * s / steps, v_top));
  for (int s = steps; s >= 1; s--) p.push_back(edge(tip + (pole - tip) * s / steps, 0.5f));
  return p;
}

std::vector<IconShape> build_shapes() {
  std::vector<std::pair<char, Points>> layers;
  // Tile: outline, the bevel of each side (a wedge from the centre over
  // that side and all the sides after it), face.
  layers.push_back({'.', hexagon(TILE_APOTHEM)});
  const Points bevel = hexagon(TILE_APOTHEM - OUTLINE);
  for (int side = 0; side < 6; side++) {
    if (side > 0 && bevel_ink(side) == bevel_ink(side - 1)) continue;  // the wedge before covers it
    // Side k runs from corner k - 1 to corner k; the first wedge is the
    // whole hexagon.
    Points wedge = bevel;
    if (side > 0) {
      wedge = {{TILE_X, TILE_Y}};
      for (int k = side - 1; k < 6; k++) wedge.push_back(bevel[k]);
    }
    layers.push_back({bevel_ink(side), wedge});
  }
  const Points face = hexagon(TILE_APOTHEM - BEVEL);
  layers.push_back({'c', face});
  // Shadow of the pole on the face, down and to the right.
  layers.push_back({'d', clip_to_convex(rectangle(20.0f, 6.0f, 21.5f, 22.0f), face)});
  // Flag: highlight along the upper edge, then the cloth, its shade and
  // the fold along the lower edge, each strip over the one before.
  layers.push_back({'g', cloth_strip(-0.5f)});
  layers.push_back({'h', cloth_strip(-0.25f)});
  layers.push_back({'i', cloth_strip(0.1f)});
  layers.push_back({'j', cloth_strip(0.3f)});
  // The pole with its lit left half, and the foot over its lower end.
  layers.push_back({'k', rectangle(18.0f, 5.0f, 20.0f, 22.5f)});
  layers.push_back({'l', rectangle(18.0f, 5.0f, 19.0f, 22.5f)});
  layers.push_back({'n', rectangle(12.0f, 22.0f, 26.0f, 25.0f)});
  layers.push_back({'m', rectangle(12.0f, 22.0f, 26.0f, 23.5f)});

  std::vector<IconShape> shapes;
  for (auto& layer : layers) {
    IconShape s{layer.first, layer.second, 1e9f, 1e9f, -1e9f, -1e9f};
    for (const IconPoint& p : s.points) {
      s.min_x = std::min(s.min_x, p.x), s.max_x = std::max(s.max_x, p.x);
      s.min_y = std::min(s.min_y, p.y), s.max_y = std::max(s.max_y, p.y);
    }
    shapes.push_back(s);
  }
  return shapes;
}

// Even-odd rule: a ray to the right crosses the outline an odd number of times.
bool holds(const IconShape& s, float x, float y) {
  if (x < s.min_x || x > s.max_x || y < s.min_y || y > s.max_y) return false;
  bool in = false;
  for (size_t i = 0, j = s.points.size() - 1; i < s.points.size(); j = i++) {
    const IconPoint& a = s.points[i];
    const IconPoint& b = s.points[j];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
  }
  return in;
}

}  // namespace

const std::vector<IconShape>& icon_shapes() {
  static const std::vector<IconShape> shapes = build_shapes();
  return shapes;
}

char icon_ink(float x, float y) {
  const std::vector<IconShape>& shapes = icon_shapes();
  for (auto s = shapes.rbegin(); s != shapes.rend(); ++s)
    if (holds(*s, x, y)) return s->ink;
  return ' ';
}

char icon_pixel(int px, int py) {
  int count[128] = {};
  for (int j = 0; j < 4; j++)
    for (int i = 0; i < 4; i++) count[static_cast<unsigned char>(icon_ink(px + (i + 0.5f) / 4, py + (j + 0.5f) / 4))]++;
  char best = ' ';
  for (int k = 0; k < 128; k++)
    if (count[k] > count[static_cast<unsigned char>(best)]) best = static_cast<char>(k);
  return best;
}
