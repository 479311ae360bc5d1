// What the terminal display writes, read back by a small model of a terminal:
// the screen must equal the engine's grid in every colour mode, an unchanged
// frame writes nothing, and a one-cell change writes a few bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TerminalScreen.h"
#include "utility.h"

namespace {

using vx::TerminalScreen;

// A terminal that understands what the writer uses: cursor positions and
// forward moves, clearing, colours, printable characters.
struct ModelTerminal {
  int cols, rows, x = 0, y = 0;
  std::uint32_t fg = 7, bg = 0;
  std::vector<vx::TerminalCell> cells;

  ModelTerminal(int c, int r) : cols(c), rows(r), cells(c * r, vx::TerminalCell{'#', 0, 0}) {}

  void sgr(const std::vector<int> &p) {
    for (std::size_t i = 0; i < p.size(); i++) {
      const bool back = p[i] / 10 == 4;
      std::uint32_t &target = back ? bg : fg;
      if ((p[i] == 38 || p[i] == 48) && p[i + 1] == 2) {
        target = vx::packRGB(p[i + 2], p[i + 3], p[i + 4]);
        i += 4;
      } else if ((p[i] == 38 || p[i] == 48) && p[i + 1] == 5) {
        target = static_cast<std::uint32_t>(p[i + 2]);
        i += 2;
      } else if (p[i] % 10 <= 7) {
        target = static_cast<std::uint32_t>(p[i] % 10);
      }
    }
  }

  void feed(const std::string &bytes) {
    for (std::size_t i = 0; i < bytes.size(); i++) {
      if (bytes[i] != '\x1b') {
        ASSERT_TRUE(x < cols && y < rows) << "written outside the screen";
        cells[y * cols + x] = vx::TerminalCell{bytes[i], fg, bg};
        x++;
        continue;
      }
      ASSERT_EQ(bytes[++i], '[');
      std::vector<int> params(1, 0);
      bool given = false;
      for (i++; std::isdigit(bytes[i]) || bytes[i] == ';'; i++) {
        if (bytes[i] == ';')
          params.push_back(0);
        else
          params.back() = params.back() * 10 + (bytes[i] - '0'), given = true;
      }
      switch (bytes[i]) {
      case 'H': x = given ? params[1] - 1 : 0; y = given ? params[0] - 1 : 0; break;
      case 'C': x += given ? params[0] : 1; break;
      case 'J': for (auto &cell : cells) cell = vx::TerminalCell{' ', fg, bg}; break;
      case 'm': sgr(params); break;
      default: FAIL() << "unexpected sequence " << bytes[i];
      }
    }
  }
};

std::uint32_t code(vx::TerminalColorMode mode, std::uint32_t rgb) {
  return mode == vx::TERMINAL_TRUECOLOR ? rgb
         : mode == vx::TERMINAL_256_COLORS ? static_cast<std::uint32_t>(vx::nearest256(rgb))
                                          : static_cast<std::uint32_t>(vx::nearest8(rgb));
}

// Whether the model shows the grid, centred.
void expectShows(const ModelTerminal &term, const TerminalScreen &grid,
                 const std::vector<vx::TerminalCell> &drawn) {
  const int left = (term.cols - grid.getCols()) / 2, top = (term.rows - grid.getRows()) / 2;
  int wrong = 0;
  for (int y = 0; y < grid.getRows(); y++) {
    for (int x = 0; x < grid.getCols(); x++) {
      const vx::TerminalCell &want = drawn[y * grid.getCols() + x];
      const vx::TerminalCell &got = term.cells[(top + y) * term.cols + left + x];
      const vx::TerminalColorMode mode = grid.getColorMode();
      if (got.ch != want.ch || got.bg != code(mode, want.bg) ||
          (want.ch != ' ' && got.fg != code(mode, want.fg)))
        wrong++;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(term.cells[0].bg, code(grid.getColorMode(), grid.getBackground())); // The margin.
}

TEST(TerminalScreen, WritesWhatChangedAndTheTerminalShowsTheGrid) {
  const vx::TerminalColorMode modes[] = {vx::TERMINAL_TRUECOLOR, vx::TERMINAL_256_COLORS,
                                         vx::TERMINAL_8_COLORS};
  for (vx::TerminalColorMode mode : modes) {
    SCOPED_TRACE(mode);
    TerminalScreen grid(80, 24, mode);
    grid.setTerminalSize(90, 30);
    grid.setBackground(vx::packRGB(0, 0, 255));
    ModelTerminal term(90, 30);
    vx::seedRandom(7);
    for (int i = 0; i < 600; i++) {
      const int x = vx::randomInt() % 80, y = vx::randomInt() % 24;
      grid.put(x, y, static_cast<char>(vx::randomInt() % 130), vx::packRGB(vx::randomInt() % 256, 255, 0));
      if (i % 5 == 0)
        grid.blend(x, y, vx::packRGB(255, 0, 0), static_cast<unsigned char>(vx::randomInt() % 256));
    }
    grid.put(-1, 3, 'X', 0); // Outside: ignored.
    grid.put(79, 23, 'E', 0xFFFFFF);
    std::vector<vx::TerminalCell> drawn;
    for (int y = 0; y < 24; y++)
      for (int x = 0; x < 80; x++)
        drawn.push_back(grid.cellAt(x, y));
    EXPECT_EQ(drawn[3 * 80].ch, ' ');
    std::string bytes;
    grid.encode(bytes);
    term.feed(bytes);
    expectShows(term, grid, drawn);

    // The same frame again: nothing to write.
    for (int y = 0; y < 24; y++)
      for (int x = 0; x < 80; x++)
        if (drawn[y * 80 + x].ch != ' ' || drawn[y * 80 + x].bg != grid.getBackground())
          grid.put(x, y, drawn[y * 80 + x].ch, drawn[y * 80 + x].fg),
              grid.blend(x, y, drawn[y * 80 + x].bg, 255);
    bytes.clear();
    grid.encode(bytes);
    EXPECT_EQ(bytes.size(), 0u);

    // One cell more: a cursor move, perhaps a colour, one character.
    for (int y = 0; y < 24; y++)
      for (int x = 0; x < 80; x++)
        if (drawn[y * 80 + x].ch != ' ' || drawn[y * 80 + x].bg != grid.getBackground())
          grid.put(x, y, drawn[y * 80 + x].ch, drawn[y * 80 + x].fg),
              grid.blend(x, y, drawn[y * 80 + x].bg, 255);
    grid.put(40, 12, '@', 0xFF0000);
    drawn[12 * 80 + 40] = grid.cellAt(40, 12);
    bytes.clear();
    grid.encode(bytes);
    EXPECT_LE(bytes.size(), 40u);
    EXPECT_GE(bytes.size(), 6u);
    term.feed(bytes);
    expectShows(term, grid, drawn);
  }
}

TEST(TerminalScreen, TooSmallATerminalAsksForMoreUntilResized) {
  TerminalScreen grid(80, 24, vx::TERMINAL_TRUECOLOR);
  grid.setTerminalSize(60, 20);
  ModelTerminal small(60, 20);
  std::string bytes;
  grid.put(0, 0, 'A', 0xFFFFFF);
  grid.encode(bytes);
  small.feed(bytes);
  std::string middle;
  for (int x = 0; x < 60; x++)
    middle += small.cells[10 * 60 + x].ch;
  EXPECT_NE(middle.find(" at least 80 x 24"), std::string::npos) << middle;
  EXPECT_EQ(middle.front(), ' '); // Centred.
  for (int frame = 0; frame < 2; frame++) {
    bytes.clear();
    grid.put(0, 0, 'A', 0xFFFFFF);
    grid.encode(bytes);
  }
  EXPECT_EQ(bytes, ""); // Nothing more until it is resized.
  grid.setTerminalSize(80, 24);
  ModelTerminal big(80, 24);
  grid.put(0, 0, 'A', 0xFFFFFF);
  grid.encode(bytes);
  big.feed(bytes);
  EXPECT_EQ(big.cells[0].ch, 'A');
}

TEST(TerminalScreen, EngineColoursMapExactly) {
  for (int color = 0; color < 8; color++) {
    const int r = color & 1 ? 255 : 0, g = color & 2 ? 255 : 0, b = color & 4 ? 255 : 0;
    const std::uint32_t rgb = vx::packRGB(r, g, b);
    EXPECT_EQ(vx::nearest8(rgb), color);
    EXPECT_EQ(vx::nearest256(rgb), 16 + 36 * (r / 51) + 6 * (g / 51) + b / 51);
  }
}

} // namespace
