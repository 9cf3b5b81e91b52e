// The layout data of a style datafile (its object 0): sizes and offsets of
// its records, and little-endian readers of its bytes at any offset.
#pragma once

#include <cstdint>

enum {
  STYLE_HEADER_SIZE = 42,
  STYLE_NAME_SIZE = 32,
  PATTERN_RECORD_HEADER = 0x30,
  MAX_PATTERNS = 16,
  MIN_SHAPE_BLOCKS = 3,
  MAX_SHAPE_BLOCKS = 8,
  BOARD_AREA_WIDTH = 712,
  BOARD_AREA_HEIGHT = 584,
  BOARD_AREA_X = 88,
  BOARD_AREA_Y = 16,
  SIGNATURE_FIRST = 7978,
  SIGNATURE_SECOND = 400546
};

inline uint8_t read_u8(const uint8_t* block, uint32_t offset) { return block[offset]; }

inline uint16_t read_u16(const uint8_t* block, uint32_t offset) {
  return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

inline uint32_t read_u32(const uint8_t* block, uint32_t offset) {
  return static_cast<uint32_t>(block[offset]) | (static_cast<uint32_t>(block[offset + 1]) << 8) |
         (static_cast<uint32_t>(block[offset + 2]) << 16) | (static_cast<uint32_t>(block[offset + 3]) << 24);
}
