#include "app/datafile_check.h"

#include <cstdio>
#include <vector>

#include "app/main_datafile.h"

namespace {

const uint32_t MAX_OBJECTS = 65536;

uint32_t id(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24 | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8 | static_cast<uint32_t>(static_cast<uint8_t>(d));
}

// A bounded big-endian reader: every read checks the remaining length.
struct Reader {
  const uint8_t* p;
  size_t left;
  bool ok = true;

  uint32_t u32() {
    if (left < 4) return fail();
    uint32_t v = static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                 static_cast<uint32_t>(p[2]) << 8 | p[3];
    p += 4;
    left -= 4;
    return v;
  }
  int s16() {
    if (left < 2) return static_cast<int>(fail());
    int v = static_cast<int16_t>(static_cast<uint16_t>(p[0] << 8 | p[1]));
    p += 2;
    left -= 2;
    return v;
  }
  int u8() {
    if (left < 1) return static_cast<int>(fail());
    int v = *p++;
    left--;
    return v;
  }
  bool skip(size_t n) {
    if (left < n) {
      fail();
      return false;
    }
    p += n;
    left -= n;
    return true;
  }
  uint32_t fail() {
    ok = false;
    left = 0;
    return 0;
  }
};

bool bitmap_ok(Reader r) {
  int bits = r.s16(), w = r.s16(), h = r.s16();
  if (!r.ok || bits != 8 || w < 1 || h < 1) return false;
  return r.left == static_cast<size_t>(w) * static_cast<size_t>(h);
}

bool rle_ok(Reader r) {
  int bits = r.s16(), w = r.s16(), h = r.s16();
  uint32_t size = r.u32();
  if (!r.ok || bits != 8 || w < 1 || h < 1 || r.left != size) return false;
  for (int y = 0; y < h; y++) {
    int x = 0;
    for (;;) {
      int c = r.u8();
      if (!r.ok) return false;
      int8_t n = static_cast<int8_t>(c);
      if (n == 0) break;
      if (n > 0) {
        if (!r.skip(static_cast<size_t>(n))) return false;
        x += n;
      } else {
        x -= n;
      }
      if (x > w) return false;
    }
    if (x != w) return false;
  }
  return r.left == 0;
}

bool font_ok(Reader r) {
  if (r.s16() != 0) return false;  // only the current font format
  int ranges = r.s16();
  if (!r.ok || ranges < 1) return false;
  for (int i = 0; i < ranges; i++) {
    int mono = r.u8();
    uint32_t start = r.u32(), end = r.u32();
    if (!r.ok || (mono != 1 && mono != 8) || end < start || end - start >= 0x10000u) return false;
    for (uint32_t c = start; c <= end; c++) {
      int w = r.s16(), h = r.s16();
      if (!r.ok || w < 0 || h < 0) return false;
      size_t bytes = mono == 1 ? static_cast<size_t>((w + 7) / 8) * static_cast<size_t>(h)
                               : static_cast<size_t>(w) * static_cast<size_t>(h);
      if (!r.skip(bytes)) return false;
    }
  }
  return r.left == 0;
}

bool sample_ok(Reader r) {
  int bits = r.s16();
  r.s16();  // frequency
  uint32_t length = r.u32();
  if (!r.ok) return false;
  int channels = bits < 0 ? 2 : 1;
  int b = bits < 0 ? -bits : bits;
  if (b != 8 && b != 16) return false;
  return static_cast<uint64_t>(r.left) == static_cast<uint64_t>(length) * static_cast<uint64_t>(channels) * (b / 8);
}

}  // namespace

int datafile_bytes_are_sound(const uint8_t* bytes, size_t size) {
  Reader r{bytes, size};
  if (r.u32() != static_cast<uint32_t>(F_NOPACK_MAGIC)) return 0;
  if (r.u32() != static_cast<uint32_t>(DAT_MAGIC)) return 0;
  uint32_t count = r.u32();
  if (!r.ok || count > MAX_OBJECTS) return 0;
  for (uint32_t i = 0; i < count; i++) {
    uint32_t type = r.u32();
    while (r.ok && type == id('p', 'r', 'o', 'p')) {
      r.u32();
      uint32_t len = r.u32();
      if (!r.ok || !r.skip(len)) return 0;
      type = r.u32();
    }
    uint32_t packed = r.u32();
    uint32_t unpacked = r.u32();
    if (!r.ok || packed != unpacked || packed > r.left || packed > 0x7FFFFFFFu) return 0;
    Reader body{r.p, packed};
    bool good;
    if (type == id('B', 'M', 'P', ' '))
      good = bitmap_ok(body);
    else if (type == id('R', 'L', 'E', ' '))
      good = rle_ok(body);
    else if (type == id('P', 'A', 'L', ' '))
      good = packed == 1024;
    else if (type == id('F', 'O', 'N', 'T'))
      good = font_ok(body);
    else if (type == id('S', 'A', 'M', 'P'))
      good = sample_ok(body);
    else
      good = type == id('D', 'A', 'T', 'A');
    if (!good || !r.skip(packed)) return 0;
  }
  return r.ok ? 1 : 0;
}

int datafile_file_is_sound(const char* path) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return 0;
  std::vector<uint8_t> bytes;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    bytes.insert(bytes.end(), buf, buf + n);
    if (bytes.size() > (256u << 20)) break;  // no datafile of ours is anywhere near this
  }
  bool read_error = std::ferror(f) != 0;
  std::fclose(f);
  if (read_error || bytes.size() > (256u << 20)) return 0;
  return datafile_bytes_are_sound(bytes.data(), bytes.size());
}

DATAFILE* load_checked_datafile(const char* path) {
  if (!datafile_file_is_sound(path)) return nullptr;
  return load_datafile(path);
}

int datafile_object_count(const DATAFILE* dat) {
  if (!dat) return 0;
  int n = 0;
  while (dat[n].type != DAT_END) n++;
  return n;
}

int main_object_kind(int index) {
  switch (index) {
    case OBJ_DEFAULT_PALETTE:
    case OBJ_LOGO_PALETTE:
    case OBJ_PRESS_KEY_PALETTE: return DAT_PALETTE;
    case OBJ_FONT: return DAT_FONT;
    case OBJ_PALETTE_PREVIEW: return DAT_RLE_SPRITE;
    case 19:
    case 20:
    case 129:
    case 130: return 0;  // indexes the game does not use
    default: return DAT_BITMAP;
  }
}

namespace {

bool bitmap_at_least(const DATAFILE* dat, int index, int w, int h) {
  const BITMAP* b = static_cast<const BITMAP*>(dat[index].dat);
  return b->w >= w && b->h >= h;
}

}  // namespace

int main_datafile_is_complete(const DATAFILE* dat) {
  if (!dat || datafile_object_count(dat) < MAIN_OBJECT_COUNT) return 0;
  for (int i = 0; i < MAIN_OBJECT_COUNT; i++) {
    int kind = main_object_kind(i);
    if (kind && dat[i].type != kind) return 0;
  }
  // Pictures the game copies whole areas from.
  for (int i = OBJ_FRAME_BOTTOM; i <= OBJ_FRAME_BOTTOM_LEFT; i++)
    if (!bitmap_at_least(dat, i, 1, 1)) return 0;
  for (int i : {OBJ_FRAME_TOP_LEFT, OBJ_FRAME_TOP_RIGHT, OBJ_FRAME_BOTTOM_LEFT, OBJ_FRAME_BOTTOM_RIGHT})
    if (!bitmap_at_least(dat, i, 2, 2)) return 0;
  if (!bitmap_at_least(dat, OBJ_PANEL_BOTTOM, 88, 2) || !bitmap_at_least(dat, OBJ_PANEL_SEPARATOR, 88, 2) ||
      !bitmap_at_least(dat, OBJ_PANEL_FILLER, 88, 1) || !bitmap_at_least(dat, OBJ_LOGO, 355, 51) ||
      !bitmap_at_least(dat, OBJ_PRESS_KEY_PICTURE, 800, 600))
    return 0;
  return 1;
}

int sound_datafile_is_complete(const DATAFILE* dat) {
  if (!dat || datafile_object_count(dat) < 11) return 0;
  for (int i = 0; i < 11; i++)
    if (dat[i].type != DAT_SAMPLE) return 0;
  return 1;
}
