/// \file
/// A named sequence of frames sharing one size, colour, speed and transparent
/// character. The resource manager owns the sprites; objects point at them.
#ifndef VX_SPRITE_H
#define VX_SPRITE_H

#include <string>
#include <vector>

#include "Color.h"
#include "Frame.h"
#include "Transform.h"
#include "Vector.h"

namespace vx {

class Sprite {
 private:
  int m_width;               // Width of every frame, in cells.
  int m_height;              // Height of every frame, in cells.
  int m_max_frame_count;     // How many frames the sprite may hold.
  int m_frame_count;         // Frames added so far.
  Color m_color;             // Colour of every character.
  int m_slowdown;            // Steps each frame is shown (0 and 1: every step).
  char m_transparency;       // Character not drawn; 0 draws every character.
  std::vector<Frame> m_frame; // The frames added so far (grows up to the maximum).
  std::string m_label;       // Name the sprite is found by.

 public:
  /// A sprite with room for max_frames frames. The frames are stored as they
  /// are added, so a large maximum costs nothing until frames arrive. A negative
  /// maximum is an error: it is logged and no frame can then be added.
  explicit Sprite(int max_frames);
  ~Sprite();
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;

  /// Copies the frame into the next slot. 0, or -1 when the sprite is full.
  int addFrame(Frame new_frame);

  /// A copy of the frame, or an empty frame when the index is out of range.
  Frame getFrame(int frame_number) const;
  int getFrameCount() const;

  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setSlowdown(int new_sprite_slowdown);
  int getSlowdown() const;
  void setTransparency(char new_transparency);
  char getTransparency() const;
  void setLabel(std::string new_label);
  std::string getLabel() const;

  /// Draws one frame in the sprite's colour, centred on the position. An index
  /// out of range draws nothing and returns 0. 0, or -1 when drawing failed.
  int draw(int frame_number, Vector position, char transparent, Transform transform) const;
};

} // namespace vx

#endif // VX_SPRITE_H
