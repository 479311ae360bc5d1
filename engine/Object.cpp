#include "Object.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <istream>
#include <ostream>
#include <utility>

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventNetwork.h"
#include "EventPath.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "ObjectRecord.h"
#include "PathFind.h"
#include "PathManager.h"
#include "ResourceManager.h"
#include "SceneGraph.h"
#include "WorldManager.h"
#include "utility.h"

namespace vx {

// Particles are objects made by the thousand every second: an object stays small.
static_assert(sizeof(Object) <= 512, "an Object should take at most 512 bytes");

namespace {

// The id the next object gets; ids start at 1.
int next_id = 1;

// The next id, counting on; the counter stops at the largest int rather
// than overflow (an id received from elsewhere may be that large).
int takeId() { return next_id < INT_MAX ? next_id++ : next_id; }

bool isNetworkEvent(const std::string &event_type) {
  return event_type == NETWORK_EVENT || event_type == KEYBOARD_NETWORK_EVENT ||
         event_type == MOUSE_NETWORK_EVENT || event_type == NETWORK_CREATE_EVENT ||
         event_type == CUSTOM_NETWORK_EVENT || event_type == NETWORK_DELETE_EVENT ||
         event_type == NETWORK_GAME_OVER_EVENT || event_type == NETWORK_SYNC_EVENT;
}

// The manager that keeps interest lists for an event type.
Manager &managerFor(const std::string &event_type) {
  if (event_type == KEYBOARD_EVENT || event_type == MSE_EVENT)
    return InputManager::getInstance();
  if (event_type == STEP_EVENT)
    return GameManager::getInstance();
  if (isNetworkEvent(event_type))
    return NetworkManager::getInstance();
  return WorldManager::getInstance();
}

} // namespace

std::string solidnessToString(int solidness) {
  switch (solidness) {
  case HARD:
    return "hard";
  case SOFT:
    return "soft";
  case SPECTRAL:
    return "spectral";
  default:
    return "undefined";
  }
}

Object::Object() : Object("(Undefined)", HARD, MAX_ALTITUDE / 2) {}

Object::Object(std::string type, Solidness solidness, int altitude)
    : m_solidness(solidness), m_is_active(true), m_is_visible(true), m_no_soft(false),
      m_follow_path(false), m_avoid_collisions(false), m_in_world(false),
      m_box(Vector(-0.5f, -0.5f), 0.99f, 0.99f), m_position(1, 1), m_speed(0),
      m_modified(ATTR_ALL), m_id(takeId()), m_altitude(altitude), m_p_path_find(nullptr),
      m_type(std::move(type)) {
  m_shape.setType(-1);
  m_in_world = WorldManager::getInstance().insertObject(this) == 0;
  if (!m_in_world)
    LogManager::getInstance().writeLog("Object::Object(): Error! Unable to add %p to game world.",
                                       static_cast<void *>(this));
}

Object::~Object() {
  for (int i = getEventCount() - 1; i >= 0; i--)
    unregisterInterest(m_event_name[static_cast<size_t>(i)]);
  Manager::forgetListener(this);
  dropPathFind();
  // Searches of other objects that head for this one must not reach for it
  // once it is gone.
  PathManager::getInstance().forgetTarget(this);
  // An object the world refused was reported when it was made.
  if (m_in_world && WorldManager::getInstance().removeObject(this) != 0)
    LogManager::getInstance().writeLog(
        "Object::~Object(): Error! Unable to remove %p from game world.",
        static_cast<void *>(this));
}

void Object::markModified(unsigned int attributes) { m_modified |= attributes; }

void Object::dropPathFind() {
  if (m_p_path_find == nullptr)
    return;
  PathManager::getInstance().removePathFind(m_p_path_find);
  delete m_p_path_find;
  m_p_path_find = nullptr;
}

void Object::setPathFind(PathFind *p_new_path_find) {
  if (p_new_path_find == m_p_path_find)
    return;
  dropPathFind();
  m_p_path_find = p_new_path_find;
}

PathFind *Object::getPathFind() const { return m_p_path_find; }

SceneGraph *Object::indexedBy() const {
  return m_in_world ? &WorldManager::getInstance().getSceneGraph() : nullptr;
}

int Object::getNextId() { return next_id; }

void Object::releaseId() {
  if (m_id > 0 && m_id == next_id - 1)
    next_id--;
  setId(0);
}

void Object::setId(int new_id) {
  if (new_id == m_id)
    return;
  if (new_id >= next_id)
    next_id = new_id < INT_MAX ? new_id + 1 : INT_MAX;
  m_id = new_id;
  markModified(ATTR_ID);
}

void Object::setType(std::string new_type) {
  if (SceneGraph *p_scene_graph = indexedBy())
    p_scene_graph->updateType(this, new_type);
  m_type = new_type;
  markModified(ATTR_TYPE);
}

int Object::setPosition(Vector new_position) {
  if (new_position == m_position)
    return 0;
  if (SceneGraph *p_scene_graph = indexedBy())
    p_scene_graph->updatePosition(this, new_position);
  m_position = new_position;
  markModified(ATTR_POSITION);
  return 0;
}

int Object::setActive(bool active) {
  if (active == m_is_active)
    return 0;
  SceneGraph *p_scene_graph = indexedBy();
  if (p_scene_graph != nullptr && p_scene_graph->updateActive(this, active) != 0)
    return -1;
  m_is_active = active;
  markModified(ATTR_ACTIVE);
  return 0;
}

int Object::setVisible(bool visible) {
  if (visible == isVisible())
    return 0;
  SceneGraph *p_scene_graph = indexedBy();
  if (p_scene_graph != nullptr && p_scene_graph->updateVisible(this, visible) != 0)
    return -1;
  m_is_visible = visible;
  markModified(ATTR_VISIBLE);
  return 0;
}

bool Object::isVisible() const { return m_is_visible; }

int Object::setAltitude(int new_altitude) {
  if (new_altitude == m_altitude)
    return 0;
  if (!valueInRange(static_cast<float>(new_altitude), 0, MAX_ALTITUDE)) {
    LogManager::getInstance().writeLog(
        "Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.", new_altitude, 0,
        MAX_ALTITUDE);
    return -1;
  }
  SceneGraph *p_scene_graph = indexedBy();
  if (p_scene_graph != nullptr && p_scene_graph->updateAltitude(this, new_altitude) != 0)
    return -1;
  m_altitude = new_altitude;
  markModified(ATTR_ALTITUDE);
  return 0;
}

int Object::setSolidness(Solidness new_solid) {
  if (new_solid == m_solidness)
    return 0;
  if (new_solid != HARD && new_solid != SOFT && new_solid != SPECTRAL) {
    LogManager::getInstance().writeLog(
        "Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
        static_cast<int>(new_solid));
    return -1;
  }
  SceneGraph *p_scene_graph = indexedBy();
  if (p_scene_graph != nullptr && p_scene_graph->updateSolidness(this, new_solid) != 0)
    return -1;
  m_solidness = new_solid;
  markModified(ATTR_SOLIDNESS);
  return 0;
}

void Object::setNoSoft(bool no_soft) {
  m_no_soft = no_soft;
  markModified(ATTR_NO_SOFT);
}

void Object::setAvoidCollisions(bool avoid) {
  m_avoid_collisions = avoid;
  markModified(ATTR_AVOID_COLLISIONS);
}

void Object::setBox(Box new_box) {
  if (new_box == m_box)
    return;
  // The grid files the object by its box: take it out under the old box and
  // back in under the new one.
  SceneGraph *p_scene_graph = indexedBy();
  if (p_scene_graph != nullptr)
    p_scene_graph->removeObject(this);
  m_box = new_box;
  if (p_scene_graph != nullptr)
    p_scene_graph->insertObject(this);
  markModified(ATTR_BOX);
}

void Object::setDirection(Vector new_direction) { m_direction = new_direction; }

void Object::setVelocity(Vector new_velocity) {
  m_speed = new_velocity.getMagnitude();
  new_velocity.normalize();
  m_direction = new_velocity;
  markModified(ATTR_SPEED | ATTR_DIRECTION);
}

void Object::setAcceleration(Vector new_acceleration) {
  m_acceleration = new_acceleration;
  markModified(ATTR_ACCELERATION);
}

void Object::setShape(Shape new_shape) {
  m_shape = new_shape;
  markModified(ATTR_SHAPE);
}

Shape Object::getShape() const { return m_shape; }

void Object::setModified(unsigned int new_modified) { m_modified = new_modified; }

unsigned int Object::getModified() const { return m_modified; }

bool Object::isModified() const { return m_modified != 0; }

int Object::setSprite(std::string sprite_label) {
  Sprite *p_sprite = ResourceManager::getInstance().getSprite(sprite_label);
  if (p_sprite == nullptr) {
    LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found",
                                       sprite_label.c_str());
    return -1;
  }
  m_animation.setSprite(p_sprite);
  setBox(m_animation.getBox());
  return 0;
}

void Object::setAnimation(Animation new_animation, bool set_box) {
  m_animation = new_animation;
  markModified(ATTR_ANIMATION);
  if (set_box)
    setBox(m_animation.getBox());
}

Animation Object::getAnimation() const { return m_animation; }

int Object::draw() {
  int result = m_animation.draw(m_position);
  if (m_shape.getType() != -1)
    m_shape.draw(m_position);
  return result;
}

void Object::setPath(Path new_path) {
  m_path = new_path;
  markModified(ATTR_PATH);
}

Path Object::getPath() const { return m_path; }

void Object::setFollowPath(bool follow) {
  m_follow_path = follow;
  if (!m_path.isDone()) {
    Vector toward = m_path.getCurrent() - m_position;
    toward.normalize();
    setDirection(toward);
  }
  markModified(ATTR_FOLLOW_PATH);
}

bool Object::getFollowPath() const { return m_follow_path; }

void Object::applyAcceleration() {
  if (m_acceleration.isZero())
    return;
  setVelocity(getVelocity() + m_acceleration);
}

void Object::followPathStep() {
  if (!m_follow_path)
    return;
  // Close enough is three quarters of one step's travel.
  const double reach = static_cast<double>(m_speed) * 3.0 * 0.25;
  while (!m_path.isDone()) {
    Vector node = m_path.getCurrent();
    if (static_cast<double>(distance(m_position, node)) > reach) {
      Vector toward = node - m_position;
      toward.normalize();
      setDirection(toward);
      return;
    }
    setPosition(node);
    m_path.next();
    markModified(ATTR_PATH);
  }
  setDirection(Vector(0, 0));
  setFollowPath(false);
}

int Object::registerInterest(std::string event_type) {
  if (getEventCount() == MAX_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'",
        MAX_EVENTS, event_type.c_str());
    return -1;
  }
  if (managerFor(event_type).registerInterest(this, event_type) != 0)
    return -1;
  m_event_name.push_back(event_type);
  markModified(ATTR_EVENTS);
  return 0;
}

int Object::unregisterInterest(std::string event_type) {
  const auto entry = std::find(m_event_name.begin(), m_event_name.end(), event_type);
  if (entry == m_event_name.end()) {
    LogManager::getInstance().writeLog(
        "Object::unregisterInterest(): event '%s' not previously registered", event_type.c_str());
    return -1;
  }
  if (managerFor(event_type).unregisterInterest(this, event_type) != 0)
    return -1;
  m_event_name.erase(entry);
  markModified(ATTR_EVENTS);
  return 0;
}

int Object::getEventCount() const { return static_cast<int>(m_event_name.size()); }

std::string Object::getEventName(int index) const {
  if (index < 0 || index >= getEventCount())
    return "";
  return m_event_name[index];
}

int Object::eventHandler(const Event *p_e) {
  if (p_e->getType() != PATH_EVENT)
    return 0;
  const EventPath *p_path_event = dynamic_cast<const EventPath *>(p_e);
  if (p_path_event == nullptr) {
    LogManager::getInstance().writeLog(
        "Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
    return 0;
  }
  if (p_path_event->getResult() == 2) {
    setPath(p_path_event->getPath());
    setFollowPath(true);
  }
  dropPathFind();
  return 1;
}

int Object::serialize(std::ostream &out, unsigned int attr) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(20, "Object::serialize(): attr is %u, modified is %u (%s)", attr, m_modified,
               m_modified != 0 ? "true" : "false");
  log.writeLog(25, "\t%s", toBinaryString(attr).c_str());
  const ObjectRecord record(*this, attr != 0 ? attr : m_modified);
  record.write(out);
  m_modified &= ~(record.mask & ATTR_ALL);
  return checkStream("Object::serialize()", out);
}

int Object::deserialize(std::istream &in, unsigned int *p_mask) {
  ObjectRecord record;
  if (readRecord(in, record, p_mask) != 0)
    return -1;
  applyRecord(record);
  LogManager::getInstance().writeLog(20, "Object::deserialize(): done checking all types.");
  return 0;
}

int Object::readRecord(std::istream &in, ObjectRecord &record, unsigned int *p_mask) {
  const int result = record.read(in);
  if (p_mask != nullptr)
    *p_mask = record.mask;
  LogManager::getInstance().writeLog(20, "Object::deserialize(): attr %u (%s)", record.mask,
                                     toBinaryString(record.mask).c_str());
  if (result != 0) {
    checkStream("Object::deserialize()", in);
    return -1;
  }
  return 0;
}

void Object::applyRecord(const ObjectRecord &record) {
  const LogManager &log = LogManager::getInstance();
  if (record.has(ATTR_ID))
    setId(record.id);
  if (record.has(ATTR_ACTIVE))
    setActive(record.active);
  if (record.has(ATTR_VISIBLE))
    setVisible(record.visible);
  if (record.has(ATTR_EVENTS)) {
    for (int i = getEventCount() - 1; i >= 0; i--)
      unregisterInterest(m_event_name[static_cast<size_t>(i)]);
    for (const std::string &name : record.events)
      if (registerInterest(name) != 0)
        log.writeLog("Object::deserialize(): Error! Register interest: %s", name.c_str());
  }
  if (record.has(ATTR_BOX))
    setBox(record.box);
  if (record.has(ATTR_POSITION))
    setPosition(record.position);
  if (record.has(ATTR_TYPE))
    setType(record.type);
  if (record.has(ATTR_ANIMATION)) {
    setAnimation(record.animation, true);
    // The sprite cannot travel: look it up by name, then restore where the
    // sender's playback was.
    if (!record.animation.getName().empty()) {
      setSprite(record.animation.getName());
      Animation animation = m_animation;
      animation.setIndex(record.animation.getIndex());
      animation.setSlowdownCount(record.animation.getSlowdownCount());
      setAnimation(animation, true);
    }
    // The animation sets the box to its sprite's; a box sent along is the
    // sender's actual box and wins.
    if (record.has(ATTR_BOX))
      setBox(record.box);
  }
  if (record.has(ATTR_ALTITUDE))
    setAltitude(record.altitude);
  if (record.has(ATTR_SOLIDNESS)) {
    // Checked here: a number from elsewhere is not necessarily a Solidness.
    if (record.solidness == HARD || record.solidness == SOFT || record.solidness == SPECTRAL)
      setSolidness(static_cast<Solidness>(record.solidness));
    else
      log.writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                   record.solidness);
  }
  if (record.has(ATTR_NO_SOFT))
    m_no_soft = record.no_soft;
  if (record.has(ATTR_DIRECTION))
    setDirection(record.direction);
  if (record.has(ATTR_SPEED))
    m_speed = record.speed;
  if (record.has(ATTR_ACCELERATION))
    setAcceleration(record.acceleration);
  if (record.has(ATTR_SHAPE))
    setShape(record.shape);
  // A path that arrives with the follow flag is taken first, so the object
  // follows it from its first node rather than aiming at the old path.
  if (record.has(ATTR_PATH))
    m_path = Path(record.path.getPositions());
  if (record.has(ATTR_FOLLOW_PATH))
    setFollowPath(record.follow_path);
  if (record.has(ATTR_AVOID_COLLISIONS))
    setAvoidCollisions(record.avoid_collisions);
  m_modified = 0;
  record.log();
}

} // namespace vx
