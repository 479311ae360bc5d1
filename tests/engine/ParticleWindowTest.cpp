// A burst of particles drawn into a real window and read back: each circle is
// there in its colour, blended with what lies under it.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "Particle.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

using vx::Vector;

namespace {

// The centre of a particle's circle in window pixels.
sf::Vector2i circleCentre(const vx::Object &particle) {
  const vx::ShapeOutline outline =
      particle.getShape().getOutline(vx::spacesToPixels(vx::worldToView(particle.getPosition())));
  return sf::Vector2i(static_cast<int>(outline.x + outline.radius),
                      static_cast<int>(outline.y + outline.radius));
}

bool closeTo(sf::Color actual, sf::Color expected) {
  return std::abs(actual.r - expected.r) <= 2 && std::abs(actual.g - expected.g) <= 2 &&
         std::abs(actual.b - expected.b) <= 2;
}

// 800 x 480 pixels in 40 x 24 cells of 20 x 20 pixels, cleared to blue.
class ParticleWindow : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;
  vx::WorldManager &m_world = vx::WorldManager::getInstance();

  void SetUp() override {
    vx::Config::getInstance().loadConfig(
        "headless:false,window_horizontal_pixels:800,window_vertical_pixels:480,"
        "window_horizontal_chars:40,window_vertical_chars:24,window_background_color:blue,");
    ASSERT_EQ(vx::DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(m_world.startUp(), 0);
    m_world.setBoundary(vx::Box(Vector(0, 0), 40, 24));
    m_world.setView(vx::Box(Vector(0, 0), 40, 24));
  }

  void TearDown() override {
    m_world.shutDown();
    vx::DisplayManager::getInstance().shutDown();
  }

  // The world drawn on a cleared window, read back.
  sf::Image drawWorld() {
    vx::DisplayManager::getInstance().swapBuffers();
    m_world.draw();
    return vxtest::backBuffer();
  }
};

} // namespace

TEST_F(ParticleWindow, BurstCirclesBlendOverWhatLiesUnderThem) {
  // Twelve red circles of radius 8 at 160 of 255 opacity, flying apart.
  vx::seedRandom(5);
  ASSERT_EQ(vx::addParticles(12, Vector(20, 12), 0, Vector(0, 0), 0, 8, 0, 0.6f, 0, 50, 0, 160,
                             0, 255, 0, 0, 0, vx::PLAIN_PARTICLE),
            0);
  const vx::ObjectList all = m_world.getAllObjects();
  ASSERT_EQ(all.getCount(), 12);

  // All in one place at first: twelve layers leave almost pure red.
  const sf::Vector2i start = circleCentre(*all[0]);
  sf::Image image = drawWorld();
  EXPECT_TRUE(closeTo(image.getPixel(start.x, start.y), sf::Color(255, 0, 0)))
      << static_cast<int>(image.getPixel(start.x, start.y).b);

  for (int step = 0; step < 14; step++)
    m_world.update();
  image = drawWorld();
  // Where one circle lies alone: 160/255 of red over 95/255 of the blue.
  int alone = 0;
  for (int i = 0; i < all.getCount(); i++) {
    const sf::Vector2i centre = circleCentre(*all[i]);
    bool overlaps = false;
    for (int j = 0; j < all.getCount(); j++) {
      const sf::Vector2i other = circleCentre(*all[j]);
      overlaps |= j != i && std::abs(other.x - centre.x) < 20 && std::abs(other.y - centre.y) < 20;
    }
    if (overlaps)
      continue;
    alone++;
    SCOPED_TRACE(i);
    EXPECT_TRUE(closeTo(image.getPixel(centre.x, centre.y), sf::Color(160, 0, 95)));
    EXPECT_TRUE(closeTo(image.getPixel(centre.x + 3, centre.y - 3), sf::Color(160, 0, 95)));
    EXPECT_EQ(image.getPixel(centre.x + 11, centre.y), sf::Color::Blue) << "beyond the circle";
  }
  EXPECT_GE(alone, 4);
  // Nothing left at the starting point.
  EXPECT_EQ(image.getPixel(start.x, start.y), sf::Color::Blue);
}
