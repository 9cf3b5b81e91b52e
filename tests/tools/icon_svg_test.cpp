// The scalable desktop icon as the build wrote it: a plain SVG document of
// filled polygons, and the same picture as the 256-pixel PNG icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// ---------------------------------------------------------------------------
// Just enough XML: an optional declaration, then one element holding
// elements and white space only; attribute values in double quotes,
// without entities.

struct Element {
  std::string name;
  std::map<std::string, std::string> attrs;
  std::vector<Element> children;
};

class XmlReader {
 public:
  explicit XmlReader(const std::string& text) : s_(text) {}

  bool document(Element& root) {
    if (s_.compare(0, 5, "<?xml") == 0) {
      i_ = s_.find("?>");
      if (i_ == std::string::npos) return false;
      i_ += 2;
    }
    space();
    if (!element(root)) return false;
    space();
    return i_ == s_.size();
  }

 private:
  void space() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) i_++;
  }
  std::string name() {
    const size_t start = i_;
    while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || std::strchr(":_-.", s_[i_]))) i_++;
    return s_.substr(start, i_ - start);
  }
  bool at(const char* token) const { return s_.compare(i_, std::strlen(token), token) == 0; }

  bool element(Element& e) {
    if (!at("<")) return false;
    i_++;
    e.name = name();
    if (e.name.empty()) return false;
    for (;;) {
      space();
      if (at("/>")) {
        i_ += 2;
        return true;
      }
      if (at(">")) {
        i_++;
        break;
      }
      const std::string attr = name();
      if (attr.empty() || !at("=\"")) return false;
      i_ += 2;
      const size_t end = s_.find('"', i_);
      if (end == std::string::npos) return false;
      const std::string value = s_.substr(i_, end - i_);
      if (value.find_first_of("<&") != std::string::npos || e.attrs.count(attr)) return false;
      e.attrs[attr] = value;
      i_ = end + 1;
    }
    for (;;) {
      space();
      if (at("</")) {
        i_ += 2;
        if (name() != e.name) return false;
        space();
        if (!at(">")) return false;
        i_++;
        return true;
      }
      e.children.emplace_back();
      if (!element(e.children.back())) return false;  // text, or not an element
    }
  }

  const std::string& s_;
  size_t i_ = 0;
};

// ---------------------------------------------------------------------------
// The PNG icons as the generator writes them: 8-bit RGBA, every scanline
// unfiltered, in stored (uncompressed) deflate blocks.

bool read_icon_png(const std::string& path, int& w, int& h, std::vector<uint8_t>& rgba) {
  const std::string f = read_file(path);
  auto be32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(f[at])) << 24 | static_cast<uint8_t>(f[at + 1]) << 16 |
           static_cast<uint8_t>(f[at + 2]) << 8 | static_cast<uint8_t>(f[at + 3]);
  };
  if (f.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
  std::string z;
  for (size_t at = 8; at + 12 <= f.size();) {
    const uint32_t len = be32(at);
    const std::string type = f.substr(at + 4, 4);
    if (at + 12 + len > f.size()) return false;
    if (type == "IHDR") {
      w = static_cast<int>(be32(at + 8));
      h = static_cast<int>(be32(at + 12));
      if (f.compare(at + 16, 2, "\x08\x06") != 0) return false;  // 8 bits, RGBA
    }
    if (type == "IDAT") z += f.substr(at + 8, len);
    at += 12 + len;
  }
  std::string raw;
  size_t at = 2;  // the zlib header
  for (bool last = false; !last;) {
    if (at + 5 > z.size() || (z[at] & 6) != 0) return false;  // a stored block
    last = z[at] & 1;
    const size_t len = static_cast<uint8_t>(z[at + 1]) | static_cast<uint8_t>(z[at + 2]) << 8;
    raw += z.substr(at + 5, len);
    at += 5 + len;
  }
  if (w <= 0 || h <= 0 || raw.size() != static_cast<size_t>(h) * (1 + 4 * w)) return false;
  rgba.clear();
  for (int y = 0; y < h; y++) {
    const size_t row = static_cast<size_t>(y) * (1 + 4 * w);
    if (raw[row] != 0) return false;  // filter: none
    rgba.insert(rgba.end(), raw.begin() + static_cast<long>(row) + 1, raw.begin() + static_cast<long>(row) + 1 + 4 * w);
  }
  return true;
}

// ---------------------------------------------------------------------------

struct Polygon {
  uint32_t rgb;
  std::vector<std::pair<float, float>> points;
  float min_x = 1e9f, min_y = 1e9f, max_x = -1e9f, max_y = -1e9f;
};

// Even-odd rule, as the SVG default of "nonzero" gives for simple polygons.
bool holds(const Polygon& p, float x, float y) {
  if (x < p.min_x || x > p.max_x || y < p.min_y || y > p.max_y) return false;
  bool in = false;
  for (size_t i = 0, j = p.points.size() - 1; i < p.points.size(); j = i++) {
    const auto& a = p.points[i];
    const auto& b = p.points[j];
    if ((a.second > y) != (b.second > y) && x < a.first + (y - a.second) * (b.first - a.first) / (b.second - a.second))
      in = !in;
  }
  return in;
}

const uint32_t NOTHING = 0xffffffff;

// The colour the frontmost polygon holding the point fills it with.
uint32_t colour_at(const std::vector<Polygon>& polygons, float x, float y) {
  for (auto p = polygons.rbegin(); p != polygons.rend(); ++p)
    if (holds(*p, x, y)) return p->rgb;
  return NOTHING;
}

TEST(IconSvg, IsPlainSvgOfPolygonsDrawingThe256PixelIcon) {
  const std::string text = read_file(FG_ICON_SVG);
  ASSERT_FALSE(text.empty()) << FG_ICON_SVG;
  Element svg;
  ASSERT_TRUE(XmlReader(text).document(svg)) << "not well-formed";
  EXPECT_EQ(svg.name, "svg");
  const std::map<std::string, std::string> root = {{"xmlns", "http://www.w3.org/2000/svg"},
                                                   {"viewBox", "0 0 256 256"},
                                                   {"width", "256"},
                                                   {"height", "256"}};
  EXPECT_EQ(svg.attrs, root);

  // Filled polygons and nothing else: no picture, text, style or link.
  std::vector<Polygon> polygons;
  for (const Element& e : svg.children) {
    ASSERT_EQ(e.name, "polygon");
    ASSERT_EQ(e.attrs.size(), 2u);
    ASSERT_TRUE(e.children.empty());
    Polygon p;
    const std::string& fill = e.attrs.at("fill");
    unsigned rgb = 0;
    int used = 0;
    ASSERT_TRUE(fill.size() == 7 && std::sscanf(fill.c_str(), "#%6x%n", &rgb, &used) == 1 && used == 7) << fill;
    p.rgb = rgb;
    std::istringstream points(e.attrs.at("points"));
    float x, y;
    char comma;
    while (points >> x >> comma >> y) {
      ASSERT_EQ(comma, ',');
      p.points.push_back({x, y});
      p.min_x = std::min(p.min_x, x), p.max_x = std::max(p.max_x, x);
      p.min_y = std::min(p.min_y, y), p.max_y = std::max(p.max_y, y);
    }
    ASSERT_TRUE(points.eof()) << e.attrs.at("points");
    ASSERT_GE(p.points.size(), 3u);
    polygons.push_back(p);
  }
  ASSERT_GE(polygons.size(), 5u);

  // Every pixel of the PNG icon that lies wholly in one polygon (or in
  // none) at the generator's 8 x 8 samples a pixel has that polygon's
  // colour (or is transparent).
  int w = 0, h = 0;
  std::vector<uint8_t> png;
  const std::string png_path = std::string(FG_ICON_DIR) + "/256x256/apps/fusegrid.png";
  ASSERT_TRUE(read_icon_png(png_path, w, h, png)) << png_path;
  ASSERT_EQ(w, 256);
  ASSERT_EQ(h, 256);
  int whole = 0, transparent = 0, differing = 0;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const uint32_t first = colour_at(polygons, x + 0.5f / 8, y + 0.5f / 8);
      bool one = true;
      for (int s = 1; s < 64 && one; s++) one = colour_at(polygons, x + (s % 8 + 0.5f) / 8, y + (s / 8 + 0.5f) / 8) == first;
      if (!one) continue;
      whole++;
      const uint8_t* p = &png[(static_cast<size_t>(y) * w + x) * 4];
      if (first == NOTHING) {
        transparent++;
        differing += p[3] != 0;
      } else {
        differing += p[3] != 255 || p[0] != (first >> 16) || p[1] != ((first >> 8) & 255) || p[2] != (first & 255);
      }
    }
  EXPECT_GT(whole, w * h * 9 / 10);
  EXPECT_GT(transparent, w * h / 10);           // around the tile
  EXPECT_GT(whole - transparent, w * h / 2);    // the tile and the flag
  EXPECT_LE(differing, whole / 1000) << "of " << whole << " pixels";
}

}  // namespace
