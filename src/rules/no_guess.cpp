#include "rules/no_guess.h"

#include <memory>
#include <utility>
#include <vector>

#include "platform/main_datafile.h"
#include "platform/settings.h"
#include "rules/actions.h"
#include "rules/events.h"
#include "rules/mines.h"
#include "rules/random.h"
#include "rules/solver_player.h"

namespace {

enum Outcome { CLEARED, STUCK, OUT_OF_WORK };

// Rearrangements at stuck positions that open no more of the board than
// before, after which a mine leaves the stuck cells for anywhere.
constexpr int STALE_LIMIT = 24;

// One making of a board: the board and session as the first reveal found
// them (zone cleared), the stream the rearrangements draw from, the solver
// of the simulated play and the work it may still do.
struct Maker {
  std::unique_ptr<Board> start;
  GameSession session;
  int first = -1;
  Random stream;
  Solver solver;
  long budget = 0;
  NoGuessResult result;
  // The cells the first click opens on the layout as first handed in:
  // the zone and more. No mine is ever moved into them.
  std::vector<uint8_t> kept_free;
  // The most cells seen open at a stuck position, and the rearrangements
  // made since that grew.
  int most_open = 0;
  int stale = 0;

  explicit Maker(const SolverLimits& limits) : solver(limits) {}

  // Counts work done; true once the budget is spent.
  void spend(long work) { result.work += work; }
  bool out_of_work() const { return result.work >= budget; }
};

bool is_mine(int c) { return board.cells[c].content >= MINE; }
bool revealed(int c) { return board.cells[c].state == REVEALED; }

bool all_safe_open() { return game.cells_hidden <= game.mines_total - game.board_mines_hit; }

// The clues of every cell again, for the mines where they lie now.
void work_out_clues() {
  for (int c = 0; c < board.cell_count; c++)
    if (!is_mine(c)) board.cells[c].content = 0;
  compute_clues();
}

// Opens every cell the last solve found safe, in the order of the
// simulated player; returns the number of cells the board uncovered.
int open_safe_cells(const Solver& solver) {
  const int before = game.cells_hidden;
  for (int c = 0; c < board.cell_count && game.phase == PLAYING && !all_safe_open(); c++)
    if (solver.verdict(c) == VERDICT_SAFE && !revealed(c)) open_cell_and_cascade(c);
  return before - game.cells_hidden;
}

// The board covered again (flags not trusted: every cell plainly covered),
// the session as the first reveal found it, and the first cell opened.
void start_play(Maker& m) {
  for (int c = 0; c < board.cell_count; c++) {
    board.cells[c].state = HIDDEN;
    board.cells[c].open_wave = 0;
  }
  game = m.session;
  game.phase = PLAYING;
  game.auto_reveal_timer = -1000.0f;
  m.result.plays++;
  m.spend(board.cell_count);
  open_cell_and_cascade(m.first);
  if (m.kept_free.empty()) {
    m.kept_free.assign(static_cast<size_t>(board.cell_count), 0);
    for (int c = 0; c < board.cell_count; c++) m.kept_free[static_cast<size_t>(c)] = revealed(c);
  }
}

// Plays on from the position on the board: the rules first, the exact
// search only when they find nothing, every safe cell opened, until every
// safe cell is open (CLEARED) or no cell is certainly safe (STUCK: the
// solver holds the verdicts of the position).
Outcome advance(Maker& m) {
  for (int round = 0; round <= 2 * MAX_CELLS; round++) {
    if (game.phase != PLAYING || all_safe_open()) return CLEARED;
    if (m.out_of_work()) return OUT_OF_WORK;
    m.solver.solve(board, game, false);
    m.spend(board.cell_count);
    if (m.solver.stats().safe == 0) {
      m.solver.solve(board, game, true);
      m.spend(board.cell_count + m.solver.stats().nodes);
    }
    if (m.solver.stats().safe == 0 || open_safe_cells(m.solver) == 0) return STUCK;
  }
  return STUCK;
}

int draw_from(Random& random, const std::vector<int>& cells) {
  return cells[static_cast<size_t>(random_range(random, 0, static_cast<int>(cells.size()) - 1))];
}

void move_mine(int from, int to) {
  board.cells[to].content = board.cells[from].content;
  board.cells[from].content = 0;
}

// Deals the mines of `cells` again over the same cells (a partial shuffle:
// one draw a mine).
void deal_again(Random& random, std::vector<int> cells) {
  int mines = 0;
  for (int c : cells) {
    if (is_mine(c)) mines++;
    board.cells[c].content = 0;
  }
  const int size = static_cast<int>(cells.size());
  for (int k = 0; k < mines; k++) {
    const int pick = random_range(random, k, size - 1);
    std::swap(cells[static_cast<size_t>(k)], cells[static_cast<size_t>(pick)]);
    board.cells[cells[static_cast<size_t>(k)]].content = MINE;
  }
}

// One rearrangement at a stuck position. Only covered cells change, so
// every revealed cell (the zone among them) stays safe. A covered cell
// next to the revealed clues whose content the solver could not tell (the
// stuck frontier) is drawn: a mine there moves to a free covered cell next
// to no revealed cell, or, when it is free, such a cell's mine moves into
// it; either way only the clues around the drawn cell change. When the
// covered cells away from the clues cannot give or take, every undecided
// covered cell is dealt again.
//
// When rearrangements stop opening more of the board (the undecided cells
// are alike to every clue that sees them), a mine of the stuck cells moves
// to a free cell anywhere outside the first click's opening, revealed or
// not: the position was no longer reached, and true is returned (a play
// from the first cell has to follow).
bool rearrange(Maker& m) {
  const int n = board.cell_count;
  std::vector<uint8_t> near(static_cast<size_t>(n), 0);
  for (int c = 0; c < n; c++) {
    if (!revealed(c)) continue;
    const Cell& cell = board.cells[c];
    for (int e = 0; e < cell.neighbour_count; e++) near[static_cast<size_t>(cell.neighbours[e])] = 1;
  }
  std::vector<int> frontier, known_mines, away_free, away_mines, undecided;
  for (int c = 0; c < n; c++) {
    if (revealed(c)) continue;
    const CellVerdict v = m.solver.verdict(c);
    if (v == VERDICT_UNKNOWN) undecided.push_back(c);
    if (near[static_cast<size_t>(c)]) {
      if (v == VERDICT_UNKNOWN) frontier.push_back(c);
      if (v == VERDICT_MINE) known_mines.push_back(c);
    } else if (v != VERDICT_MINE) {
      (is_mine(c) ? away_mines : away_free).push_back(c);
    }
  }
  if (m.stale >= STALE_LIMIT) {
    m.stale = 0;
    m.most_open = 0;
    std::vector<int> stuck_mines, free_cells;
    for (int c : undecided)
      if (is_mine(c)) stuck_mines.push_back(c);
    for (int c : known_mines) stuck_mines.push_back(c);
    for (int c = 0; c < n; c++)
      if (!is_mine(c) && !m.kept_free[static_cast<size_t>(c)]) free_cells.push_back(c);
    if (!stuck_mines.empty() && !free_cells.empty()) {
      const int from = draw_from(m.stream, stuck_mines);
      move_mine(from, draw_from(m.stream, free_cells));
      m.result.rescues++;
      return true;
    }
  }
  // Undecided cells only away from the clues, walled in by certain mines:
  // one of the wall's mines moves.
  if (frontier.empty()) frontier = known_mines;
  if (!frontier.empty()) {
    const int u = draw_from(m.stream, frontier);
    if (is_mine(u) && !away_free.empty()) {
      move_mine(u, draw_from(m.stream, away_free));
      return false;
    }
    if (!is_mine(u) && !away_mines.empty()) {
      move_mine(draw_from(m.stream, away_mines), u);
      return false;
    }
  }
  for (int c : known_mines) undecided.push_back(c);
  deal_again(m.stream, undecided);
  return false;
}

// The board covered as it was handed in, the session as the first reveal
// left it with the stream moved on.
void hand_over(Maker& m) {
  for (int c = 0; c < board.cell_count; c++) {
    const Cell& was = m.start->cells[c];
    Cell& cell = board.cells[c];
    cell.state = was.state;
    cell.open_wave = was.open_wave;
    cell.flash_timer = was.flash_timer;
  }
  game = m.session;
  game.random = m.stream;
}

}  // namespace

SolverLimits no_guess_limits(int maker) {
  SolverLimits limits;
  limits.overlap_rule = maker >= 2;
  return limits;
}

bool no_guess_supported(GameMode mode) {
  return mode == CLASSIC || mode == FLAGLESS || mode == ENDURANCE || mode == BACKWARDS;
}

NoGuessResult make_no_guess_board(int first_cell, long budget, const SolverLimits& limits) {
  Maker m(limits);
  if (first_cell < 0 || first_cell >= board.cell_count || game.first_cell != -1) return m.result;

  game.first_cell = static_cast<int16_t>(first_cell);
  clear_first_click_zone(game.random);
  if (!no_guess_supported(game.mode)) {
    m.result.supported = false;
    return m.result;
  }

  const std::vector<GameEvent> pending = take_events();
  const float chain_speed = settings.chain_speed;
  settings.chain_speed = 0.0f;  // "Instant"
  m.start.reset(new Board(board));
  m.session = game;
  m.first = first_cell;
  m.stream = game.random;
  m.budget = budget;

  if (!m.out_of_work()) {
    start_play(m);
    Outcome outcome = advance(m);
    bool whole_play = true;  // the position was reached by a play from the first cell
    while (outcome != OUT_OF_WORK) {
      if (outcome == CLEARED) {
        if (whole_play) {
          m.result.succeeded = true;
          break;
        }
        // Cleared by playing on after rearrangements: a play from the first
        // cell decides, and where it gets stuck the work goes on.
        start_play(m);
        outcome = advance(m);
        whole_play = true;
        continue;
      }
      if (m.out_of_work()) break;
      const int open = board.cell_count - game.cells_hidden;
      if (open > m.most_open) {
        m.most_open = open;
        m.stale = 0;
      } else {
        m.stale++;
      }
      const bool replay = rearrange(m);
      m.result.attempts++;
      m.spend(board.cell_count);
      work_out_clues();
      if (replay) start_play(m);
      whole_play = replay;
      outcome = advance(m);
    }
  }

  hand_over(m);
  settings.chain_speed = chain_speed;
  for (const GameEvent& e : pending) post_event(e.kind, e.cell, e.value);
  return m.result;
}
