/// \file
/// One serialized object: the attribute mask and the attributes it selects, in
/// their byte order. An object is read into a record first and takes it only
/// when the whole record arrived intact, so bad or short data from another
/// machine never leaves an object half changed.
#ifndef VX_OBJECT_RECORD_H
#define VX_OBJECT_RECORD_H

#include <iosfwd>
#include <string>
#include <vector>

#include "Animation.h"
#include "Box.h"
#include "Path.h"
#include "Shape.h"
#include "Vector.h"

namespace vx {

class Object;

/// The attributes of one serialized object record, read and checked whole before any of them is
/// applied. Only the fields whose bit is in mask were read.
struct ObjectRecord {
  unsigned int mask;              ///< As written; a subclass's bits ride along.
  /// The object's id.
  int id;
  /// Whether it is active.
  bool active;
  /// Whether it is visible.
  bool visible;
  std::vector<std::string> events; ///< Event types, in registration order.
  /// The box relative to the position, cells.
  Box box;
  /// The position, world cells.
  Vector position;
  /// The type name.
  std::string type;
  /// The animation (the sprite found again by its name).
  Animation animation;
  /// The drawing layer.
  int altitude;
  int solidness;                   ///< Unchecked: may hold any value sent.
  /// Whether it refuses moves onto SOFT objects.
  bool no_soft;
  /// The direction of motion.
  Vector direction;
  /// The speed, cells per step.
  float speed;
  /// The acceleration, cells per step per step.
  Vector acceleration;
  /// The shape drawn.
  Shape shape;
  /// Whether it follows its path.
  bool follow_path;
  /// The path.
  Path path;
  /// Whether a HARD move slides along HARD obstacles.
  bool avoid_collisions;

  /// An empty record: mask 0.
  ObjectRecord();

  /// The attributes of the object that the mask selects, with that mask.
  ObjectRecord(const Object &object, unsigned int new_mask);

  /// Whether the mask selects the attribute.
  bool has(unsigned int attribute) const;

  /// Writes the mask, then the selected attributes in record order, and logs
  /// them (level 25).
  void write(std::ostream &out) const;

  /// Reads the mask and the attributes it selects. Returns 0, or -1 with the
  /// stream failed: on a short stream, a length or count beyond what the
  /// stream holds, or more event types than an object can hold (logged). The
  /// mask is set as soon as it was read.
  int read(std::istream &in);

  /// Writes one level-25 line per selected attribute, in record order.
  void log() const;
};

} // namespace vx

#endif // VX_OBJECT_RECORD_H
