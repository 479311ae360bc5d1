/// \file
/// The engine's colours. Conversions to RGB, to the window library and to text
/// live with the display manager, which owns drawing.
#ifndef VX_COLOR_H
#define VX_COLOR_H

namespace vx {

/// The engine's colours. CUSTOM stands for an RGB colour given elsewhere (a shape's, a
/// particle's).
enum Color {
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM, ///< The user of the colour carries its RGB value.
};

} // namespace vx

#endif // VX_COLOR_H
