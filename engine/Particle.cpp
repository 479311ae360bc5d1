#include "Particle.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "DisplayManager.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Shape.h"
#include "WorldManager.h"
#include "utility.h"

namespace vx {

namespace {

// Particles are drawn over everything else.
const int PARTICLE_ALTITUDE = MAX_ALTITUDE;

// The slow downward pull on a firework, cells per step per step.
const float FIREWORK_GRAVITY = 0.01f;

// A random fraction from 0 to 1.
float randomFraction() { return static_cast<float>(randomInt()) / RANDOM_MAX; }

// A random offset spread evenly around 0: up to half the spread either way.
float spreadOffset(float spread) { return randomFraction() * spread - spread * 0.5f; }

// A random whole offset for a whole spread: randomInt() % spread - spread / 2.
int spreadOffset(int spread) { return randomInt() % spread - spread / 2; }

// a + b, kept within the range of int.
int addClamped(int a, int b) {
  const long long sum = static_cast<long long>(a) + b;
  return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

// A colour component moved by an offset, kept within 0 to 255; a component of
// 0 stays 0, so pure colours stay pure.
unsigned char offsetComponent(unsigned char component, int offset) {
  if (component == 0)
    return 0;
  const int value = component + offset;
  return static_cast<unsigned char>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// A direction of (0, 0) asks for a random one per particle.
Vector particleDirection(Vector direction, float direction_spread) {
  if (direction.getX() == 0 && direction.getY() == 0) {
    const float x = static_cast<float>(randomInt() - randomInt()) / RANDOM_MAX;
    const float y = static_cast<float>(randomInt() - randomInt()) / RANDOM_MAX;
    return Vector(x, y);
  }
  if (direction_spread == 0)
    return direction;
  const float x = direction.getX() + spreadOffset(direction_spread);
  const float y = direction.getY() + spreadOffset(direction_spread);
  return Vector(x, y);
}

} // namespace

Particle::Particle(float size, int age, unsigned char opacity, unsigned char r, unsigned char g,
                   unsigned char b)
    : Particle("Particle", size, age, opacity, r, g, b) {}

// Made with its final type, solidness and altitude, a particle joins the
// world's lists once instead of joining and leaving them again.
Particle::Particle(const char *type, float size, int age, unsigned char opacity,
                   unsigned char r, unsigned char g, unsigned char b)
    : Object(type, SPECTRAL, PARTICLE_ALTITUDE), m_age(age) {
  // Particles are many and short-lived: they take no id from later objects.
  releaseId();

  Shape shape;
  shape.setColor(r, g, b);
  shape.setType(CIRCLE);
  shape.setSize(size);
  shape.setOpacity(opacity);
  setShape(shape);

  registerInterest(STEP_EVENT);
}

int Particle::eventHandler(const Event *p_e) {
  if (p_e->getType() == STEP_EVENT) {
    m_age--;
    if (m_age <= 0)
      WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  if (p_e->getType() == OUT_EVENT) {
    WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  return 0;
}

int Particle::serialize(std::ostream &out, unsigned int attr) {
  LogManager::getInstance().writeLog(
      1, "Particle::serialize(): Warning!  Particles attributes are not serialized.");
  return Object::serialize(out, attr);
}

int Particle::deserialize(std::istream &in, unsigned int *p_mask) {
  LogManager::getInstance().writeLog(1, "Particle::deserialize(): Warning!  Cannot deserialize particles.");
  return Object::deserialize(in, p_mask);
}

int Particle::getAge() const { return m_age; }

Firework::Firework(float size, int age, unsigned char opacity, unsigned char r,
                   unsigned char g, unsigned char b)
    : Particle("Firework", size, age, opacity, r, g, b),
      m_r(r),
      m_g(g),
      m_b(b),
      m_opacity(opacity),
      m_initial_age(age),
      m_size(size) {
  setAcceleration(Vector(0, FIREWORK_GRAVITY));
}

int Firework::eventHandler(const Event *p_e) {
  const int result = Particle::eventHandler(p_e);
  if (p_e->getType() != STEP_EVENT)
    return result;

  // The trail stays where the firework was; a failed allocation only skips it.
  Particle *p_trail =
      new (std::nothrow) Particle(m_size * 0.5f, m_initial_age / 4, 255, m_r, m_g, m_b);
  if (p_trail != nullptr) {
    p_trail->setPosition(getPosition());
    // A firework put behind other objects leaves its trail behind them too.
    p_trail->setAltitude(getAltitude());
  }
  return 1;
}

int addParticles(int count, Vector position, float position_spread, Vector direction,
                 float direction_spread, float size, float size_spread, float speed,
                 float speed_spread, int age, int age_spread, unsigned char opacity,
                 unsigned char opacity_spread, unsigned char r, unsigned char g, unsigned char b,
                 unsigned char color_spread, ParticleKind kind) {
  const LogManager &log_manager = LogManager::getInstance();
  const int signed_opacity_spread = static_cast<signed char>(opacity_spread);

  for (int i = 0; i < count; i++) {
    // The sum is kept in 8 bits: it wraps around rather than clamping.
    unsigned char p_opacity = opacity;
    if (signed_opacity_spread != 0)
      p_opacity = static_cast<unsigned char>(opacity + spreadOffset(signed_opacity_spread));

    int p_age = age;
    if (age_spread != 0)
      p_age = addClamped(age, spreadOffset(age_spread));

    float p_size = size;
    if (size_spread != 0)
      p_size += spreadOffset(size_spread);

    unsigned char p_r = r, p_g = g, p_b = b;
    if (color_spread != 0) {
      const int offset = spreadOffset(static_cast<int>(color_spread));
      p_r = offsetComponent(r, offset);
      p_g = offsetComponent(g, offset);
      p_b = offsetComponent(b, offset);
    }

    if (kind != PLAIN_PARTICLE && kind != FIREWORK_PARTICLE) {
      log_manager.writeLog("addParticles(): Type %d not defined.", static_cast<int>(kind));
      return -1;
    }
    // An object the world refuses would belong to nobody.
    if (!WorldManager::getInstance().isStarted()) {
      log_manager.writeLog("addParticles(): Error! World manager not started.");
      return -1;
    }
    Particle *p_particle =
        kind == FIREWORK_PARTICLE
            ? new (std::nothrow) Firework(p_size, p_age, p_opacity, p_r, p_g, p_b)
            : new (std::nothrow) Particle(p_size, p_age, p_opacity, p_r, p_g, p_b);
    if (p_particle == nullptr) {
      log_manager.writeLog("addParticles(): Error!  Unable to create new Particle!");
      return -1;
    }

    Vector velocity = particleDirection(direction, direction_spread);
    velocity.normalize();
    float p_speed = speed;
    if (speed_spread != 0)
      p_speed += spreadOffset(speed_spread);
    velocity.scale(p_speed);

    Vector p_position = position;
    if (position_spread != 0) {
      p_position.setX(position.getX() + spreadOffset(position_spread));
      p_position.setY(position.getY() + spreadOffset(position_spread));
    }

    p_particle->setPosition(p_position);
    p_particle->setVelocity(velocity);
  }
  return 0;
}

int addParticles(ParticleEffect effect, Vector position, float scale, Color color) {
  // The table's counts and ages are scale times whole numbers: a scale beyond
  // this would ask for millions of particles, and one that is not a number
  // cannot be turned into a count at all.
  if (!std::isfinite(scale) || scale < 0 || scale > MAX_EFFECT_SCALE) {
    LogManager::getInstance().writeLog(
        "addParticles(): Error! Scale %f is not between 0 and %g.", static_cast<double>(scale),
        static_cast<double>(MAX_EFFECT_SCALE));
    return -1;
  }
  const float s = scale;
  // Values of the preset table; integer entries are the products cut toward zero.
  int count = 0;
  Vector direction;
  float direction_spread = 0, size = 0, size_spread = 0, speed = 0, speed_spread = 0;
  int age = 0, age_spread = 0;
  unsigned char opacity = 255, opacity_spread = 75, color_spread = 0;
  ParticleKind kind = PLAIN_PARTICLE;
  unsigned char r = 0, g = 0, b = 0;

  switch (effect) {
  case HAZE:
    count = static_cast<int>(s * 20);
    direction = Vector(0, -1);
    direction_spread = s * 0.3f * 0.5f;
    size = s * 5 / 1.5f;
    size_spread = s * 0.15f;
    speed = 0.2f;
    speed_spread = 0.05f;
    age = static_cast<int>(s * 20);
    age_spread = static_cast<int>(s * 5);
    opacity = 128;
    opacity_spread = 50;
    color_spread = 50;
    r = 128, g = 128, b = 128;
    break;
  case BURST:
    count = static_cast<int>(s * 50);
    size = s * 1.5f;
    speed = (s * 0.25f + 1) * 0.08f;
    speed_spread = speed;
    age = static_cast<int>(s * 15);
    age_spread = static_cast<int>(s * 15);
    r = 255, g = 69, b = 0;
    break;
  case SHOCKWAVE:
    count = static_cast<int>(s * 50);
    size = s * 2.5f;
    speed = (s * 0.25f + 1) * 0.08f;
    age = static_cast<int>(s * 10);
    r = 255, g = 20, b = 147;
    break;
  case SKYROCKETS:
    count = static_cast<int>(s * 4);
    direction = Vector(0, -1);
    direction_spread = 1.5f;
    size = s * 2;
    speed = (s / 3 + 1) * 0.1f;
    speed_spread = speed;
    age = static_cast<int>(s * 20);
    age_spread = static_cast<int>(s * 20);
    color_spread = 255;
    kind = FIREWORK_PARTICLE;
    r = 255, g = 69, b = 0;
    break;
  default:
    // An unknown effect creates nothing.
    break;
  }
  // An engine colour replaces the effect's own; CUSTOM and unknown values keep it.
  colorToRGB(color, r, g, b);

  return addParticles(count, position, 0, direction, direction_spread, size, size_spread, speed,
                      speed_spread, age, age_spread, opacity, opacity_spread, r, g, b,
                      color_spread, kind);
}

} // namespace vx
