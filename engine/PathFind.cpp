#include "PathFind.h"

#include <algorithm>
#include <cmath>

#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "SceneGraph.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

PathFind::PathFind(Object *p_o, Object *p_target, PathCell start, PathCell goal, int width,
                   int height)
    : m_p_object(p_o), m_p_target(p_target), m_start(start), m_goal(goal),
      m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_open_count(0),
      m_next_order(0), m_found(false), m_final_result(-1), m_stamp(1), m_sweep_stamp(0) {
  const PathNode blank = {0, 0, {0, 0}, false, false, 0, 0, false};
  m_graph.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), blank);
  if (inside(start.x, start.y))
    node(start).cost = 0;
}

bool PathFind::inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

PathNode &PathFind::node(PathCell cell) {
  return m_graph[static_cast<size_t>(cell.y) * static_cast<size_t>(m_width) +
                 static_cast<size_t>(cell.x)];
}

void PathFind::forgetBlocked() {
  if (++m_stamp == 0) {
    // After the stamp wraps, old stamps could match again: clear them.
    for (PathNode &n : m_graph)
      n.blocked_stamp = 0;
    m_stamp = 1;
    m_sweep_stamp = 0;
  }
}

bool PathFind::blockedByFirstHard(int x, int y) const {
  const ObjectList collisions = WorldManager::getInstance().getCollisions(
      m_p_object, Vector(static_cast<float>(x), static_cast<float>(y)));
  for (int i = 0; i < collisions.getCount(); i++) {
    const Object *p_o = collisions[i];
    if (p_o->getSolidness() == HARD) {
      const Vector goal(static_cast<float>(m_goal.x), static_cast<float>(m_goal.y));
      return !boxContainsPosition(getWorldBox(p_o), goal);
    }
  }
  return false;
}

namespace {

// Values whose float rounding stays far below a cell (a float near 2^20 is
// within 1/16 of the value), with extents that are not negative: for such
// boxes the cells where two of them meet can be told from their bounds.
bool isModerate(const Box &box) {
  const float limit = 1048576;
  return std::fabs(box.getCorner().getX()) < limit && std::fabs(box.getCorner().getY()) < limit &&
         box.getHorizontal() >= 0 && box.getHorizontal() < limit && box.getVertical() >= 0 &&
         box.getVertical() < limit;
}

bool isNumber(const Box &box) {
  return !std::isnan(box.getCorner().getX()) && !std::isnan(box.getCorner().getY()) &&
         !std::isnan(box.getHorizontal()) && !std::isnan(box.getVertical());
}

const std::uint8_t ASK_THE_WORLD = 3;

} // namespace

void PathFind::sweepHardObjects() {
  m_sweep_stamp = m_stamp;
  const Box mover = m_p_object->getBox();
  if (!isModerate(mover)) {
    m_hard_kinds.assign(m_graph.size(), ASK_THE_WORLD);
    return;
  }
  m_hard_kinds.assign(m_graph.size(), 0);
  const double mx = mover.getCorner().getX(), my = mover.getCorner().getY();
  const Vector goal(static_cast<float>(m_goal.x), static_cast<float>(m_goal.y));
  const ObjectList solid = WorldManager::getInstance().getSceneGraph().solidObjects();
  for (int i = 0; i < solid.getCount(); i++) {
    const Object *p_o = solid[i];
    if (p_o == m_p_object || p_o->getSolidness() != HARD)
      continue;
    const Box box = getWorldBox(p_o);
    if (!isNumber(box))
      continue; // Meets nothing.
    if (!isModerate(box)) {
      m_hard_kinds.assign(m_graph.size(), ASK_THE_WORLD);
      return;
    }
    // The cells where the mover's box can reach this box; each is then
    // tested exactly as a collision query tests it.
    const double ox = box.getCorner().getX(), oy = box.getCorner().getY();
    const double x0 = std::floor(ox - mx - mover.getHorizontal());
    const double x1 = std::ceil(ox + box.getHorizontal() - mx);
    const double y0 = std::floor(oy - my - mover.getVertical());
    const double y1 = std::ceil(oy + box.getVertical() - my);
    const int first_x = static_cast<int>(std::max(x0, 0.0));
    const int last_x = static_cast<int>(std::min(x1, static_cast<double>(m_width - 1)));
    const int first_y = static_cast<int>(std::max(y0, 0.0));
    const int last_y = static_cast<int>(std::min(y1, static_cast<double>(m_height - 1)));
    const std::uint8_t kind = boxContainsPosition(box, goal) ? 2 : 1;
    Box mover_at = mover;
    for (int y = first_y; y <= last_y; y++)
      for (int x = first_x; x <= last_x; x++) {
        // Where getWorldBox() would put the mover standing on the cell.
        mover_at.setCorner(mover.getCorner() +
                           Vector(static_cast<float>(x), static_cast<float>(y)));
        if (boxIntersectsBox(mover_at, box))
          m_hard_kinds[static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                       static_cast<size_t>(x)] |= kind;
      }
  }
}

bool PathFind::isBlocked(int x, int y) {
  PathNode &n = node({x, y});
  if (n.blocked_stamp == m_stamp)
    return n.blocked;
  if (m_sweep_stamp != m_stamp)
    sweepHardObjects();
  // Only where HARD objects that hold the goal and others that do not meet
  // does the first of them in the collision list decide.
  switch (m_hard_kinds[static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                       static_cast<size_t>(x)]) {
  case 0:
  case 2:
    n.blocked = false;
    break;
  case 1:
    n.blocked = true;
    break;
  default:
    n.blocked = blockedByFirstHard(x, y);
  }
  n.blocked_stamp = m_stamp;
  return n.blocked;
}

PathCell PathFind::takeCurrent() {
  while (m_open_count > 0) {
    const OpenEntry entry = m_open.top();
    m_open.pop();
    PathNode &n = m_graph[static_cast<size_t>(entry.index)];
    if (!n.open || n.estimate != entry.estimate)
      continue; // Expanded already, or improved since this entry was queued.
    n.open = false;
    m_open_count--;
    return {entry.index % m_width, entry.index / m_width};
  }
  return m_start;
}

void PathFind::relax(PathCell current, int dx, int dy) {
  const int nx = current.x + dx, ny = current.y + dy;
  if (!inside(nx, ny))
    return;
  PathNode &n = node({nx, ny});
  if (n.closed || isBlocked(nx, ny))
    return;
  // No squeezing diagonally between two blocked cells.
  if (dx != 0 && dy != 0 && isBlocked(current.x + dx, current.y) &&
      isBlocked(current.x, current.y + dy))
    return;

  const double step = std::sqrt(static_cast<double>(dx * dx + dy * dy));
  const float cost = static_cast<float>(static_cast<double>(node(current).cost) + step);
  if (n.open && cost > n.cost)
    return;
  const double gx = nx - m_goal.x, gy = ny - m_goal.y;
  const float estimate =
      static_cast<float>(static_cast<double>(cost) + std::sqrt(gx * gx + gy * gy));
  n.parent = current;
  n.cost = cost;
  const bool requeue = !n.open || estimate != n.estimate;
  n.estimate = estimate;
  if (!n.open) {
    n.open = true;
    n.order = m_next_order++;
    m_open_count++;
  }
  if (requeue)
    m_open.push({estimate, n.order, ny * m_width + nx});
}

int PathFind::cycleOnce() {
  if (m_graph.empty()) {
    LogManager::getInstance().writeLog(
        "PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
    return 0;
  }
  if (m_final_result != -1)
    return m_final_result;

  const PathCell current = takeCurrent();
  if (!inside(current.x, current.y))
    return m_final_result = 0; // Only a start outside the world gets here.
  node(current).closed = true;
  m_closed.push_back(current);

  if (current == m_goal)
    m_found = true;
  if (m_p_target != nullptr) {
    const Box here = getWorldBox(
        m_p_object, Vector(static_cast<float>(current.x), static_cast<float>(current.y)));
    const Box target = getWorldBox(
        m_p_target, Vector(static_cast<float>(m_goal.x), static_cast<float>(m_goal.y)));
    if (boxIntersectsBox(here, target)) {
      m_found = true;
      m_goal = current;
    }
  }
  if (m_found)
    return m_final_result = 2;

  for (int dy = -1; dy <= 1; dy++)
    for (int dx = -1; dx <= 1; dx++)
      if (dx != 0 || dy != 0)
        relax(current, dx, dy);

  if (m_open_count > 0)
    return 1;
  return m_final_result = 0;
}

Path PathFind::getPath() const {
  Path path;
  if (!m_found)
    return path;
  std::vector<Vector> cells;
  PathCell cell = m_goal;
  // Parents lead back to the start; the bound only guards against a chain
  // that never gets there.
  for (size_t guard = 0; cell != m_start && guard < m_graph.size(); guard++) {
    cells.emplace_back(static_cast<float>(cell.x), static_cast<float>(cell.y));
    cell = m_graph[static_cast<size_t>(cell.y) * static_cast<size_t>(m_width) +
                   static_cast<size_t>(cell.x)]
               .parent;
  }
  cells.emplace_back(static_cast<float>(m_start.x), static_cast<float>(m_start.y));
  std::reverse(cells.begin(), cells.end());
  return Path(cells);
}

Object *PathFind::getObject() const { return m_p_object; }

Object *PathFind::getTarget() const { return m_p_target; }

void PathFind::clearTarget() { m_p_target = nullptr; }

PathCell PathFind::getStart() const { return m_start; }

PathCell PathFind::getGoal() const { return m_goal; }

bool PathFind::isFound() const { return m_found; }

const std::vector<PathCell> &PathFind::getClosed() const { return m_closed; }

} // namespace vx
