#include "WindowSystem.h"

#include <X11/Xlib.h>

#include <algorithm>

#include <SFML/Graphics/Texture.hpp>

namespace vx {

namespace {

// Window coordinates travel as signed 16-bit numbers in the X protocol: a
// larger window cannot be drawn on to its far edge (and sizes of 65,536 and
// up wrap round to nothing).
const int X_MAX_SIDE = 32767;

} // namespace

bool displayOpens() {
  Display *p_display = XOpenDisplay(nullptr);
  if (p_display == nullptr)
    return false;
  XCloseDisplay(p_display);
  return true;
}

int maxWindowSide() {
  // What the driver draws into is no larger than its largest image.
  const unsigned int driver_side = sf::Texture::getMaximumSize();
  return static_cast<int>(std::min<unsigned int>(X_MAX_SIDE, driver_side));
}

} // namespace vx
