#include "platform/datafile_check.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/main_datafile.h"
#include "platform/safe_file.h"

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

// Bitmaps and samples are judged by their headers and sizes alone: `head`
// holds the first bytes of the object (up to HEAD_SIZE), `size` is its
// whole size.
bool bitmap_ok(Reader head, size_t size) {
  int bits = head.s16(), w = head.s16(), h = head.s16();
  if (!head.ok || bits != 8 || w < 1 || h < 1) return false;
  return size - 6 == static_cast<size_t>(w) * static_cast<size_t>(h);
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

bool sample_ok(Reader head, size_t size) {
  int bits = head.s16();
  head.s16();  // frequency
  uint32_t length = head.u32();
  if (!head.ok) return false;
  int channels = bits < 0 ? 2 : 1;
  int b = bits < 0 ? -bits : bits;
  if (b != 8 && b != 16) return false;
  return static_cast<uint64_t>(size - 8) == static_cast<uint64_t>(length) * static_cast<uint64_t>(channels) * (b / 8);
}

// Where the check reads a datafile from: bytes in memory or an open file.
// Every read is bounded by what is left.
class Source {
 public:
  virtual ~Source() = default;
  // Exactly n bytes into dst, else false.
  virtual bool read(uint8_t* dst, size_t n) = 0;
  virtual bool skip(uint64_t n) = 0;
  virtual uint64_t left() const = 0;
  // The next n bytes (n <= left()), valid until the next call; nullptr on
  // failure.
  virtual const uint8_t* take(size_t n) = 0;

  bool u32(uint32_t* v) {
    uint8_t b[4];
    if (!read(b, 4)) return false;
    *v = static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
         static_cast<uint32_t>(b[2]) << 8 | b[3];
    return true;
  }
};

class MemorySource : public Source {
 public:
  MemorySource(const uint8_t* p, size_t size) : p_(p), left_(size) {}
  bool read(uint8_t* dst, size_t n) override {
    const uint8_t* from = take(n);
    if (!from) return false;
    std::memcpy(dst, from, n);
    return true;
  }
  bool skip(uint64_t n) override { return take_ptr(n) != nullptr; }
  uint64_t left() const override { return left_; }
  const uint8_t* take(size_t n) override { return take_ptr(n); }

 private:
  const uint8_t* take_ptr(uint64_t n) {
    if (n > left_) return nullptr;
    const uint8_t* at = p_;
    p_ += n;
    left_ -= static_cast<size_t>(n);
    return at;
  }
  const uint8_t* p_;
  size_t left_;
};

// Reads only what the check asks for; object contents that are not looked
// at are skipped with a seek.
class FileSource : public Source {
 public:
  FileSource(int fd, uint64_t size) : fd_(fd), left_(size) {}
  bool read(uint8_t* dst, size_t n) override {
    if (n > left_) return false;
    size_t got = 0;
    while (got < n) {
      const ssize_t r = ::read(fd_, dst + got, n - got);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return false;
      got += static_cast<size_t>(r);
    }
    left_ -= n;
    return true;
  }
  bool skip(uint64_t n) override {
    if (n > left_ || lseek(fd_, static_cast<off_t>(n), SEEK_CUR) < 0) return false;
    left_ -= n;
    return true;
  }
  uint64_t left() const override { return left_; }
  const uint8_t* take(size_t n) override {
    buffer_.resize(n);
    return read(buffer_.data(), n) ? buffer_.data() : nullptr;
  }

 private:
  int fd_;
  uint64_t left_;
  std::vector<uint8_t> buffer_;
};

// RLE sprites and fonts are walked through whole; none of the game's comes
// near this size.
const uint32_t MAX_WALKED_OBJECT = 16u << 20;
const size_t HEAD_SIZE = 8;

int check_datafile(Source& s) {
  uint32_t magic, dat_magic, count;
  if (!s.u32(&magic) || magic != static_cast<uint32_t>(F_NOPACK_MAGIC)) return 0;
  if (!s.u32(&dat_magic) || dat_magic != static_cast<uint32_t>(DAT_MAGIC)) return 0;
  if (!s.u32(&count) || count > MAX_OBJECTS) return 0;
  for (uint32_t i = 0; i < count; i++) {
    uint32_t type;
    if (!s.u32(&type)) return 0;
    while (type == id('p', 'r', 'o', 'p')) {
      uint32_t prop_id, len;
      if (!s.u32(&prop_id) || !s.u32(&len) || !s.skip(len) || !s.u32(&type)) return 0;
    }
    uint32_t packed, unpacked;
    if (!s.u32(&packed) || !s.u32(&unpacked)) return 0;
    if (packed != unpacked || packed > s.left() || packed > 0x7FFFFFFFu) return 0;
    bool good;
    if (type == id('B', 'M', 'P', ' ') || type == id('S', 'A', 'M', 'P')) {
      const size_t head = packed < HEAD_SIZE ? packed : HEAD_SIZE;
      const uint8_t* bytes = s.take(head);
      if (!bytes) return 0;
      Reader r{bytes, head};
      good = type == id('B', 'M', 'P', ' ') ? bitmap_ok(r, packed) : sample_ok(r, packed);
      good = good && s.skip(packed - head);
    } else if (type == id('R', 'L', 'E', ' ') || type == id('F', 'O', 'N', 'T')) {
      if (packed > MAX_WALKED_OBJECT) return 0;
      const uint8_t* bytes = s.take(packed);
      if (!bytes) return 0;
      Reader r{bytes, packed};
      good = type == id('R', 'L', 'E', ' ') ? rle_ok(r) : font_ok(r);
    } else if (type == id('P', 'A', 'L', ' ')) {
      good = packed == 1024 && s.skip(packed);
    } else {
      good = type == id('D', 'A', 'T', 'A') && s.skip(packed);
    }
    if (!good) return 0;
  }
  return 1;
}

}  // namespace

int datafile_bytes_are_sound(const uint8_t* bytes, size_t size) {
  if (!bytes && size > 0) return 0;
  MemorySource s(bytes, size);
  return check_datafile(s);
}

namespace {

// No datafile of ours is anywhere near this; the library would hold all of
// a file's objects in memory.
const uint64_t MAX_DATAFILE_SIZE = 256u << 20;

int descriptor_is_sound(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return 0;
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (size > MAX_DATAFILE_SIZE) return 0;
  FileSource s(fd, size);
  return check_datafile(s);
}

}  // namespace

int datafile_file_is_sound(const char* path) {
  const int fd = open_regular_file(path);
  if (fd < 0) return 0;
  const int sound = descriptor_is_sound(fd);
  close(fd);
  return sound;
}

DATAFILE* load_checked_datafile(const char* path) {
  const int fd = open_regular_file(path);
  if (fd < 0) return nullptr;
  DATAFILE* dat = nullptr;
  if (descriptor_is_sound(fd)) {
    // The library loads the very file that was checked, through its open
    // descriptor, whatever has happened to the name meanwhile. Without
    // /proc the name is all there is.
    char own[32];
    std::snprintf(own, sizeof own, "/proc/self/fd/%d", fd);
    dat = load_datafile(access(own, R_OK) == 0 ? own : path);
  }
  close(fd);
  return dat;
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
