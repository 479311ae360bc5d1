// The display manager owns the game window and draws coloured characters on a
// grid of character cells. World positions are in cells ("spaces"); the
// display converts them to pixels and draws every character over a solid
// background rectangle the size of one cell.
#ifndef VX_DISPLAY_MANAGER_H
#define VX_DISPLAY_MANAGER_H

#include <cstdint>
#include <memory>
#include <string>

#include "Color.h"
#include "Manager.h"
#include "Vector.h"

// The window library stays out of this header: only the display, input and
// audio sources include it.
namespace sf {
class Color;
class Font;
class RectangleShape;
class RenderWindow;
class Text;
} // namespace sf

namespace vx {

// How a string is placed relative to its position.
enum Justification {
  JUSTIFY_LEFT = 0,   // The string starts at the position.
  JUSTIFY_CENTER = 1, // The string is centred on the position.
  JUSTIFY_RIGHT = 2,  // The string ends just before the position.
};

class DisplayManager : public Manager {
 private:
  DisplayManager();

  std::unique_ptr<sf::Font> m_p_font;             // The one font for all text.
  std::unique_ptr<sf::RenderWindow> m_p_window;   // Null unless a window is open.
  int m_window_horizontal_pixels;                 // Window width in pixels.
  int m_window_vertical_pixels;                   // Window height in pixels.
  int m_window_horizontal_chars;                  // Window width in cells.
  int m_window_vertical_chars;                    // Window height in cells.
  std::unique_ptr<sf::RectangleShape> m_p_rectangle; // Background under each character.
  std::uint32_t m_window_background_color;       // Clear colour and rectangle fill, RGBA.
  std::unique_ptr<sf::Text> m_p_text;             // Reused to draw every character.

  // Frees the window, text and rectangle, closing the window if it is open.
  void releaseGraphics();

 public:
  ~DisplayManager() override;
  DisplayManager(const DisplayManager &) = delete;
  DisplayManager &operator=(const DisplayManager &) = delete;

  static DisplayManager &getInstance();

  // Opens the window (unless headless), loads the font. Returns 0 or -1.
  int startUp() override;

  // Closes the window and frees the drawing objects.
  void shutDown() override;

  // Draws one character at a world position in an engine colour, rotated by
  // angle degrees. Returns 0 or -1.
  int drawCh(Vector world_pos, char ch, Color color, float angle = 0) const;

  // The same with an explicit, opaque RGB colour. Returns 0 or -1.
  int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g,
             unsigned char b, float angle = 0) const;

  // Draws a string one character per cell, placed by the justification.
  // Returns 0 or -1.
  int drawString(Vector world_pos, std::string str, Justification just,
                 Color color) const;

  // Sets the colour the window is cleared to. False when headless.
  bool setBackgroundColor(Color new_color);

  // Shows what was drawn and clears the back buffer. Returns 0 or -1.
  int swapBuffers();

  // Window size in cells.
  int getHorizontal() const;
  int getVertical() const;

  // Window size in pixels.
  int getHorizontalPixels() const;
  int getVerticalPixels() const;

  // The window, or null before start-up, after shut-down and when headless.
  sf::RenderWindow *getWindow() const;
};

// Pixels per cell, horizontally and vertically.
float charWidth();
float charHeight();

// Converts a position in cells to pixels and back.
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

// Sets r, g, b from an engine colour; CUSTOM and unsupported values leave them.
void colorToRGB(Color color, unsigned char &r, unsigned char &g,
                unsigned char &b);

// The window library's opaque colour for an engine colour (white for CUSTOM and
// unsupported values).
sf::Color colorToSFML(Color color);

// The colour's name ("Red", ...), or "Unknown color".
std::string colorToString(Color color);

} // namespace vx

#endif // VX_DISPLAY_MANAGER_H
