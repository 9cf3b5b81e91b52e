// Writing a board style as a style datafile: the layout data object, the
// three pictures of every shape, the board picture of every pattern and the
// signature object, in the order the game reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "styles/style_geometry.h"

namespace styles {

enum : uint32_t { STYLE_SIGNATURE_FIRST = 7978, STYLE_SIGNATURE_SECOND = 400546 };
// The 42 header bytes of a style's layout data add up to this.
constexpr int STYLE_HEADER_SUM = 10000 - static_cast<int>(STYLE_SIGNATURE_FIRST);

// The layout data object. The header's byte sum is made STYLE_HEADER_SUM
// with the bytes of the name field after its terminating zero; empty (and
// a message in error) when that cannot be done.
std::vector<uint8_t> style_layout_bytes(const StyleDef& style, std::string* error);
// The signature object: 7978 and 400546, little-endian.
std::vector<uint8_t> style_signature_bytes();
// Draws the pictures and writes the whole datafile.
bool write_style_file(const StyleDef& style, const std::string& path, std::string* error);

}  // namespace styles
