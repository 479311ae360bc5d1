/// \file
/// The base class of everything that lives in the game world.
#ifndef VX_OBJECT_H
#define VX_OBJECT_H

#include <iosfwd>
#include <string>
#include <vector>

#include "Animation.h"
#include "Box.h"
#include "Manager.h"
#include "Path.h"
#include "Shape.h"
#include "Vector.h"

namespace vx {

class Event;
class PathFind;
class SceneGraph;
struct ObjectRecord;

/// How an object takes part in collisions.
enum Solidness {
  HARD = 0,    ///< Collides, and blocks other HARD objects.
  SOFT = 1,    ///< Collides, but does not block.
  SPECTRAL = 2 ///< Never collides.
};

/// Drawing layers run from 0 (drawn first) to MAX_ALTITUDE (drawn last).
const int MAX_ALTITUDE = 4;

/// Bits of the modified-attribute mask: which attributes changed since they
/// were last serialized.
enum ObjectAttribute : unsigned int {
  ATTR_ID = 0x1,
  ATTR_ACTIVE = 0x2,
  ATTR_VISIBLE = 0x4,
  ATTR_EVENTS = 0x8,
  ATTR_BOX = 0x10,
  ATTR_POSITION = 0x20,
  ATTR_TYPE = 0x40,
  ATTR_ANIMATION = 0x80,
  ATTR_ALTITUDE = 0x100,
  ATTR_SOLIDNESS = 0x200,
  ATTR_NO_SOFT = 0x400,
  ATTR_SPEED = 0x800,
  ATTR_DIRECTION = 0x1000,
  ATTR_ACCELERATION = 0x2000,
  ATTR_SHAPE = 0x4000,
  ATTR_PATH = 0x8000,
  ATTR_FOLLOW_PATH = 0x10000,
  ATTR_AVOID_COLLISIONS = 0x20000,
};

/// Every attribute bit: what a new object has modified.
const unsigned int ATTR_ALL = 0x3ffff;

/// "hard", "soft", "spectral" or "undefined".
std::string solidnessToString(int solidness);

/// The base of every game object. Objects are created with `new` and belong to
/// the world from then on: the world deletes them (markForDelete, or at its
/// shut-down). An object made on the stack or as a member of something else
/// would be deleted twice; the world finds those on the stack, logs them and
/// leaves them alone.
class Object {
 private:
  int m_id;                          // Unique id.
  std::string m_type;                // Game-defined type name.
  bool m_is_active;                  // Inactive objects get no events.
  bool m_is_visible;                 // Only visible objects are drawn.
  Box m_box;                         // Bounding box relative to the position.
  Vector m_position;                 // Position in world cells.
  Vector m_direction;                // Direction of motion.
  float m_speed;                     // Cells per step.
  Vector m_acceleration;             // Added to the velocity every step.
  int m_altitude;                    // Drawing layer, 0 to MAX_ALTITUDE.
  Solidness m_solidness;
  Animation m_animation;             // Sprite playback.
  bool m_no_soft;                    // Refuse moves onto SOFT objects.
  // Event types registered for, in order; at most MAX_EVENTS. Most objects
  // register for one or two, so the list grows with use rather than being
  // set aside in full for every object.
  std::vector<std::string> m_event_name;
  unsigned int m_modified;           // Attributes changed since last serialized.
  Shape m_shape;                     // Optional shape drawn at the position.
  PathFind *m_p_path_find;           // The path search still running for it; owned.
  Path m_path;                       // The path being followed.
  bool m_follow_path;                // Follow m_path every step.
  bool m_avoid_collisions;           // A HARD mover slides along HARD obstacles.
  bool m_in_world;                   // The world accepted the object at construction.

  void markModified(unsigned int attributes);

  // Removes the pending path search from the path manager and destroys it.
  void dropPathFind();

  // The scene graph that indexes the object, or null for an object the world
  // refused: such an object must never reach the world's lists, or the world
  // would delete it.
  SceneGraph *indexedBy() const;

 public:
  /// Takes the next id and inserts the object into the world.
  Object();

  /// Unregisters every interest and removes the object from the world.
  virtual ~Object();

  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;

  virtual void setType(std::string new_type);
  virtual int setPosition(Vector new_position);

  /// Handles an event; returns non-zero when handled. The base handles path
  /// events by following the path found.
  virtual int eventHandler(const Event *p_e);

  virtual int setSolidness(Solidness new_solid);
  virtual void setAvoidCollisions(bool avoid = true);
  virtual int setAltitude(int new_altitude);
  virtual void setDirection(Vector new_direction);
  virtual void setVelocity(Vector new_velocity);
  virtual void setAcceleration(Vector new_acceleration);
  virtual bool isVisible() const;
  virtual int setActive(bool active = true);
  virtual void setBox(Box new_box);
  virtual int setSprite(std::string sprite_label);
  virtual void setAnimation(Animation new_animation, bool set_box = true);
  virtual int draw();

  /// Writes the attributes that attr selects, or when attr is 0 those
  /// modified since they were last written, as one record: the mask, then the
  /// attributes in record order. Clears their modified bits. 0, or -1 after
  /// logging when the stream is no longer good.
  virtual int serialize(std::ostream &out, unsigned int attr = 0);

  /// Reads a record and applies it; the mask read goes to *p_mask when given.
  /// The whole record is read and checked first: on a short or corrupt record
  /// the object is left as it was and -1 returned after logging. Clears the
  /// modified mask: a received state is not a local change.
  virtual int deserialize(std::istream &in, unsigned int *p_mask = nullptr);

  virtual void setModified(unsigned int new_modified);
  virtual unsigned int getModified() const;
  virtual void setShape(Shape new_shape);
  virtual void setFollowPath(bool follow = true);

  /// The number the object shows, which a recorded game's world hash takes
  /// in: 0, and a view object's value.
  virtual int getShownValue() const { return 0; }

  /// The plain accessors the world calls for every object in every step are
  /// defined here, so that they cost no call.
  int getId() const { return m_id; }
  void setId(int new_id);
  const std::string &getType() const { return m_type; }
  Vector getPosition() const { return m_position; }
  Vector getDirection() const { return m_direction; }
  float getSpeed() const { return m_speed; }
  Vector getVelocity() const {
    Vector velocity = m_direction;
    velocity.scale(m_speed);
    return velocity;
  }
  Vector getAcceleration() const { return m_acceleration; }
  int getAltitude() const { return m_altitude; }
  Solidness getSolidness() const { return m_solidness; }
  bool isSolid() const { return m_solidness == HARD || m_solidness == SOFT; }
  bool getNoSoft() const { return m_no_soft; }
  void setNoSoft(bool no_soft = true);
  bool getAvoidCollisions() const { return m_avoid_collisions; }
  bool isActive() const { return m_is_active; }
  int setVisible(bool visible = true);
  Box getBox() const { return m_box; }
  Animation getAnimation() const;
  Shape getShape() const;
  bool getFollowPath() const;
  void setPath(Path new_path);
  Path getPath() const;
  bool isModified() const;

  /// Where the next move would take the object: position + velocity.
  Vector predictPosition() const { return m_position + getVelocity(); }

  /// Per-step kinematics, called by the world update.
  void applyAcceleration();
  void followPathStep();

  /// Registers or unregisters interest in an event type with the manager that
  /// keeps that type. Return 0 or -1.
  int registerInterest(std::string event_type);
  int unregisterInterest(std::string event_type);

  /// The event types registered for, in registration order.
  int getEventCount() const;
  std::string getEventName(int index) const;

  /// The id the next object will get.
  static int getNextId();

  /// The pending path search, owned by the object until its path event
  /// arrives or the object dies. Setting one removes and destroys the one
  /// before it.
  void setPathFind(PathFind *p_new_path_find);
  PathFind *getPathFind() const;

 protected:
  /// Sets the id to 0 and gives the id taken at construction back to the
  /// counter, when no later id was handed out since: many short-lived objects
  /// then leave the ids of later objects as they were.
  void releaseId();

  /// The two halves of deserialize(), for subclasses that add attributes of
  /// their own and must read all of a record before applying any of it.
  /// readRecord() reads and checks the record, logging a stream error under
  /// "Object::deserialize()"; applyRecord() applies what it selects.
  int readRecord(std::istream &in, ObjectRecord &record, unsigned int *p_mask);
  void applyRecord(const ObjectRecord &record);
};

} // namespace vx

#endif // VX_OBJECT_H
