// Deductions from the revealed clues of a board: which covered cells are
// certainly safe and which certainly hold a mine. Works on the board's own
// neighbour lists, whatever the shapes of its cells. Flags and '?' marks
// are not trusted: a flagged cell is a covered cell like any other.
//
// What each mode's clue says, as the solver reads it:
//   Classic, Flagless, Endurance, Moving Mines: the number of mines among the
//     cell's neighbours. In Moving Mines this holds for the clues as they
//     stand: a deduction is true until the next reveal moves a mine, so the
//     position has to be solved again after every reveal.
//   Backwards: neighbour_count minus the mines around (read back into mines).
//   Multi-Mine: the sum of the levels (1..3) of the neighbouring mines; a
//     covered cell takes a value 0..3, "safe" is 0 and "mine" any level.
//     The global count is the number of mines, not their levels.
//   MegaMine: the distance to the nearest mine along the neighbour lists (1:
//     a neighbour is a mine, 0: no mine within 199 steps). Only the certain
//     deductions of single clues: every cell nearer than the clue is safe,
//     and a clue with one possible cell left at its distance has its mine
//     there; plus the global count. No exact search.
//
// The deductions, cheapest first:
//   1. single clues: bounds on the cells of one clue (all safe, all mines);
//   2. subset pairs: the covered cells of one clue inside those of another,
//      the difference taking the difference of the clues;
//   3. overlapping pairs (SolverLimits::overlap_rule; the modes whose clue
//      counts mines: not Multi-Mine, whose levels make a clue's excess no
//      count of cells): two clues A and B sharing undecided cells, neither's
//      inside the other's; when A's mines still to place exceed B's by the
//      number of A's undecided cells outside B, those are all mines and B's
//      undecided cells outside A all safe;
//   4. the global count: the mines left over the covered cells;
//   5. an exact search over every connected group of frontier cells (the
//      covered cells next to a clue, grouped by shared clues) small enough
//      for the limits, combined with the other groups and the global count
//      (the covered cells next to no clue form one pool).
// A group beyond the limits (cells or search nodes) keeps only 1 to 4.
#pragma once

#include <cstdint>
#include <memory>

#include "rules/board_state.h"

enum CellVerdict : uint8_t {
  VERDICT_REVEALED = 0,  // the cell is uncovered (a clue or an exploded mine)
  VERDICT_UNKNOWN = 1,   // covered, could be either
  VERDICT_SAFE = 2,      // covered, safe in every layout that fits the clues
  VERDICT_MINE = 3       // covered, a mine in every layout that fits the clues
};

struct SolverLimits {
  int max_group_cells = 48;          // larger groups are not searched
  long max_group_nodes = 1L << 16;   // search steps one group may take
  long max_solve_nodes = 1L << 18;   // search steps of one solve, all groups
  // The overlapping pairs rule (3 above). Off, the solver deduces exactly
  // as it did before the rule was added: the no-guess boards of game IDs
  // made then are made again with it off.
  bool overlap_rule = true;
};

struct SolverStats {
  int clues = 0;             // revealed clues with covered neighbours
  int frontier_cells = 0;    // covered cells next to such a clue, undecided after the rules
  int pool_cells = 0;        // covered cells next to no clue, undecided
  int groups = 0;            // connected frontier groups
  int groups_searched = 0;   // of which searched to the end
  int groups_capped = 0;     // of which too large or too costly
  long nodes = 0;            // search steps taken
  int safe = 0;              // covered cells certainly safe
  int mines = 0;             // covered cells certainly mines
  bool consistent = true;    // false when no layout fits the clues (a broken board)
};

class Solver {
 public:
  explicit Solver(const SolverLimits& limits = SolverLimits{});
  ~Solver();
  Solver(const Solver&) = delete;
  Solver& operator=(const Solver&) = delete;

  // Deduces what the revealed clues of `b` say under session.mode, with
  // session.mines_total mines on the board in all. exact = false stops
  // after the rules (no group search). The verdicts stay until the next
  // solve.
  const SolverStats& solve(const Board& b, const GameSession& session, bool exact = true);

  CellVerdict verdict(int cell) const;

  // The chance that each covered cell holds a mine, from the last solve
  // (its groups searched again when the solve decided cells after their
  // search, on a node budget of their own; stats() stays the solve's):
  // 0 and 1 for certain cells; exact for searched groups and the pool (all
  // layouts fitting the clues and the count taken as equally likely; cells
  // of unsearched groups counted with the pool); for a cell of an
  // unsearched group the highest share of mines among its clues' covered
  // cells. MegaMine: the mines left over the undecided cells. Returns the
  // lowest chance of an undecided covered cell, or -1 when there is none.
  double estimate_probabilities();
  double probability(int cell) const;

  const SolverStats& stats() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
