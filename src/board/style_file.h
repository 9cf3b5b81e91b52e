// Style datafiles: one board style each, an Allegro datafile holding the
// layout data (object 0), three pictures per shape, one board picture per
// pattern and a signature object. Byte readers, the signature test and the
// validation that every style file passes before the game uses it.
#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

enum {
  STYLE_HEADER_SIZE = 42,
  STYLE_NAME_SIZE = 32,
  PATTERN_RECORD_HEADER = 0x30,
  MAX_PATTERNS = 16,
  MAX_SHAPE_BLOCKS = 8,
  BOARD_AREA_WIDTH = 712,
  BOARD_AREA_HEIGHT = 584,
  BOARD_AREA_X = 88,
  BOARD_AREA_Y = 16,
  SIGNATURE_FIRST = 7978,
  SIGNATURE_SECOND = 400546
};

// Little-endian readers of the layout data, at any byte offset.
uint8_t read_u8(const uint8_t* block, uint32_t offset);
uint16_t read_u16(const uint8_t* block, uint32_t offset);
uint32_t read_u32(const uint8_t* block, uint32_t offset);

// The layout data object of a loaded style datafile, with its size.
const uint8_t* style_layout(const DATAFILE* dat, size_t* size);

// The signature test: header byte sum and the signature object's two values
// (leaves the random source as the test's draw left it).
int passes_signature(const DATAFILE* dat);

// Full validation of a loaded style datafile: every offset, count, size and
// object the game will read is checked, so that a file that passes can be
// loaded and played without reading outside its data. 1 when valid.
int validate_style(const DATAFILE* dat);
