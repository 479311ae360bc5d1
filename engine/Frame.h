/// \file
/// One rectangular picture made of characters.
#ifndef VX_FRAME_H
#define VX_FRAME_H

#include <string>

#include "Color.h"
#include "Transform.h"
#include "Vector.h"

namespace vx {

/// One picture of a sprite: width x height characters, stored row after row in one string. A
/// value type.
class Frame {
 private:
  int m_width;             // Columns.
  int m_height;            // Rows.
  std::string m_frame_str; // The rows one after another, without separators.

 public:
  /// An empty frame: 0 by 0, no characters. It draws nothing.
  Frame();
  /// A frame of new_width characters by new_height rows; frame_str holds the rows joined, top
  /// row first.
  Frame(int new_width, int new_height, std::string frame_str);

  /// Sets the width in characters.
  void setWidth(int new_width);
  /// The width in characters.
  int getWidth() const;
  /// Sets the height in rows.
  void setHeight(int new_height);
  /// The height in rows.
  int getHeight() const;
  /// Sets the characters, rows joined, top row first.
  void setString(std::string new_frame_str);
  /// The characters, rows joined, top row first.
  std::string getString() const;

  /// Draws the frame centred on the position in one colour, skipping the
  /// transparent character (0: every character is drawn, blanks included),
  /// mirrored as the transform says. An empty frame draws nothing and returns 0.
  /// -1 when a character cannot be drawn (drawing stops there) or when the
  /// string holds fewer than width x height characters.
  int draw(Vector position, Color color, char transparent, Transform transform) const;
};

} // namespace vx

#endif // VX_FRAME_H
