// Tile and board pictures of the board styles. Tiles follow their exact
// outlines: the tile pixels (tile_pixels) give each pixel's depth below the
// tile's edge and the direction of the nearest edge, from which the bevel
// is shaded as if lit from the upper left.
#include "styles/style_art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "palette/palette_entries.h"

namespace styles {

namespace {

BITMAP* new_picture(int w, int h) {
  BITMAP* b = create_bitmap_ex(8, w, h);
  clear_to_color(b, 0);
  return b;
}

// Light falling from the upper left on a surface whose outward normal is
// (nx, ny): 1 facing the light, -1 facing away.
float lit(float nx, float ny) { return -(nx + ny) * 0.70710678f; }

uint32_t hash3(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}
float hash01(int x, int y, uint32_t seed) {
  return static_cast<float>(hash3(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) & 0xFFFFFF) / 16777216.0f;
}
// Smooth value noise of the given cell size, 0..1.
float value_noise(float x, float y, float cell, uint32_t seed) {
  const float fx = x / cell, fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  float tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
  const float c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

float deepest(const std::vector<TilePixel>& px) {
  float m = 0;
  for (const TilePixel& p : px) m = std::max(m, p.depth);
  return m;
}

}  // namespace

BITMAP* draw_hidden_tile(const ShapeDef& s) {
  const auto px = tile_pixels(s.outline, s.pic_w, s.pic_h);
  BITMAP* b = new_picture(s.pic_w, s.pic_h);
  // Wider bevels on larger tiles.
  const float bevel = deepest(px) >= 11.0f ? 3.0f : 2.0f;
  for (int y = 0; y < s.pic_h; y++)
    for (int x = 0; x < s.pic_w; x++) {
      const TilePixel& p = px[static_cast<size_t>(y * s.pic_w + x)];
      if (p.depth < 0) continue;
      const float l = lit(p.nx, p.ny);
      int c = s.tint > 0 ? 2 : s.tint < 0 ? 4 : COL_MINEFIELD_FACE;
      if (p.depth < 1.0f) {
        c = l > 0.38f ? 1 : l < -0.38f ? 5 : l >= 0 ? 2 : 4;
      } else if (p.depth < bevel) {
        c = l > 0.38f ? 2 : l < -0.38f ? 4 : c;
      }
      putpixel(b, x, y, c);
    }
  return b;
}

BITMAP* draw_revealed_tile(const ShapeDef& s) {
  const auto px = tile_pixels(s.outline, s.pic_w, s.pic_h);
  BITMAP* b = new_picture(s.pic_w, s.pic_h);
  for (int y = 0; y < s.pic_h; y++)
    for (int x = 0; x < s.pic_w; x++) {
      const TilePixel& p = px[static_cast<size_t>(y * s.pic_w + x)];
      if (p.depth < 0) continue;
      // A one-pixel rim, with a shadow cast by the upper-left rim inside.
      int c = COL_REVEALED_A;
      if (p.depth < 1.0f || (p.depth < 2.0f && lit(p.nx, p.ny) > 0.2f)) c = COL_REVEALED_B;
      putpixel(b, x, y, c);
    }
  return b;
}

BITMAP* draw_exploded_tile(const ShapeDef& s, unsigned seed) {
  const auto px = tile_pixels(s.outline, s.pic_w, s.pic_h);
  BITMAP* b = new_picture(s.pic_w, s.pic_h);
  const float cx = s.symbol_x + 8.0f, cy = s.symbol_y + 8.0f;
  float reach = 1;
  for (int y = 0; y < s.pic_h; y++)
    for (int x = 0; x < s.pic_w; x++)
      if (px[static_cast<size_t>(y * s.pic_w + x)].depth >= 0)
        reach = std::max(reach, std::hypot(x + 0.5f - cx, y + 0.5f - cy));
  // Cracks running out from the blast.
  float crack[7];
  for (int k = 0; k < 7; k++) crack[k] = (k + 0.6f * hash01(k, 7, seed)) * 2.0f * 3.14159265f / 7.0f;
  for (int y = 0; y < s.pic_h; y++)
    for (int x = 0; x < s.pic_w; x++) {
      const TilePixel& p = px[static_cast<size_t>(y * s.pic_w + x)];
      if (p.depth < 0) continue;
      const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      const float r = std::hypot(dx, dy), t = r / reach;
      const float burn = 0.55f * value_noise(static_cast<float>(x), static_cast<float>(y), 3.0f, seed) + 0.6f * t;
      int c = burn > 0.78f ? COL_EXPLODED_B : COL_EXPLODED_A;
      if (r > 3.0f) {
        const float a = std::atan2(dy, dx);
        for (float ck : crack) {
          float da = std::fabs(a - ck);
          da = std::min(da, 2.0f * 3.14159265f - da);
          if (da * r < 0.6f) c = COL_EXPLODED_B;
        }
      }
      // Embers glowing in the scorched crust.
      if (c == COL_EXPLODED_B && p.depth >= 1.0f && t < 0.8f && hash01(x, y, seed + 11) < 0.05f)
        c = COL_EXPLOSION_FIRST + 3 + static_cast<int>(hash01(x, y, seed + 12) * 5);
      if (p.depth < 1.0f) c = COL_EXPLODED_B;
      putpixel(b, x, y, c);
    }
  return b;
}

namespace {

// Squared Euclidean distance transform of a 1-D sampled function (lower
// envelope of parabolas).
void edt_1d(const std::vector<float>& f, std::vector<float>& d, int n) {
  std::vector<int> v(static_cast<size_t>(n));
  std::vector<float> z(static_cast<size_t>(n) + 1);
  int k = 0;
  v[0] = 0;
  z[0] = -1e20f;
  z[1] = 1e20f;
  for (int q = 1; q < n; q++) {
    float s;
    for (;;) {
      const int p = v[static_cast<size_t>(k)];
      s = ((f[static_cast<size_t>(q)] + q * q) - (f[static_cast<size_t>(p)] + p * p)) / (2.0f * (q - p));
      if (s <= z[static_cast<size_t>(k)] && k > 0) {
        k--;
        continue;
      }
      break;
    }
    if (s <= z[static_cast<size_t>(k)]) {  // k == 0
      v[0] = q;
      z[1] = 1e20f;
      continue;
    }
    k++;
    v[static_cast<size_t>(k)] = q;
    z[static_cast<size_t>(k)] = s;
    z[static_cast<size_t>(k) + 1] = 1e20f;
  }
  k = 0;
  for (int q = 0; q < n; q++) {
    while (z[static_cast<size_t>(k) + 1] < q) k++;
    const int p = v[static_cast<size_t>(k)];
    d[static_cast<size_t>(q)] = (q - p) * (q - p) + f[static_cast<size_t>(p)];
  }
}

// Distance of every pixel centre from the nearest pixel centre inside a cell.
std::vector<float> distance_to_cells(const PatternDef& pat) {
  const int w = pat.width, h = pat.height;
  std::vector<float> f(static_cast<size_t>(w * h), 1e12f);
  for (const CellDef& c : pat.cells) {
    int x0 = w, y0 = h, x1 = 0, y1 = 0;
    for (const Pt& v : c.outline) {
      x0 = std::min(x0, v.x);
      y0 = std::min(y0, v.y);
      x1 = std::max(x1, v.x);
      y1 = std::max(y1, v.y);
    }
    const size_t n = c.outline.size();
    for (int y = std::max(0, y0); y < std::min(h, y1 + 1); y++)
      for (int x = std::max(0, x0); x < std::min(w, x1 + 1); x++) {
        const double px = x + 0.5, py = y + 0.5;
        int pos = 0, neg = 0;
        for (size_t i = 0; i < n; i++) {
          const Pt& a = c.outline[i];
          const Pt& b = c.outline[(i + 1) % n];
          const double cr = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
          pos += cr > 0;
          neg += cr < 0;
        }
        if (pos == 0 || neg == 0) f[static_cast<size_t>(y * w + x)] = 0;
      }
  }
  std::vector<float> col(static_cast<size_t>(std::max(w, h))), out(static_cast<size_t>(std::max(w, h)));
  for (int x = 0; x < w; x++) {
    for (int y = 0; y < h; y++) col[static_cast<size_t>(y)] = f[static_cast<size_t>(y * w + x)];
    edt_1d(col, out, h);
    for (int y = 0; y < h; y++) f[static_cast<size_t>(y * w + x)] = out[static_cast<size_t>(y)];
  }
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) col[static_cast<size_t>(x)] = f[static_cast<size_t>(y * w + x)];
    edt_1d(col, out, w);
    for (int x = 0; x < w; x++) f[static_cast<size_t>(y * w + x)] = std::sqrt(out[static_cast<size_t>(x)]);
  }
  return f;
}

struct BoardLook {
  int rim_light, rim_mid, rim_dark;  // raised rim round the tray
  float tray;                        // how far the tray reaches beyond the tiles
};

BoardLook board_look(Look look) {
  switch (look) {
    case LOOK_WAX:
    case LOOK_TERRACE:
    case LOOK_MOSAIC:
    case LOOK_PAPER:
      return {COL_STATUS_LIGHT, COL_STATUS_FACE, COL_STATUS_DARK, 7.0f};
    default:
      return {COL_WINDOW_LIGHT, COL_WINDOW, COL_WINDOW_DARK, 7.0f};
  }
}

// The tray's surface, seen through the grout between tiles.
int tray_texture(Look look, int x, int y) {
  switch (look) {
    case LOOK_SLATE:
      return hash01(x, y, 1) < 0.10f ? COL_INSET_DARK : COL_WINDOW_DARK;
    case LOOK_WAX:
      return value_noise(static_cast<float>(x), static_cast<float>(y), 5.0f, 2) > 0.62f ? 14 : COL_STATUS_DARK;
    case LOOK_STONE:
      return value_noise(static_cast<float>(x), static_cast<float>(y), 4.0f, 3) + 0.25f * hash01(x, y, 4) > 0.78f
                 ? COL_INSET_DARK
                 : COL_WINDOW_DARK;
    case LOOK_TERRACE:
      return ((x + y) / 6 + (x - y + 600) / 6) % 2 ? 14 : COL_STATUS_DARK;
    case LOOK_TOY:
      return (x + y) % 6 < 2 ? COL_INSET_DARK : COL_WINDOW_DARK;
    case LOOK_MOSAIC:
      return hash01(x, y, 5) < 0.35f ? COL_STATUS_FACE : 14;
    case LOOK_LATTICE:
      return ((x + y) % 8 == 0 || (x - y + 800) % 8 == 0) ? COL_INSET_DARK : COL_WINDOW_DARK;
    case LOOK_MORTAR:
      return hash01(x, y, 6) < 0.25f ? COL_INSET_DARK : COL_WINDOW;
    case LOOK_PAPER:
      return value_noise(static_cast<float>(x), static_cast<float>(y), 6.0f, 7) > 0.6f ? 12 : COL_STATUS_FACE;
  }
  return COL_WINDOW_DARK;
}

}  // namespace

BITMAP* draw_board_picture(const StyleDef& style, const PatternDef& pat) {
  const int w = pat.width, h = pat.height;
  const auto d = distance_to_cells(pat);
  const BoardLook bl = board_look(style.look);
  BITMAP* b = new_picture(w, h);
  auto dist = [&](int x, int y) {
    x = std::max(0, std::min(w - 1, x));
    y = std::max(0, std::min(h - 1, y));
    return d[static_cast<size_t>(y * w + x)];
  };
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const float v = dist(x, y);
      if (v > bl.tray) continue;
      int c = tray_texture(style.look, x, y);
      if (v > bl.tray - 3.0f) {
        // The rim: its outer slope faces away from the tiles, its inner
        // slope towards them.
        float gx = dist(x + 1, y) - dist(x - 1, y), gy = dist(x, y + 1) - dist(x, y - 1);
        const float len = std::hypot(gx, gy);
        if (len > 0) {
          gx /= len;
          gy /= len;
        }
        float l = lit(gx, gy);
        if (v <= bl.tray - 1.5f) l = -l;
        c = l > 0.3f ? bl.rim_light : l < -0.3f ? bl.rim_dark : bl.rim_mid;
        if (v > bl.tray - 1.0f && c == bl.rim_light) c = bl.rim_mid;  // soften the outermost line
      }
      putpixel(b, x, y, c);
    }
  return b;
}

}  // namespace styles
