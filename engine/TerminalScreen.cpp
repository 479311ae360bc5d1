#include "TerminalScreen.h"

#include <algorithm>
#include <cstring>

namespace vx {

namespace {

// A pen colour nobody can ask for: the terminal's colours are not known.
const std::uint32_t UNKNOWN_PEN = 0xFFFFFFFFu;

// A character the grid never holds: a cell nobody knows the terminal to show.
const char UNKNOWN_CH = '\0';

// The message shown when the terminal cannot hold the grid.
const char *const TOO_SMALL = "Please make the terminal at least ";

// The six levels of each component in the palette's colour cube.
const int CUBE_LEVELS[6] = {0, 95, 135, 175, 215, 255};

int red(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
int green(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

int nearestCubeLevel(int component) {
  int best = 0;
  for (int i = 1; i < 6; i++) {
    if (std::abs(CUBE_LEVELS[i] - component) < std::abs(CUBE_LEVELS[best] - component))
      best = i;
  }
  return best;
}

int squaredDistance(int r1, int g1, int b1, int r2, int g2, int b2) {
  return (r1 - r2) * (r1 - r2) + (g1 - g2) * (g1 - g2) + (b1 - b2) * (b1 - b2);
}

// Appends a non-negative number in decimal, without the cost of a format call.
void appendNumber(std::string &out, int value) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 && count < 11);
  while (count > 0)
    out += digits[--count];
}

// Two cells look the same: a blank's character colour shows nowhere.
bool sameLook(const TerminalCell &a, const TerminalCell &b) {
  return a.ch == b.ch && a.bg == b.bg && (a.ch == ' ' || a.fg == b.fg);
}

} // namespace

TerminalColorMode detectColorMode(const char *colorterm, const char *term) {
  if (colorterm != nullptr &&
      (std::strcmp(colorterm, "truecolor") == 0 || std::strcmp(colorterm, "24bit") == 0))
    return TERMINAL_TRUECOLOR;
  if (term != nullptr && std::strstr(term, "256color") != nullptr)
    return TERMINAL_256_COLORS;
  return TERMINAL_8_COLORS;
}

int nearest256(std::uint32_t rgb) {
  const int r = red(rgb), g = green(rgb), b = blue(rgb);
  const int ri = nearestCubeLevel(r), gi = nearestCubeLevel(g), bi = nearestCubeLevel(b);
  const int cube = 16 + 36 * ri + 6 * gi + bi;
  const int cube_distance =
      squaredDistance(r, g, b, CUBE_LEVELS[ri], CUBE_LEVELS[gi], CUBE_LEVELS[bi]);
  // The grey ramp 232..255 runs from 8 to 238 in steps of 10.
  const int average = (r + g + b) / 3;
  const int grey = std::min(23, std::max(0, (average - 3) / 10));
  const int level = 8 + 10 * grey;
  if (squaredDistance(r, g, b, level, level, level) < cube_distance)
    return 232 + grey;
  return cube;
}

int nearest8(std::uint32_t rgb) {
  // The eight ANSI colours are the corners of the RGB cube, numbered with red
  // as bit 0, green as bit 1 and blue as bit 2.
  return (red(rgb) >= 128 ? 1 : 0) | (green(rgb) >= 128 ? 2 : 0) | (blue(rgb) >= 128 ? 4 : 0);
}

TerminalScreen::TerminalScreen(int cols, int rows, TerminalColorMode mode)
    : m_cols(std::max(1, cols)),
      m_rows(std::max(1, rows)),
      m_term_cols(m_cols),
      m_term_rows(m_rows),
      m_mode(mode),
      m_background(0),
      m_back(static_cast<std::size_t>(m_cols) * static_cast<std::size_t>(m_rows),
             TerminalCell{' ', 0, 0}),
      m_front(m_back.size()),
      m_redraw(true),
      m_cursor_x(-1),
      m_cursor_y(-1),
      m_pen_fg(UNKNOWN_PEN),
      m_pen_bg(UNKNOWN_PEN) {
  std::fill(m_palette_rgb, m_palette_rgb + PALETTE_CACHE, UNKNOWN_PEN);
}

int TerminalScreen::getCols() const { return m_cols; }
int TerminalScreen::getRows() const { return m_rows; }
TerminalColorMode TerminalScreen::getColorMode() const { return m_mode; }

void TerminalScreen::setTerminalSize(int term_cols, int term_rows) {
  if (term_cols == m_term_cols && term_rows == m_term_rows)
    return;
  m_term_cols = term_cols;
  m_term_rows = term_rows;
  invalidate();
}

void TerminalScreen::setBackground(std::uint32_t rgb) {
  if (rgb == m_background)
    return;
  // Cells not drawn on yet in this frame take the new colour, as the window
  // is cleared to it.
  for (TerminalCell &cell : m_back) {
    if (cell.ch == ' ' && cell.bg == m_background)
      cell.bg = rgb;
  }
  m_background = rgb;
  invalidate();
}

std::uint32_t TerminalScreen::getBackground() const { return m_background; }

bool TerminalScreen::fits() const { return m_term_cols >= m_cols && m_term_rows >= m_rows; }
int TerminalScreen::getLeft() const { return std::max(0, (m_term_cols - m_cols) / 2); }
int TerminalScreen::getTop() const { return std::max(0, (m_term_rows - m_rows) / 2); }

void TerminalScreen::invalidate() {
  m_redraw = true;
  m_cursor_x = m_cursor_y = -1;
  m_pen_fg = m_pen_bg = UNKNOWN_PEN;
}

void TerminalScreen::put(int x, int y, char ch, std::uint32_t fg) {
  if (x < 0 || y < 0 || x >= m_cols || y >= m_rows)
    return;
  const unsigned char c = static_cast<unsigned char>(ch);
  TerminalCell &cell = m_back[static_cast<std::size_t>(y) * m_cols + x];
  cell.ch = (c >= 0x20 && c < 0x7F) ? ch : '?';
  cell.fg = fg;
  cell.bg = m_background;
}

void TerminalScreen::blend(int x, int y, std::uint32_t rgb, unsigned char opacity) {
  if (x < 0 || y < 0 || x >= m_cols || y >= m_rows)
    return;
  TerminalCell &cell = m_back[static_cast<std::size_t>(y) * m_cols + x];
  const int a = opacity;
  auto mix = [a](int under, int over) { return (over * a + under * (255 - a) + 127) / 255; };
  cell.bg = packRGB(static_cast<unsigned char>(mix(red(cell.bg), red(rgb))),
                    static_cast<unsigned char>(mix(green(cell.bg), green(rgb))),
                    static_cast<unsigned char>(mix(blue(cell.bg), blue(rgb))));
}

const TerminalCell &TerminalScreen::cellAt(int x, int y) const {
  return m_back[static_cast<std::size_t>(y) * m_cols + x];
}

void TerminalScreen::moveTo(std::string &out, int x, int y) {
  if (x == m_cursor_x && y == m_cursor_y)
    return;
  if (y == m_cursor_y && x > m_cursor_x) {
    // Forward on the same row: "ESC[nC", or "ESC[C" for one cell.
    out += "\x1b[";
    if (x - m_cursor_x > 1)
      appendNumber(out, x - m_cursor_x);
    out += 'C';
  } else if (x == 0 && y == 0) {
    out += "\x1b[H";
  } else {
    out += "\x1b[";
    appendNumber(out, y + 1);
    out += ';';
    appendNumber(out, x + 1);
    out += 'H';
  }
  m_cursor_x = x;
  m_cursor_y = y;
}

void TerminalScreen::appendColor(std::string &out, std::uint32_t code, bool background) const {
  switch (m_mode) {
  case TERMINAL_TRUECOLOR:
    out += background ? "48;2;" : "38;2;";
    appendNumber(out, red(code));
    out += ';';
    appendNumber(out, green(code));
    out += ';';
    appendNumber(out, blue(code));
    break;
  case TERMINAL_256_COLORS:
    out += background ? "48;5;" : "38;5;";
    appendNumber(out, static_cast<int>(code));
    break;
  case TERMINAL_8_COLORS:
  default:
    out += background ? '4' : '3';
    out += static_cast<char>('0' + code);
    break;
  }
}

std::uint32_t TerminalScreen::colorCode(std::uint32_t rgb) const {
  if (m_mode == TERMINAL_256_COLORS) {
    // A frame has few colours: their palette indices are remembered.
    const std::size_t slot = ((rgb * 2654435761u) >> 26) & (PALETTE_CACHE - 1);
    if (m_palette_rgb[slot] != rgb) {
      m_palette_rgb[slot] = rgb;
      m_palette_index[slot] = static_cast<std::uint32_t>(nearest256(rgb));
    }
    return m_palette_index[slot];
  }
  if (m_mode == TERMINAL_8_COLORS)
    return static_cast<std::uint32_t>(nearest8(rgb));
  return rgb;
}

bool TerminalScreen::penMatches(const TerminalCell &cell) const {
  return colorCode(cell.bg) == m_pen_bg && (cell.ch == ' ' || colorCode(cell.fg) == m_pen_fg);
}

void TerminalScreen::setPen(std::string &out, std::uint32_t fg, std::uint32_t bg) {
  // Pens are kept as what is written: RGB, a palette index or an ANSI number.
  const std::uint32_t fg_code = fg == UNKNOWN_PEN ? fg : colorCode(fg);
  const std::uint32_t bg_code = colorCode(bg);
  // A blank's character colour does not matter: keep the pen's.
  const bool fg_change = fg != UNKNOWN_PEN && fg_code != m_pen_fg;
  const bool bg_change = bg_code != m_pen_bg;
  if (!fg_change && !bg_change)
    return;
  out += "\x1b[";
  if (fg_change)
    appendColor(out, fg_code, false);
  if (fg_change && bg_change)
    out += ';';
  if (bg_change)
    appendColor(out, bg_code, true);
  out += 'm';
  if (fg_change)
    m_pen_fg = fg_code;
  m_pen_bg = bg_code;
}

void TerminalScreen::encodeTooSmall(std::string &out) {
  setPen(out, 0xFFFFFF, m_background);
  out += "\x1b[2J";
  std::string text = TOO_SMALL;
  text += std::to_string(m_cols) + " x " + std::to_string(m_rows);
  if (m_term_cols > 0 && static_cast<int>(text.size()) > m_term_cols)
    text.resize(static_cast<std::size_t>(m_term_cols));
  const int x = std::max(0, (m_term_cols - static_cast<int>(text.size())) / 2);
  m_cursor_x = m_cursor_y = -1;
  moveTo(out, x, std::max(0, m_term_rows / 2));
  out += text;
  m_cursor_x = m_cursor_y = -1;
}

void TerminalScreen::encode(std::string &out) {
  const TerminalCell blank{' ', 0, m_background};
  if (m_redraw) {
    m_redraw = false;
    // The whole screen, margins included, in the background colour; the
    // grid's blanks are then known to be shown already.
    if (!fits()) {
      // Shown once; frames are held back until the terminal is resized.
      encodeTooSmall(out);
      std::fill(m_back.begin(), m_back.end(), blank);
      return;
    }
    setPen(out, UNKNOWN_PEN, m_background);
    out += "\x1b[2J";
    std::fill(m_front.begin(), m_front.end(), blank);
  } else if (!fits()) {
    std::fill(m_back.begin(), m_back.end(), blank);
    return;
  }

  const int left = getLeft();
  const int top = getTop();
  const int right_edge = m_term_cols - 1;
  for (int y = 0; y < m_rows; y++) {
    const std::size_t row = static_cast<std::size_t>(y) * m_cols;
    for (int x = 0; x < m_cols; x++) {
      const TerminalCell &cell = m_back[row + x];
      TerminalCell &shown = m_front[row + x];
      if (sameLook(cell, shown))
        continue;
      const int tx = left + x, ty = top + y;
      // A short gap of unchanged cells in the pen's colours is cheaper to
      // write again than to move over.
      if (ty == m_cursor_y && tx > m_cursor_x && tx - m_cursor_x <= 3) {
        bool rewrite = true;
        for (int gx = m_cursor_x; gx < tx && rewrite; gx++) {
          const TerminalCell &gap = m_front[row + (gx - left)];
          rewrite = gap.ch != UNKNOWN_CH && penMatches(gap);
        }
        if (rewrite) {
          for (int gx = m_cursor_x; gx < tx; gx++)
            out += m_front[row + (gx - left)].ch;
          m_cursor_x = tx;
        }
      }
      moveTo(out, tx, ty);
      setPen(out, cell.ch == ' ' ? UNKNOWN_PEN : cell.fg, cell.bg);
      out += cell.ch;
      shown = cell;
      m_cursor_x = tx + 1;
      if (tx >= right_edge)
        m_cursor_x = m_cursor_y = -1; // The terminal waits to wrap: position unknown.
    }
  }
  std::fill(m_back.begin(), m_back.end(), blank);
}

} // namespace vx
