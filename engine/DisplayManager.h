/// \file
/// The display manager draws coloured characters on a grid of character
/// cells. World positions are in cells ("spaces"); the display converts them
/// to pixels and draws every character over a solid background the size of
/// one cell.
///
/// Where the grid is shown is chosen once at start-up from the configuration
/// ("display": "window", "terminal" or "none", the last also by
/// "headless:true"): a back end (DisplayBackend) does the showing, in an SFML
/// window (WindowDisplay), in the terminal (TerminalDisplay) or nowhere
/// (NoDisplay). Everything else here is the same for all of them.
#ifndef VX_DISPLAY_MANAGER_H
#define VX_DISPLAY_MANAGER_H

#include <cstdint>
#include <memory>
#include <string>

#include "Color.h"
#include "DisplayBackend.h"
#include "Letterbox.h"
#include "Manager.h"
#include "Vector.h"

/// The window library stays out of this header: only the display, input and
/// audio sources include it.
namespace sf {
class Color;
class Font;
class RenderWindow;
} // namespace sf

namespace vx {

struct ShapeOutline;

/// How a string is placed relative to its position.
enum Justification {
  JUSTIFY_LEFT = 0,   ///< The string starts at the position.
  JUSTIFY_CENTER = 1, ///< The string is centred on the position.
  JUSTIFY_RIGHT = 2,  ///< The string ends just before the position.
};

/// Draws the character grid: characters, strings, sprites' frames and shapes, in a window, in
/// the terminal, or nowhere when headless. Positions are in world or view cells as each call
/// says; sizes of the window in pixels. Everything drawn in a step is shown by swapBuffers().
class DisplayManager : public Manager {
 private:
  DisplayManager();

  DisplayGrid m_grid;                        // The grid, shared with the display in use.
  std::unique_ptr<DisplayBackend> m_p_display; // The display in use; none while not started.
  bool m_terminal = false;                   // Whether start-up chose the terminal.

 public:
  /// Frees the window, font and drawing objects shutDown() left.
  ~DisplayManager() override;
  ///@{
  /// Not copyable: a singleton.
  DisplayManager(const DisplayManager &) = delete;
  DisplayManager &operator=(const DisplayManager &) = delete;
  ///@}

  /// Defined here: every shape and character drawn asks for it.
  static DisplayManager &getInstance() {
    static DisplayManager display_manager;
    return display_manager;
  }

  /// Opens the window (unless headless), loads the font. Returns 0 or -1.
  int startUp() override;

  /// Closes the window and frees the drawing objects.
  void shutDown() override;

  /// Draws one character at a world position in an engine colour, rotated by
  /// angle degrees. Returns 0 or -1.
  int drawCh(Vector world_pos, char ch, Color color, float angle = 0) const;

  /// The same with an explicit, opaque RGB colour. Returns 0 or -1.
  int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g,
             unsigned char b, float angle = 0) const;

  /// Draws a string one character per cell, placed by the justification.
  /// Returns 0 or -1.
  int drawString(Vector world_pos, std::string str, Justification just,
                 Color color) const;

  /// Draws one character given by its Unicode code point, upright, for
  /// characters past the one-byte ones (without a window, as the nearest
  /// one-byte character). Returns 0 or -1.
  int drawCodePoint(Vector world_pos, std::uint32_t code, unsigned char r, unsigned char g,
                    unsigned char b) const;

  /// Draws a filled polygon, placed in window pixels by the outline, in an RGBA
  /// colour. 0, or -1 when there is no window.
  int drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char opacity) const;

  /// Follows a new window size: the grid keeps its shape, scaled to fit and
  /// centred between bars of the clear colour, and the window is cleared. 0,
  /// or -1 without a window.
  int resize(int window_width, int window_height);

  /// Where the grid sits in the window (at start-up, the whole window).
  Letterbox getPlacement() const;

  /// Grid pixels per configured pixel: sizes given in pixels are drawn
  /// through it. (Positions are drawn in the grid's own pixels, whose top-left
  /// corner the window shows at the placement's left and top.)
  float getGridScale() const;

  /// The view cell under a pixel of the window, through the grid's placement;
  /// pixels off the grid give the nearest position on it.
  Vector windowToView(Vector window_pixels) const;

  /// The window's title. 0, or -1 without a window.
  int setTitle(const std::string &title);

  /// Sets the colour the window is cleared to. False when headless.
  bool setBackgroundColor(Color new_color);

  /// Shows what was drawn and clears the back buffer. Returns 0 or -1.
  int swapBuffers();

  ///@{
  /// Window size in cells.
  int getHorizontal() const;
  int getVertical() const;
  ///@}

  ///@{
  /// Size of the grid in pixels: the window's, less any bars.
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  ///@}

  /// The window, or null before start-up, after shut-down, when headless and
  /// when the game is shown in the terminal.
  /// Everything drawn so far is on it first, so whoever reads it back sees the
  /// frame as drawn up to now. The caller may draw on it: until the next swap
  /// every character's cell is blanked whole, whatever lies beneath.
  sf::RenderWindow *getWindow() const;

  /// The window for reading its events and state, without drawing: unlike
  /// getWindow, it leaves what the display knows about the pixels alone.
  sf::RenderWindow *getEventWindow() const;

  /// Whether what is drawn is shown anywhere: in a window or the terminal.
  /// Defined here: every shape drawn asks for it.
  bool isShowing() const { return m_p_display->isShowing(); }

  /// The display in use: the window's, the terminal's, or none before
  /// start-up, after shut-down and when headless. Chosen at start-up.
  DisplayBackend &getBackend() const;

  /// Whether a window is open; unlike getWindow, draws nothing.
  bool hasWindow() const;

  /// Whether the game is shown in the terminal (getWindow is then null).
  bool usesTerminal() const;

  /// Forgets the window, font and drawing objects without freeing them, for
  /// when the window system is gone and freeing them would reach it again.
  void abandonWindow();

  ///@{
  /// The font every character is drawn in (null without a window) and the
  /// character size it is drawn at.
  const sf::Font *getFont() const;
  unsigned int getCharacterSize() const;
  ///@}

  /// How far, in pixels, every glyph is moved from where a text at the
  /// character's position would put it, so that the ink of every printable
  /// character keeps inside the cell its background blanks. (0, 0) without a
  /// window.
  Vector getGlyphOffset() const;
};

///@{
/// Pixels per cell, horizontally and vertically.
float charWidth();
float charHeight();
///@}

///@{
/// Converts a position in cells to pixels and back.
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);
///@}

/// Sets r, g, b from an engine colour; CUSTOM and unsupported values leave them.
void colorToRGB(Color color, unsigned char &r, unsigned char &g,
                unsigned char &b);

/// The window library's opaque colour for an engine colour (white for CUSTOM and
/// unsupported values). Defined by the window display.
sf::Color colorToSFML(Color color);

/// The opaque colour 0xRRGGBBAA of an engine colour: white for CUSTOM and
/// unsupported values, noted in the log at level 5 under the caller's name.
std::uint32_t colorToRGBA(Color color, const char *caller = "colorToRGBA");

/// The colour's name ("Red", ...), or "Unknown color".
std::string colorToString(Color color);

} // namespace vx

#endif // VX_DISPLAY_MANAGER_H
