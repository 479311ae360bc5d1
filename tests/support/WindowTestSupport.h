// Helpers for the tests that draw into a real window.
#ifndef VX_WINDOW_TEST_SUPPORT_H
#define VX_WINDOW_TEST_SUPPORT_H

#include <string>

#include <SFML/Graphics/Image.hpp>

namespace vxtest {

// What has been drawn so far into the display manager's back buffer.
sf::Image backBuffer();

// Pixels of exactly the colour in the rectangle [x0, x1) x [y0, y1) (none off the image).
int countColor(const sf::Image &image, sf::Color color, int x0, int y0, int x1, int y1);

// Pixels of exactly the colour in the whole image.
int countColor(const sf::Image &image, sf::Color color);

// Runs a shell command with its output discarded; true when it exits with status 0.
bool runCommand(const std::string &command);

// The first line a command prints, without its line end.
std::string commandOutput(const std::string &command);

// Asks the window to close the way a window manager does: a WM_DELETE_WINDOW
// client message sent through the X server. The test server runs without a
// window manager, so nothing else would turn a close into that message.
bool requestClose(unsigned long window);

} // namespace vxtest

#endif // VX_WINDOW_TEST_SUPPORT_H
