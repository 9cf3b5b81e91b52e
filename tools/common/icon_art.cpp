#include "common/icon_art.h"

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

// Signed distance to the pointy-topped hexagon round (16, 16) (positive
// inside) and the outward normal of its nearest side.
float hex_distance(float x, float y, float* nx, float* ny) {
  const float apothem = 13.6f;
  float best = 1e9f;
  for (int k = 0; k < 6; k++) {
    float a = (60.0f * k) * 3.14159265f / 180.0f;
    float cx = std::cos(a), cy = std::sin(a);
    float d = apothem - ((x - 16.0f) * cx + (y - 16.0f) * cy);
    if (d < best) best = d, *nx = cx, *ny = cy;
  }
  return best;
}

}  // namespace

char icon_ink(float x, float y) {
  // Flag: a pole with a foot, the cloth blowing to the left.
  if (y >= 22.0f && y < 25.0f && x >= 12.0f && x < 26.0f) return y < 23.5f ? 'm' : 'n';
  if (x >= 18.0f && x < 20.0f && y >= 5.0f && y < 22.5f) return x < 19.0f ? 'l' : 'k';
  float t = (18.0f - x) / (18.0f - 7.0f);  // 0 at the pole, 1 at the tip
  float wave = 0.6f * std::sin(x * 0.6f + 1.0f);
  float top = 5.5f, bottom = 15.5f;
  float mid = (top + bottom) / 2 + wave;
  float half = (1.0f - t) * (bottom - top) / 2;
  if (t >= 0 && t <= 1 && std::fabs(y - mid) < half) {
    float v = (y - mid) / (2 * half);  // -0.5 at the top edge .. 0.5 at the bottom
    if (v < -0.25f) return 'g';
    if (v > 0.3f) return 'j';
    return v < 0.1f ? 'h' : 'i';
  }
  // Tile: outline, bevel lit from the upper left, face.
  float nx = 0, ny = 0;
  float d = hex_distance(x, y, &nx, &ny);
  if (d < 0) return ' ';
  if (d < 1.0f) return '.';
  float lit = -(nx + ny) * 0.7071f;
  if (d < 3.0f) {
    if (lit > 0.5f) return 'a';
    if (lit > 0.1f) return 'b';
    if (lit > -0.1f) return 'd';
    return lit > -0.6f ? 'e' : 'f';
  }
  // Shadow of the flag on the face, down and to the right.
  if (x >= 20.0f && x < 21.5f && y >= 6.0f && y < 22.0f) return 'd';
  return 'c';
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
