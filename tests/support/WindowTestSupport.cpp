// Linked into every window test: keeps one graphics context alive for the
// whole process.
//
// The OpenGL driver is unloaded when the last graphics context closes; the
// leak checker then can no longer attribute the driver's own process-lifetime
// allocations to it, so they cannot be suppressed by library name. A context
// that lives until exit keeps the driver loaded and its allocations named.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <SFML/Window/Context.hpp>

#include "DisplayManager.h"

namespace {

class GraphicsDriverEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static const sf::Context *const p_context = new sf::Context;
    (void)p_context;
  }
};

const ::testing::Environment *const graphics_driver =
    ::testing::AddGlobalTestEnvironment(new GraphicsDriverEnvironment);

} // namespace

namespace vxtest {

sf::Image backBuffer() {
  sf::RenderWindow &window = *vx::DisplayManager::getInstance().getWindow();
  sf::Texture texture;
  texture.create(window.getSize().x, window.getSize().y);
  texture.update(window);
  return texture.copyToImage();
}

int countColor(const sf::Image &image, sf::Color color, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++)
      if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color)
        count++;
  return count;
}

int countColor(const sf::Image &image, sf::Color color) {
  return countColor(image, color, 0, 0, static_cast<int>(image.getSize().x),
                    static_cast<int>(image.getSize().y));
}

} // namespace vxtest
