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

struct ObjectRecord {
  unsigned int mask;              ///< As written; a subclass's bits ride along.
  int id;
  bool active;
  bool visible;
  std::vector<std::string> events; ///< Event types, in registration order.
  Box box;
  Vector position;
  std::string type;
  Animation animation;
  int altitude;
  int solidness;                   ///< Unchecked: may hold any value sent.
  bool no_soft;
  Vector direction;
  float speed;
  Vector acceleration;
  Shape shape;
  bool follow_path;
  Path path;
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
