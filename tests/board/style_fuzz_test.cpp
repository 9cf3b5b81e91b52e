// A seeded mutation loop over style datafiles: bytes of the layout data and
// of the signature are flipped, overwritten and cut, objects dropped,
// repeated, swapped, resized or given another kind. Every mutant is written,
// loaded and validated; one that passes is loaded as a board in several
// modes and played a little. Nothing may crash, hang or read outside the
// data (run it in the sanitizer build). It tries FUZZ_MUTANTS mutants, the
// same ones on every run; FG_FUZZ_ITERATIONS=N tries N instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "board/board_load.h"
#include "board/geometry.h"
#include "board/style_file.h"
#include "board/style_fixture.h"
#include "rules/board_state.h"
#include "rules/mines.h"
#include "rules/random.h"
#include "support/headless.h"
#include "platform/lifecycle.h"

namespace {

using fixture::Object;

// About a second and a half of work in the optimised build.
constexpr long FUZZ_MUTANTS = 2000;

fixture::Style fuzz_style() {
  fixture::Style st = fixture::square_style({{6, 5}, {9, 4}});
  fixture::Shape wide;  // a 3 x 1 block bar with reach
  wide.w = 5;
  wide.h = 3;
  wide.codes.assign(4 * 15, 0);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 5; x++)
      for (int k = 0; k < 4; k++) wide.codes[static_cast<size_t>(4 * (5 * y + x) + k)] = (x < 3 && y < 1) ? 1 : 2;
  wide.pic_w = 24;
  wide.pic_h = 8;
  wide.pixels.assign(24 * 8, 3);
  st.shapes.push_back(wide);
  st.patterns[1].cells.push_back({1, 0, 10});
  st.patterns[1].cells.push_back({1, 3, 10});
  st.patterns[1].pic_h = 96;
  return st;
}

struct Mutator {
  std::mt19937 rng;
  explicit Mutator(uint32_t seed) : rng(seed) {}
  uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(rng() % n) : 0; }
  uint8_t interesting_byte() {
    static const uint8_t values[] = {0, 1, 2, 3, 7, 8, 9, 0x7F, 0x80, 0xFE, 0xFF, 88, 89, 72, 73};
    return below(3) ? values[below(sizeof values)] : static_cast<uint8_t>(rng());
  }

  void bytes(std::vector<uint8_t>& b) {
    if (b.empty()) {
      b.push_back(interesting_byte());
      return;
    }
    switch (below(6)) {
      case 0: b[below(static_cast<uint32_t>(b.size()))] ^= static_cast<uint8_t>(1u << below(8)); break;
      case 1: b[below(static_cast<uint32_t>(b.size()))] = interesting_byte(); break;
      case 2: b.resize(below(static_cast<uint32_t>(b.size()))); break;
      case 3: {  // a 16- or 32-bit field
        const uint32_t at = below(static_cast<uint32_t>(b.size()));
        const uint32_t v = below(2) ? rng() : below(2000);
        for (uint32_t i = 0; i < (below(2) ? 2u : 4u) && at + i < b.size(); i++) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        break;
      }
      case 4:
        for (uint32_t i = below(16) + 1; i > 0; i--) b.push_back(static_cast<uint8_t>(rng()));
        break;
      default: {  // a field of the header, a record or a cell
        static const uint32_t header[] = {0x20, 0x21, 0x22, 0x26};
        const uint32_t at = below(2) ? header[below(4)] : below(static_cast<uint32_t>(b.size()));
        if (at < b.size()) b[at] = interesting_byte();
        break;
      }
    }
  }

  void objects(std::vector<Object>& objs) {
    const uint32_t pick = below(static_cast<uint32_t>(objs.size()));
    Object& o = objs[pick];
    switch (below(7)) {
      case 0: objs.erase(objs.begin() + pick); break;
      case 1: objs.insert(objs.begin() + pick, objs[below(static_cast<uint32_t>(objs.size()))]); break;
      case 2: std::swap(o, objs[below(static_cast<uint32_t>(objs.size()))]); break;
      case 3:  // another kind
        o.kind = static_cast<Object::Kind>(below(3));
        if (o.w < 1 || o.h < 1) o.w = o.h = static_cast<int>(1 + below(16));
        if (o.kind == Object::DATA && o.bytes.empty()) o.bytes.assign(below(64), 1);
        break;
      case 4:  // another size
        o.w = static_cast<int>(1 + below(below(4) ? 64 : 730));
        o.h = static_cast<int>(1 + below(below(4) ? 64 : 600));
        break;
      case 5: objs.pop_back(); break;
      default: bytes(objs.back().bytes); break;  // the signature
    }
    if (objs.empty()) objs.push_back(Object{});
  }
};

int mines_on_board() {
  int n = 0;
  for (int i = 0; i < board.cell_count; i++) n += board.cells[i].content >= MINE;
  return n;
}

// A little play on the loaded board, checking the invariants the rules keep.
void play_a_little(Mutator& m) {
  ASSERT_GT(board.cell_count, 0);
  for (int i = 0; i < board.cell_count; i++) {
    const Cell& c = board.cells[i];
    ASSERT_LE(c.neighbour_count, MAX_NEIGHBOURS);
    for (int e = 0; e < c.neighbour_count; e++) ASSERT_LT(c.neighbours[e], board.cell_count);
  }
  ASSERT_EQ(mines_on_board(), game.mines_total);
  game.first_cell = static_cast<int16_t>(m.below(static_cast<uint32_t>(board.cell_count)));
  clear_first_click_zone(game.random);
  ASSERT_EQ(mines_on_board(), game.mines_total);
  ASSERT_LT(board.cells[game.first_cell].content, MINE);
  for (int i = 0; i < board.cell_count; i++) ASSERT_NE(board.cells[i].content, ZONE_MARK);
  for (int step = 0; step < 4; step++) {
    board.cells[m.below(static_cast<uint32_t>(board.cell_count))].state = REVEALED;
    move_random_mine(game.random);
  }
  ASSERT_EQ(mines_on_board(), game.mines_total);
  is_one_click_board();
  for (int probe = 0; probe < 16; probe++) {
    const int x = board.origin_x + static_cast<int>(m.below(static_cast<uint32_t>(8 * hit_grid.grid_columns + 1)));
    const int y = board.origin_y + static_cast<int>(m.below(static_cast<uint32_t>(8 * hit_grid.grid_rows + 1)));
    const int c = cell_at(x, y);
    ASSERT_GE(c, -1);
    ASSERT_LT(c, board.cell_count);
  }
}

}  // namespace

TEST(StyleFuzz, MutatedStylesNeverCrashAndValidOnesPlay) {
  ScopedTempDir tmp;
  const std::vector<Object> base = fixture::style_objects(fuzz_style());
  // A fixed count, so that every run tries the same mutants on any machine.
  long iterations = FUZZ_MUTANTS;
  if (const char* env = std::getenv("FG_FUZZ_ITERATIONS")) iterations = std::max(0L, std::atol(env));
  Mutator m(20260101);
  long done = 0, loaded = 0, valid = 0, played = 0;
  init_game_session();
  while (done < iterations) {
    done++;
    std::vector<Object> objs = base;
    const uint32_t edits = m.below(4);  // 0 edits: the base style itself
    for (uint32_t e = 0; e < edits; e++) {
      if (m.below(4) && !objs.empty() && objs[0].kind == Object::DATA)
        m.bytes(objs[0].bytes);
      else
        m.objects(objs);
    }
    ASSERT_TRUE(fixture::write_objects(objs, "fuzz.dat"));
    DATAFILE* dat = load_datafile("fuzz.dat");
    if (!dat) continue;
    loaded++;
    passes_signature(dat);
    const int ok = validate_style(dat);
    const int patterns = ok ? read_u8(style_layout(dat, nullptr), 0x21) : 0;
    unload_datafile(dat);
    if (!ok) {
      ASSERT_EQ(load_board("fuzz.dat", 0, 0), 0);
      continue;
    }
    valid++;
    for (int q = 0; q < patterns; q++) {
      game.mode = static_cast<GameMode>(m.below(7));
      game.skill = static_cast<SkillLevel>(m.below(4));
      board_counter = static_cast<uint32_t>(m.below(100000));
      ASSERT_EQ(load_board("fuzz.dat", q, 0), 1);
      play_a_little(m);
      ASSERT_EQ(load_board(nullptr, q, 1), 1);
      play_a_little(m);
      played++;
    }
  }
  EXPECT_GT(valid, 0);
  EXPECT_GT(played, 0);
  RecordProperty("mutants", static_cast<int>(done));
  std::printf("[ fuzz     ] %ld mutants, %ld loaded, %ld valid, %ld boards played\n", done, loaded, valid, played);
}
