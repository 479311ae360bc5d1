#include "PathManager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Clock.h"
#include "EventPath.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "PathFind.h"
#include "WorldManager.h"

namespace vx {

namespace {

// The cell a world position lies in; false when it lies in none that an int
// can name.
bool cellOf(Vector position, PathCell &cell) {
  const double x = std::floor(static_cast<double>(position.getX()));
  const double y = std::floor(static_cast<double>(position.getY()));
  if (!(x >= 0 && y >= 0 && x <= MAX_PATH_NODES && y <= MAX_PATH_NODES))
    return false;
  cell = {static_cast<int>(x), static_cast<int>(y)};
  return true;
}

// Whole cells of a world extent, 0 for one that is not a usable number.
int cellCount(float extent) {
  const double cells = std::floor(static_cast<double>(extent));
  return cells >= 1 && cells <= MAX_PATH_NODES ? static_cast<int>(cells) : 0;
}

} // namespace

PathManager::PathManager() : m_min_cycle_time(0), m_work_budget(0) { setType("PathManager"); }

PathManager &PathManager::getInstance() {
  static PathManager path_manager;
  return path_manager;
}

int PathManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  m_min_cycle_time = GameManager::getInstance().getFrameTime() / 10;
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "PathManager::startUp(): successfully started.");
  return 0;
}

void PathManager::shutDown() {
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "PathManager::shutDown(): successfully stopped.");
}

int PathManager::findPath(Object *p_o, Vector goal, Object *p_target) {
  const LogManager &log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("PathManager::findPath(): Error! PathManager not started.");
    return -1;
  }
  if (p_o == nullptr) {
    log.writeLog("PathManager::findPath(): Error! Object is NULL.");
    return -1;
  }
  const Box boundary = WorldManager::getInstance().getBoundary();
  const int width = cellCount(boundary.getHorizontal());
  const int height = cellCount(boundary.getVertical());
  if (static_cast<long>(width) * height > MAX_PATH_NODES) {
    log.writeLog("PathManager::findPath(): Error! World of %d x %d cells too large to search.",
                 width, height);
    return -1;
  }
  PathCell start = {0, 0}, goal_cell = {0, 0};
  if (!cellOf(goal, goal_cell) || goal_cell.x >= width || goal_cell.y >= height) {
    log.writeLog("PathManager::findPath(): Error! Goal %s outside the world.",
                 goal.toString().c_str());
    return -1;
  }
  if (!cellOf(p_o->getPosition(), start) || start.x >= width || start.y >= height) {
    log.writeLog("PathManager::findPath(): Error! Object %d at %s outside the world.",
                 p_o->getId(), p_o->getPosition().toString().c_str());
    return -1;
  }
  PathFind *p_path_find = new PathFind(p_o, p_target, start, goal_cell, width, height);
  m_path_finds.push_back(p_path_find);
  p_o->setPathFind(p_path_find);
  return 0;
}

int PathManager::removePathFind(PathFind *p_path_find) {
  if (p_path_find == nullptr)
    return -1;
  auto end = std::remove(m_path_finds.begin(), m_path_finds.end(), p_path_find);
  if (end == m_path_finds.end())
    return -1;
  m_path_finds.erase(end, m_path_finds.end());
  return 0;
}

void PathManager::forgetTarget(const Object *p_o) {
  for (PathFind *p_path_find : m_path_finds)
    if (p_path_find->getTarget() == p_o)
      p_path_find->clearTarget();
}

void PathManager::cycle(int budget_ms) {
  const int budget = std::max(budget_ms, m_min_cycle_time);
  // Compared in microseconds: whole milliseconds would let a cycle run up to
  // a millisecond past its budget.
  const int64_t budget_us = static_cast<int64_t>(budget) * 1000;
  Clock clock;
  int work = 0; // Expansions run, against a work budget.
  const auto spent = [&](bool at_most) {
    if (m_work_budget > 0)
      return work >= m_work_budget;
    return at_most ? clock.split() > budget_us : clock.split() >= budget_us;
  };
  // Obstacles may have moved since the last cycle.
  for (PathFind *p_path_find : m_path_finds)
    p_path_find->forgetBlocked();

  while (!m_path_finds.empty() && !spent(false)) {
    for (size_t i = 0; i < m_path_finds.size(); i++) {
      PathFind *p_path_find = m_path_finds[i];
      const int result = p_path_find->cycleOnce();
      work++;
      if (result == 0 || result == 2) {
        // The handler usually destroys the search: nothing of it is used after.
        EventPath event(result, p_path_find->getPath());
        p_path_find->getObject()->eventHandler(&event);
        // The handler may have changed the world.
        for (PathFind *p_other : m_path_finds)
          p_other->forgetBlocked();
      }
      // An entry that moved into slot i waits for the next pass.
      if (spent(true))
        break;
    }
  }
  if (clock.split() > budget_us)
    LogManager::getInstance().writeLog(5, "PathManager::cycle(): cycle time %d exceeded.", budget);
}

void PathManager::setWorkBudget(int expansions) { m_work_budget = expansions > 0 ? expansions : 0; }

int PathManager::getPathFindCount() const { return static_cast<int>(m_path_finds.size()); }

int PathManager::getMinCycleTime() const { return m_min_cycle_time; }

} // namespace vx
