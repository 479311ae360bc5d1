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

/// An animated picture: frames of the same size in one colour, shown one after another. Loaded
/// from a sprite file and owned by the resource manager; objects point to it through their
/// Animation.
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
  /// Frees the frames. Only the resource manager deletes sprites.
  ~Sprite();
  ///@{
  /// Not copyable: objects share a sprite through pointers.
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;
  ///@}

  /// Copies the frame into the next slot. 0, or -1 when the sprite is full.
  int addFrame(Frame new_frame);

  /// A copy of the frame, or an empty frame when the index is out of range.
  Frame getFrame(int frame_number) const;
  /// The number of frames added.
  int getFrameCount() const;

  /// Sets the width of every frame, in characters.
  void setWidth(int new_width);
  /// The width of every frame, in characters (cells).
  int getWidth() const;
  /// Sets the height of every frame, in rows.
  void setHeight(int new_height);
  /// The height of every frame, in rows (cells).
  int getHeight() const;
  /// Sets the colour every character is drawn in.
  void setColor(Color new_color);
  /// The colour every character is drawn in.
  Color getColor() const;
  /// Sets the steps each frame stays: 0 holds the first frame.
  void setSlowdown(int new_sprite_slowdown);
  /// The steps each frame stays; 0 holds the first frame.
  int getSlowdown() const;
  /// Sets the character drawn as transparent; 0 for none.
  void setTransparency(char new_transparency);
  /// The character drawn as transparent; 0 for none.
  char getTransparency() const;
  /// Sets the label the resource manager finds it by.
  void setLabel(std::string new_label);
  /// The label the resource manager finds it by.
  std::string getLabel() const;

  /// Draws one frame in the sprite's colour, centred on the position. An index
  /// out of range draws nothing and returns 0. 0, or -1 when drawing failed.
  int draw(int frame_number, Vector position, char transparent, Transform transform) const;
};

} // namespace vx

#endif // VX_SPRITE_H
