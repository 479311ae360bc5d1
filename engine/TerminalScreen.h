/// \file
/// The character grid the terminal display draws into, and the encoder that
/// turns the difference between two frames into the few bytes a terminal needs
/// to show the new one: cursor moves, colour changes and characters.
///
/// Knows nothing about the terminal device itself; whoever owns the terminal
/// writes what encode() produces.
#ifndef VX_TERMINAL_SCREEN_H
#define VX_TERMINAL_SCREEN_H

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

/// How colours are written: 24-bit, the 256-colour palette, or the 8 ANSI colours.
enum TerminalColorMode {
  TERMINAL_TRUECOLOR = 0, ///< 24-bit colours.
  TERMINAL_256_COLORS = 1, ///< The 256-colour palette.
  TERMINAL_8_COLORS = 2, ///< The eight ANSI colours.
};

/// The colour mode a terminal supports, judged from $COLORTERM and $TERM.
TerminalColorMode detectColorMode(const char *colorterm, const char *term);

/// Packs and unpacks 0xRRGGBB.
inline std::uint32_t packRGB(unsigned char r, unsigned char g, unsigned char b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

/// The palette index (0..255) nearest to an RGB colour; the 8 engine colours
/// map to the cube's exact corners.
int nearest256(std::uint32_t rgb);

/// The ANSI colour (0..7) nearest to an RGB colour.
int nearest8(std::uint32_t rgb);

/// One terminal cell: a printable ASCII character on a background.
struct TerminalCell {
  /// The character.
  char ch;
  /// The character's colour, 0xRRGGBB.
  std::uint32_t fg;
  /// The background colour, 0xRRGGBB.
  std::uint32_t bg;
};

/// The grid as the terminal shows it: the cells drawn in a frame, and the shortest control
/// sequences that turn the last frame shown into this one.
class TerminalScreen {
 private:
  int m_cols, m_rows;                 // The grid, in cells.
  int m_term_cols, m_term_rows;       // The terminal, in cells.
  TerminalColorMode m_mode;
  std::uint32_t m_background;         // What the frame is cleared to.
  std::vector<TerminalCell> m_back;   // The frame being drawn.
  std::vector<TerminalCell> m_front;  // What the terminal shows.
  bool m_redraw;                      // The terminal shows nothing known.

  // Where the terminal's cursor is (-1 when unknown) and its colours
  // (fg/bg 0xFFFFFFFF when unknown).
  int m_cursor_x, m_cursor_y;
  std::uint32_t m_pen_fg, m_pen_bg;

  // Palette indices of colours seen lately, by a hash of the colour.
  static const std::size_t PALETTE_CACHE = 64;
  mutable std::uint32_t m_palette_rgb[PALETTE_CACHE];
  mutable std::uint32_t m_palette_index[PALETTE_CACHE];

  bool fits() const;
  void moveTo(std::string &out, int x, int y);
  void setPen(std::string &out, std::uint32_t fg, std::uint32_t bg);
  std::uint32_t colorCode(std::uint32_t rgb) const;
  bool penMatches(const TerminalCell &cell) const;
  void appendColor(std::string &out, std::uint32_t rgb, bool background) const;
  void encodeTooSmall(std::string &out);

 public:
  /// A grid of cols x rows cells, drawn with the colours the mode allows.
  TerminalScreen(int cols, int rows, TerminalColorMode mode);

  ///@{
  /// The grid's size in cells.
  int getCols() const;
  int getRows() const;
  ///@}
  /// The colours the terminal is sent.
  TerminalColorMode getColorMode() const;

  /// The terminal's size; a change makes the next frame repaint everything.
  void setTerminalSize(int term_cols, int term_rows);

  /// The colour the frame and the margins around the grid are cleared to; a
  /// change repaints everything.
  void setBackground(std::uint32_t rgb);
  /// The background colour, 0xRRGGBB.
  std::uint32_t getBackground() const;

  ///@{
  /// Where the grid's top-left cell is shown in the terminal.
  int getLeft() const;
  int getTop() const;
  ///@}

  /// Draws a character in a cell over the background colour, as the window
  /// blanks a character's cell. Outside printable ASCII becomes '?'. Cells
  /// outside the grid are ignored.
  void put(int x, int y, char ch, std::uint32_t fg);

  /// Mixes a colour with an opacity (0..255) into a cell's background; its
  /// character stays.
  void blend(int x, int y, std::uint32_t rgb, unsigned char opacity);

  /// The cell of the frame being drawn (for tests and tools).
  const TerminalCell &cellAt(int x, int y) const;

  /// Appends the bytes that bring the terminal from the last frame encoded to
  /// this one, then starts a fresh frame cleared to the background. Nothing
  /// is appended when nothing changed.
  void encode(std::string &out);

  /// Forgets what the terminal shows: the next frame repaints everything.
  void invalidate();
};

} // namespace vx

#endif // VX_TERMINAL_SCREEN_H
