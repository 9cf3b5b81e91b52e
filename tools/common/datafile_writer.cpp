#include "common/datafile_writer.h"

#include "platform/safe_file.h"

void put_be16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}

void put_be32(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 24));
  out.push_back(static_cast<uint8_t>(value >> 16));
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void DatafileWriter::add(uint32_t type, const char* name, std::vector<uint8_t> data) {
  objects_.push_back(Object{type, name ? name : "", std::move(data)});
}

void DatafileWriter::add_bitmap(BITMAP* bmp, const char* name) {
  std::vector<uint8_t> d;
  put_be16(d, 8);
  put_be16(d, bmp->w);
  put_be16(d, bmp->h);
  for (int y = 0; y < bmp->h; y++)
    for (int x = 0; x < bmp->w; x++) d.push_back(static_cast<uint8_t>(getpixel(bmp, x, y)));
  add(DAT_BITMAP, name, std::move(d));
}

void DatafileWriter::add_rle_sprite(BITMAP* bmp, const char* name) {
  // 8-bit RLE: per line, runs of solid pixels (positive count, then the
  // pixels) and of transparent ones (negative count), ended by a zero.
  std::vector<uint8_t> rle;
  for (int y = 0; y < bmp->h; y++) {
    int x = 0;
    while (x < bmp->w) {
      bool solid = getpixel(bmp, x, y) != 0;
      int run = 0;
      while (x + run < bmp->w && run < 127 && (getpixel(bmp, x + run, y) != 0) == solid) run++;
      if (solid) {
        rle.push_back(static_cast<uint8_t>(run));
        for (int i = 0; i < run; i++) rle.push_back(static_cast<uint8_t>(getpixel(bmp, x + i, y)));
      } else {
        rle.push_back(static_cast<uint8_t>(static_cast<int8_t>(-run)));
      }
      x += run;
    }
    rle.push_back(0);
  }
  std::vector<uint8_t> d;
  put_be16(d, 8);
  put_be16(d, bmp->w);
  put_be16(d, bmp->h);
  put_be32(d, static_cast<uint32_t>(rle.size()));
  d.insert(d.end(), rle.begin(), rle.end());
  add(DAT_RLE_SPRITE, name, std::move(d));
}

void DatafileWriter::add_palette(const PALETTE pal, const char* name) {
  std::vector<uint8_t> d;
  for (int i = 0; i < PAL_SIZE; i++) {
    d.push_back(pal[i].r & 63);
    d.push_back(pal[i].g & 63);
    d.push_back(pal[i].b & 63);
    d.push_back(0);
  }
  add(DAT_PALETTE, name, std::move(d));
}

void DatafileWriter::add_mono_font(int first, const std::vector<DatGlyph>& glyphs, const char* name) {
  std::vector<uint8_t> d;
  put_be16(d, 0);  // new-style font
  put_be16(d, 1);  // one range
  d.push_back(1);  // mono
  put_be32(d, static_cast<uint32_t>(first));
  put_be32(d, static_cast<uint32_t>(first + static_cast<int>(glyphs.size()) - 1));
  for (const DatGlyph& g : glyphs) {
    put_be16(d, g.width);
    put_be16(d, g.height);
    int stride = (g.width + 7) / 8;
    for (int y = 0; y < g.height; y++) {
      for (int b = 0; b < stride; b++) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; bit++) {
          int x = b * 8 + bit;
          if (x < g.width && g.pixels[static_cast<size_t>(y * g.width + x)]) byte |= static_cast<uint8_t>(0x80 >> bit);
        }
        d.push_back(byte);
      }
    }
  }
  add(DAT_FONT, name, std::move(d));
}

void DatafileWriter::add_sample16(const std::vector<int16_t>& samples, int frequency, const char* name) {
  std::vector<uint8_t> d;
  put_be16(d, 16);
  put_be16(d, frequency);
  put_be32(d, static_cast<uint32_t>(samples.size()));
  // 16-bit sample data is stored little-endian and unsigned.
  for (int16_t s : samples) {
    uint16_t u = static_cast<uint16_t>(static_cast<uint16_t>(s) ^ 0x8000u);
    d.push_back(static_cast<uint8_t>(u & 0xFF));
    d.push_back(static_cast<uint8_t>(u >> 8));
  }
  add(DAT_SAMPLE, name, std::move(d));
}

void DatafileWriter::add_data(const std::vector<uint8_t>& bytes, const char* name) {
  add(DAT_DATA, name, bytes);
}

bool DatafileWriter::write(const std::string& path) const {
  std::vector<uint8_t> out;
  put_be32(out, static_cast<uint32_t>(F_NOPACK_MAGIC));
  put_be32(out, static_cast<uint32_t>(DAT_MAGIC));
  put_be32(out, static_cast<uint32_t>(objects_.size()));
  for (const Object& o : objects_) {
    if (!o.name.empty()) {
      put_be32(out, static_cast<uint32_t>(DAT_PROPERTY));
      put_be32(out, static_cast<uint32_t>(DAT_NAME));
      put_be32(out, static_cast<uint32_t>(o.name.size()));
      out.insert(out.end(), o.name.begin(), o.name.end());
    }
    put_be32(out, o.type);
    put_be32(out, static_cast<uint32_t>(o.data.size()));
    put_be32(out, static_cast<uint32_t>(o.data.size()));
    out.insert(out.end(), o.data.begin(), o.data.end());
  }
  return write_file_whole(path.c_str(), out.data(), out.size()) == WRITE_DONE;
}
