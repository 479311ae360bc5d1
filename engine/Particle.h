/// \file
/// Particles: short-lived coloured circles that fly off a point and delete
/// themselves after a number of steps, fireworks that leave a trail of smaller
/// particles, and the generators that spray many of them at once.
#ifndef VX_PARTICLE_H
#define VX_PARTICLE_H

#include "Color.h"
#include "Object.h"
#include "Vector.h"

namespace vx {

/// What the general generator creates. Any int converts safely; values other
/// than these are refused by the generator.
enum ParticleKind : int {
  PLAIN_PARTICLE = 0,    ///< A Particle.
  FIREWORK_PARTICLE = 1, ///< A Firework.
};

/// The presets of the preset generator; other values create nothing.
enum ParticleEffect : int {
  HAZE = 0,       ///< Half-transparent puffs rising slowly.
  BURST = 1,      ///< A splash in random directions, each particle at its own speed.
  SHOCKWAVE = 2,  ///< A ring growing at one speed.
  SKYROCKETS = 3, ///< A few fireworks shot upward, arcing down with trails.
};

/// A short-lived coloured dot: a SPECTRAL object drawn as a circle, which deletes itself when
/// its age runs out or it leaves the world. Made with new (see the add functions below), owned
/// by the world.
class Particle : public Object {
 private:
  int m_age; // Steps left to live.

 protected:
  /// A particle filed in the world under the type given.
  Particle(const char *type, float size, int age, unsigned char opacity, unsigned char r,
           unsigned char g, unsigned char b);

 public:
  /// A SPECTRAL circle of `size` pixels in the RGB colour and opacity, drawn
  /// over everything else (altitude 4), living `age` steps. Every particle has
  /// id 0 and leaves the id counter as it found it.
  Particle(float size, int age, unsigned char opacity, unsigned char r, unsigned char g,
           unsigned char b);

  /// "vx-step" ages the particle and marks it for deletion when its age runs
  /// out; "vx-out" marks it at once. 1 for those two, 0 for anything else.
  int eventHandler(const Event *p_e) override;

  /// Only the object part travels, with a warning (level 1): the particle's
  /// own attributes are not written, and a particle cannot be rebuilt from them.
  int serialize(std::ostream &out, unsigned int attr = 0) override;
  int deserialize(std::istream &in, unsigned int *p_mask = nullptr) override;

  /// The steps it has left to live.
  int getAge() const;
};

/// A particle that leaves a trail of fading particles behind it as it falls; SKYROCKETS shoots
/// them.
class Firework : public Particle {
 private:
  unsigned char m_r, m_g, m_b; // Colour, for the trail.
  [[maybe_unused]] unsigned char m_opacity; // Opacity it was created with (the trail is opaque).
  int m_initial_age;           // The age it was created with.
  float m_size;                // Size in pixels.

 public:
  /// A particle pulled slowly downward (acceleration (0, 0.01)).
  Firework(float size, int age, unsigned char opacity, unsigned char r, unsigned char g,
           unsigned char b);

  /// The particle's handling; then every step leaves an opaque trail particle of
  /// half the size, living a quarter of the initial age, where the firework is,
  /// on its last step too.
  int eventHandler(const Event *p_e) override;
};

/// Creates `count` particles of the kind with randomised values: each value is
/// spread around its centre by up to half its spread, a direction of (0, 0)
/// picks a random direction per particle, colour spread offsets every non-zero
/// component alike (clamped) and opacity spread wraps in 8 bits. Every random
/// draw goes through randomInt(), in a fixed order, so a seeded run repeats.
/// 0, or -1 after logging for an unknown kind or an allocation failure (the
/// particles made so far stay).
int addParticles(int count, Vector position, float position_spread, Vector direction,
                 float direction_spread, float size, float size_spread, float speed,
                 float speed_spread, int age, int age_spread, unsigned char opacity,
                 unsigned char opacity_spread, unsigned char r, unsigned char g, unsigned char b,
                 unsigned char color_spread, ParticleKind kind);

/// The largest scale of a preset effect (a scale of 100 already makes 5,000
/// particles of a shockwave).
const float MAX_EFFECT_SCALE = 100;

/// One of the preset effects at a position, its count, size, speed and age
/// scaled by `scale`, in an engine colour (CUSTOM: the effect's own colour).
/// The result of the general generator; an unknown effect creates nothing and
/// returns 0; a scale that is not a number from 0 to MAX_EFFECT_SCALE creates
/// nothing and returns -1 with a log line.
int addParticles(ParticleEffect effect, Vector position, float scale, Color color);

} // namespace vx

#endif // VX_PARTICLE_H
