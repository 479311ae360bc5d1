#include "ObjectRecord.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "LogManager.h"
#include "Manager.h"
#include "Object.h"
#include "utility.h"

namespace vx {

namespace {

const char *boolText(bool value) { return value ? "true" : "false"; }

bool readInt(std::istream &in, int &value) {
  std::int32_t raw;
  if (!readInt32(in, raw))
    return false;
  value = raw;
  return true;
}

// The event type names: an int32 count, then each name as a string. A count
// the object could not hold, or that the stream cannot hold (8 bytes of
// length at least per name), fails the stream before anything is allocated.
bool readEvents(std::istream &in, std::vector<std::string> &events) {
  int count = 0;
  if (!readInt(in, count))
    return false;
  if (count < 0 || count > MAX_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::deserialize(): Error! Record holds %d event types, at most %d allowed.", count,
        MAX_EVENTS);
    in.setstate(std::ios::failbit);
    return false;
  }
  if (static_cast<std::uint64_t>(count) > bytesLeft(in) / 8) {
    in.setstate(std::ios::eofbit | std::ios::failbit); // The data ends before the names.
    return false;
  }
  events.resize(static_cast<size_t>(count));
  for (std::string &name : events) {
    if (!readString(in, name))
      return false;
    LogManager::getInstance().writeLog(25, "\t\tsize %d", static_cast<int>(name.size()));
  }
  return true;
}

} // namespace

ObjectRecord::ObjectRecord()
    : mask(0), id(0), active(false), visible(false), altitude(0), solidness(0), no_soft(false),
      speed(0), follow_path(false), avoid_collisions(false) {}

ObjectRecord::ObjectRecord(const Object &object, unsigned int new_mask) : ObjectRecord() {
  mask = new_mask;
  id = object.getId();
  active = object.isActive();
  visible = object.isVisible();
  if (has(ATTR_EVENTS))
    for (int i = 0; i < object.getEventCount(); i++)
      events.push_back(object.getEventName(i));
  box = object.getBox();
  position = object.getPosition();
  if (has(ATTR_TYPE))
    type = object.getType();
  if (has(ATTR_ANIMATION))
    animation = object.getAnimation();
  altitude = object.getAltitude();
  solidness = object.getSolidness();
  no_soft = object.getNoSoft();
  direction = object.getDirection();
  speed = object.getSpeed();
  acceleration = object.getAcceleration();
  if (has(ATTR_SHAPE))
    shape = object.getShape();
  follow_path = object.getFollowPath();
  if (has(ATTR_PATH))
    path = object.getPath();
  avoid_collisions = object.getAvoidCollisions();
}

bool ObjectRecord::has(unsigned int attribute) const { return (mask & attribute) != 0; }

void ObjectRecord::write(std::ostream &out) const {
  writeUint32(out, mask);
  if (has(ATTR_ID))
    writeInt32(out, id);
  if (has(ATTR_ACTIVE))
    writeBool(out, active);
  if (has(ATTR_VISIBLE))
    writeBool(out, visible);
  if (has(ATTR_EVENTS)) {
    writeInt32(out, static_cast<std::int32_t>(events.size()));
    for (const std::string &name : events)
      writeString(out, name);
  }
  if (has(ATTR_BOX))
    box.serialize(out);
  if (has(ATTR_POSITION))
    position.serialize(out);
  if (has(ATTR_TYPE))
    writeString(out, type);
  if (has(ATTR_ANIMATION))
    animation.serialize(out);
  if (has(ATTR_ALTITUDE))
    writeInt32(out, altitude);
  if (has(ATTR_SOLIDNESS))
    writeInt32(out, solidness);
  if (has(ATTR_NO_SOFT))
    writeBool(out, no_soft);
  if (has(ATTR_DIRECTION))
    direction.serialize(out);
  if (has(ATTR_SPEED))
    writeFloat(out, speed);
  if (has(ATTR_ACCELERATION))
    acceleration.serialize(out);
  if (has(ATTR_SHAPE))
    shape.serialize(out);
  if (has(ATTR_FOLLOW_PATH))
    writeBool(out, follow_path);
  if (has(ATTR_PATH))
    path.serialize(out);
  if (has(ATTR_AVOID_COLLISIONS))
    writeBool(out, avoid_collisions);
  log();
}

int ObjectRecord::read(std::istream &in) {
  std::uint32_t raw_mask = 0;
  if (!readUint32(in, raw_mask)) {
    in.setstate(std::ios::failbit);
    return -1;
  }
  mask = raw_mask;
  // Each read runs only while every read before it succeeded.
  bool ok = true;
  ok = ok && (!has(ATTR_ID) || readInt(in, id));
  ok = ok && (!has(ATTR_ACTIVE) || readBool(in, active));
  ok = ok && (!has(ATTR_VISIBLE) || readBool(in, visible));
  ok = ok && (!has(ATTR_EVENTS) || readEvents(in, events));
  ok = ok && (!has(ATTR_BOX) || box.deserialize(in) == 0);
  ok = ok && (!has(ATTR_POSITION) || position.deserialize(in) == 0);
  ok = ok && (!has(ATTR_TYPE) || readString(in, type));
  ok = ok && (!has(ATTR_ANIMATION) || animation.deserialize(in) == 0);
  ok = ok && (!has(ATTR_ALTITUDE) || readInt(in, altitude));
  ok = ok && (!has(ATTR_SOLIDNESS) || readInt(in, solidness));
  ok = ok && (!has(ATTR_NO_SOFT) || readBool(in, no_soft));
  ok = ok && (!has(ATTR_DIRECTION) || direction.deserialize(in) == 0);
  ok = ok && (!has(ATTR_SPEED) || readFloat(in, speed));
  ok = ok && (!has(ATTR_ACCELERATION) || acceleration.deserialize(in) == 0);
  ok = ok && (!has(ATTR_SHAPE) || shape.deserialize(in) == 0);
  ok = ok && (!has(ATTR_FOLLOW_PATH) || readBool(in, follow_path));
  ok = ok && (!has(ATTR_PATH) || path.deserialize(in) == 0);
  ok = ok && (!has(ATTR_AVOID_COLLISIONS) || readBool(in, avoid_collisions));
  if (ok && in.good())
    return 0;
  in.setstate(std::ios::failbit);
  return -1;
}

void ObjectRecord::log() const {
  const LogManager &log = LogManager::getInstance();
  if (log.getLogLevel() < 25)
    return; // Spare building the descriptions nobody reads.
  if (has(ATTR_ID))
    log.writeLog(25, "\tID: %d", id);
  if (has(ATTR_ACTIVE))
    log.writeLog(25, "\tACTIVE: %s", boolText(active));
  if (has(ATTR_VISIBLE))
    log.writeLog(25, "\tVISIBLE: %s", boolText(visible));
  if (has(ATTR_EVENTS)) {
    log.writeLog(25, "\tEVENTS: %d", static_cast<int>(events.size()));
    for (const std::string &name : events)
      log.writeLog(25, "\t\t%s (size %d)", name.c_str(), static_cast<int>(name.size()));
  }
  if (has(ATTR_BOX))
    log.writeLog(25, "\tBOX: %s", box.toString().c_str());
  if (has(ATTR_POSITION))
    log.writeLog(25, "\tPOSITION: %s", position.toString().c_str());
  if (has(ATTR_TYPE))
    log.writeLog(25, "\tTYPE: %s", type.c_str());
  if (has(ATTR_ANIMATION))
    log.writeLog(25, "\tANIMATION: %s", animation.toString().c_str());
  if (has(ATTR_ALTITUDE))
    log.writeLog(25, "\tALTITUDE: %d", altitude);
  if (has(ATTR_SOLIDNESS))
    log.writeLog(25, "\tSOLIDNESS: %s", solidnessToString(solidness).c_str());
  if (has(ATTR_NO_SOFT))
    log.writeLog(25, "\tNO_SOFT: %s", boolText(no_soft));
  if (has(ATTR_DIRECTION))
    log.writeLog(25, "\tDIRECTION: %s", direction.toString().c_str());
  if (has(ATTR_SPEED))
    log.writeLog(25, "\tSPEED: %f", static_cast<double>(speed));
  if (has(ATTR_ACCELERATION))
    log.writeLog(25, "\tACCELERATION: %s", acceleration.toString().c_str());
  if (has(ATTR_SHAPE))
    log.writeLog(25, "\tSHAPE: %s", shape.toString().c_str());
  if (has(ATTR_FOLLOW_PATH))
    log.writeLog(25, "\tFOLLOW_PATH: %s", boolText(follow_path));
  if (has(ATTR_PATH))
    log.writeLog(25, "\tPATH: %s", path.toString().c_str());
  if (has(ATTR_AVOID_COLLISIONS))
    log.writeLog(25, "\tAVOID_COLLISIONS: %s", boolText(avoid_collisions));
}

} // namespace vx
