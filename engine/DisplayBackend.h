/// \file
/// What a display does for the display manager: the SFML window, the
/// terminal, or nothing at all (headless). The display manager picks one at
/// start-up from the configuration and calls it for everything it shows; the
/// rest of the engine never asks which one it is.
///
/// The grid of cells is plain data the display manager owns and every back end
/// fills in (DisplayGrid): its size in cells and pixels, its placement in the
/// window and the background colour. Conversions between cells, pixels and
/// window positions read it without a call into the back end.
///
/// A back end is also the live input source of its display: the window's or
/// the terminal's keys and mouse (InputSource).
#ifndef VX_DISPLAY_BACKEND_H
#define VX_DISPLAY_BACKEND_H

#include <cstdint>
#include <string>

#include "InputSource.h"
#include "Letterbox.h"
#include "Vector.h"

/// The window library stays out of this header.
namespace sf {
class Font;
class RenderWindow;
} // namespace sf

namespace vx {

struct ShapeOutline;

/// The grid as the display manager and its back end share it.
struct DisplayGrid {
  int horizontal_pixels = 0;   ///< Grid width in pixels (the window's, less bars).
  int vertical_pixels = 0;     ///< Grid height in pixels.
  int horizontal_chars = 0;    ///< Grid width in cells.
  int vertical_chars = 0;      ///< Grid height in cells.
  std::uint32_t background = 0x000000FFu; ///< Clear colour and cell background, 0xRRGGBBAA.
  Letterbox placement = placeGrid(0, 0, 0, 0); ///< Where the grid sits in the window.
};

/// A display: the window, the terminal, or none. Chosen and owned by the display manager, which
/// calls it for everything it shows; it is also the live input source of its display.
class DisplayBackend : public InputSource {
 public:
  /// Nothing to free; close() frees what the display holds.
  ~DisplayBackend() override = default;

  /// Opens the display for the grid. On entry the grid holds the configured
  /// sizes (checked: at least one cell each way, pixels 0 or more, 0 standing
  /// for the back end's own choice) and background; the back end fills in the
  /// pixel sizes and placement it ends up with. 0, or -1 with a log line,
  /// leaving nothing open.
  virtual int open(DisplayGrid &grid) = 0;

  /// Closes the display and frees what it holds. Safe when not open.
  virtual void close() = 0;

  /// Whether what is drawn is shown anywhere: false without a display, and
  /// once the window is gone. Shapes and the pause skip their work without.
  virtual bool isShowing() const = 0;

  /// Draws a character at a position in view cells (fractions allowed), in
  /// an opaque 0xRRGGBB colour over the cell's background, rotated by angle
  /// degrees. 0, or -1 when nothing can be drawn.
  virtual int drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float angle) = 0;

  /// Draws one character given by a Unicode code point past the one-byte ones,
  /// upright. 0 or -1.
  virtual int drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) = 0;

  /// Draws a filled polygon placed in grid pixels, in a colour and opacity.
  /// 0 or -1.
  virtual int drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                          unsigned char b, unsigned char opacity) = 0;

  /// Shows the frame drawn and starts the next one, cleared to the background.
  /// 0, or -1 when nothing is shown.
  virtual int present() = 0;

  /// Follows a new window size in pixels: the grid keeps its shape, placed by
  /// a new letterbox (the grid is updated). 0, or -1 when it cannot follow.
  virtual int resize(int window_width, int window_height) = 0;

  /// The window's title. 0, or -1 when there is no title to set.
  virtual int setTitle(const std::string &title) = 0;

  /// The grid's background has become grid.background. False when there is
  /// nothing to colour.
  virtual bool setBackground(std::uint32_t rgba) = 0;

  /// The SFML window, for the window back end only (null from the others).
  /// For drawing, whatever was batched is drawn on it first and the back end
  /// forgets what it knew of its pixels.
  virtual sf::RenderWindow *getWindow(bool for_drawing) const {
    (void)for_drawing;
    return nullptr;
  }

  ///@{
  /// The font characters are drawn in, their size, and how far every glyph
  /// is moved to keep its ink in its cell: the window back end's; null, 0
  /// and (0, 0) elsewhere.
  virtual const sf::Font *getFont() const { return nullptr; }
  virtual unsigned int getCharacterSize() const { return 0; }
  virtual Vector getGlyphOffset() const { return Vector(); }
  ///@}

  /// The window system is gone: forget what refers to it without freeing it.
  virtual void abandon() {}
};

} // namespace vx

#endif // VX_DISPLAY_BACKEND_H
