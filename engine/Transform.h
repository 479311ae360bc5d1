/// \file
/// How a frame is mirrored when it is drawn.
#ifndef VX_TRANSFORM_H
#define VX_TRANSFORM_H

namespace vx {

/// The underlying type is fixed so that any int read back from a stream is a
/// valid value; values other than the four below draw unmirrored.
enum Transform : int {
  NONE = 0,       ///< As stored.
  VERTICAL = 1,   ///< Rows drawn bottom to top.
  HORIZONTAL = 2, ///< Columns drawn right to left.
  BOTH = 3,       ///< Both mirrorings.
};

/// "NONE", "VERTICAL", "HORIZONTAL", "BOTH", or "UNKNOWN" for any other value.
const char *transformToString(Transform transform);

} // namespace vx

#endif // VX_TRANSFORM_H
