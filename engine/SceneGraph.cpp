#include "SceneGraph.h"

#include "GameManager.h"
#include "LogManager.h"

namespace vx {

namespace {

// Failures that only come from tearing the world down are not worth a line
// once the game is over.
bool quiet() { return GameManager::getInstance().getGameOver(); }

bool altitudeInRange(int altitude) { return altitude >= 0 && altitude <= MAX_ALTITUDE; }

} // namespace

SceneGraph::SceneGraph() {}

int SceneGraph::startUp() {
  // The type map is rebuilt from the active objects, and the new grid gets the
  // solid ones, so restarting with objects in the world keeps them indexed.
  m_type_map.clear();
  m_objects.forEach([this](Object *p_o) { m_type_map[p_o->getType()].insert(p_o); });

  LogManager::getInstance().writeLog(1, "Scenegraph configuration: GRID");
  int result = m_grid.startUp();
  if (result == 0)
    m_solid_objects.forEach([this](Object *p_o) { m_grid.insertObject(p_o); });
  return result;
}

void SceneGraph::shutDown() {
  m_type_map.clear();
  m_grid.shutDown();
}

int SceneGraph::insertObject(Object *p_o) {
  const LogManager &log = LogManager::getInstance();
  if (p_o == nullptr) {
    log.writeLog("SceneGraph::insertObject(): Error! Object is NULL");
    return -1;
  }
  if (!p_o->isActive())
    return m_inactive_objects.insert(p_o);

  // A failure after the first list took the object undoes the filing, so an
  // object the world refused is in none of its lists.
  bool in_grid = false;
  if (m_objects.insert(p_o) != 0) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)",
                 p_o->getId());
    return -1;
  }
  if (m_type_map[p_o->getType()].insert(p_o) != 0) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map",
                 p_o->getId());
    return unfile(p_o, in_grid);
  }
  if (p_o->isSolid()) {
    if (m_solid_objects.insert(p_o) != 0) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)",
                   p_o->getId());
      return unfile(p_o, in_grid);
    }
    if (m_grid.insertObject(p_o) != 0) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to add to Grid (id %d)",
                   p_o->getId());
      return unfile(p_o, in_grid);
    }
    in_grid = true;
  }
  if (p_o->isVisible()) {
    int altitude = p_o->getAltitude();
    if (!altitudeInRange(altitude)) {
      log.writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]",
                   altitude, 0, MAX_ALTITUDE);
      return unfile(p_o, in_grid);
    }
    if (m_visible_objects[altitude].insert(p_o) != 0) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)",
                   p_o->getId());
      return unfile(p_o, in_grid);
    }
  }
  return 0;
}

int SceneGraph::unfile(Object *p_o, bool in_grid) {
  m_objects.remove(p_o);
  auto type = m_type_map.find(p_o->getType());
  if (type != m_type_map.end())
    type->second.remove(p_o);
  m_solid_objects.remove(p_o);
  if (in_grid)
    m_grid.removeObject(p_o);
  for (ObjectSet &visible : m_visible_objects)
    visible.remove(p_o);
  return -1;
}

int SceneGraph::removeObject(Object *p_o) {
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("SceneGraph::removeObject(): Error! Object is NULL");
    return -1;
  }

  // Every removal is attempted, even after one failed.
  bool failed = false;
  if (p_o->isActive()) {
    failed |= m_objects.remove(p_o) != 0;
    auto type = m_type_map.find(p_o->getType());
    failed |= type == m_type_map.end() || type->second.remove(p_o) != 0;
    if (p_o->isVisible()) {
      int altitude = p_o->getAltitude();
      failed |= !altitudeInRange(altitude) || m_visible_objects[altitude].remove(p_o) != 0;
    }
    if (p_o->isSolid()) {
      failed |= m_solid_objects.remove(p_o) != 0;
      failed |= m_grid.removeObject(p_o) != 0;
    }
  } else {
    failed |= m_inactive_objects.remove(p_o) != 0;
  }

  if (failed) {
    LogManager::getInstance().writeLog(
        "SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.", p_o->getId(),
        static_cast<void *>(p_o));
    return -1;
  }
  return 0;
}

ObjectList SceneGraph::activeObjects() const { return m_objects.toList(); }

ObjectList SceneGraph::inactiveObjects() const { return m_inactive_objects.toList(); }

ObjectList SceneGraph::solidObjects() const { return m_solid_objects.toList(); }

const ObjectSet &SceneGraph::activeSet() const { return m_objects; }

const ObjectSet &SceneGraph::visibleSet(int altitude) const { return m_visible_objects[altitude]; }

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (!altitudeInRange(altitude)) {
    LogManager::getInstance().writeLog(
        "SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].", altitude, 0,
        MAX_ALTITUDE);
    return ObjectList();
  }
  return m_visible_objects[altitude].toList();
}

ObjectList SceneGraph::typeObjects(std::string type) const {
  auto entry = m_type_map.find(type);
  return entry == m_type_map.end() ? ObjectList() : entry->second.toList();
}

ObjectList SceneGraph::getCollisions(Object *p_o, Vector where) const {
  return m_grid.getCollisions(p_o, where);
}

void SceneGraph::collectCollisions(const Object *p_o, Vector where,
                                   std::vector<Object *> &out) const {
  m_grid.collectCollisions(p_o, where, out);
}

const Grid &SceneGraph::getGrid() const { return m_grid; }

int SceneGraph::updateActive(Object *p_o, bool new_active) {
  if (new_active == p_o->isActive())
    return 0;

  const LogManager &log = LogManager::getInstance();
  std::string type = p_o->getType();
  const char *p_type = type.c_str();
  int altitude = p_o->getAltitude();
  int result = 0;

  if (!new_active) {
    if (m_objects.remove(p_o) != 0) {
      if (!quiet())
        log.writeLog("SceneGraph::updateActive(): remove object (%s) failed for objects!", p_type);
      result = -1;
    }
    m_type_map[type].remove(p_o);
    if (p_o->isVisible() &&
        (!altitudeInRange(altitude) || m_visible_objects[altitude].remove(p_o) != 0)) {
      if (!quiet())
        log.writeLog(
            "SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!",
            p_type);
      result = -1;
    }
    if (p_o->isSolid()) {
      if (m_solid_objects.remove(p_o) != 0) {
        if (!quiet())
          log.writeLog("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!",
                       p_type);
        result = -1;
      }
      if (m_grid.removeObject(p_o) != 0)
        return -1;
    }
    if (m_inactive_objects.insert(p_o) != 0) {
      if (!quiet())
        log.writeLog("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!",
                     p_type);
      result = -1;
    }
    return result;
  }

  if (m_objects.insert(p_o) != 0) {
    if (!quiet())
      log.writeLog("SceneGraph::updateActive(): insert Object (%s) failed for objects!", p_type);
    result = -1;
  }
  if (m_type_map[type].insert(p_o) != 0) {
    log.writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!",
                 p_type);
    return -1;
  }
  if (p_o->isVisible() &&
      (!altitudeInRange(altitude) || m_visible_objects[altitude].insert(p_o) != 0)) {
    if (!quiet())
      log.writeLog("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!",
                   p_type);
    result = -1;
  }
  if (p_o->isSolid()) {
    if (m_solid_objects.insert(p_o) != 0) {
      if (!quiet())
        log.writeLog("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!",
                     p_type);
      result = -1;
    }
    // Filing looks only at the box, so the object's still-inactive state does not matter.
    if (m_grid.insertObject(p_o) != 0)
      return -1;
  }
  if (m_inactive_objects.remove(p_o) != 0) {
    if (!quiet())
      log.writeLog("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!",
                   p_type);
    result = -1;
  }
  return result;
}

int SceneGraph::updateAltitude(Object *p_o, int new_altitude) {
  if (!p_o->isActive())
    return 0;

  const LogManager &log = LogManager::getInstance();
  if (!altitudeInRange(new_altitude)) {
    log.writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.",
                 new_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  int old_altitude = p_o->getAltitude();
  if (!altitudeInRange(old_altitude)) {
    log.writeLog("SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is "
                 "unxepected. No update.",
                 old_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (!p_o->isVisible())
    return 0;

  // Once the game is over an object missing from its old list is tolerated.
  if (m_visible_objects[old_altitude].remove(p_o) != 0 && !quiet()) {
    log.writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!",
                 old_altitude);
    log.writeLog("\tObject: type %s, id %d, p %p", p_o->getType().c_str(), p_o->getId(),
                 static_cast<void *>(p_o));
    return -1;
  }
  if (m_visible_objects[new_altitude].insert(p_o) != 0) {
    log.writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!",
                 new_altitude);
    return -1;
  }
  return 0;
}

int SceneGraph::updateSolidness(Object *p_o, Solidness new_solidness) {
  if (!p_o->isActive())
    return 0;

  const LogManager &log = LogManager::getInstance();
  if (p_o->isSolid() && new_solidness == SPECTRAL) {
    if (m_solid_objects.remove(p_o) != 0 && !quiet())
      log.writeLog("SceneGraph::updateSolidness(): unable to remove solid object (%s)",
                   p_o->getType().c_str());
    if (m_grid.removeObject(p_o) != 0)
      return -1;
  }
  // HARD to SOFT and back changes no list.
  if (p_o->isSolid() || new_solidness == SPECTRAL)
    return 0;

  if (m_solid_objects.insert(p_o) != 0) {
    if (!quiet())
      log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object");
    return -1;
  }
  log.writeLog(20, "SceneGraph::updateSolidness(): Adding to grid.");
  if (m_grid.insertObject(p_o) != 0) {
    log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object (%d) into "
                 "grid",
                 p_o->getId());
    return -1;
  }
  return 0;
}

int SceneGraph::updateType(Object *p_o, std::string new_type) {
  // The type map holds active objects only, so an inactive object's type
  // changes without any list work; activation files it under the type it has then.
  if (!p_o->isActive())
    return 0;

  const LogManager &log = LogManager::getInstance();
  std::string old_type = p_o->getType();
  auto entry = m_type_map.find(old_type);
  bool removed = entry != m_type_map.end() && entry->second.remove(p_o) == 0;
  if (!removed && !quiet()) {
    log.writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s",
                 p_o->getId(), old_type.c_str());
    return -1;
  }
  if (m_type_map[new_type].insert(p_o) != 0) {
    if (!quiet())
      log.writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s",
                   p_o->getId(), old_type.c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updateVisible(Object *p_o, bool new_visible) {
  if (!p_o->isActive() || new_visible == p_o->isVisible())
    return 0;

  const LogManager &log = LogManager::getInstance();
  int altitude = p_o->getAltitude();
  if (!new_visible) {
    // Once the game is over an object missing from its list is tolerated.
    bool removed = altitudeInRange(altitude) && m_visible_objects[altitude].remove(p_o) == 0;
    if (!removed && !quiet()) {
      log.writeLog("SceneGraph::updateVisible(): unable to remove visible object (%s)",
                   p_o->getType().c_str());
      return -1;
    }
    return 0;
  }
  if (!altitudeInRange(altitude) || m_visible_objects[altitude].insert(p_o) != 0) {
    if (!quiet())
      log.writeLog("SceneGraph::updateVisible(): unable to add visible object (%s)",
                   p_o->getType().c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updatePosition(Object *p_o, Vector new_position) {
  if (!p_o->isSolid() || !p_o->isActive())
    return 0;
  if (m_grid.updatePosition(p_o, new_position) == -1) {
    LogManager::getInstance().writeLog(
        "SceneGraph::updatePosition(): Error! Calling grid updatePosition (Object %d).",
        p_o->getId());
    return -1;
  }
  return 0;
}

} // namespace vx
