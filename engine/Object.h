/// \file
/// The base class of everything that lives in the game world.
#ifndef VX_OBJECT_H
#define VX_OBJECT_H

#include <iosfwd>
#include <string>
#include <vector>

#include "Animation.h"
#include "Box.h"
#include "Grid.h"
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
  ATTR_ID = 0x1, ///< The id.
  ATTR_ACTIVE = 0x2, ///< Active or not.
  ATTR_VISIBLE = 0x4, ///< Visible or not.
  ATTR_EVENTS = 0x8, ///< The event types registered for.
  ATTR_BOX = 0x10, ///< The box.
  ATTR_POSITION = 0x20, ///< The position.
  ATTR_TYPE = 0x40, ///< The type name.
  ATTR_ANIMATION = 0x80, ///< The animation.
  ATTR_ALTITUDE = 0x100, ///< The altitude.
  ATTR_SOLIDNESS = 0x200, ///< The solidness.
  ATTR_NO_SOFT = 0x400, ///< Refusing moves onto SOFT objects.
  ATTR_SPEED = 0x800, ///< The speed.
  ATTR_DIRECTION = 0x1000, ///< The direction.
  ATTR_ACCELERATION = 0x2000, ///< The acceleration.
  ATTR_SHAPE = 0x4000, ///< The shape.
  ATTR_PATH = 0x8000, ///< The path.
  ATTR_FOLLOW_PATH = 0x10000, ///< Following the path or not.
  ATTR_AVOID_COLLISIONS = 0x20000, ///< Sliding along HARD obstacles or not.
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
  // The fields a step reads for every object, the mover's and those it meets
  // (solidness and flags, box, motion, grid place), come first, within the
  // first 128 bytes with the virtual table: a world of many objects reads two
  // or three cache lines of each instead of all five.
  Solidness m_solidness;
  bool m_is_active;                  // Inactive objects get no events.
  bool m_is_visible;                 // Only visible objects are drawn.
  bool m_no_soft;                    // Refuse moves onto SOFT objects.
  bool m_follow_path;                // Follow m_path every step.
  bool m_avoid_collisions;           // A HARD mover slides along HARD obstacles.
  bool m_in_world;                   // The world accepted the object at construction.
  Box m_box;                         // Bounding box relative to the position.
  Vector m_position;                 // Position in world cells.
  Vector m_direction;                // Direction of motion.
  float m_speed;                     // Cells per step.
  unsigned int m_modified;           // Attributes changed since last serialized.
  Vector m_acceleration;             // Added to the velocity every step.
  GridPlace m_grid_place;            // Where the grid filed the object, if it did.
  int m_id;                          // Unique id.
  int m_altitude;                    // Drawing layer, 0 to MAX_ALTITUDE.
  PathFind *m_p_path_find;           // The path search still running for it; owned.
  std::string m_type;                // Game-defined type name.
  Animation m_animation;             // Sprite playback.
  // Event types registered for, in order; at most MAX_EVENTS. Most objects
  // register for one or two, so the list grows with use rather than being
  // set aside in full for every object.
  std::vector<std::string> m_event_name;
  Shape m_shape;                     // Optional shape drawn at the position.
  Path m_path;                       // The path being followed.

  // The grid keeps m_grid_place.
  friend class Grid;

  void markModified(unsigned int attributes);

  // Removes the pending path search from the path manager and destroys it.
  void dropPathFind();

  // The scene graph that indexes the object, or null for an object the world
  // refused: such an object must never reach the world's lists, or the world
  // would delete it.
  SceneGraph *indexedBy() const;

 protected:
  /// Takes the next id and inserts the object into the world with its type,
  /// solidness and altitude already set, so that it is filed once under them
  /// rather than under the defaults first. The solidness and altitude must be
  /// valid (HARD, SOFT or SPECTRAL; 0 to MAX_ALTITUDE).
  Object(std::string type, Solidness solidness, int altitude);

 public:
  /// Takes the next id and inserts the object into the world.
  Object();

  /// Unregisters every interest and removes the object from the world.
  virtual ~Object();

  ///@{
  /// Not copyable: an object is one thing in the world, made with new.
  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;
  ///@}

  /// Sets the game-defined type name ("Object" for a new object), which
  /// WorldManager::objectsOfType finds.
  virtual void setType(std::string new_type);
  /// Puts the object at new_position (world cells) at once, without any collision or out-of-
  /// world check (WorldManager::moveObject does those). 0.
  virtual int setPosition(Vector new_position);

  /// Handles an event; returns non-zero when handled. The base handles path
  /// events by following the path found.
  virtual int eventHandler(const Event *p_e);

  /// Sets how the object takes part in collisions (HARD by default). -1 with a log line for a
  /// value that is not a Solidness, else 0.
  virtual int setSolidness(Solidness new_solid);
  /// Makes a HARD mover slide along HARD obstacles instead of stopping at them.
  virtual void setAvoidCollisions(bool avoid = true);
  /// Sets the drawing layer: 0 is drawn first, MAX_ALTITUDE last (default 2). -1 with a log
  /// line outside 0 to MAX_ALTITUDE, else 0.
  virtual int setAltitude(int new_altitude);
  /// Sets the direction of motion (a unit vector, or zero); the speed is kept.
  virtual void setDirection(Vector new_direction);
  /// Sets the velocity in cells per step: the world moves the object by it every step.
  virtual void setVelocity(Vector new_velocity);
  /// Sets the acceleration, in cells per step per step, added to the velocity every step.
  virtual void setAcceleration(Vector new_acceleration);
  /// Whether the world draws the object (true for a new object).
  virtual bool isVisible() const;
  /// Activates or deactivates the object: an inactive one gets no events, does not move or
  /// collide and is not drawn. 0, or -1 when the world could not refile it.
  virtual int setActive(bool active = true);
  /// Sets the bounding box, relative to the position, in cells: collisions and clicks use it.
  virtual void setBox(Box new_box);
  /// Shows the sprite loaded under sprite_label, from its first frame, and takes its size as
  /// the box. -1 with a warning in the log when no sprite has that label (the object keeps what
  /// it had), else 0.
  virtual int setSprite(std::string sprite_label);
  /// Replaces the animation; with set_box, the box becomes the sprite's size.
  virtual void setAnimation(Animation new_animation, bool set_box = true);
  /// Draws the object at its position: the current frame of its sprite (advancing the
  /// animation) and its shape. Override it to draw something else. 0, or -1 when drawing
  /// failed.
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

  /// Sets the modified-attribute mask (ObjectAttribute bits).
  virtual void setModified(unsigned int new_modified);
  /// The attributes changed since they were last serialized (ObjectAttribute bits).
  virtual unsigned int getModified() const;
  /// Sets a shape drawn at the position besides the sprite (none for a new object).
  virtual void setShape(Shape new_shape);
  /// Starts or stops following the path set with setPath, at the object's speed.
  virtual void setFollowPath(bool follow = true);

  /// The number the object shows, which a recorded game's world hash takes
  /// in: 0, and a view object's value.
  virtual int getShownValue() const { return 0; }

  /// The plain accessors the world calls for every object in every step are
  /// defined here, so that they cost no call.
  int getId() const { return m_id; }
  /// Sets the id; ids handed out later stay above it. Used when a received object takes its
  /// sender's id.
  void setId(int new_id);
  /// The game-defined type name.
  const std::string &getType() const { return m_type; }
  /// The position in world cells.
  Vector getPosition() const { return m_position; }
  /// The direction of motion: a unit vector, or zero.
  Vector getDirection() const { return m_direction; }
  /// The speed in cells per step.
  float getSpeed() const { return m_speed; }
  /// The velocity in cells per step: direction times speed.
  Vector getVelocity() const {
    Vector velocity = m_direction;
    velocity.scale(m_speed);
    return velocity;
  }
  /// The acceleration in cells per step per step.
  Vector getAcceleration() const { return m_acceleration; }
  /// The drawing layer, 0 to MAX_ALTITUDE.
  int getAltitude() const { return m_altitude; }
  /// How the object takes part in collisions.
  Solidness getSolidness() const { return m_solidness; }
  /// Whether it collides at all: HARD or SOFT.
  bool isSolid() const { return m_solidness == HARD || m_solidness == SOFT; }
  /// Whether it refuses moves onto SOFT objects.
  bool getNoSoft() const { return m_no_soft; }
  /// Makes the object refuse moves onto SOFT objects as onto HARD ones.
  void setNoSoft(bool no_soft = true);
  /// Whether a HARD move slides along HARD obstacles.
  bool getAvoidCollisions() const { return m_avoid_collisions; }
  /// Whether the object gets events, moves and is drawn.
  bool isActive() const { return m_is_active; }
  /// Shows or hides the object; a hidden one still moves and collides. 0, or -1 when the world
  /// could not refile it.
  int setVisible(bool visible = true);
  /// The bounding box relative to the position, in cells.
  Box getBox() const { return m_box; }
  /// A copy of the animation.
  Animation getAnimation() const;
  /// A copy of the shape.
  Shape getShape() const;
  /// Whether the object follows its path.
  bool getFollowPath() const;
  /// Sets the path to follow (world cells); setFollowPath(true) starts it.
  void setPath(Path new_path);
  /// The path set, with the index of the next point.
  Path getPath() const;
  /// Whether any attribute changed since it was last serialized.
  bool isModified() const;

  /// Where the next move would take the object: position + velocity.
  Vector predictPosition() const { return m_position + getVelocity(); }

  /// Per-step kinematics, called by the world update.
  void applyAcceleration();
  /// Points the object at the next point of its path, dropping points within reach; called by
  /// the world every step.
  void followPathStep();

  /// Registers or unregisters interest in an event type with the manager that
  /// keeps that type. Return 0 or -1.
  int registerInterest(std::string event_type);
  /// Stops the object getting event_type. 0, or -1 when it was not registered.
  int unregisterInterest(std::string event_type);

  /// The event types registered for, in registration order.
  int getEventCount() const;
  /// The index-th event type registered for, from 0; "" outside 0 to getEventCount() - 1.
  std::string getEventName(int index) const;

  /// The id the next object will get.
  static int getNextId();

  /// The pending path search, owned by the object until its path event
  /// arrives or the object dies. Setting one removes and destroys the one
  /// before it.
  void setPathFind(PathFind *p_new_path_find);
  /// The pending path search, or null. Owned by the object.
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
  /// Applies the attributes of a record readRecord() read and checked.
  void applyRecord(const ObjectRecord &record);
};

} // namespace vx

#endif // VX_OBJECT_H
