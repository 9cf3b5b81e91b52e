// Writer of Allegro 4 datafiles (the unpacked "slh." form), used by every
// data generator. Objects are appended in order; their position in the
// file is their index when the game loads it with load_datafile.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

struct DatGlyph {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height, nonzero = ink
};

class DatafileWriter {
 public:
  // An 8-bit bitmap, stored as a DAT_BITMAP.
  void add_bitmap(BITMAP* bmp, const char* name = nullptr);
  // An 8-bit bitmap stored as a DAT_RLE_SPRITE (colour 0 transparent).
  void add_rle_sprite(BITMAP* bmp, const char* name = nullptr);
  // 256 entries of 6-bit red, green, blue.
  void add_palette(const PALETTE pal, const char* name = nullptr);
  // A one-colour font covering the character codes first..first+glyphs-1.
  void add_mono_font(int first, const std::vector<DatGlyph>& glyphs, const char* name = nullptr);
  // A mono sample of signed 16-bit values.
  void add_sample16(const std::vector<int16_t>& samples, int frequency, const char* name = nullptr);
  // A raw binary block, stored as DAT_DATA.
  void add_data(const std::vector<uint8_t>& bytes, const char* name = nullptr);

  int count() const { return static_cast<int>(objects_.size()); }

  // Writes the whole file with write_file_whole (platform/safe_file.h): a
  // temporary file beside path, renamed into place. Returns false when
  // anything fails; no temporary file is left and path is as it was.
  bool write(const std::string& path) const;

 private:
  struct Object {
    uint32_t type;
    std::string name;
    std::vector<uint8_t> data;
  };
  void add(uint32_t type, const char* name, std::vector<uint8_t> data);
  std::vector<Object> objects_;
};

// Big-endian helpers shared by the writer and tests that build datafiles by hand.
void put_be16(std::vector<uint8_t>& out, int value);
void put_be32(std::vector<uint8_t>& out, uint32_t value);
