#include "Transform.h"

namespace vx {

const char *transformToString(Transform transform) {
  switch (transform) {
  case NONE:
    return "NONE";
  case VERTICAL:
    return "VERTICAL";
  case HORIZONTAL:
    return "HORIZONTAL";
  case BOTH:
    return "BOTH";
  }
  return "UNKNOWN";
}

} // namespace vx
