/// \file
/// Runs the pending path searches a slice at a time, inside the time the game
/// loop grants it each frame, and tells each searching object its result.
#ifndef VX_PATH_MANAGER_H
#define VX_PATH_MANAGER_H

#include <vector>

#include "Manager.h"
#include "Vector.h"

namespace vx {

class Object;
class PathFind;

/// The most cells a world may have for a search over it.
const long MAX_PATH_NODES = 1000000;

/// Runs the pending path searches in the time left in each frame (or a fixed amount of work per
/// step while recording or replaying) and sends each searching object its EventPath.
class PathManager : public Manager {
 private:
  PathManager();

  std::vector<PathFind *> m_path_finds; // Pending searches, oldest first. Not owned.
  int m_min_cycle_time;                 // Least budget of one cycle(), milliseconds.
  int m_work_budget;                    // Expansions per cycle(); 0: the time budget.

 public:
  /// The one path manager.
  static PathManager &getInstance();

  /// The least budget becomes a tenth of the game manager's frame time. 0, or
  /// -1 when already started.
  int startUp() override;

  /// Stops; pending searches stay listed until their objects remove them.
  void shutDown() override;

  /// Starts a search for p_o from its cell to the goal's cell, ending early
  /// where p_o would touch p_target when one is given. The search becomes the
  /// object's pending search (replacing and destroying one it had) and runs
  /// from the next cycle on. 0, or -1 with a log line for a null object, an
  /// object or goal outside the world, a world too large to search, or a
  /// manager not started.
  int findPath(Object *p_o, Vector goal, Object *p_target = nullptr);

  /// Takes a search off the pending list (every entry of it, the others kept
  /// in order). 0, or -1 for null or a search not in the list.
  int removePathFind(PathFind *p_path_find);

  /// Searches that head for this object stop doing so (it is going away).
  void forgetTarget(const Object *p_o);

  /// Runs one expansion of each pending search in turn, pass after pass,
  /// until none is left or the budget (never below the least budget) is
  /// spent; a search that ends hands its object a path event at once. A
  /// single expansion is never cut short, so the budget can be exceeded by
  /// at most one.
  void cycle(int budget_ms);

  /// With a count above 0, every cycle() runs that many expansions whatever
  /// its time budget, so searches end in the same step on any machine (a
  /// game being recorded or replayed); 0 returns to the time budget.
  void setWorkBudget(int expansions);

  /// The number of searches pending.
  int getPathFindCount() const;
  /// The least time, in milliseconds, a slice of searching is given (a tenth of the frame time).
  int getMinCycleTime() const;
};

} // namespace vx

#endif // VX_PATH_MANAGER_H
