#include "rules/solver.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <limits>
#include <vector>

#include "rules/board_state.h"

namespace {

// A set of mine counts 0..MAX_CELLS.
using CountSet = std::bitset<MAX_CELLS + 1>;

// A revealed clue with covered neighbours: the sum of the values of its
// covered cells (1 a mine, in Multi-Mine 1..3 its level) is target.
struct Clue {
  int16_t cell;
  int16_t target;
  uint8_t count;
  int16_t vars[MAX_NEIGHBOURS];
};

struct Group {
  int first = 0;       // its cells: group_cells[first .. first + size)
  int size = 0;
  int free = 0;        // members that may still be safe (lo == 0)
  bool searched = false;
  int nsol_at = 0;     // nsol[nsol_at + k]: layouts with k mines among the free members
  int mcount_at = 0;   // mcount[mcount_at + k * size + i]: of those, member i a mine
};

CountSet convolve(const CountSet& a, const CountSet& b, int b_top) {
  CountSet out;
  for (int k = 0; k <= b_top; k++)
    if (b[static_cast<size_t>(k)]) out |= a << static_cast<size_t>(k);
  return out;
}

constexpr double NO_PROBABILITY = -1.0;

}  // namespace

struct Solver::Impl {
  SolverLimits limits;
  SolverStats st;

  int n = 0;
  int maxv = 1;          // the largest value of a covered cell: 1, or 3 in Multi-Mine
  GameMode mode = CLASSIC;
  int mines_covered = 0;  // mines among the covered cells

  // Bounds of every covered cell's value; lo == hi == 0 for a revealed cell.
  std::vector<int8_t> lo, hi;
  std::vector<uint8_t> covered;

  std::vector<Clue> clues;
  int clue_count = 0;
  std::vector<int> clue_start, clue_list;  // the clues of each cell (CSR)
  std::vector<int> queue;
  std::vector<uint8_t> queued;
  std::vector<int> stamp;
  int stamp_id = 0;
  std::vector<int> pair_seen;  // the clues an overlapping pair was tried with, by pair_seen_id
  int pair_seen_id = 0;

  // Groups of the exact search.
  std::vector<int> parent, group_of, group_cells, local;
  std::vector<Group> groups;
  // A verdict changed since the groups were searched: their layouts count
  // cells decided since as free (a mine among them counted twice, with the
  // known mines too).
  bool groups_stale = false;
  std::vector<double> nsol, mcount;
  int pool_cells = 0, capped_free = 0;
  std::vector<CountSet> prefix, suffix;

  // Search scratch.
  struct LocalClue {
    int target, sum, rem_lo, rem_hi;
  };
  std::vector<LocalClue> lclues;
  std::vector<int> var_clue_start, var_clue_list, order, value;
  std::vector<int> clue_mark;
  long nodes_left = 0;
  long group_nodes_left = 0;
  bool aborted = false;
  Group* cur = nullptr;

  // MegaMine: who lists a cell as neighbour (CSR), BFS scratch.
  std::vector<int> pred_start, pred_list, dist, bfs;

  std::vector<double> prob;
  std::vector<double> fwd, bwd, rweight;
  std::vector<int> fwd_at, bwd_at;

  explicit Impl(const SolverLimits& l) : limits(l) {
    limits.max_group_cells = std::max(1, std::min<int>(limits.max_group_cells, MAX_CELLS));
    const size_t cells = MAX_CELLS;
    lo.assign(cells, 0);
    hi.assign(cells, 0);
    covered.assign(cells, 0);
    clues.resize(cells);
    clue_start.assign(cells + 1, 0);
    clue_list.assign(cells * MAX_NEIGHBOURS, 0);
    queue.reserve(cells * MAX_NEIGHBOURS);
    queued.assign(cells, 0);
    stamp.assign(cells, 0);
    pair_seen.assign(cells, 0);
    parent.assign(cells, 0);
    group_of.assign(cells, -1);
    group_cells.assign(cells, 0);
    local.assign(cells, -1);
    groups.reserve(cells);
    nsol.assign(cells * 2 + 2, 0.0);
    mcount.assign(cells * static_cast<size_t>(limits.max_group_cells + 1), 0.0);
    lclues.resize(cells);
    var_clue_start.assign(cells + 1, 0);
    var_clue_list.assign(cells * MAX_NEIGHBOURS, 0);
    order.assign(cells, 0);
    value.assign(cells, 0);
    clue_mark.assign(cells, -1);
    pred_start.assign(cells + 1, 0);
    pred_list.assign(cells * MAX_NEIGHBOURS, 0);
    dist.assign(cells, -1);
    bfs.assign(cells, 0);
    prob.assign(cells, NO_PROBABILITY);
  }

  // ---- set-up ----

  void read_position(const Board& b, const GameSession& s) {
    st = SolverStats{};
    n = std::max(0, std::min<int>(b.cell_count, MAX_CELLS));
    mode = s.mode;
    maxv = mode == MULTI_MINE ? 3 : 1;
    int revealed_mines = 0;
    for (int c = 0; c < n; c++) {
      const Cell& cell = b.cells[c];
      const bool cov = cell.state != REVEALED;
      covered[c] = cov;
      lo[c] = 0;
      hi[c] = static_cast<int8_t>(cov ? maxv : 0);
      if (!cov && cell.content >= MINE) revealed_mines++;
      prob[c] = NO_PROBABILITY;
      group_of[c] = -1;
    }
    mines_covered = s.mines_total - revealed_mines;
    groups.clear();
    groups_stale = false;
    pool_cells = capped_free = 0;
  }

  int mine_value(const Cell& q) const {
    if (q.content < MINE) return 0;
    return mode == MULTI_MINE ? q.content - MINE + 1 : (q.content == MINE ? 1 : 0);
  }

  void build_clues(const Board& b) {
    clue_count = 0;
    std::fill(clue_start.begin(), clue_start.begin() + n + 1, 0);
    for (int c = 0; c < n; c++) {
      const Cell& cell = b.cells[c];
      if (cell.state != REVEALED || cell.content >= MINE) continue;
      int around = mode == BACKWARDS ? cell.neighbour_count - cell.content : cell.content;
      Clue& k = clues[static_cast<size_t>(clue_count)];
      k.count = 0;
      for (int e = 0; e < cell.neighbour_count; e++) {
        const int q = cell.neighbours[e];
        if (q < 0 || q >= n) continue;
        if (covered[q])
          k.vars[k.count++] = static_cast<int16_t>(q);
        else
          around -= mine_value(b.cells[q]);
      }
      if (k.count == 0) continue;
      if (around < 0 || around > maxv * k.count) {
        st.consistent = false;
        continue;
      }
      k.cell = static_cast<int16_t>(c);
      k.target = static_cast<int16_t>(around);
      for (int i = 0; i < k.count; i++) clue_start[k.vars[i] + 1]++;
      clue_count++;
    }
    for (int c = 0; c < n; c++) clue_start[c + 1] += clue_start[c];
    // Fill the lists, using stamp as the write position of each cell.
    for (int c = 0; c < n; c++) stamp[c] = clue_start[c];
    for (int i = 0; i < clue_count; i++) {
      const Clue& k = clues[static_cast<size_t>(i)];
      for (int j = 0; j < k.count; j++) clue_list[static_cast<size_t>(stamp[k.vars[j]]++)] = i;
    }
    std::fill(stamp.begin(), stamp.begin() + n, 0);
    stamp_id = 0;
    std::fill(pair_seen.begin(), pair_seen.begin() + clue_count, 0);
    pair_seen_id = 0;
    st.clues = clue_count;
  }

  // ---- the rules ----

  void push_clues_of(int v) {
    for (int i = clue_start[v]; i < clue_start[v + 1]; i++) {
      const int k = clue_list[static_cast<size_t>(i)];
      if (!queued[k]) {
        queued[k] = 1;
        queue.push_back(k);
      }
    }
  }

  // Narrows the bounds of v; true when they changed.
  bool narrow(int v, int new_lo, int new_hi) {
    new_lo = std::max<int>(new_lo, lo[v]);
    new_hi = std::min<int>(new_hi, hi[v]);
    if (new_lo > new_hi) {
      st.consistent = false;
      return false;
    }
    if (new_lo == lo[v] && new_hi == hi[v]) return false;
    lo[v] = static_cast<int8_t>(new_lo);
    hi[v] = static_cast<int8_t>(new_hi);
    push_clues_of(v);
    groups_stale = true;
    return true;
  }

  // The bounds a sum over vars equal to target puts on each var.
  bool bound_sum(const int16_t* vars, int count, int target) {
    int sum_lo = 0, sum_hi = 0;
    for (int i = 0; i < count; i++) {
      sum_lo += lo[vars[i]];
      sum_hi += hi[vars[i]];
    }
    if (sum_lo > target || sum_hi < target) {
      st.consistent = false;
      return false;
    }
    if (sum_lo == sum_hi) return false;
    bool changed = false;
    for (int i = 0; i < count; i++) {
      const int v = vars[i];
      changed |= narrow(v, target - (sum_hi - hi[v]), target - (sum_lo - lo[v]));
    }
    return changed;
  }

  bool single_clues(bool all) {
    bool changed = false;
    if (all) {
      queue.clear();
      for (int i = 0; i < clue_count; i++) {
        queued[i] = 1;
        queue.push_back(i);
      }
    }
    size_t head = 0;
    while (head < queue.size() && st.consistent) {
      const int k = queue[head++];
      queued[k] = 0;
      const Clue& c = clues[static_cast<size_t>(k)];
      changed |= bound_sum(c.vars, c.count, c.target);
    }
    for (size_t i = head; i < queue.size(); i++) queued[queue[i]] = 0;
    queue.clear();
    return changed;
  }

  // The undecided cells of a clue into cells; returns how many there are,
  // with remaining set to the clue less the mines already decided.
  int undecided_cells(const Clue& c, int16_t* cells, int& remaining) const {
    int count = 0;
    remaining = c.target;
    for (int i = 0; i < c.count; i++) {
      const int v = c.vars[i];
      if (lo[v] == hi[v])
        remaining -= lo[v];
      else
        cells[count++] = static_cast<int16_t>(v);
    }
    return count;
  }

  // A clue's undecided cells parted by the stamp `id`: the stamped ones
  // counted in inside, the others put into outside (count in n_out).
  // Returns the clue less the mines already decided.
  int split_by_stamp(const Clue& c, int id, int& inside, int16_t* outside, int& n_out) const {
    int remaining = c.target;
    for (int i = 0; i < c.count; i++) {
      const int v = c.vars[i];
      if (lo[v] == hi[v])
        remaining -= lo[v];
      else if (stamp[v] == id)
        inside++;
      else
        outside[n_out++] = static_cast<int16_t>(v);
    }
    return remaining;
  }

  // A clue whose undecided cells all belong to another clue: the other's
  // remaining cells take the difference.
  bool subset_pairs() {
    bool changed = false;
    int16_t free_a[MAX_NEIGHBOURS], diff[MAX_NEIGHBOURS];
    for (int a = 0; a < clue_count && st.consistent; a++) {
      int ta = 0;
      const int fa = undecided_cells(clues[static_cast<size_t>(a)], free_a, ta);
      if (fa == 0) continue;
      const int id = ++stamp_id;
      for (int i = 0; i < fa; i++) stamp[free_a[i]] = id;
      const int first = free_a[0];
      for (int j = clue_start[first]; j < clue_start[first + 1]; j++) {
        const int b = clue_list[static_cast<size_t>(j)];
        if (b == a) continue;
        int inside = 0, nd = 0;
        const int tb = split_by_stamp(clues[static_cast<size_t>(b)], id, inside, diff, nd);
        if (inside < fa || nd == 0) continue;
        if (bound_sum(diff, nd, tb - ta)) changed = true;
      }
    }
    return changed;
  }

  // Two clues sharing undecided cells, neither's inside the other's (those
  // are subset pairs): with a_out of A's cells outside B and b_out of B's
  // outside A, the mines of A's part outside B less those of B's part
  // outside A make the difference of the clues. When that difference is
  // a_out, A's part outside B is all mines and B's part outside A all safe.
  // Cells hold 0 or 1 here (not Multi-Mine).
  bool overlap_pairs() {
    bool changed = false;
    int16_t free_a[MAX_NEIGHBOURS], b_out[MAX_NEIGHBOURS];
    for (int a = 0; a < clue_count && st.consistent; a++) {
      int ta = 0;
      const int fa = undecided_cells(clues[static_cast<size_t>(a)], free_a, ta);
      if (fa < 2) continue;  // one cell inside B and one outside at least
      const int id = ++stamp_id;
      for (int i = 0; i < fa; i++) stamp[free_a[i]] = id;
      const int seen = ++pair_seen_id;
      pair_seen[static_cast<size_t>(a)] = seen;
      for (int f = 0; f < fa && st.consistent; f++) {
        const int u = free_a[f];
        for (int j = clue_start[u]; j < clue_start[u + 1]; j++) {
          const int b = clue_list[static_cast<size_t>(j)];
          if (pair_seen[static_cast<size_t>(b)] == seen) continue;
          pair_seen[static_cast<size_t>(b)] = seen;
          const Clue& cb = clues[static_cast<size_t>(b)];
          int inside = 0, nb = 0;
          const int tb = split_by_stamp(cb, id, inside, b_out, nb);
          const int a_out = fa - inside;
          if (inside == 0 || a_out == 0 || nb == 0 || ta - tb != a_out) continue;
          for (int i = 0; i < fa; i++) {
            const int v = free_a[i];
            if (std::find(cb.vars, cb.vars + cb.count, v) == cb.vars + cb.count) changed |= narrow(v, 1, maxv);
          }
          for (int i = 0; i < nb; i++) changed |= narrow(b_out[i], 0, 0);
        }
      }
    }
    return changed;
  }

  bool global_count() {
    int known = 0, open = 0;
    for (int c = 0; c < n; c++) {
      if (!covered[c]) continue;
      if (lo[c] >= 1)
        known++;
      else if (hi[c] >= 1)
        open++;
    }
    if (known > mines_covered || known + open < mines_covered) {
      st.consistent = false;
      return false;
    }
    if (open == 0) return false;
    bool changed = false;
    const bool none_left = known == mines_covered;
    const bool all_left = known + open == mines_covered;
    if (!none_left && !all_left) return false;
    for (int c = 0; c < n; c++) {
      if (!covered[c] || lo[c] >= 1 || hi[c] == 0) continue;
      changed |= none_left ? narrow(c, 0, 0) : narrow(c, 1, maxv);
    }
    return changed;
  }

  void run_rules() {
    bool first = true;
    while (st.consistent) {
      bool changed = single_clues(first);
      first = false;
      if (!st.consistent) break;
      changed |= subset_pairs();
      if (limits.overlap_rule && maxv == 1) changed |= overlap_pairs();
      changed |= global_count();
      if (!changed) break;
    }
  }

  // ---- the exact search ----

  int find(int v) {
    while (parent[v] != v) {
      parent[v] = parent[parent[v]];
      v = parent[v];
    }
    return v;
  }

  bool searchable(int v) const { return covered[v] && lo[v] < hi[v]; }

  void build_groups() {
    groups.clear();
    for (int c = 0; c < n; c++) {
      parent[c] = c;
      group_of[c] = -1;
    }
    for (int i = 0; i < clue_count; i++) {
      const Clue& k = clues[static_cast<size_t>(i)];
      int root = -1;
      for (int j = 0; j < k.count; j++) {
        const int v = k.vars[j];
        if (!searchable(v)) continue;
        if (root < 0) {
          root = find(v);
        } else {
          const int r = find(v);
          if (r != root) parent[r] = root;
        }
      }
    }
    // Number the groups by their roots, then list their cells in order.
    pool_cells = 0;
    for (int c = 0; c < n; c++) {
      if (!searchable(c)) continue;
      if (clue_start[c] == clue_start[c + 1]) {
        if (lo[c] == 0) pool_cells++;
        continue;
      }
      const int r = find(c);
      if (group_of[r] < 0) {
        group_of[r] = static_cast<int>(groups.size());
        groups.push_back(Group{});
      }
      group_of[c] = group_of[r];
      groups[static_cast<size_t>(group_of[c])].size++;
    }
    int at = 0;
    for (Group& g : groups) {
      g.first = at;
      at += g.size;
      g.size = 0;
    }
    for (int c = 0; c < n; c++) {
      if (group_of[c] < 0 || !searchable(c)) continue;
      Group& g = groups[static_cast<size_t>(group_of[c])];
      group_cells[static_cast<size_t>(g.first + g.size++)] = c;
      if (lo[c] == 0) g.free++;
    }
    st.groups = static_cast<int>(groups.size());
    st.pool_cells = pool_cells;
    st.frontier_cells = at;
  }

  void record_layout() {
    Group& g = *cur;
    int k = 0;
    for (int i = 0; i < g.size; i++)
      if (value[i] >= 1 && lo[order[i]] == 0) k++;
    nsol[static_cast<size_t>(g.nsol_at + k)] += 1.0;
    double* row = &mcount[static_cast<size_t>(g.mcount_at + k * g.size)];
    for (int i = 0; i < g.size; i++)
      if (value[i] >= 1) row[i] += 1.0;
  }

  void search(int i) {
    if (--group_nodes_left < 0 || --nodes_left < 0) {
      aborted = true;
      return;
    }
    st.nodes++;
    if (i == cur->size) {
      record_layout();
      return;
    }
    const int v = order[i];
    const int cs = var_clue_start[i], ce = var_clue_start[i + 1];
    for (int x = lo[v]; x <= hi[v] && !aborted; x++) {
      bool ok = true;
      for (int j = cs; j < ce; j++) {
        LocalClue& c = lclues[static_cast<size_t>(var_clue_list[static_cast<size_t>(j)])];
        c.sum += x;
        c.rem_lo -= lo[v];
        c.rem_hi -= hi[v];
        if (c.sum + c.rem_lo > c.target || c.sum + c.rem_hi < c.target) ok = false;
      }
      if (ok) {
        value[i] = x;
        search(i + 1);
      }
      for (int j = cs; j < ce; j++) {
        LocalClue& c = lclues[static_cast<size_t>(var_clue_list[static_cast<size_t>(j)])];
        c.sum -= x;
        c.rem_lo += lo[v];
        c.rem_hi += hi[v];
      }
    }
  }

  // Orders the group's cells breadth first along their clues (so that clues
  // close early), builds the group's clues and searches every layout.
  void search_group(int gi, int& nsol_at, int& mcount_at) {
    Group& g = groups[static_cast<size_t>(gi)];
    cur = &g;
    g.nsol_at = nsol_at;
    g.mcount_at = mcount_at;
    const size_t ncount = static_cast<size_t>(g.size + 1);
    std::fill_n(nsol.begin() + nsol_at, ncount, 0.0);
    std::fill_n(mcount.begin() + mcount_at, ncount * static_cast<size_t>(g.size), 0.0);

    int placed = 0;
    order[placed++] = group_cells[static_cast<size_t>(g.first)];
    local[order[0]] = 0;
    for (int h = 0; h < placed; h++) {
      const int v = order[h];
      for (int j = clue_start[v]; j < clue_start[v + 1]; j++) {
        const Clue& k = clues[static_cast<size_t>(clue_list[static_cast<size_t>(j)])];
        for (int t = 0; t < k.count; t++) {
          const int w = k.vars[t];
          if (!searchable(w) || local[w] >= 0) continue;
          local[w] = placed;
          order[placed++] = w;
        }
      }
    }
    // The group's clues, each listed under its cells.
    int lcount = 0;
    for (int i = 0; i < g.size; i++) var_clue_start[i + 1] = 0;
    int entries = 0;
    for (int i = 0; i < g.size; i++) {
      const int v = order[i];
      var_clue_start[i] = entries;
      for (int j = clue_start[v]; j < clue_start[v + 1]; j++) {
        const int ki = clue_list[static_cast<size_t>(j)];
        if (clue_mark[ki] != gi) {
          clue_mark[ki] = gi;
          const Clue& k = clues[static_cast<size_t>(ki)];
          LocalClue& lc = lclues[static_cast<size_t>(lcount)];
          lc.target = k.target;
          lc.sum = lc.rem_lo = lc.rem_hi = 0;
          for (int t = 0; t < k.count; t++) {
            const int w = k.vars[t];
            if (searchable(w)) {
              lc.rem_lo += lo[w];
              lc.rem_hi += hi[w];
            } else {
              lc.target -= lo[w];
            }
          }
          stamp[ki] = lcount++;  // the clue's local number, while this group is built
        }
        var_clue_list[static_cast<size_t>(entries++)] = stamp[ki];
      }
    }
    var_clue_start[g.size] = entries;

    aborted = false;
    group_nodes_left = limits.max_group_nodes;
    search(0);
    for (int i = 0; i < g.size; i++) local[order[i]] = -1;
    // order[] is the group's cell order from here on: keep it in group_cells.
    for (int i = 0; i < g.size; i++) group_cells[static_cast<size_t>(g.first + i)] = order[i];
    g.searched = !aborted;
    if (g.searched) {
      nsol_at += static_cast<int>(ncount);
      mcount_at += static_cast<int>(ncount) * g.size;
    }
  }

  // Counts a group may hold, as a set.
  CountSet counts_of(const Group& g) const {
    CountSet s;
    for (int k = 0; k <= g.size; k++)
      if (nsol[static_cast<size_t>(g.nsol_at + k)] > 0.0) s.set(static_cast<size_t>(k));
    return s;
  }

  // Whether some count in [lo_s, hi_s] is in s.
  static bool any_in(const CountSet& s, int lo_s, int hi_s) {
    lo_s = std::max(lo_s, 0);
    hi_s = std::min<int>(hi_s, MAX_CELLS);
    for (int x = lo_s; x <= hi_s; x++)
      if (s[static_cast<size_t>(x)]) return true;
    return false;
  }

  // One pass of the search over every group; true when a verdict changed.
  bool exact_pass() {
    search_groups();
    return deduce_from_groups();
  }

  // Builds the groups of the undecided frontier cells and searches every
  // one within the limits.
  void search_groups() {
    build_groups();
    int nsol_at = 0, mcount_at = 0;
    nodes_left = limits.max_solve_nodes - st.nodes;
    std::fill(clue_mark.begin(), clue_mark.begin() + clue_count, -1);
    std::fill(local.begin(), local.begin() + n, -1);
    capped_free = 0;
    int searched = 0;
    for (int gi = 0; gi < static_cast<int>(groups.size()); gi++) {
      Group& g = groups[static_cast<size_t>(gi)];
      if (g.size <= limits.max_group_cells && nodes_left > 0) search_group(gi, nsol_at, mcount_at);
      if (g.searched) {
        searched++;
      } else {
        capped_free += g.free;
      }
    }
    std::fill(stamp.begin(), stamp.begin() + n, 0);
    stamp_id = 0;
    st.groups_searched = searched;
    st.groups_capped = static_cast<int>(groups.size()) - searched;
    groups_stale = false;
  }

  // What the searched groups' layouts, combined with each other and the
  // global count, make certain; true when a verdict changed.
  bool deduce_from_groups() {
    // The counts of the searched groups, each against the others, the
    // unsearched groups and the pool.
    const int gcount = static_cast<int>(groups.size());
    if (static_cast<int>(prefix.size()) < gcount + 1) {
      prefix.resize(static_cast<size_t>(gcount + 1));
      suffix.resize(static_cast<size_t>(gcount + 1));
    }
    int known = 0;
    for (int c = 0; c < n; c++)
      if (covered[c] && lo[c] >= 1) known++;
    const int free_mines = mines_covered - known;
    const int spread = capped_free + pool_cells;

    prefix[0].reset();
    prefix[0].set(0);
    for (int gi = 0; gi < gcount; gi++) {
      const Group& g = groups[static_cast<size_t>(gi)];
      prefix[static_cast<size_t>(gi + 1)] =
          g.searched ? convolve(prefix[static_cast<size_t>(gi)], counts_of(g), g.size) : prefix[static_cast<size_t>(gi)];
      if (g.searched && prefix[static_cast<size_t>(gi + 1)].none()) {
        st.consistent = false;
        return false;
      }
    }
    suffix[static_cast<size_t>(gcount)].reset();
    suffix[static_cast<size_t>(gcount)].set(0);
    for (int gi = gcount - 1; gi >= 0; gi--) {
      const Group& g = groups[static_cast<size_t>(gi)];
      suffix[static_cast<size_t>(gi)] =
          g.searched ? convolve(suffix[static_cast<size_t>(gi + 1)], counts_of(g), g.size) : suffix[static_cast<size_t>(gi + 1)];
    }

    bool changed = false;
    for (int gi = 0; gi < gcount && st.consistent; gi++) {
      const Group& g = groups[static_cast<size_t>(gi)];
      if (!g.searched) continue;
      // The other searched groups together.
      CountSet others;
      const CountSet& pre = prefix[static_cast<size_t>(gi)];
      const CountSet& suf = suffix[static_cast<size_t>(gi + 1)];
      for (int a = 0; a <= MAX_CELLS; a++)
        if (pre[static_cast<size_t>(a)]) others |= suf << static_cast<size_t>(a);
      bool fits[MAX_CELLS + 1];
      bool any = false;
      for (int k = 0; k <= g.size; k++) {
        fits[k] = nsol[static_cast<size_t>(g.nsol_at + k)] > 0.0 &&
                  any_in(others, free_mines - k - spread, free_mines - k);
        any |= fits[k];
      }
      if (!any) {
        st.consistent = false;
        return false;
      }
      for (int i = 0; i < g.size; i++) {
        const int v = group_cells[static_cast<size_t>(g.first + i)];
        bool always_safe = true, always_mine = true;
        for (int k = 0; k <= g.size; k++) {
          if (!fits[k]) continue;
          const double m = mcount[static_cast<size_t>(g.mcount_at + k * g.size + i)];
          if (m > 0.0) always_safe = false;
          if (m < nsol[static_cast<size_t>(g.nsol_at + k)]) always_mine = false;
        }
        if (always_safe) changed |= narrow(v, 0, 0);
        else if (always_mine) changed |= narrow(v, 1, maxv);
      }
    }

    // The pool: the mines the searched groups and the unsearched ones leave.
    if (pool_cells > 0 && st.consistent) {
      const CountSet& all = prefix[static_cast<size_t>(gcount)];
      bool zero_fits = false, full_fits = false, between_fits = false;
      for (int p = 0; p <= pool_cells; p++) {
        if (!any_in(all, free_mines - p - capped_free, free_mines - p)) continue;
        if (p == 0) zero_fits = true;
        else if (p == pool_cells) full_fits = true;
        else between_fits = true;
      }
      if (!zero_fits && !full_fits && !between_fits) {
        st.consistent = false;
        return false;
      }
      const bool only_zero = zero_fits && !full_fits && !between_fits;
      const bool only_full = full_fits && !zero_fits && !between_fits;
      if (only_zero || only_full)
        for (int c = 0; c < n; c++)
          if (searchable(c) && clue_start[c] == clue_start[c + 1] && lo[c] == 0)
            changed |= only_zero ? narrow(c, 0, 0) : narrow(c, 1, maxv);
    }
    return changed;
  }

  // ---- MegaMine ----

  void build_predecessors(const Board& b) {
    std::fill(pred_start.begin(), pred_start.begin() + n + 1, 0);
    for (int c = 0; c < n; c++)
      for (int e = 0; e < b.cells[c].neighbour_count; e++) {
        const int q = b.cells[c].neighbours[e];
        if (q >= 0 && q < n) pred_start[q + 1]++;
      }
    for (int c = 0; c < n; c++) pred_start[c + 1] += pred_start[c];
    for (int c = 0; c < n; c++) stamp[c] = pred_start[c];
    for (int c = 0; c < n; c++)
      for (int e = 0; e < b.cells[c].neighbour_count; e++) {
        const int q = b.cells[c].neighbours[e];
        if (q >= 0 && q < n) pred_list[static_cast<size_t>(stamp[q]++)] = c;
      }
    std::fill(stamp.begin(), stamp.begin() + n, 0);
  }

  // Breadth first from `from` against the neighbour lists (the cells from
  // which `from` is reached) up to depth; visits (cell, depth) in order.
  template <class Visit>
  void walk_to(int from, int depth, Visit visit) {
    int head = 0, tail = 0;
    bfs[tail++] = from;
    dist[from] = 0;
    while (head < tail) {
      const int c = bfs[head++];
      visit(c, dist[c]);
      if (dist[c] == depth) continue;
      for (int j = pred_start[c]; j < pred_start[c + 1]; j++) {
        const int p = pred_list[static_cast<size_t>(j)];
        if (dist[p] >= 0) continue;
        dist[p] = dist[c] + 1;
        bfs[tail++] = p;
      }
    }
    for (int i = 0; i < tail; i++) dist[bfs[i]] = -1;
  }

  void megamine_rules(const Board& b) {
    build_predecessors(b);
    std::fill(dist.begin(), dist.begin() + n, -1);
    // Every cell nearer than a clue is safe.
    for (int c = 0; c < n; c++) {
      const Cell& cell = b.cells[c];
      if (cell.state != REVEALED || cell.content >= MINE) continue;
      st.clues++;
      const int d = cell.content == 0 ? 200 : cell.content;
      walk_to(c, d - 1, [&](int q, int) {
        if (covered[q]) narrow(q, 0, 0);
      });
    }
    queue.clear();
    for (int round = 0; round < 8 && st.consistent; round++) {
      bool changed = false;
      // A clue with one cell left at its distance has its mine there.
      for (int c = 0; c < n && st.consistent; c++) {
        const Cell& cell = b.cells[c];
        if (cell.state != REVEALED || cell.content >= MINE || cell.content == 0) continue;
        const int d = cell.content;
        int open = 0, last = -1;
        bool met = false;
        walk_to(c, d, [&](int q, int depth) {
          if (depth != d) return;
          if (covered[q] ? lo[q] >= 1 : b.cells[q].content >= MINE) met = true;
          else if (covered[q] && hi[q] >= 1) {
            open++;
            last = q;
          }
        });
        if (met) continue;
        if (open == 0) st.consistent = false;
        else if (open == 1) changed |= narrow(last, 1, maxv);
      }
      changed |= global_count();
      queue.clear();
      if (!changed) break;
    }
  }

  // ---- results ----

  void count_verdicts() {
    st.safe = st.mines = 0;
    for (int c = 0; c < n; c++) {
      if (!covered[c]) continue;
      if (hi[c] == 0) st.safe++;
      else if (lo[c] >= 1) st.mines++;
    }
  }

  void solve(const Board& b, const GameSession& s, bool exact) {
    read_position(b, s);
    if (mode == MEGAMINE) {
      clue_count = 0;
      std::fill(clue_start.begin(), clue_start.begin() + n + 1, 0);
      megamine_rules(b);
    } else {
      build_clues(b);
      run_rules();
      if (exact) {
        for (int round = 0; round < 4 && st.consistent; round++) {
          const int safe_before = safe_count();
          if (!exact_pass()) break;
          run_rules();
          if (safe_count() > safe_before) break;
        }
      }
    }
    if (!st.consistent)  // no layout fits: nothing can be claimed
      for (int c = 0; c < n; c++)
        if (covered[c]) {
          lo[c] = 0;
          hi[c] = static_cast<int8_t>(maxv);
        }
    count_verdicts();
  }

  int safe_count() const {
    int k = 0;
    for (int c = 0; c < n; c++) k += covered[c] && hi[c] == 0;
    return k;
  }

  CellVerdict verdict(int c) const {
    if (c < 0 || c >= n || !covered[c]) return VERDICT_REVEALED;
    if (hi[c] == 0) return VERDICT_SAFE;
    if (lo[c] >= 1) return VERDICT_MINE;
    return VERDICT_UNKNOWN;
  }

  // ---- chances ----

  double estimate() {
    int known = 0, open = 0;
    for (int c = 0; c < n; c++) {
      if (!covered[c]) {
        prob[c] = NO_PROBABILITY;
        continue;
      }
      if (hi[c] == 0) prob[c] = 0.0;
      else if (lo[c] >= 1) {
        prob[c] = 1.0;
        known++;
      } else {
        prob[c] = NO_PROBABILITY;
        open++;
      }
    }
    if (open == 0) return NO_PROBABILITY;
    const int free_mines = mines_covered - known;
    const double uniform = std::min(1.0, std::max(0.0, static_cast<double>(free_mines) / open));
    if (mode == MEGAMINE || !st.consistent) {
      for (int c = 0; c < n; c++)
        if (covered[c] && prob[c] < 0.0) prob[c] = uniform;
      return uniform;
    }
    if (groups_stale && !groups.empty()) search_again();
    estimate_groups(free_mines);
    double best = 2.0;
    for (int c = 0; c < n; c++) {
      if (!covered[c] || lo[c] >= 1 || hi[c] == 0) continue;
      if (prob[c] < 0.0) prob[c] = local_share(c, uniform);
      best = std::min(best, prob[c]);
    }
    return best;
  }

  // The groups searched again on the verdicts as they stand, on a node
  // budget of its own; the solve's figures are kept.
  void search_again() {
    const SolverStats kept = st;
    st.nodes = 0;
    search_groups();
    st = kept;
  }

  // The highest share of mines among the undecided cells of the cell's clues.
  double local_share(int c, double fallback) const {
    if (clue_start[c] == clue_start[c + 1]) return fallback;
    double share = 0.0;
    const double level = mode == MULTI_MINE ? 2.0 : 1.0;
    for (int j = clue_start[c]; j < clue_start[c + 1]; j++) {
      const Clue& k = clues[static_cast<size_t>(clue_list[static_cast<size_t>(j)])];
      int t = k.target, open = 0;
      for (int i = 0; i < k.count; i++) {
        const int v = k.vars[i];
        if (lo[v] == hi[v]) t -= lo[v];
        else if (lo[v] >= 1) t -= 1;
        else open++;
      }
      if (open > 0) share = std::max(share, t / (level * open));
    }
    return std::min(1.0, std::max(0.0, share));
  }

  // Exact chances of the searched groups' cells and of the pool, the cells
  // of unsearched groups counted with the pool: layouts weighted by the
  // ways the pool takes the mines they leave.
  void estimate_groups(int free_mines) {
    // Groups whose results still describe the position.
    std::vector<int>& list = bfs;  // scratch
    int g_count = 0, total = 0;
    for (int gi = 0; gi < static_cast<int>(groups.size()); gi++) {
      const Group& g = groups[static_cast<size_t>(gi)];
      if (!g.searched) continue;
      list[g_count++] = gi;
      total += g.size;
    }
    int spread = 0;
    for (int c = 0; c < n; c++)
      if (covered[c] && lo[c] == 0 && hi[c] >= 1) {
        const int gi = group_of[c];
        if (gi < 0 || !groups[static_cast<size_t>(gi)].searched) spread++;
      }
    // The ways of the pool (log) for x mines in the searched groups.
    rweight.assign(static_cast<size_t>(total + 1), 0.0);
    double top = -std::numeric_limits<double>::infinity();
    for (int x = 0; x <= total; x++) {
      const int p = free_mines - x;
      double w = -std::numeric_limits<double>::infinity();
      if (p >= 0 && p <= spread)
        w = std::lgamma(spread + 1.0) - std::lgamma(p + 1.0) - std::lgamma(spread - p + 1.0);
      rweight[static_cast<size_t>(x)] = w;
      top = std::max(top, w);
    }
    if (top == -std::numeric_limits<double>::infinity()) return;  // no fit: local shares
    for (double& w : rweight) w = std::exp(w - top);

    // Forward messages: the counts of the groups before each one.
    fwd_at.assign(static_cast<size_t>(g_count + 1), 0);
    bwd_at.assign(static_cast<size_t>(g_count + 1), 0);
    fwd.assign(static_cast<size_t>((g_count + 1) * (total + 1)), 0.0);
    bwd.assign(static_cast<size_t>((g_count + 1) * (total + 1)), 0.0);
    const size_t width = static_cast<size_t>(total + 1);
    fwd[0] = 1.0;
    int reach = 0;
    for (int i = 0; i < g_count; i++) {
      const Group& g = groups[static_cast<size_t>(list[i])];
      double* from = &fwd[static_cast<size_t>(i) * width];
      double* to = &fwd[static_cast<size_t>(i + 1) * width];
      double m = 0.0;
      for (int a = 0; a <= reach; a++) {
        if (from[a] == 0.0) continue;
        for (int k = 0; k <= g.size; k++) to[a + k] += from[a] * nsol[static_cast<size_t>(g.nsol_at + k)];
      }
      reach += g.size;
      for (int a = 0; a <= reach; a++) m = std::max(m, to[a]);
      if (m > 0.0)
        for (int a = 0; a <= reach; a++) to[a] /= m;
    }
    // Backward messages: the weight of the groups after each one and the pool.
    {
      double* last = &bwd[static_cast<size_t>(g_count) * width];
      for (int x = 0; x <= total; x++) last[x] = rweight[static_cast<size_t>(x)];
    }
    for (int i = g_count - 1; i >= 0; i--) {
      const Group& g = groups[static_cast<size_t>(list[i])];
      const double* from = &bwd[static_cast<size_t>(i + 1) * width];
      double* to = &bwd[static_cast<size_t>(i) * width];
      double m = 0.0;
      for (int x = 0; x <= total; x++) {
        double s = 0.0;
        for (int k = 0; k <= g.size && x + k <= total; k++) s += nsol[static_cast<size_t>(g.nsol_at + k)] * from[x + k];
        to[x] = s;
        m = std::max(m, s);
      }
      if (m > 0.0)
        for (int x = 0; x <= total; x++) to[x] /= m;
    }
    // Each group: the weight of its layouts of k mines.
    double wk[MAX_CELLS + 1];
    for (int i = 0; i < g_count; i++) {
      const Group& g = groups[static_cast<size_t>(list[i])];
      const double* f = &fwd[static_cast<size_t>(i) * width];
      const double* bk = &bwd[static_cast<size_t>(i + 1) * width];
      double sum = 0.0;
      for (int k = 0; k <= g.size; k++) {
        double s = 0.0;
        if (nsol[static_cast<size_t>(g.nsol_at + k)] > 0.0)
          for (int a = 0; a + k <= total; a++) s += f[a] * bk[a + k];
        wk[k] = s;  // per layout
        sum += s * nsol[static_cast<size_t>(g.nsol_at + k)];
      }
      if (sum <= 0.0) continue;
      for (int m = 0; m < g.size; m++) {
        const int v = group_cells[static_cast<size_t>(g.first + m)];
        if (lo[v] >= 1 || hi[v] == 0) continue;
        double s = 0.0;
        for (int k = 0; k <= g.size; k++) s += wk[k] * mcount[static_cast<size_t>(g.mcount_at + k * g.size + m)];
        prob[v] = s / sum;
      }
    }
    // The pool and the unsearched groups share the mines the groups leave.
    if (spread > 0) {
      const double* all = &fwd[static_cast<size_t>(g_count) * width];
      double z = 0.0, e = 0.0;
      for (int x = 0; x <= total; x++) {
        const double w = all[x] * rweight[static_cast<size_t>(x)];
        z += w;
        e += w * (free_mines - x);
      }
      if (z > 0.0) {
        const double pool = std::min(1.0, std::max(0.0, e / z / spread));
        for (int c = 0; c < n; c++)
          if (covered[c] && lo[c] == 0 && hi[c] >= 1 && clue_start[c] == clue_start[c + 1]) prob[c] = pool;
      }
    }
  }
};

Solver::Solver(const SolverLimits& limits) : impl_(new Impl(limits)) {}
Solver::~Solver() = default;

const SolverStats& Solver::solve(const Board& b, const GameSession& session, bool exact) {
  impl_->solve(b, session, exact);
  return impl_->st;
}

CellVerdict Solver::verdict(int cell) const { return impl_->verdict(cell); }

double Solver::estimate_probabilities() { return impl_->estimate(); }

double Solver::probability(int cell) const {
  if (cell < 0 || cell >= impl_->n) return NO_PROBABILITY;
  return impl_->prob[static_cast<size_t>(cell)];
}

const SolverStats& Solver::stats() const { return impl_->st; }
