// Style datafiles: one board style each, an Allegro datafile holding the
// layout data (object 0), three pictures per shape, one board picture per
// pattern and a signature object: the signature test and the validation
// that every style file passes before the game uses it.
#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

#include "board/style_layout.h"
#include "platform/datafile_check.h"

// The layout data object of a loaded style datafile, with its size; nullptr
// when object 0 is missing or is not a data object.
const uint8_t* style_layout(const DATAFILE* dat, size_t* size);

// Position of the signature object (3n + p + 1), or -1 when the header is
// short or that object is missing, not a data object or under 8 bytes.
int style_signature_object(const DATAFILE* dat);

// The signature test: header byte sum and the signature object's two values
// (the draw it makes comes from a generator of its own).
int passes_signature(const DATAFILE* dat);

// Full validation of a loaded style datafile: every offset, count, size and
// object the game will read is checked, so that a file that passes can be
// loaded and played without reading outside its data. 1 when valid.
// Refused: layout data too short for its header, tables or records; no
// shapes, no patterns or more than MAX_PATTERNS; shape grids outside 3..8
// blocks wide or high (a cell's hit area is its grid less two blocks each
// way, so a grid of 1 or 2 blocks would give its cells no hit-grid bucket
// and they could never be clicked) or holding a code above 2; patterns of
// fewer than 1 or more than MAX_CELLS cells; shape indexes not below n; a
// cell whose hit area leaves the 89 x 73 hit grid or starts outside its
// board picture; missing objects or
// objects of the wrong kind (layout and signature DAT_DATA, the signature
// at least 8 bytes; shape pictures 8-bit DAT_BITMAP; board pictures 8-bit
// DAT_RLE_SPRITE of at most 712 x 584); a hit-grid bucket claimed by a
// fifth cell or a cell with more than MAX_NEIGHBOURS neighbours (the real
// geometry is built for every pattern); a negative mine count, or one
// (16-bit or MegaMine count, any skill) above cells - safe_cells_needed
// (rules/mines.h).
// Leaves the board in play and the game's random streams untouched.
int validate_style(const DATAFILE* dat);
