#include "common/preview.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

uint32_t crc_table[256];
bool crc_ready = false;

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  if (!crc_ready) {
    for (uint32_t i = 0; i < 256; i++) {
      uint32_t c = i;
      for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      crc_table[i] = c;
    }
    crc_ready = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < n; i++) crc = crc_table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void be32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}

void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
  be32(png, static_cast<uint32_t>(body.size()));
  std::vector<uint8_t> tb(type, type + 4);
  tb.insert(tb.end(), body.begin(), body.end());
  png.insert(png.end(), tb.begin(), tb.end());
  be32(png, crc32(tb.data(), tb.size()));
}

// A PNG of w x h pixels of the given colour type (2: RGB, 6: RGBA), from
// its filtered scanlines (a 0 filter byte before each row).
bool write_png(const char* path, int w, int h, uint8_t colour_type, const std::vector<uint8_t>& raw) {
  // zlib stream of stored (uncompressed) deflate blocks.
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t len = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    z.push_back(pos + len == raw.size() ? 1 : 0);
    z.push_back(static_cast<uint8_t>(len & 0xFF));
    z.push_back(static_cast<uint8_t>(len >> 8));
    z.push_back(static_cast<uint8_t>(~len & 0xFF));
    z.push_back(static_cast<uint8_t>((~len >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + len));
    pos += len;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  be32(z, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  be32(ihdr, static_cast<uint32_t>(w));
  be32(ihdr, static_cast<uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, colour_type, 0, 0, 0});
  chunk(png, "IHDR", ihdr);
  chunk(png, "IDAT", z);
  chunk(png, "IEND", {});
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return (std::fclose(f) == 0) && ok;
}

}  // namespace

bool save_png(const char* path, BITMAP* bmp, const PALETTE pal) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < bmp->h; y++) {
    raw.push_back(0);
    for (int x = 0; x < bmp->w; x++) {
      int c = getpixel(bmp, x, y) & 255;
      raw.push_back(static_cast<uint8_t>(pal[c].r * 255 / 63));
      raw.push_back(static_cast<uint8_t>(pal[c].g * 255 / 63));
      raw.push_back(static_cast<uint8_t>(pal[c].b * 255 / 63));
    }
  }
  return write_png(path, bmp->w, bmp->h, 2, raw);
}

bool save_png_rgba(const char* path, int w, int h, const std::vector<uint8_t>& rgba) {
  if (w <= 0 || h <= 0 || rgba.size() != static_cast<size_t>(w) * h * 4) return false;
  std::vector<uint8_t> raw;
  raw.reserve(rgba.size() + h);
  for (int y = 0; y < h; y++) {
    raw.push_back(0);
    raw.insert(raw.end(), rgba.begin() + static_cast<long>(y) * w * 4, rgba.begin() + static_cast<long>(y + 1) * w * 4);
  }
  return write_png(path, w, h, 6, raw);
}
