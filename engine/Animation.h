/// \file
/// One object's playback of a sprite: the frame shown, how long it has been
/// shown, and the mirroring applied.
#ifndef VX_ANIMATION_H
#define VX_ANIMATION_H

#include <iosfwd>
#include <string>

#include "Box.h"
#include "Transform.h"
#include "Vector.h"

namespace vx {

class Sprite;

/// The playback of a sprite by one object: the frame shown, the steps it has been shown and the
/// mirroring. A value the object keeps; the sprite it points to belongs to the resource
/// manager.
class Animation {
 private:
  Sprite *m_p_sprite;     // The sprite played (not owned); null draws nothing.
  int m_index;            // Current frame.
  int m_slowdown_count;   // Steps the frame has been shown; -1 freezes it.
  std::string m_name;     // The sprite's label, to find it again after deserializing.
  Transform m_transform;  // Mirroring applied when drawing.
  bool m_changed;         // Set whenever any field above changes.

 public:
  /// No sprite, frame 0, not mirrored.
  Animation();

  /// Plays the sprite (null: none) from its first frame. A sprite's label
  /// becomes the animation's name.
  void setSprite(Sprite *p_new_sprite);
  /// The sprite played, or null when none. Not owned: the resource manager keeps it.
  Sprite *getSprite() const;
  /// The label of the sprite played ("" for none), used to find the sprite again after
  /// deserializing.
  std::string getName() const;

  /// Shows frame new_index (counted from 0) next.
  void setIndex(int new_index);
  /// The index of the frame shown, from 0.
  int getIndex() const;
  /// Sets how many steps the current frame has been shown; -1 freezes the animation on its
  /// frame.
  void setSlowdownCount(int new_slowdown_count);
  /// Steps the current frame has been shown; -1 when frozen.
  int getSlowdownCount() const;
  /// Sets the mirroring applied when the frames are drawn.
  void setTransform(Transform new_transform);
  /// The mirroring applied when the frames are drawn.
  Transform getTransform() const;

  /// Whether anything of the animation changed since setChanged(false).
  bool isChanged() const;
  /// Sets or clears the changed flag (the serializer clears it once written).
  void setChanged(bool changed);

  /// Draws the current frame centred on the position, then advances the
  /// animation unless it is frozen: each frame is shown for the sprite's
  /// slowdown in draws. 0, or -1 when drawing failed.
  int draw(Vector position);

  /// The sprite's size centred on (0, 0); without a sprite a box just under
  /// one cell.
  Box getBox() const;

  /// "sprite <name>, frame_idx <i>, slowdown_count <c>, transform <NAME>".
  std::string toString() const;

  /// Writes the name (64-bit length and bytes), frame index, slowdown count and
  /// transform (32-bit each), little-endian. 0, or -1 after logging when the
  /// stream is no longer good.
  int serialize(std::ostream &out) const;

  /// Reads what serialize() wrote. The sprite pointer cannot travel, so it is
  /// cleared: the caller looks the sprite up by name. On failure logs, returns
  /// -1 and leaves the animation unchanged.
  int deserialize(std::istream &in);
};

} // namespace vx

#endif // VX_ANIMATION_H
