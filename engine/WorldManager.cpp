#include "WorldManager.h"

#include <algorithm>
#include <cmath>

#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Object.h"
#include "ViewObject.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

// Walks a snapshot of objects. An object that leaves the world while the walk
// is under way (its destructor calls removeObject) is dropped from the
// snapshot, so the walk never hands out a deleted object. The walk can also
// watch one object that is not part of the snapshot, such as the mover of a
// collision check, and tell whether it is still there. The snapshot's storage
// is the world's, reused by the next walk at the same depth.
class WorldManager::ObjectWalk {
 private:
  WorldManager &m_world;
  ObjectSnapshot &m_snapshot; // The objects to walk.
  Object *m_p_current;        // The object handed out last, null once it is gone.
  const Object *m_p_watched;  // An extra object to watch, or null.
  bool m_watched_gone;        // The watched object has left the world.

 public:
  explicit ObjectWalk(WorldManager &world, const Object *p_watched = nullptr)
      : m_world(world), m_snapshot(world.m_snapshots.push()), m_p_current(nullptr),
        m_p_watched(p_watched), m_watched_gone(false) {
    m_world.m_walks.push_back(this);
  }

  ~ObjectWalk() {
    m_world.m_walks.pop_back();
    m_world.m_snapshots.pop();
  }

  ObjectWalk(const ObjectWalk &) = delete;
  ObjectWalk &operator=(const ObjectWalk &) = delete;

  // Starts the walk over a set's objects, or over those put into fill().
  void take(const ObjectSet &set) { m_snapshot.take(set); }
  std::vector<Object *> &fill() { return m_snapshot.fill(); }
  bool isEmpty() const { return m_snapshot.isEmpty(); }

  // Starts loading what the moves a few objects ahead will read: the objects
  // themselves furthest ahead, then the grid cells under them, then the
  // contents of those cells. A world too big for the caches then waits on
  // memory for one mover at a time no longer.
  void prefetchAhead(const SceneGraph &scene_graph) const {
    const size_t AHEAD = 8;
    if (const Object *p_ahead = m_snapshot.peek(2 * AHEAD))
      for (size_t line = 0; line < 128 + 64; line += 64)
        __builtin_prefetch(reinterpret_cast<const char *>(p_ahead) + std::min<size_t>(line, 127));
    if (const Object *p_ahead = m_snapshot.peek(AHEAD))
      scene_graph.prefetch(p_ahead, false);
    if (const Object *p_ahead = m_snapshot.peek(AHEAD / 2))
      scene_graph.prefetch(p_ahead, true);
  }

  // The next object still in the world, or null at the end.
  Object *next() {
    m_p_current = m_snapshot.next();
    return m_p_current;
  }

  // True while the object handed out last is still in the world.
  bool currentAlive() const { return m_p_current != nullptr; }

  // True while the watched object is still in the world.
  bool watchedAlive() const { return !m_watched_gone; }

  // Called when an object leaves the world (the snapshots hear of it apart).
  void forget(const Object *p_o) {
    if (p_o == m_p_watched)
      m_watched_gone = true;
    if (p_o == m_p_current)
      m_p_current = nullptr;
  }
};

namespace {

// The first HARD object of a list, or null.
Object *firstHard(const std::vector<Object *> &list) {
  for (Object *p_o : list)
    if (p_o->getSolidness() == HARD)
      return p_o;
  return nullptr;
}

bool contains(const ObjectList &list, const Object *p_o) {
  for (int i = 0; i < list.getCount(); i++)
    if (list[i] == p_o)
      return true;
  return false;
}

// The direction a mover slides in along an obstacle with the given normal:
// the component along the normal is dropped, the one across it kept; at a
// corner (both components of the normal 1) x is turned round as well.
Vector slideDirection(Vector direction, Vector normal) {
  float nx = std::fabs(normal.getX()), ny = std::fabs(normal.getY());
  Vector slide(direction.getX() * ny, direction.getY() * nx);
  if (nx == 1 && ny == 1)
    slide.setX(-slide.getX());
  return slide;
}

// The coordinate of a view centre moved just far enough that `position` lies
// within `half_zone` of it.
float followAxis(float centre, float half_zone, float position) {
  if (position < centre - half_zone)
    return centre - (centre - half_zone - position);
  if (position > centre + half_zone)
    return centre + (position - (centre + half_zone));
  return centre;
}

// The view corner coordinate that centres a view of `extent` on `centre`,
// kept within 0 to `limit`.
float clampView(float centre, float extent, float limit) {
  float corner = centre - extent / 2;
  if (corner + extent > limit)
    corner = limit - extent;
  return std::max(0.0f, corner);
}

} // namespace

WorldManager::WorldManager() : m_p_view_following(nullptr) { setType("WorldManager"); }

WorldManager &WorldManager::getInstance() {
  static WorldManager world_manager;
  return world_manager;
}

int WorldManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  m_deletions.clear();
  m_boundary = Box();
  m_view = Box();
  m_view_slack = Vector();
  m_p_view_following = nullptr;
  if (m_scene_graph.startUp() != 0) {
    LogManager::getInstance().writeLog(
        "WorldManager::startUp(): Error! Unable to startup Scenegraph");
    return -1;
  }
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "WorldManager::startUp(): successfully started.");
  return 0;
}

void WorldManager::shutDown() {
  Manager::shutDown();

  // Everything in the world goes, active objects first, and so do objects
  // marked for deletion that never made it into the world.
  ObjectSet marked = std::move(m_deletions);
  m_deletions.clear();
  m_scene_graph.activeSet().forEach([this](Object *p_o) { m_deletions.insert(p_o); });
  const ObjectList inactive = m_scene_graph.inactiveObjects();
  for (int i = 0; i < inactive.getCount(); i++)
    m_deletions.insert(inactive[i]);
  marked.forEach([this](Object *p_o) { m_deletions.insert(p_o); });
  deleteMarked();
  m_p_view_following = nullptr;

  m_scene_graph.shutDown();
  LogManager::getInstance().writeLog(5, "WorldManager::shutDown(): Successfully stopped.");
}

int WorldManager::insertObject(Object *p_o) {
  if (!isStarted()) {
    const LogManager &log_manager = LogManager::getInstance();
    log_manager.writeLog(2, "WorldManager::insertObject(): Warning! Not adding Object %d",
                         p_o->getId());
    log_manager.writeLog(2, "                              because WorldManager not started.");
    return -1;
  }
  return m_scene_graph.insertObject(p_o);
}

int WorldManager::removeObject(Object *p_o) {
  // Nothing may keep pointing at an object that leaves the world.
  if (p_o == m_p_view_following)
    m_p_view_following = nullptr;
  m_deletions.remove(p_o);
  m_snapshots.forget(p_o);
  for (ObjectWalk *p_walk : m_walks)
    p_walk->forget(p_o);
  return m_scene_graph.removeObject(p_o);
}

int WorldManager::markForDelete(Object *p_o) {
  if (m_deletions.contains(p_o))
    return 0;
  if (m_deletions.insert(p_o) != 0) {
    LogManager::getInstance().writeLog(
        "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
        static_cast<void *>(p_o));
    return -1;
  }
  return 0;
}

void WorldManager::deleteMarked() {
  // Each deletion takes the object off the list first; a destructor may mark
  // more objects, which are deleted in the same walk, or delete a marked one
  // itself, which removeObject takes off the list.
  while (Object *p_o = m_deletions.first()) {
    m_deletions.remove(p_o);
    // An object on the stack was not made with new: deleting it would free
    // what was never allocated. It leaves the world when its scope ends.
    if (isOnStack(p_o)) {
      LogManager::getInstance().writeLog("WorldManager: Error! Object %d (%s) is on the stack, "
                                         "not made with new; not deleting it.",
                                         p_o->getId(), p_o->getType().c_str());
      continue;
    }
    delete p_o;
  }
}

ObjectList WorldManager::getAllObjects(bool inactive) const {
  ObjectList all = m_scene_graph.activeObjects();
  if (inactive)
    all = all + m_scene_graph.inactiveObjects();
  return all;
}

ObjectList WorldManager::getCollisions(Object *p_o, Vector where) const {
  return m_scene_graph.getCollisions(p_o, where);
}

int WorldManager::moveObject(Object *p_o, Vector where) {
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("WorldManager::moveObject(): Error! Object is NULL");
    return -1;
  }

  // The walk keeps the collision list and the mover safe from handlers that
  // take objects out of the world; its list is the world's, kept from one
  // move to the next, so a move allocates nothing.
  ObjectWalk walk(*this, p_o);
  std::vector<Object *> &list = walk.fill();
  if (p_o->isSolid()) {
    m_scene_graph.collectCollisions(p_o, where, list);
    for (const Object *p_hit : list)
      __builtin_prefetch(p_hit);

    // A HARD mover that avoids collisions slides along the first HARD
    // obstacle instead of running into it, for this move only.
    Object *p_obstacle = nullptr;
    if (!list.empty() && p_o->getSolidness() == HARD && p_o->getAvoidCollisions())
      p_obstacle = firstHard(list);
    if (p_obstacle != nullptr) {
      Vector slide = slideDirection(p_o->getDirection(), getNormal(p_o, p_obstacle));
      slide.normalize();
      slide.scale(p_o->getSpeed());
      Vector where2 = p_o->getPosition() + slide;
      std::vector<Object *> &list2 = walk.fill();
      m_scene_graph.collectCollisions(p_o, where2, list2);
      if (firstHard(list2) != nullptr) {
        LogManager::getInstance().writeLog(
            5, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot "
               "move.");
        return -1;
      }
      where = where2;
    }
  }

  if (!walk.isEmpty()) {
    bool move = true;
    const Vector before = p_o->getPosition();
    for (Object *p_o2 = walk.next(); p_o2 != nullptr; p_o2 = walk.next()) {
      EventCollision collision(p_o, p_o2, where);
      p_o->eventHandler(&collision);
      if (!walk.watchedAlive())
        return -1;
      if (!walk.currentAlive())
        continue;
      p_o2->eventHandler(&collision);
      if (!walk.watchedAlive())
        return -1;
      if (!walk.currentAlive())
        continue;
      if (p_o->getSolidness() == HARD && p_o2->getSolidness() == HARD)
        move = false;
      if (p_o->getNoSoft() && p_o2->getSolidness() == SOFT)
        move = false;
    }
    if (!move)
      return -1;
    // A handler that placed the mover elsewhere has the last word.
    if (p_o->getPosition() != before)
      return -1;
  }

  const Box box_before = getWorldBox(p_o);
  p_o->setPosition(where);
  const Box box_after = getWorldBox(p_o);

  if (boxIntersectsBox(box_before, m_boundary) && !boxIntersectsBox(box_after, m_boundary)) {
    EventOut out;
    p_o->eventHandler(&out);
    if (!walk.watchedAlive())
      return 0;
  }

  if (p_o == m_p_view_following) {
    Vector corner = m_view.getCorner();
    float width = m_view.getHorizontal(), height = m_view.getVertical();
    Vector position = p_o->getPosition();
    float centre_x = followAxis(corner.getX() + width / 2, m_view_slack.getX() * width / 2,
                                position.getX());
    float centre_y = followAxis(corner.getY() + height / 2, m_view_slack.getY() * height / 2,
                                position.getY());
    setViewPosition(Vector(centre_x, centre_y));
  }
  return 0;
}

void WorldManager::update() {
  {
    // Objects created or activated during the walk move from the next step on.
    ObjectWalk walk(*this);
    walk.take(m_scene_graph.activeSet());
    for (Object *p_o = walk.next(); p_o != nullptr; p_o = walk.next()) {
      walk.prefetchAhead(m_scene_graph);
      Vector new_position = p_o->predictPosition();
      if (new_position != p_o->getPosition())
        moveObject(p_o, new_position);
      if (!walk.currentAlive())
        continue;
      p_o->followPathStep();
      if (!walk.currentAlive())
        continue;
      p_o->applyAcceleration();
    }
  }
  deleteMarked();
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
    ObjectWalk walk(*this);
    walk.take(m_scene_graph.visibleSet(altitude));
    for (Object *p_o = walk.next(); p_o != nullptr; p_o = walk.next()) {
      // View objects sit in view coordinates and are always drawn.
      if (boxIntersectsBox(getWorldBox(p_o), m_view) || dynamic_cast<ViewObject *>(p_o) != nullptr)
        p_o->draw();
    }
  }
}

int WorldManager::setBoundary(Box new_boundary) {
  if (new_boundary == m_boundary)
    return 0;
  const Box old_boundary = m_boundary;
  m_boundary = new_boundary;
  if (!isStarted())
    return 0;

  // The scene graph builds its grid for the new extent and files the objects
  // already in the world again. Before start-up there is no grid to rebuild:
  // starting the world builds it. A boundary the grid refuses is not taken:
  // the world keeps the old one, with a grid that holds its objects.
  m_scene_graph.shutDown();
  if (m_scene_graph.startUp() == 0)
    return 0;
  LogManager::getInstance().writeLog(
      "WorldManager::setBoundary(): Error! Unable to restart Scenegraph");
  m_boundary = old_boundary;
  m_scene_graph.shutDown();
  m_scene_graph.startUp();
  return -1;
}

Box WorldManager::getBoundary() const { return m_boundary; }

void WorldManager::setView(Box new_view) { m_view = new_view; }

Box WorldManager::getView() const { return m_view; }

void WorldManager::setViewSlack(Vector new_view_slack) {
  if (!valueInRange(new_view_slack.getX(), 0, 1) || !valueInRange(new_view_slack.getY(), 0, 1))
    LogManager::getInstance().writeLog(
        "WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
  m_view_slack = new_view_slack;
}

Vector WorldManager::getViewSlack() const { return m_view_slack; }

void WorldManager::setViewPosition(Vector view_pos) {
  float x = clampView(view_pos.getX(), m_view.getHorizontal(), m_boundary.getHorizontal());
  float y = clampView(view_pos.getY(), m_view.getVertical(), m_boundary.getVertical());
  m_view.setCorner(Vector(x, y));
}

int WorldManager::setViewFollowing(Object *p_new_view_following) {
  if (p_new_view_following == nullptr) {
    m_p_view_following = nullptr;
    return 0;
  }
  if (!contains(getAllObjects(true), p_new_view_following)) {
    LogManager::getInstance().writeLog(
        "WorldManager::setViewFollowing(): Error! Object %p is not in the world.",
        static_cast<void *>(p_new_view_following));
    return -1;
  }
  m_p_view_following = p_new_view_following;
  setViewPosition(p_new_view_following->getPosition());
  return 0;
}

Object *WorldManager::getViewFollowing() const { return m_p_view_following; }

SceneGraph &WorldManager::getSceneGraph() { return m_scene_graph; }

bool WorldManager::isValid(std::string event_type) const {
  if (event_type == KEYBOARD_EVENT || event_type == MSE_EVENT || event_type == STEP_EVENT) {
    LogManager::getInstance().writeLog("WorldManager::isValid(): WorldManager does not handle %s",
                                       event_type.c_str());
    return false;
  }
  if (event_type == COLLISION_EVENT || event_type == OUT_EVENT) {
    LogManager::getInstance().writeLog("WorldManager::isValid(): Event %s handled automatically.",
                                       event_type.c_str());
    return false;
  }
  return true;
}

} // namespace vx
