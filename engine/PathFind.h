/// \file
/// One A* path search over the world's cells for one object, run one
/// expansion at a time so the path manager can spread it over several frames.
#ifndef VX_PATH_FIND_H
#define VX_PATH_FIND_H

#include <cstdint>
#include <queue>
#include <vector>

#include "Path.h"

namespace vx {

class Object;

/// A world cell: column x, row y.
struct PathCell {
  /// Column of the cell.
  int x;
  /// Row of the cell.
  int y;
  /// Whether both coordinates match.
  bool operator==(const PathCell &other) const { return x == other.x && y == other.y; }
  /// Whether a coordinate differs.
  bool operator!=(const PathCell &other) const { return !(*this == other); }
};

/// One cell of a search.
struct PathNode {
  float cost;            ///< Best known cost from the start.
  float estimate;        ///< cost plus the straight-line distance to the goal.
  PathCell parent;       ///< The cell this one was reached from.
  bool open;             ///< Waiting to be expanded.
  bool closed;           ///< Expanded.
  std::uint64_t order;   ///< When it joined the open cells: later entries win ties.
  std::uint32_t blocked_stamp; ///< The blocked answer is current while this equals the search's stamp.
  bool blocked;          ///< The remembered answer.
};

/// One A* search over the world's cells for one object, run a slice at a time by the path
/// manager. Owned by the object that searches.
class PathFind {
 private:
  // An open cell as the queue holds it; entries whose cell has since been
  // expanded or improved are skipped when they come up.
  struct OpenEntry {
    float estimate;
    std::uint64_t order;
    int index; ///< Into m_graph.
  };
  // Orders the queue: smallest estimate on top, the later entry among equals.
  struct ExpandsLater {
    bool operator()(const OpenEntry &a, const OpenEntry &b) const {
      return a.estimate > b.estimate || (a.estimate == b.estimate && a.order < b.order);
    }
  };

  Object *m_p_object;           // Searches; its box is tested against obstacles. Not owned.
  Object *m_p_target;           // Object to reach, or null for a cell. Not owned.
  PathCell m_start;
  PathCell m_goal;
  int m_width;                  // World columns.
  int m_height;                 // World rows.
  std::vector<PathNode> m_graph; // [y * m_width + x]; empty when not allocated.
  std::priority_queue<OpenEntry, std::vector<OpenEntry>, ExpandsLater> m_open;
  int m_open_count;             // Cells open (the queue may hold stale entries too).
  std::uint64_t m_next_order;   // Order given to the next cell that opens.
  std::vector<PathCell> m_closed; // Expanded cells, in expansion order.
  bool m_found;                 // The goal was reached.
  int m_final_result;           // 0 or 2 once the search ended; -1 before.
  std::uint32_t m_stamp;        // Blocked answers with another stamp are out of date.
  // What the HARD objects make of each cell, from one sweep over them: bit 0
  // set when one that does not hold the goal overlaps the mover there, bit
  // 1 when one that holds the goal does. Both bits, where both kinds meet or
  // where boxes too large or too far out to sweep leave it open, send the
  // question to the world. Valid while m_sweep_stamp is m_stamp.
  std::vector<std::uint8_t> m_hard_kinds;
  std::uint32_t m_sweep_stamp;

  // Fills m_hard_kinds from the world's solid objects.
  void sweepHardObjects();

  // The blocked answer from the list of collisions at the cell, in its order.
  bool blockedByFirstHard(int x, int y) const;

  PathNode &node(PathCell cell);
  bool inside(int x, int y) const;

  // A cell is blocked when the first HARD object the searching object would
  // collide with there does not contain the goal. Remembered until
  // forgetBlocked().
  bool isBlocked(int x, int y);

  // The open cell to expand next, taken off the open cells; the start when
  // none is open.
  PathCell takeCurrent();

  // Offers a neighbour of the current cell one step (dx, dy) away.
  void relax(PathCell current, int dx, int dy);

 public:
  /// A search from start to goal over a world of width x height cells, for
  /// p_o, optionally ending where p_o touches p_target. The start costs 0.
  PathFind(Object *p_o, Object *p_target, PathCell start, PathCell goal, int width, int height);
  ///@{
  /// Not copyable: a search belongs to one object.
  PathFind(const PathFind &) = delete;
  PathFind &operator=(const PathFind &) = delete;
  ///@}

  /// One expansion. 0: no path exists (or there are no nodes); 1: not
  /// finished; 2: found. Once the search has ended it answers the same again
  /// without expanding further.
  int cycleOnce();

  /// The path from the start to the goal, both included, once found; empty
  /// before.
  Path getPath() const;

  /// The world may have changed: blocked answers are asked again. The path
  /// manager calls this before it runs searches and after every event it
  /// delivers; whoever calls cycleOnce() directly and changes the world in
  /// between calls it too.
  void forgetBlocked();

  /// The object the path is for. Not owned.
  Object *getObject() const;
  /// The object to reach, or null when the goal is a position. Not owned.
  Object *getTarget() const;
  /// Stops looking for a target (it is going away); the search goes on for
  /// the goal cell.
  void clearTarget();
  /// The cell the search starts from.
  PathCell getStart() const;
  /// The cell the search goes to.
  PathCell getGoal() const;
  /// Whether the search found a path.
  bool isFound() const;

  /// The expanded cells, in expansion order.
  const std::vector<PathCell> &getClosed() const;
};

} // namespace vx

#endif // VX_PATH_FIND_H
