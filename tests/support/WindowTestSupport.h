// Helpers for the tests that draw into a real window.
#ifndef VX_WINDOW_TEST_SUPPORT_H
#define VX_WINDOW_TEST_SUPPORT_H

#include <SFML/Graphics/Image.hpp>

namespace vxtest {

// What has been drawn so far into the display manager's back buffer.
sf::Image backBuffer();

// Pixels of exactly the colour in the rectangle [x0, x1) x [y0, y1).
int countColor(const sf::Image &image, sf::Color color, int x0, int y0, int x1, int y1);

// Pixels of exactly the colour in the whole image.
int countColor(const sf::Image &image, sf::Color color);

} // namespace vxtest

#endif // VX_WINDOW_TEST_SUPPORT_H
