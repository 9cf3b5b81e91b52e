// Containment of the symbols drawn in the cells' symbol boxes.
#include "styles/style_symbols.h"

#include <algorithm>
#include <cstdio>

#include "platform/main_datafile.h"

namespace styles {

namespace {

enum { LAST_NUMBER_GLYPH = 64 };

// The closed convex outline holds the centre of pixel (x, y): exact, in
// half pixels.
bool outline_holds_centre(const Poly& p, int x, int y) {
  const long long px = 2LL * x + 1, py = 2LL * y + 1;
  bool neg = false, pos = false;
  for (size_t i = 0; i < p.size(); i++) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % p.size()];
    const long long c = (2LL * b.x - 2LL * a.x) * (py - 2LL * a.y) - (2LL * b.y - 2LL * a.y) * (px - 2LL * a.x);
    neg = neg || c < 0;
    pos = pos || c > 0;
  }
  return !(neg && pos);
}

}  // namespace

std::string symbols_from_datafile(DATAFILE* dat, SymbolPictures* out) {
  *out = SymbolPictures();
  if (!dat) return "cannot be loaded";
  int count = 0;
  while (dat[count].type != DAT_END) count++;
  auto take = [&](int index, const std::string& name, std::vector<SymbolPictures::Named>& into) {
    if (index >= count || dat[index].type != DAT_BITMAP) return false;
    into.push_back({name, static_cast<BITMAP*>(dat[index].dat)});
    return true;
  };
  for (int n = 1; n <= LAST_NUMBER_GLYPH; n++)
    if (!take(OBJ_NUMBER_BASE + n, "number " + std::to_string(n), out->numbers))
      return "object " + std::to_string(OBJ_NUMBER_BASE + n) + " (number " + std::to_string(n) + ") is no bitmap";
  const struct {
    int index;
    const char* name;
  } others[] = {{OBJ_MINE_LEVEL1, "mine"},          {OBJ_MINE_LEVEL2, "level-2 mine"},
                {OBJ_MINE_LEVEL3, "level-3 mine"},  {OBJ_FLAG, "flag"},
                {OBJ_FLAG_LEVEL1, "level-1 flag"},  {OBJ_FLAG_LEVEL2, "level-2 flag"},
                {OBJ_FLAG_LEVEL3, "level-3 flag"},  {OBJ_QUESTION, "question mark"}};
  for (const auto& o : others)
    if (!take(o.index, o.name, out->others))
      return "object " + std::to_string(o.index) + " (" + o.name + ") is no bitmap";
  return "";
}

int largest_clue_shown(int neighbours) {
  (void)neighbours;
  return LAST_NUMBER_GLYPH;
}

bool symbol_leaves_cell(const ShapeDef& shape, const std::vector<uint8_t>& mask, BITMAP* symbol, int* sx, int* sy) {
  for (int y = 0; y < symbol->h; y++)
    for (int x = 0; x < symbol->w; x++) {
      if (getpixel(symbol, x, y) == 0) continue;
      const int px = shape.symbol_x + x, py = shape.symbol_y + y;
      const bool in_picture = px >= 0 && py >= 0 && px < shape.pic_w && py < shape.pic_h;
      if (in_picture && mask[static_cast<size_t>(py * shape.pic_w + px)]) continue;
      if (in_picture && outline_holds_centre(shape.outline, px, py)) continue;
      *sx = x;
      *sy = y;
      return true;
    }
  return false;
}

std::string check_symbol_containment(const StyleDef& style, const PatternDef& pat, const SymbolPictures& symbols,
                                     long* cells_checked) {
  // Each shape is judged once per symbol; a cell then looks up its shape.
  // fits[shape][k]: the k-th of the others, then number k - others + 1.
  const size_t n_others = symbols.others.size();
  struct Verdict {
    bool computed = false;
    bool leaves = false;
    int x = 0, y = 0;
  };
  std::vector<std::vector<Verdict>> verdicts(style.shapes.size(),
                                             std::vector<Verdict>(n_others + symbols.numbers.size()));
  std::vector<std::vector<uint8_t>> masks(style.shapes.size());
  auto judge = [&](int shape, size_t k, const SymbolPictures::Named& sym) -> const Verdict& {
    Verdict& v = verdicts[static_cast<size_t>(shape)][k];
    if (!v.computed) {
      const ShapeDef& s = style.shapes[static_cast<size_t>(shape)];
      auto& m = masks[static_cast<size_t>(shape)];
      if (m.empty()) m = tile_mask(s);
      v.leaves = symbol_leaves_cell(s, m, sym.bitmap, &v.x, &v.y);
      v.computed = true;
    }
    return v;
  };
  const auto nb = outline_neighbours(pat.cells);
  for (size_t i = 0; i < pat.cells.size(); i++) {
    const CellDef& c = pat.cells[i];
    const int last = std::min<int>(largest_clue_shown(static_cast<int>(nb[i].size())),
                                    static_cast<int>(symbols.numbers.size()));
    for (size_t k = 0; k < n_others + static_cast<size_t>(last); k++) {
      const SymbolPictures::Named& sym = k < n_others ? symbols.others[k] : symbols.numbers[k - n_others];
      const Verdict& v = judge(c.shape, k, sym);
      if (!v.leaves) continue;
      char msg[160];
      std::snprintf(msg, sizeof msg, ": cell %zu (shape %d, symbol box %d,%d): the %s leaves the cell at its pixel %d,%d", i,
                    c.shape, style.shapes[static_cast<size_t>(c.shape)].symbol_x,
                    style.shapes[static_cast<size_t>(c.shape)].symbol_y, sym.name.c_str(), v.x, v.y);
      return style.name + " / " + pat.name + msg;
    }
    if (cells_checked) ++*cells_checked;
  }
  return "";
}

}  // namespace styles
