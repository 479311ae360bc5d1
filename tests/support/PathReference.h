// The path search rules written the plain way: open and closed cells kept in
// lists searched linearly, every blocked test asked of the world afresh. The
// tests check the engine's search against it cell for cell, and the path
// search benchmark measures the engine against it. Also the random worlds
// both use.
#ifndef VX_PATH_REFERENCE_H
#define VX_PATH_REFERENCE_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "Object.h"
#include "ObjectList.h"
#include "Path.h"
#include "PathFind.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vxtest {

class ReferencePathFind {
 private:
  struct Node {
    float cost = 0;
    float estimate = 0;
    vx::PathCell parent = {0, 0};
  };

  vx::Object *m_p_object;
  vx::Object *m_p_target;
  vx::PathCell m_start;
  vx::PathCell m_goal;
  int m_width;
  int m_height;
  std::vector<std::vector<Node>> m_graph; // [y][x]
  std::vector<vx::PathCell> m_open;
  std::vector<vx::PathCell> m_closed;
  bool m_found = false;

  static bool contains(const std::vector<vx::PathCell> &list, vx::PathCell cell) {
    for (const vx::PathCell &c : list)
      if (c == cell)
        return true;
    return false;
  }

  static vx::Vector at(vx::PathCell cell) {
    return vx::Vector(static_cast<float>(cell.x), static_cast<float>(cell.y));
  }

  bool blocked(int x, int y) const {
    vx::ObjectList list = vx::WorldManager::getInstance().getCollisions(m_p_object, at({x, y}));
    for (int i = 0; i < list.getCount(); i++)
      if (list[i]->getSolidness() == vx::HARD)
        return !vx::boxContainsPosition(vx::getWorldBox(list[i]), at(m_goal));
    return false;
  }

 public:
  ReferencePathFind(vx::Object *p_o, vx::Object *p_target, vx::PathCell start, vx::PathCell goal,
                    int width, int height)
      : m_p_object(p_o), m_p_target(p_target), m_start(start), m_goal(goal), m_width(width),
        m_height(height),
        m_graph(static_cast<size_t>(height), std::vector<Node>(static_cast<size_t>(width))) {}

  int cycleOnce() {
    if (m_graph.empty())
      return 0;
    vx::PathCell current = m_start;
    if (!m_open.empty()) {
      float best = std::numeric_limits<float>::infinity();
      for (int i = static_cast<int>(m_open.size()) - 1; i >= 0; i--) {
        const vx::PathCell c = m_open[static_cast<size_t>(i)];
        if (m_graph[c.y][c.x].estimate < best) {
          best = m_graph[c.y][c.x].estimate;
          current = c;
        }
      }
      m_open.erase(std::find(m_open.begin(), m_open.end(), current));
    }
    m_closed.push_back(current);
    if (current == m_goal)
      m_found = true;
    if (m_p_target != nullptr &&
        vx::boxIntersectsBox(vx::getWorldBox(m_p_object, at(current)),
                             vx::getWorldBox(m_p_target, at(m_goal)))) {
      m_found = true;
      m_goal = current;
    }
    if (m_found)
      return 2;

    for (int dy = -1; dy <= 1; dy++) {
      for (int dx = -1; dx <= 1; dx++) {
        if (dx == 0 && dy == 0)
          continue;
        const int nx = current.x + dx, ny = current.y + dy;
        if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height)
          continue;
        if (contains(m_closed, {nx, ny}) || blocked(nx, ny))
          continue;
        if (dx != 0 && dy != 0 && blocked(current.x + dx, current.y) &&
            blocked(current.x, current.y + dy))
          continue;
        Node &n = m_graph[ny][nx];
        const float cost = static_cast<float>(static_cast<double>(m_graph[current.y][current.x].cost) +
                                              std::sqrt(static_cast<double>(dx * dx + dy * dy)));
        const bool open = contains(m_open, {nx, ny});
        if (open && cost > n.cost)
          continue;
        if (!open)
          m_open.push_back({nx, ny});
        const double gx = nx - m_goal.x, gy = ny - m_goal.y;
        n.parent = current;
        n.cost = cost;
        n.estimate = static_cast<float>(static_cast<double>(cost) + std::sqrt(gx * gx + gy * gy));
      }
    }
    return m_open.empty() ? 0 : 1;
  }

  vx::Path getPath() const {
    vx::Path path;
    if (!m_found)
      return path;
    std::vector<vx::Vector> cells;
    for (vx::PathCell c = m_goal; c != m_start; c = m_graph[c.y][c.x].parent)
      cells.push_back(at(c));
    cells.push_back(at(m_start));
    std::reverse(cells.begin(), cells.end());
    return vx::Path(cells);
  }

  const std::vector<vx::PathCell> &getClosed() const { return m_closed; }
};

// A random world for searches: HARD one-cell obstacles on about `density` of
// the cells of a width x height world (the world manager's boundary is set
// to it), never on the start. With `holder`, a HARD 5 x 5 object centred on
// the goal comes first, ahead of the obstacles in every collision list. The
// caller deletes the objects it gets.
struct RandomWorld {
  std::vector<vx::Object *> obstacles;
  vx::PathCell start = {0, 0};
  vx::PathCell goal = {0, 0};

  RandomWorld(std::mt19937 &random, int width, int height, double density, bool holder = false) {
    vx::WorldManager::getInstance().setBoundary(
        vx::Box(vx::Vector(0, 0), static_cast<float>(width), static_cast<float>(height)));
    std::uniform_int_distribution<int> column(0, width - 1), row(0, height - 1);
    std::uniform_real_distribution<double> chance(0, 1);
    start = {column(random), row(random)};
    goal = {column(random), row(random)};
    if (holder) {
      obstacles.push_back(obstacle(goal.x, goal.y));
      obstacles.back()->setBox(vx::Box(vx::Vector(-2.5f, -2.5f), 5, 5));
    }
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++)
        if (vx::PathCell{x, y} != start && chance(random) < density)
          obstacles.push_back(obstacle(x, y));
  }

  static vx::Object *obstacle(int x, int y) {
    vx::Object *p_o = new vx::Object;
    p_o->setPosition(vx::Vector(static_cast<float>(x), static_cast<float>(y)));
    return p_o;
  }
};

} // namespace vxtest

#endif // VX_PATH_REFERENCE_H
