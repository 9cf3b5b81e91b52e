// Placeholder, replaced by the real font.
#include "gfx/gfx.h"

static std::vector<DatGlyph> glyphs;
const std::vector<DatGlyph>& gfx_font_glyphs() { return glyphs; }
int gfx_text_width(const char* text) { return 6 * static_cast<int>(std::string(text).size()); }
void gfx_text(BITMAP*, int, int, const char*, int) {}
void gfx_text_centre(BITMAP*, int, int, const char*, int) {}
void build_font(GfxSet& set) {
  for (int c = 32; c < 127; c++) glyphs.push_back(DatGlyph{6, 8, std::vector<uint8_t>(48, c != 32)});
  set.obj[OBJ_FONT].kind = GfxObject::FONT_OBJ;
  set.obj[OBJ_FONT].glyphs = glyphs;
}
