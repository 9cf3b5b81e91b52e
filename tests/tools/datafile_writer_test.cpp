#include "common/datafile_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/headless.h"

TEST(DatafileWriter, EveryKindRoundTripsThroughLoadDatafile) {
  ScopedTempDir dir;
  BITMAP* bmp = create_bitmap_ex(8, 5, 3);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 5; x++) putpixel(bmp, x, y, (x * 7 + y * 13) % 256);
  BITMAP* sprite = create_bitmap_ex(8, 300, 2);  // runs longer than 127 pixels
  clear_to_color(sprite, 0);
  for (int x = 0; x < 300; x++)
    if (x < 10 || (x >= 20 && x < 200)) putpixel(sprite, x, 0, 1 + x % 250);
  putpixel(sprite, 299, 1, 9);
  PALETTE pal;
  for (int i = 0; i < 256; i++) pal[i] = RGB{static_cast<unsigned char>(i % 64), static_cast<unsigned char>((i / 4) % 64),
                                             static_cast<unsigned char>(63 - i % 64), 0};
  std::vector<DatGlyph> glyphs;
  for (int c = 0; c < 3; c++) {
    DatGlyph g{4 + c, 8, std::vector<uint8_t>(static_cast<size_t>((4 + c) * 8), 0)};
    g.pixels[0] = 1;                               // top-left
    g.pixels[static_cast<size_t>(g.width * 8 - 1)] = 1;  // bottom-right
    glyphs.push_back(g);
  }
  std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 12345};

  DatafileWriter w;
  w.add_bitmap(bmp, "A");
  w.add_rle_sprite(sprite);
  w.add_palette(pal);
  w.add_mono_font('A', glyphs);
  w.add_sample16(samples, 22050);
  w.add_data({1, 2, 3, 250});
  ASSERT_TRUE(w.write("round.dat"));

  DATAFILE* dat = load_datafile("round.dat");
  ASSERT_NE(dat, nullptr);
  int count = 0;
  while (dat[count].type != DAT_END) count++;
  ASSERT_EQ(count, 6);

  ASSERT_EQ(dat[0].type, DAT_BITMAP);
  BITMAP* b = static_cast<BITMAP*>(dat[0].dat);
  ASSERT_EQ(b->w, 5);
  ASSERT_EQ(b->h, 3);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 5; x++) EXPECT_EQ(getpixel(b, x, y), (x * 7 + y * 13) % 256);
  EXPECT_STREQ(get_datafile_property(&dat[0], DAT_NAME), "A");

  ASSERT_EQ(dat[1].type, DAT_RLE_SPRITE);
  RLE_SPRITE* rle = static_cast<RLE_SPRITE*>(dat[1].dat);
  ASSERT_EQ(rle->w, 300);
  ASSERT_EQ(rle->h, 2);
  BITMAP* back = create_bitmap_ex(8, 300, 2);
  clear_to_color(back, 0);
  draw_rle_sprite(back, rle, 0, 0);
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 300; x++) EXPECT_EQ(getpixel(back, x, y), getpixel(sprite, x, y)) << x << "," << y;

  ASSERT_EQ(dat[2].type, DAT_PALETTE);
  RGB* p = static_cast<RGB*>(dat[2].dat);
  for (int i = 0; i < 256; i++) {
    EXPECT_EQ(p[i].r, pal[i].r);
    EXPECT_EQ(p[i].g, pal[i].g);
    EXPECT_EQ(p[i].b, pal[i].b);
  }

  ASSERT_EQ(dat[3].type, DAT_FONT);
  FONT* f = static_cast<FONT*>(dat[3].dat);
  EXPECT_EQ(text_height(f), 8);
  EXPECT_EQ(text_length(f, "ABC"), 4 + 5 + 6);
  BITMAP* tall = create_bitmap_ex(8, 20, 8);
  clear_to_color(tall, 0);
  textout_ex(tall, f, "B", 0, 0, 77, -1);
  // Glyph 'B' is 5 wide with ink at its top-left and bottom-right pixels.
  EXPECT_EQ(getpixel(tall, 0, 0), 77);
  EXPECT_EQ(getpixel(tall, 1, 0), 0);
  EXPECT_EQ(getpixel(tall, 4, 7), 77);
  EXPECT_EQ(getpixel(tall, 3, 7), 0);
  EXPECT_EQ(getpixel(tall, 5, 7), 0);

  ASSERT_EQ(dat[4].type, DAT_SAMPLE);
  SAMPLE* s = static_cast<SAMPLE*>(dat[4].dat);
  EXPECT_EQ(s->bits, 16);
  EXPECT_EQ(s->stereo, 0);
  EXPECT_EQ(s->freq, 22050);
  ASSERT_EQ(s->len, samples.size());
  const uint16_t* data = static_cast<const uint16_t*>(s->data);
  for (size_t i = 0; i < samples.size(); i++)
    EXPECT_EQ(static_cast<int16_t>(data[i] ^ 0x8000), samples[i]) << i;

  ASSERT_EQ(dat[5].type, DAT_DATA);
  ASSERT_EQ(dat[5].size, 4);
  EXPECT_EQ(static_cast<uint8_t*>(dat[5].dat)[3], 250);

  unload_datafile(dat);
  destroy_bitmap(bmp);
  destroy_bitmap(sprite);
  destroy_bitmap(back);
  destroy_bitmap(tall);
}

TEST(DatafileWriter, WritesTheWholeFileOrLeavesThePlaceAsItWas) {
  ScopedTempDir dir;
  DatafileWriter w;
  w.add_data({0xAB});
  // The file holds exactly its 25 bytes, even over a longer file.
  std::vector<uint8_t> want;
  for (uint32_t v : {static_cast<uint32_t>(F_NOPACK_MAGIC), static_cast<uint32_t>(DAT_MAGIC), 1u,
                     static_cast<uint32_t>(DAT_DATA), 1u, 1u})
    put_be32(want, v);
  want.push_back(0xAB);
  write_file("x.dat", std::string(100, 'z'));
  ASSERT_TRUE(w.write("x.dat"));
  EXPECT_EQ(read_file("x.dat"), std::string(want.begin(), want.end()));

  // Failures: no folder to write into, and a folder standing at the
  // target so that nothing can be renamed over it. No temporary file stays.
  EXPECT_FALSE(w.write("no/such/folder/x.dat"));
  ASSERT_EQ(mkdir("taken.dat", 0755), 0);
  EXPECT_FALSE(w.write("taken.dat"));
  EXPECT_EQ(folder_entries("."), (std::vector<std::string>{"taken.dat", "x.dat"}));
  EXPECT_TRUE(folder_entries("taken.dat").empty());
}
