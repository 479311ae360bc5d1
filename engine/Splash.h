/// \file
/// The engine's splash screen: the engine's name slides in from the right and
/// stops, a small winged figure rises from below to land beside it, flaps and
/// settles, and the splash ends after about three seconds. Any key skips it.
#ifndef VX_SPLASH_H
#define VX_SPLASH_H

#include "Object.h"
#include "Vector.h"

namespace vx {

class Sprite;

/// Runs the splash in a game loop of its own until it ends. 0, or -1 after
/// logging when the game manager is not started.
int splash();

/// The banner with the engine's name.
class Splash : public Object {
 private:
  int m_countdown;     // Steps until the banner stops, then on below 0.
  Sprite *m_p_sprite;  // The banner's two letterings (owned).

 public:
  /// Builds the banner just outside the right edge of the view and starts it
  /// sliding left.
  Splash();
  /// Frees the banner sprite it made (it is not the resource manager's).
  ~Splash() override;

  int eventHandler(const Event *p_e) override;
};

/// The winged figure that lands beside the banner.
class SplashVexlo : public Object {
 private:
  Vector m_target;     // Where it stops rising.
  int m_countdown;     // Steps of the figure's timeline.
  Sprite *m_p_sprite;  // The figure's current sprite (owned).

 public:
  /// Builds the figure below the view, under the target, and starts it rising.
  explicit SplashVexlo(Vector target);
  /// Frees the lettering sprite it made.
  ~SplashVexlo() override;

  int eventHandler(const Event *p_e) override;
};

} // namespace vx

#endif // VX_SPLASH_H
