// Particles and fireworks: their lifetime and trail, and the generators'
// random draws, counts, sizes, speeds, ages and colours.
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "EventStep.h"
#include "GameManager.h"
#include "Particle.h"
#include "WorldTestSupport.h"
#include "utility.h"

using vx::Particle;
using vx::Vector;

namespace {

class ParticleTest : public vxtest::WorldFixture {
 protected:
  int m_step = 0;

  // One game-loop step as particles see it: the step event, then the world update.
  void step() {
    const vx::EventStep event(m_step++);
    vx::GameManager::getInstance().onEvent(&event);
    m_world.update();
  }

  // The particles in the world, in creation order.
  std::vector<Particle *> particles() const {
    std::vector<Particle *> result;
    const vx::ObjectList all = m_world.getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++)
      if (auto *p_particle = dynamic_cast<Particle *>(all[i]))
        result.push_back(p_particle);
    return result;
  }
};

// The next `count` values of the random source after seeding it; the source
// is seeded again, so the code under test draws the same values.
std::vector<int> drawsAfterSeed(unsigned int seed, int count) {
  vx::seedRandom(seed);
  std::vector<int> draws;
  for (int i = 0; i < count; i++)
    draws.push_back(vx::randomInt());
  vx::seedRandom(seed);
  return draws;
}

float fraction(int draw) { return static_cast<float>(draw) / vx::RANDOM_MAX; }

unsigned char clampComponent(int value) {
  return static_cast<unsigned char>(std::clamp(value, 0, 255));
}

bool near(float a, float b) { return std::abs(a - b) < 1e-4f; }

// The signed distance from `centre` to an 8-bit value that wrapped around.
int wrappedOffset(unsigned char value, unsigned char centre) {
  return static_cast<signed char>(static_cast<unsigned char>(value - centre));
}

} // namespace

TEST_F(ParticleTest, GeneratorDrawsEveryValueInItsOrder) {
  // Per particle: opacity, age, size, colour, direction x (2) and y (2), speed,
  // position x and y.
  const int count = 20, per_particle = 11;
  const std::vector<int> d = drawsAfterSeed(42, count * per_particle);
  ASSERT_EQ(vx::addParticles(count, Vector(40, 12), 4, Vector(0, 0), 0, 6, 2, 0.5f, 0.2f, 30, 10,
                             250, 40, 250, 0, 100, 40, vx::PLAIN_PARTICLE),
            0);
  const std::vector<Particle *> made = particles();
  ASSERT_EQ(made.size(), static_cast<size_t>(count));
  int clamped = 0, wrapped = 0;
  for (int i = 0; i < count; i++) {
    SCOPED_TRACE(i);
    const int *p = &d[static_cast<size_t>(i * per_particle)];
    const Particle &particle = *made[static_cast<size_t>(i)];
    const vx::Shape shape = particle.getShape();
    // Opacity is kept in 8 bits: 250 + 10 wraps around to 4.
    EXPECT_EQ(shape.getOpacity(), (250 + p[0] % 40 - 20) & 0xff);
    wrapped += shape.getOpacity() < 230;
    EXPECT_EQ(particle.getAge(), 30 + p[1] % 10 - 5);
    EXPECT_FLOAT_EQ(shape.getSize(), 6 + fraction(p[2]) * 2 - 1);
    const int offset = p[3] % 40 - 20;
    EXPECT_EQ(shape.getRed(), clampComponent(250 + offset));
    EXPECT_EQ(shape.getGreen(), 0); // A component of 0 stays 0.
    EXPECT_EQ(shape.getBlue(), 100 + offset);
    clamped += shape.getRed() == 255;
    Vector velocity(static_cast<float>(p[4] - p[5]) / vx::RANDOM_MAX,
                    static_cast<float>(p[6] - p[7]) / vx::RANDOM_MAX);
    velocity.normalize();
    velocity.scale(0.5f + fraction(p[8]) * 0.2f - 0.1f);
    EXPECT_TRUE(near(particle.getVelocity().getX(), velocity.getX()));
    EXPECT_TRUE(near(particle.getVelocity().getY(), velocity.getY()));
    EXPECT_FLOAT_EQ(particle.getPosition().getX(), 40 + fraction(p[9]) * 4 - 2);
    EXPECT_FLOAT_EQ(particle.getPosition().getY(), 12 + fraction(p[10]) * 4 - 2);
    EXPECT_EQ(particle.getId(), 0);
    EXPECT_EQ(particle.getSolidness(), vx::SPECTRAL);
    EXPECT_EQ(particle.getAltitude(), vx::MAX_ALTITUDE);
    EXPECT_EQ(shape.getType(), vx::CIRCLE);
  }
  EXPECT_GT(clamped, 0) << "no colour reached the clamp";
  EXPECT_GT(wrapped, 0) << "no opacity wrapped";
}

TEST_F(ParticleTest, PresetsMakeTheirCountsSizesSpeedsAgesAndColours) {
  struct Case {
    int effect;
    float scale;
    int color;
    int count;
    const char *type;
    float size, size_spread, speed, speed_spread;
    int age, age_spread;
    unsigned char opacity, opacity_spread;
    unsigned char r, g, b, color_spread;
  } const cases[] = {
      {vx::SHOCKWAVE, 1, vx::CUSTOM, 50, "Particle", 2.5f, 0, 0.1f, 0, 10, 0, 255, 75, 255, 20, 147, 0},
      {vx::SHOCKWAVE, 1, 9, 50, "Particle", 2.5f, 0, 0.1f, 0, 10, 0, 255, 75, 255, 20, 147, 0},
      {vx::BURST, 2, vx::RED, 100, "Particle", 3, 0, 0.12f, 0.12f, 30, 30, 255, 75, 255, 0, 0, 0},
      {vx::HAZE, 1, vx::CUSTOM, 20, "Particle", 5 / 1.5f, 0.15f, 0.2f, 0.05f, 20, 5, 128, 50, 128, 128, 128, 50},
      {vx::SKYROCKETS, 1, vx::CUSTOM, 4, "Firework", 2, 0, 0.4f / 3, 0.4f / 3, 20, 20, 255, 75, 255, 69, 0, 255},
      {vx::SKYROCKETS, 2.5f, vx::YELLOW, 10, "Firework", 5, 0, 0.55f / 3, 0.55f / 3, 50, 50, 255, 75, 255, 255, 0, 255},
      {7, 1, vx::RED, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::Message() << "effect " << c.effect << " scale " << c.scale);
    m_world.shutDown();
    ASSERT_EQ(m_world.startUp(), 0);
    vx::seedRandom(3);
    ASSERT_EQ(vx::addParticles(static_cast<vx::ParticleEffect>(c.effect), Vector(40, 12), c.scale,
                               static_cast<vx::Color>(c.color)),
              0);
    const std::vector<Particle *> made = particles();
    ASSERT_EQ(made.size(), static_cast<size_t>(c.count));
    for (const Particle *p_particle : made) {
      const vx::Shape shape = p_particle->getShape();
      EXPECT_EQ(p_particle->getType(), c.type);
      EXPECT_EQ(p_particle->getPosition(), Vector(40, 12));
      EXPECT_LE(std::abs(shape.getSize() - c.size), c.size_spread / 2 + 1e-5f);
      EXPECT_LE(std::abs(p_particle->getSpeed() - c.speed), c.speed_spread / 2 + 1e-5f);
      EXPECT_LE(std::abs(p_particle->getAge() - c.age), c.age_spread / 2);
      EXPECT_LE(std::abs(wrappedOffset(shape.getOpacity(), c.opacity)), c.opacity_spread / 2);
      // Each component within its spread or clamped; a component of 0 stays 0.
      const std::pair<unsigned char, unsigned char> components[] = {
          {shape.getRed(), c.r}, {shape.getGreen(), c.g}, {shape.getBlue(), c.b}};
      for (const auto &[value, centre] : components) {
        if (centre == 0) {
          EXPECT_EQ(value, 0);
        } else if (value != 0 && value != 255) {
          EXPECT_LE(std::abs(value - centre), c.color_spread / 2);
        }
      }
      if (c.effect == vx::HAZE || c.effect == vx::SKYROCKETS) {
        EXPECT_LT(p_particle->getVelocity().getY(), 0) << "rises";
      }
    }
  }
}

TEST_F(ParticleTest, ParticlesLeaveTheIdsOfLaterObjectsAlone) {
  const int next_id = vx::Object::getNextId();
  ASSERT_EQ(vx::addParticles(vx::BURST, Vector(10, 10), 2, vx::GREEN), 0);
  ASSERT_EQ(particles().size(), 100u);
  for (const Particle *p_particle : particles())
    EXPECT_EQ(p_particle->getId(), 0);
  EXPECT_EQ((new vx::Object)->getId(), next_id);
}

TEST_F(ParticleTest, RefusedGenerationsCreateNothing) {
  EXPECT_EQ(vx::addParticles(3, Vector(5, 5), 0, Vector(1, 0), 0, 3, 0, 0.1f, 0, 5, 0, 255, 0, 9,
                             9, 9, 0, static_cast<vx::ParticleKind>(2)),
            -1);
  EXPECT_TRUE(particles().empty());
  EXPECT_EQ(m_log.count("addParticles(): Type 2 not defined."), 1);

  // Scales that are not numbers, or would ask for millions of particles.
  for (float scale : {std::nanf(""), INFINITY, -1.0f, 1e9f})
    EXPECT_EQ(vx::addParticles(vx::SHOCKWAVE, Vector(5, 5), scale, vx::RED), -1) << scale;
  EXPECT_TRUE(particles().empty());
  EXPECT_EQ(m_log.count("addParticles(): Error! Scale"), 4);

  // Without a world nobody would own the particles.
  m_world.shutDown();
  EXPECT_EQ(vx::addParticles(vx::HAZE, Vector(5, 5), 1, vx::CUSTOM), -1);
  EXPECT_TRUE(m_log.contains("addParticles(): Error! World manager not started."));
}

TEST_F(ParticleTest, ParticlesLiveTheirAgeOrUntilTheyLeaveTheWorld) {
  struct Case {
    int age;
    Vector velocity;
    int last_step; // The step at whose end the particle is deleted.
  } const cases[] = {{1, Vector(), 1}, {0, Vector(), 1}, {-3, Vector(), 1}, {4, Vector(), 4},
                     {100, Vector(3, 0), 3}}; // From x 72 out of the 80-cell world in step 3.
  for (const Case &c : cases) {
    SCOPED_TRACE(c.age);
    Particle *p_particle = new Particle(2, c.age, 255, 1, 2, 3);
    p_particle->setPosition(Vector(72, 10));
    p_particle->setVelocity(c.velocity);
    for (int s = 1; s < c.last_step; s++) {
      step();
      ASSERT_EQ(particles().size(), 1u) << "deleted early, in step " << s;
    }
    step();
    EXPECT_TRUE(particles().empty());
  }
}

TEST_F(ParticleTest, FireworkLeavesAHalfSizeTrailEveryStepItLives) {
  vx::Firework *p_firework = new vx::Firework(4, 8, 100, 10, 20, 30);
  p_firework->setPosition(Vector(20, 5));
  p_firework->setVelocity(Vector(0.5f, -0.2f));
  EXPECT_EQ(p_firework->getAcceleration(), Vector(0, 0.01f));
  for (int s = 1; s <= 9; s++) {
    SCOPED_TRACE(s);
    std::vector<Particle *> all = particles();
    const bool alive = std::count_if(all.begin(), all.end(), [](const Particle *p_particle) {
                         return p_particle->getType() == "Firework";
                       }) == 1;
    EXPECT_EQ(alive, s <= 8) << "the firework lives 8 steps";
    const Vector before = alive ? p_firework->getPosition() : Vector();
    step();
    // Trails live 8 / 4 = 2 steps: the one made this step has not aged yet.
    std::vector<Particle *> fresh;
    for (Particle *p_particle : particles())
      if (p_particle->getType() == "Particle" && p_particle->getAge() == 2)
        fresh.push_back(p_particle);
    ASSERT_EQ(fresh.size(), alive ? 1u : 0u);
    if (alive) {
      const vx::Shape trail = fresh[0]->getShape();
      EXPECT_EQ(fresh[0]->getPosition(), before);
      EXPECT_EQ(fresh[0]->getSpeed(), 0);
      EXPECT_EQ(trail.getSize(), 2);
      EXPECT_EQ(trail.getOpacity(), 255);
      EXPECT_EQ(trail.getRed(), 10);
      EXPECT_EQ(trail.getGreen(), 20);
      EXPECT_EQ(trail.getBlue(), 30);
    }
  }
}
