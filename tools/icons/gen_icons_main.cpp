// Draws the game's desktop icon (common/icon_art.h) at every size the
// icon theme asks for and writes each as a PNG with an alpha channel:
//   fg_gen_icons OUTPUT_DIR
// writes OUTPUT_DIR/SIZExSIZE/apps/fusegrid.png for 16, 32, 48, 64, 128
// and 256 pixels, and OUTPUT_DIR/scalable/apps/fusegrid.svg. The 16-pixel
// icon is drawn by hand, the 32-pixel one is the window icon pixel for
// pixel, and the larger ones draw the picture again at their size with
// smoothed edges. The scalable icon is the picture's own polygons, scaled
// to 256 units.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/icon_art.h"
#include "common/preview.h"
#include "platform/safe_file.h"

namespace {

// The 16-pixel icon, one ink key a pixel (' ' transparent): the same tile
// and flag with a one-pixel bevel and a one-pixel pole.
const char* const ICON_16[16] = {
    "       ..       ",
    "     ..ab..     ",
    "   ..aacgkb..   ",
    " ..aacgghkdbb.. ",
    " .acghhhhkdccf. ",
    " .ahhhiiikdccf. ",
    " .acccijjkdccf. ",
    " .acccccckdccf. ",
    " .acccccckdccf. ",
    " .acccccckdccf. ",
    " .acccccckdccf. ",
    " .acccmmmmmmmf. ",
    " ..eccnnnnnnn.. ",
    "   ..eeccff..   ",
    "     ..ef..     ",
    "       ..       ",
};

void put_ink(std::vector<uint8_t>& rgba, size_t pixel, char key) {
  const IconInk* ink = icon_ink_of(key);
  if (!ink) return;  // stays transparent
  rgba[pixel * 4 + 0] = static_cast<uint8_t>(ink->r);
  rgba[pixel * 4 + 1] = static_cast<uint8_t>(ink->g);
  rgba[pixel * 4 + 2] = static_cast<uint8_t>(ink->b);
  rgba[pixel * 4 + 3] = 255;
}

std::vector<uint8_t> draw_16() {
  std::vector<uint8_t> rgba(16 * 16 * 4, 0);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) put_ink(rgba, static_cast<size_t>(y) * 16 + x, ICON_16[y][x]);
  return rgba;
}

std::vector<uint8_t> draw_32() {
  std::vector<uint8_t> rgba(ICON_GRID * ICON_GRID * 4, 0);
  for (int y = 0; y < ICON_GRID; y++)
    for (int x = 0; x < ICON_GRID; x++) put_ink(rgba, static_cast<size_t>(y) * ICON_GRID + x, icon_pixel(x, y));
  return rgba;
}

// The picture at size x size: each pixel is the mean of 8 x 8 samples of
// the grid, its alpha the share of them that fall on the picture.
std::vector<uint8_t> draw_smooth(int size) {
  const int n = 8;
  const float step = static_cast<float>(ICON_GRID) / size;
  std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; y++)
    for (int x = 0; x < size; x++) {
      int r = 0, g = 0, b = 0, covered = 0;
      for (int j = 0; j < n; j++)
        for (int i = 0; i < n; i++) {
          const IconInk* ink = icon_ink_of(icon_ink((x + (i + 0.5f) / n) * step, (y + (j + 0.5f) / n) * step));
          if (!ink) continue;
          r += ink->r, g += ink->g, b += ink->b, covered++;
        }
      if (covered == 0) continue;
      uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
      p[0] = static_cast<uint8_t>((r + covered / 2) / covered);
      p[1] = static_cast<uint8_t>((g + covered / 2) / covered);
      p[2] = static_cast<uint8_t>((b + covered / 2) / covered);
      p[3] = static_cast<uint8_t>((covered * 255 + n * n / 2) / (n * n));
    }
  return rgba;
}

// A coordinate of the scalable icon: three decimals at most, no trailing zeros.
std::string svg_number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", v);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

// The picture as an SVG document of size x size units: its polygons, back
// to front, each filled with its ink, on nothing.
std::string draw_svg(int size) {
  const float scale = static_cast<float>(size) / ICON_GRID;
  const std::string n = std::to_string(size);
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + n + " " + n + "\" width=\"" + n +
       "\" height=\"" + n + "\">\n";
  for (const IconShape& shape : icon_shapes()) {
    const IconInk* ink = icon_ink_of(shape.ink);
    if (!ink || shape.points.size() < 3) continue;
    char fill[8];
    std::snprintf(fill, sizeof fill, "#%02x%02x%02x", ink->r, ink->g, ink->b);
    s += std::string("  <polygon fill=\"") + fill + "\" points=\"";
    for (size_t i = 0; i < shape.points.size(); i++) {
      if (i > 0) s += ' ';
      s += svg_number(shape.points[i].x * scale) + "," + svg_number(shape.points[i].y * scale);
    }
    s += "\"/>\n";
  }
  s += "</svg>\n";
  return s;
}

bool make_dir(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const int sizes[] = {16, 32, 48, 64, 128, 256};
  for (int size : sizes) {
    std::vector<uint8_t> rgba = size == 16 ? draw_16() : size == ICON_GRID ? draw_32() : draw_smooth(size);
    std::string dir = argv[1];
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    bool ok = make_dir(dir) && make_dir(dir += "/" + name) && make_dir(dir += "/apps");
    const std::string path = dir + "/fusegrid.png";
    if (!ok || !save_png_rgba(path.c_str(), size, size, rgba)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  std::string dir = argv[1];
  const std::string svg = draw_svg(256);
  bool ok = make_dir(dir) && make_dir(dir += "/scalable") && make_dir(dir += "/apps");
  const std::string path = dir + "/fusegrid.svg";
  if (!ok || write_file_whole(path.c_str(), svg.data(), svg.size()) != WRITE_DONE) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
END_OF_MAIN()
