/// \file
/// The engine's colours. Conversions to RGB, to the window library and to text
/// live with the display manager, which owns drawing.
#ifndef VX_COLOR_H
#define VX_COLOR_H

namespace vx {

/// The engine's colours. CUSTOM stands for an RGB colour given elsewhere (a shape's, a
/// particle's).
enum Color {
  BLACK = 0, ///< 0.
  RED, ///< 1.
  GREEN, ///< 2.
  YELLOW, ///< 3.
  BLUE, ///< 4.
  MAGENTA, ///< 5.
  CYAN, ///< 6.
  WHITE, ///< 7.
  CUSTOM, ///< The user of the colour carries its RGB value.
};

} // namespace vx

#endif // VX_COLOR_H
