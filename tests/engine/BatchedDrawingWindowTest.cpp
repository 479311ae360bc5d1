// The display draws a frame as one batch of triangles; the picture must be the
// one that drawing every character, string, sprite and shape with a library
// call of its own gives. Seeded random scenes are drawn both ways in the same
// window and read back.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "ReferenceDrawing.h"
#include "Shape.h"
#include "Sprite.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "WorldManager.h"

using vx::DisplayManager;
using vx::Vector;

namespace {

// The two paths place the same vertices through different float arithmetic
// (the batch on the processor, the reference as a transform on the graphics
// side), so results may differ in the last bits: anti-aliased glyph edges then
// come out up to 2 apart in a colour channel, and now and then a pixel on a
// polygon's edge falls on the other side of it. Such a pixel takes the
// colour the reference gives one of its neighbours. Anything else is a fault,
// and so is a difference on more than 1 pixel in 2000.
const int CHANNEL_TOLERANCE = 2;
const int DIFFERING_PIXELS_PER_MISMATCH = 2000;

// One thing a scene draws.
struct Drawing {
  enum Kind { CHARACTER, STRING, SPRITE, SHAPE, BACKGROUND } kind;
  Vector position;
  std::string text;                 // The character, the string or the frame's picture.
  int width = 0, height = 0;        // Of the frame.
  vx::Color color = vx::WHITE;
  bool rgb = false;                 // The character is drawn in rgb_color instead.
  sf::Color rgb_color;
  float angle = 0;
  vx::Justification justification = vx::JUSTIFY_LEFT;
  char transparent = 0;
  vx::Transform transform = vx::NONE;
  vx::Shape shape;

  Drawing(Kind new_kind, Vector new_position) : kind(new_kind), position(new_position) {}
};

struct SceneCase {
  const char *name;
  const char *config;   // Window settings.
  unsigned seed;
  Vector view_corner;   // Where the view's top-left corner is in the world.
  int full_screens;     // Whole screens of characters drawn before the scene.
  int drawings;         // Random drawings in the scene.
  bool every_byte;      // Every char value drawn once before the scene.
};

void PrintTo(const SceneCase &scene_case, std::ostream *os) { *os << scene_case.name; }

int channelDifference(sf::Color a, sf::Color b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// Whether the colour is, within the tolerance, that of the reference pixel at
// (x, y) or of one of its eight neighbours.
bool nearReference(sf::Color color, const sf::Image &reference, unsigned x, unsigned y) {
  for (unsigned ny = y == 0 ? 0 : y - 1; ny <= y + 1 && ny < reference.getSize().y; ny++)
    for (unsigned nx = x == 0 ? 0 : x - 1; nx <= x + 1 && nx < reference.getSize().x; nx++)
      if (channelDifference(color, reference.getPixel(nx, ny)) <= CHANNEL_TOLERANCE)
        return true;
  return false;
}

class Scene {
 private:
  std::mt19937 m_random;
  int m_columns, m_rows;

  int integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
  float real(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(m_random);
  }
  bool chance(int percent) { return integer(0, 99) < percent; }

  // Whole cells, half cells (as even-sized sprites place characters) or anywhere.
  Vector position() {
    Vector p(static_cast<float>(integer(-1, m_columns)), static_cast<float>(integer(-1, m_rows)));
    const int kind = integer(0, 2);
    if (kind == 1)
      p = p + Vector(0.5f, 0.5f);
    else if (kind == 2)
      p = p + Vector(real(0, 1), real(0, 1));
    return p;
  }
  vx::Color engineColor() { return static_cast<vx::Color>(integer(vx::BLACK, vx::WHITE)); }
  // Mostly printable, now and then any byte at all.
  char character() { return static_cast<char>(chance(90) ? integer(32, 126) : integer(0, 255)); }
  std::string characters(int count) {
    std::string s;
    for (int i = 0; i < count; i++)
      s += character();
    return s;
  }

 public:
  std::vector<Drawing> m_drawings;

  Scene(const SceneCase &scene_case, int columns, int rows)
      : m_random(scene_case.seed), m_columns(columns), m_rows(rows) {
    for (int screen = 0; screen < scene_case.full_screens; screen++)
      for (int y = 0; y < rows; y++)
        for (int x = 0; x < columns; x++) {
          Drawing d(Drawing::CHARACTER, Vector(static_cast<float>(x), static_cast<float>(y)));
          d.text = std::string(1, static_cast<char>('A' + (x + y + screen) % 26));
          d.color = static_cast<vx::Color>(vx::RED + (x + y + screen) % 7);
          m_drawings.push_back(d);
        }
    for (int value = 0; scene_case.every_byte && value < 256; value++) {
      Drawing d(Drawing::CHARACTER, Vector(static_cast<float>(value % 32 * 2),
                                           static_cast<float>(value / 32 * 2)));
      d.text = std::string(1, static_cast<char>(value));
      d.color = static_cast<vx::Color>(vx::RED + value % 7);
      m_drawings.push_back(d);
    }
    for (int i = 0; i < scene_case.drawings; i++)
      m_drawings.push_back(random());
  }

  Drawing random() {
    Drawing d(static_cast<Drawing::Kind>(chance(2) ? Drawing::BACKGROUND : integer(0, 3)),
              position());
    d.color = engineColor();
    switch (d.kind) {
    case Drawing::CHARACTER:
      d.text = std::string(1, character());
      d.rgb = chance(40);
      d.rgb_color = sf::Color(static_cast<sf::Uint8>(integer(0, 255)),
                              static_cast<sf::Uint8>(integer(0, 255)),
                              static_cast<sf::Uint8>(integer(0, 255)));
      d.angle = chance(25) ? real(-360, 360) : 0.0f;
      break;
    case Drawing::STRING:
      d.text = characters(integer(0, 12));
      d.justification = static_cast<vx::Justification>(integer(0, 2));
      break;
    case Drawing::SPRITE:
      d.width = integer(1, 6);
      d.height = integer(1, 4);
      d.text = characters(d.width * d.height);
      d.transparent = chance(50) ? d.text[0] : 0;
      d.transform = static_cast<vx::Transform>(integer(0, 3));
      break;
    case Drawing::SHAPE:
      d.shape.setType(integer(vx::CIRCLE, vx::TRIANGLE));
      d.shape.setSize(real(1, 48));
      d.shape.setOpacity(static_cast<unsigned char>(integer(0, 255)));
      if (chance(50))
        d.shape.setColor(d.color);
      else
        d.shape.setColor(static_cast<unsigned char>(integer(0, 255)),
                         static_cast<unsigned char>(integer(0, 255)),
                         static_cast<unsigned char>(integer(0, 255)));
      break;
    case Drawing::BACKGROUND:
      break;
    }
    return d;
  }
};

// Draws through the display manager: the batched path.
void drawBatched(Drawing d) {
  DisplayManager &display = DisplayManager::getInstance();
  switch (d.kind) {
  case Drawing::CHARACTER:
    if (d.rgb)
      display.drawCh(d.position, d.text[0], d.rgb_color.r, d.rgb_color.g, d.rgb_color.b, d.angle);
    else
      display.drawCh(d.position, d.text[0], d.color, d.angle);
    break;
  case Drawing::STRING:
    display.drawString(d.position, d.text, d.justification, d.color);
    break;
  case Drawing::SPRITE: {
    vx::Sprite sprite(1);
    sprite.setWidth(d.width);
    sprite.setHeight(d.height);
    sprite.setColor(d.color);
    sprite.addFrame(vx::Frame(d.width, d.height, d.text));
    sprite.draw(0, d.position, d.transparent, d.transform);
    break;
  }
  case Drawing::SHAPE:
    d.shape.draw(d.position);
    break;
  case Drawing::BACKGROUND:
    display.setBackgroundColor(d.color);
    break;
  }
}

// Draws the same with one library call per figure: where every character of a
// string or a frame lands is worked out here from how strings are justified
// and frames are centred and mirrored.
void drawReference(const Drawing &d, vxtest::ReferenceDrawing &reference) {
  const sf::Color color = vx::colorToSFML(d.color);
  const float x = d.position.getX(), y = d.position.getY();
  switch (d.kind) {
  case Drawing::CHARACTER:
    reference.drawCh(d.position, d.text[0], d.rgb ? d.rgb_color : color, d.angle);
    break;
  case Drawing::STRING: {
    const int length = static_cast<int>(d.text.size());
    const int shift[] = {0, length / 2, length};
    for (int i = 0; i < length; i++)
      reference.drawCh(Vector(x - static_cast<float>(shift[d.justification] - i), y), d.text[i],
                       color);
    break;
  }
  case Drawing::SPRITE: {
    const bool flip_rows = d.transform == vx::VERTICAL || d.transform == vx::BOTH;
    const bool flip_columns = d.transform == vx::HORIZONTAL || d.transform == vx::BOTH;
    for (int i = 0; i < d.height; i++)
      for (int j = 0; j < d.width; j++) {
        const int row = flip_rows ? d.height - 1 - i : i;
        const int column = flip_columns ? d.width - 1 - j : j;
        const char ch = d.text[static_cast<std::size_t>(column + row * d.width)];
        if (d.transparent != 0 && ch == d.transparent)
          continue;
        reference.drawCh(Vector(x + static_cast<float>(j) - static_cast<float>(d.width - 1) * 0.5f,
                                y + static_cast<float>(i) - static_cast<float>(d.height - 1) * 0.5f),
                         ch, color);
      }
    break;
  }
  case Drawing::SHAPE:
    reference.drawShape(d.shape, d.position);
    break;
  case Drawing::BACKGROUND:
    reference.setBackground(color);
    break;
  }
}

// Starts a frame on a black window.
void newFrame() {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_TRUE(display.setBackgroundColor(vx::BLACK));
  ASSERT_EQ(display.swapBuffers(), 0);
}

class BatchedDrawing : public ::testing::TestWithParam<SceneCase> {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override {
    vx::Config::getInstance().loadConfig(std::string("headless:false,") + GetParam().config);
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    vx::WorldManager &world = vx::WorldManager::getInstance();
    vx::Box view = world.getView();
    view.setCorner(GetParam().view_corner);
    world.setView(view);
  }

  void TearDown() override { DisplayManager::getInstance().shutDown(); }
};

} // namespace

TEST_P(BatchedDrawing, SceneLooksAsWithOneCallPerFigure) {
  const DisplayManager &display = DisplayManager::getInstance();
  const Scene scene(GetParam(), display.getHorizontal(), display.getVertical());

  newFrame();
  for (const Drawing &d : scene.m_drawings)
    drawBatched(d);
  const sf::Image batched = vxtest::backBuffer();

  newFrame();
  vxtest::ReferenceDrawing reference(sf::Color::Black);
  for (const Drawing &d : scene.m_drawings)
    drawReference(d, reference);
  const sf::Image expected = vxtest::backBuffer();

  ASSERT_EQ(batched.getSize(), expected.getSize());
  const int pixels = static_cast<int>(expected.getSize().x * expected.getSize().y);
  int differing = 0, unexplained = 0, drawn = 0, largest = 0;
  for (unsigned y = 0; y < expected.getSize().y; y++)
    for (unsigned x = 0; x < expected.getSize().x; x++) {
      const sf::Color colour = batched.getPixel(x, y);
      const int difference = channelDifference(colour, expected.getPixel(x, y));
      differing += difference > 0;
      largest = std::max(largest, difference);
      if (difference > CHANNEL_TOLERANCE && !nearReference(colour, expected, x, y)) {
        if (unexplained++ == 0)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs by " << difference;
      }
      drawn += expected.getPixel(x, y) != sf::Color::Black;
    }
  RecordProperty("differing_pixels", differing);
  RecordProperty("largest_channel_difference", largest);
  EXPECT_EQ(unexplained, 0);
  EXPECT_LE(differing, pixels / DIFFERING_PIXELS_PER_MISMATCH);
  // The scene covers a good part of the window, so matching means something.
  EXPECT_GT(drawn, pixels / 10);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, BatchedDrawing,
    ::testing::Values(
        // Cells of 12.8 x 32 pixels: glyphs shrunk to fit the cell width.
        SceneCase{"DefaultWindow", "", 1, Vector(0, 0), 0, 600, false},
        SceneCase{"SquareCells", "window_horizontal_pixels:800,window_vertical_pixels:480,"
                  "window_horizontal_chars:40,window_vertical_chars:24,font_scale:1.0",
                  2, Vector(0, 0), 0, 600, true},
        SceneCase{"ViewMoved", "", 3, Vector(3.5f, -2.25f), 0, 600, false},
        SceneCase{"SmallCells", "window_horizontal_chars:160,window_vertical_chars:48", 4,
                  Vector(0, 0), 0, 1500, false},
        // Cells of 12.5 x 29.17 pixels.
        SceneCase{"UnevenCells", "window_horizontal_pixels:1000,window_vertical_pixels:700", 5,
                  Vector(0, 0), 0, 600, true},
        // More than the batch holds before it draws early: order must survive.
        SceneCase{"OverfullFrame", "", 6, Vector(0, 0), 12, 300, false}),
    [](const ::testing::TestParamInfo<SceneCase> &info) { return std::string(info.param.name); });
