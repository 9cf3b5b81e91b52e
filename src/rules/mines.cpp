#include "rules/mines.h"

#include <algorithm>
#include <vector>

#include "rules/board_state.h"
#include "rules/events.h"
#include "rules/random.h"

namespace {

// A guard against a generator that never reaches a fitting cell: after this
// many failed draws for one pick, the first fitting cell from the last draw
// on is taken. Every draw loop checks first that a fitting cell exists, so
// with a fair generator the guard is never reached.
constexpr long DRAW_LIMIT = 1L << 20;

int cells_in_use() { return std::max(0, std::min<int>(board.cell_count, MAX_CELLS)); }

template <class Fits>
bool any_cell(Fits fits) {
  const int n = cells_in_use();
  for (int c = 0; c < n; c++)
    if (fits(c)) return true;
  return false;
}

// Draws cell indexes in 0..cell_count-1 until one fits. The caller has made
// sure that a fitting cell exists.
template <class Fits>
int draw_cell_until(Random& random, Fits fits) {
  const int n = cells_in_use();
  int drawn = 0;
  for (long tries = 0; tries < DRAW_LIMIT; tries++) {
    drawn = random_range(random, 0, n - 1);
    if (fits(drawn)) return drawn;
  }
  for (int k = 0; k < n; k++) {
    const int c = (drawn + k) % n;
    if (fits(c)) return c;
  }
  return -1;
}

uint8_t& content_of(int c) { return board.cells[c].content; }

// Lays up to count mines of the given code, each on a drawn cell: every
// mode but Multi-Mine draws again while the cell holds a regular mine,
// Multi-Mine while it holds any mine. Returns the number laid.
bool may_take_mine(int c) {
  return game.mode == MULTI_MINE ? content_of(c) < MINE : content_of(c) != MINE;
}

int lay_code(Random& random, int count, uint8_t code) {
  int free_cells = 0;
  for (int c = 0; c < cells_in_use(); c++)
    if (may_take_mine(c)) free_cells++;
  int laid = 0;
  for (; laid < count && free_cells > 0; laid++) {
    const int c = draw_cell_until(random, may_take_mine);
    if (c < 0) break;
    content_of(c) = code;
    free_cells--;
  }
  return laid;
}

// Takes a mine off the board for good (only when no cell can receive it),
// keeping the counters true to the mines left.
void drop_mine(int c) {
  switch (content_of(c)) {
    case MINE: game.mines_left--; break;
    case MINE_LEVEL2: game.level2_left--; break;
    case MINE_LEVEL3: game.level3_left--; break;
    default: return;
  }
  game.mines_total--;
  content_of(c) = 0;
}

int regular_mines_around(const Cell& cell) {
  int count = 0;
  for (int e = 0; e < cell.neighbour_count; e++)
    if (content_of(cell.neighbours[e]) == MINE) count++;
  return count;
}

void megamine_distances() {
  const int n = cells_in_use();
  for (int c = 0; c < n; c++) {
    if (content_of(c) != MINE) continue;
    const Cell& cell = board.cells[c];
    for (int e = 0; e < cell.neighbour_count; e++)
      if (content_of(cell.neighbours[e]) == 0) content_of(cell.neighbours[e]) = 1;
  }
  // Distances stop at 199, below the mine codes; cells farther away keep 0.
  for (int d = 1; d < 199; d++) {
    bool seen = false;
    for (int c = 0; c < n; c++) {
      if (content_of(c) != d) continue;
      seen = true;
      const Cell& cell = board.cells[c];
      for (int e = 0; e < cell.neighbour_count; e++)
        if (content_of(cell.neighbours[e]) == 0) content_of(cell.neighbours[e]) = static_cast<uint8_t>(d + 1);
    }
    if (!seen) break;
  }
}

bool zone_can_grow(const std::vector<int>& members) {
  for (int m : members) {
    const Cell& cell = board.cells[m];
    for (int e = 0; e < cell.neighbour_count; e++)
      if (content_of(cell.neighbours[e]) != ZONE_MARK) return true;
  }
  return false;
}

// Picks the next zone member: a drawn member, then one of its neighbours,
// both drawn again while the neighbour is already in the zone. The zone can
// grow (checked by the caller), so a fitting pick exists.
int draw_zone_candidate(Random& random, const std::vector<int>& members) {
  const int size = static_cast<int>(members.size());
  for (long tries = 0; tries < DRAW_LIMIT; tries++) {
    const Cell& m = board.cells[members[static_cast<size_t>(random_range(random, 0, size - 1))]];
    if (m.neighbour_count == 0) continue;  // no draw over an empty range
    const int q = m.neighbours[random_range(random, 0, m.neighbour_count - 1)];
    if (content_of(q) != ZONE_MARK) return q;
  }
  for (int mi : members) {
    const Cell& m = board.cells[mi];
    for (int e = 0; e < m.neighbour_count; e++)
      if (content_of(m.neighbours[e]) != ZONE_MARK) return m.neighbours[e];
  }
  return -1;
}

}  // namespace

int zone_size(int cell_count) { return std::max(2, std::min(32, cell_count / 48)); }

int safe_cells_needed(int cell_count, int most_neighbours) {
  if (cell_count <= 0) return 0;
  const long needed = static_cast<long>(zone_size(cell_count)) * (1L + std::max(0, most_neighbours));
  return static_cast<int>(std::min<long>(needed, cell_count));
}

void lay_mines(Random& random) {
  const int m = std::max(0, game.mines_total);

  if (game.mode != MULTI_MINE) {
    const int laid = lay_code(random, m, MINE);
    game.mines_total = laid;
    game.mines_left = laid;
  } else {
    int level1 = m / 4, level2 = m / 7, level3 = m / 10;
    while (level1 + level2 + level3 < m) {
      const int r = random_range(random, 0, 5);
      if (r <= 2)
        level1++;
      else if (r <= 4)
        level2++;
      else
        level3++;
    }
    game.mines_left = level1;
    game.level2_left = level2;
    game.level3_left = level3;
    level1 = lay_code(random, level1, MINE);
    level2 = lay_code(random, level2, MINE_LEVEL2);
    level3 = lay_code(random, level3, MINE_LEVEL3);
    game.mines_left = level1;
    game.level2_left = level2;
    game.level3_left = level3;
    game.mines_total = level1 + level2 + level3;
  }
  compute_clues();
}

void compute_clues() {
  const int n = cells_in_use();
  if (game.mode == MEGAMINE) {
    megamine_distances();
    return;
  }
  for (int c = 0; c < n; c++) {
    Cell& cell = board.cells[c];
    if (cell.content != 0) continue;
    int clue = 0;
    switch (game.mode) {
      case BACKWARDS: clue = cell.neighbour_count - regular_mines_around(cell); break;
      case MULTI_MINE:
        for (int e = 0; e < cell.neighbour_count; e++) {
          const uint8_t q = content_of(cell.neighbours[e]);
          if (q >= MINE && q <= MINE_LEVEL3) clue += q - MINE + 1;
        }
        break;
      default: clue = regular_mines_around(cell); break;
    }
    cell.content = static_cast<uint8_t>(clue);
  }
}

int relocate_mine(int v, Random& random) {
  const int n = cells_in_use();
  if (v < 0 || v >= n || content_of(v) < MINE) return 0;
  auto fits = [](int c) { return content_of(c) < ZONE_MARK; };
  if (!any_cell(fits)) return 0;
  const int c = draw_cell_until(random, fits);
  if (c < 0) return 0;
  content_of(c) = content_of(v);
  content_of(v) = 0;
  return 1;
}

int clear_first_click_zone(Random& random) {
  const int n = cells_in_use();
  const int f = game.first_cell;
  if (f < 0 || f >= n) return 0;

  if (content_of(f) >= MINE && !relocate_mine(f, random)) drop_mine(f);
  content_of(f) = ZONE_MARK;
  std::vector<int> members{f};

  if (game.mode != MEGAMINE) {
    const size_t size = static_cast<size_t>(zone_size(n));
    while (members.size() < size && zone_can_grow(members)) {
      const int q = draw_zone_candidate(random, members);
      if (q < 0) break;
      if (content_of(q) >= MINE && !relocate_mine(q, random)) break;  // no room left: the zone stays smaller
      members.push_back(q);
      content_of(q) = ZONE_MARK;
    }
    for (int m : members) {
      const Cell& cell = board.cells[m];
      for (int e = 0; e < cell.neighbour_count; e++) {
        const int q = cell.neighbours[e];
        if (content_of(q) >= MINE && !relocate_mine(q, random)) continue;  // no room: the mine stays
        content_of(q) = ZONE_MARK;
      }
    }
  }

  for (int c = 0; c < n; c++)
    if (content_of(c) <= ZONE_MARK) content_of(c) = 0;
  compute_clues();
  return static_cast<int>(members.size());
}

void recount_cell(int c) {
  if (c < 0 || c >= cells_in_use()) return;
  Cell& cell = board.cells[c];
  cell.content = static_cast<uint8_t>(regular_mines_around(cell));
  if (cell.state == REVEALED) post_event(EVENT_CELL_CHANGED, c);
}

void move_random_mine(Random& random) {
  auto fits = [](int c) { return board.cells[c].state == HIDDEN && content_of(c) == MINE; };
  if (!any_cell(fits)) return;
  const int v = draw_cell_until(random, fits);
  if (v < 0) return;
  const Cell& cv = board.cells[v];
  if (cv.neighbour_count == 0) return;
  for (int attempt = 0; attempt < 8; attempt++) {
    const int q = cv.neighbours[random_range(random, 0, cv.neighbour_count - 1)];
    const Cell& cq = board.cells[q];
    if (cq.state != HIDDEN || cq.content >= MINE) continue;
    content_of(v) = 0;
    content_of(q) = MINE;
    recount_cell(v);
    for (int e = 0; e < cv.neighbour_count; e++)
      if (content_of(cv.neighbours[e]) < MINE) recount_cell(cv.neighbours[e]);
    for (int e = 0; e < cq.neighbour_count; e++)
      if (content_of(cq.neighbours[e]) < MINE) recount_cell(cq.neighbours[e]);
    return;
  }
}

bool opens_neighbours(const Cell& cell) {
  switch (game.mode) {
    case BACKWARDS: return cell.content == cell.neighbour_count;
    case MEGAMINE: return false;
    default: return cell.content == 0;
  }
}

int is_one_click_board() {
  const int n = cells_in_use();
  const int f = game.first_cell;
  if (f < 0 || f >= n) return 0;
  std::vector<uint8_t> mark(static_cast<size_t>(n), 0);
  int remaining = n;
  mark[static_cast<size_t>(f)] = 1;
  bool marked_open = true;
  while (marked_open) {
    marked_open = false;
    for (int c = 0; c < n; c++) {
      if (mark[static_cast<size_t>(c)] != 1) continue;
      const Cell& cell = board.cells[c];
      for (int e = 0; e < cell.neighbour_count; e++) {
        const size_t q = static_cast<size_t>(cell.neighbours[e]);
        if (mark[q] != 0) continue;
        if (opens_neighbours(board.cells[q])) {
          mark[q] = 1;
          marked_open = true;
        } else if (board.cells[q].content < MINE) {
          mark[q] = 2;
          remaining--;
        }
      }
      mark[static_cast<size_t>(c)] = 2;
      remaining--;
    }
  }
  return remaining == game.mines_total;
}
