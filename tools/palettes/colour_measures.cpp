#include "palettes/colour_measures.h"

#include <algorithm>
#include <cmath>

#include "palette/palette_entries.h"

namespace {

const double PI = 3.14159265358979323846;

double linear(int component) {
  const double c = component / 63.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Machado et al. (2009), severity 1.0, rows applied to linear (r, g, b).
const double PROTAN[3][3] = {{0.152286, 1.052583, -0.204868},
                             {0.114503, 0.786281, 0.099216},
                             {-0.003882, -0.048116, 1.051998}};
const double DEUTAN[3][3] = {{0.367322, 0.860646, -0.227968},
                             {0.280085, 0.672501, 0.047413},
                             {-0.011820, 0.042940, 0.968881}};

double lab_f(double t) {
  const double d = 6.0 / 29.0;
  return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
}

double degrees(double radians) { return radians * 180.0 / PI; }
double radians(double degrees) { return degrees * PI / 180.0; }

}  // namespace

double relative_luminance(const RGB& c) {
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast_ratio(const RGB& x, const RGB& y) {
  const double a = relative_luminance(x), b = relative_luminance(y);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Lab to_lab(const RGB& c, Vision vision) {
  double rgb[3] = {linear(c.r), linear(c.g), linear(c.b)};
  if (vision != NORMAL_VISION) {
    const double(*m)[3] = vision == PROTANOPIA ? PROTAN : DEUTAN;
    double seen[3];
    for (int i = 0; i < 3; i++)
      seen[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    std::copy(seen, seen + 3, rgb);
  }
  const double x = 0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2];
  const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
  const double z = 0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2];
  const double fx = lab_f(x / 0.95047), fy = lab_f(y), fz = lab_f(z / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double delta_e_2000(const Lab& x, const Lab& y) {
  const double c1 = std::hypot(x.a, x.b), c2 = std::hypot(y.a, y.b);
  const double c_mean7 = std::pow((c1 + c2) / 2, 7);
  const double g = 0.5 * (1 - std::sqrt(c_mean7 / (c_mean7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * x.a, a2 = (1 + g) * y.a;
  const double cp1 = std::hypot(a1, x.b), cp2 = std::hypot(a2, y.b);
  auto hue = [](double b, double a) {
    if (a == 0 && b == 0) return 0.0;
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  const double h1 = hue(x.b, a1), h2 = hue(y.b, a2);
  const double dl = y.l - x.l, dc = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    if (dh > 180) dh -= 360;
    if (dh < -180) dh += 360;
  }
  const double dhh = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));
  const double l_mean = (x.l + y.l) / 2, cp_mean = (cp1 + cp2) / 2;
  double h_mean = h1 + h2;
  if (cp1 * cp2 != 0) {
    if (std::fabs(h1 - h2) <= 180)
      h_mean = (h1 + h2) / 2;
    else
      h_mean = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
  }
  const double t = 1 - 0.17 * std::cos(radians(h_mean - 30)) + 0.24 * std::cos(radians(2 * h_mean)) +
                   0.32 * std::cos(radians(3 * h_mean + 6)) - 0.20 * std::cos(radians(4 * h_mean - 63));
  const double d_theta = 30 * std::exp(-std::pow((h_mean - 275) / 25, 2));
  const double cp_mean7 = std::pow(cp_mean, 7);
  const double rc = 2 * std::sqrt(cp_mean7 / (cp_mean7 + std::pow(25.0, 7)));
  const double sl = 1 + 0.015 * std::pow(l_mean - 50, 2) / std::sqrt(20 + std::pow(l_mean - 50, 2));
  const double sc = 1 + 0.045 * cp_mean, sh = 1 + 0.015 * cp_mean * t;
  const double rt = -std::sin(radians(2 * d_theta)) * rc;
  return std::sqrt(std::pow(dl / sl, 2) + std::pow(dc / sc, 2) + std::pow(dhh / sh, 2) +
                   rt * (dc / sc) * (dhh / sh));
}

NumberFigures number_figures(const RGB* palette, Vision vision) {
  NumberFigures f{1e9, 0, 1e9, {0, 0}};
  Lab lab[16];
  for (int k = 0; k < 16; k++) {
    const RGB& c = palette[COL_NUMBER_FIRST + k];
    lab[k] = to_lab(c, vision);
    const double ratio = contrast_ratio(c, palette[COL_REVEALED_A]);
    if (ratio < f.worst_contrast) f = {ratio, k + 1, f.smallest_delta_e, {f.close_pair[0], f.close_pair[1]}};
  }
  for (int i = 0; i < 16; i++)
    for (int j = i + 1; j < 16; j++) {
      const double d = delta_e_2000(lab[i], lab[j]);
      if (d < f.smallest_delta_e) {
        f.smallest_delta_e = d;
        f.close_pair[0] = i + 1;
        f.close_pair[1] = j + 1;
      }
    }
  return f;
}
