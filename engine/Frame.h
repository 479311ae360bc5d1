/// \file
/// One rectangular picture made of characters.
#ifndef VX_FRAME_H
#define VX_FRAME_H

#include <string>

#include "Color.h"
#include "Transform.h"
#include "Vector.h"

namespace vx {

class Frame {
 private:
  int m_width;             // Columns.
  int m_height;            // Rows.
  std::string m_frame_str; // The rows one after another, without separators.

 public:
  /// An empty frame: 0 by 0, no characters. It draws nothing.
  Frame();
  Frame(int new_width, int new_height, std::string frame_str);

  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setString(std::string new_frame_str);
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
