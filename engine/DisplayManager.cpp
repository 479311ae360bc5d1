#include "DisplayManager.h"

#include <cmath>

#include "Config.h"
#include "LogManager.h"
#include "NoDisplay.h"
#include "TerminalDisplay.h"
#include "WindowDisplay.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vx {

namespace {

// Pixels per cell along one axis; 0 while the cell count is not known, so that
// conversions made before start-up give 0 instead of dividing by zero.
float pixelsPerCell(int pixels, int chars) {
  if (chars <= 0)
    return 0.0f;
  return static_cast<float>(pixels) / static_cast<float>(chars);
}

// A pixel coordinate in cells, 0 when the cell size is not known.
float pixelsToCells(float pixels, float cell_size) {
  if (cell_size == 0.0f)
    return 0.0f;
  return pixels / cell_size;
}

// Logs a refused window size and returns -1.
int refuseSize(const char *name, int value, int minimum) {
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Error! %s is %d, must be at least %d.", name, value, minimum);
  return -1;
}

// The display a configuration's "display" names.
std::unique_ptr<DisplayBackend> makeDisplay(const std::string &kind) {
  if (kind == "window")
    return std::make_unique<WindowDisplay>();
  if (kind == "terminal")
    return std::make_unique<TerminalDisplay>();
  return std::make_unique<NoDisplay>();
}

// The colour 0xRRGGBB of its three parts.
std::uint32_t packedRGB(unsigned char r, unsigned char g, unsigned char b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

} // namespace

DisplayManager::DisplayManager() : m_p_display(std::make_unique<NoDisplay>()) {
  setType("DisplayManager");
}

// A manager never shut down still closes its window, through the display's
// own destructor.
DisplayManager::~DisplayManager() = default;

int DisplayManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);

  const Config &config = Config::getInstance();
  const LogManager &log_manager = LogManager::getInstance();

  // Every conversion divides by the cell counts, and a negative pixel size has
  // no meaning (0 pixels stands for the desktop's size).
  const int horizontal_pixels = config.getWindowHorizontalPixels();
  const int vertical_pixels = config.getWindowVerticalPixels();
  const int horizontal_chars = config.getWindowHorizontalChars();
  const int vertical_chars = config.getWindowVerticalChars();
  if (horizontal_pixels < 0)
    return refuseSize("window_horizontal_pixels", horizontal_pixels, 0);
  if (vertical_pixels < 0)
    return refuseSize("window_vertical_pixels", vertical_pixels, 0);
  if (horizontal_chars < 1)
    return refuseSize("window_horizontal_chars", horizontal_chars, 1);
  if (vertical_chars < 1)
    return refuseSize("window_vertical_chars", vertical_chars, 1);
  // The font is sized by this factor, which must give a usable character size.
  const float font_scale = config.getFontScale();
  if (!(font_scale > 0.0f) || !std::isfinite(font_scale)) {
    log_manager.writeLog("DisplayManager::startUp(): Error! font_scale is %g, must be more than 0.",
                         static_cast<double>(font_scale));
    return -1;
  }

  m_grid.horizontal_pixels = horizontal_pixels;
  m_grid.vertical_pixels = vertical_pixels;
  m_grid.placement = placeGrid(horizontal_pixels, vertical_pixels, horizontal_pixels,
                               vertical_pixels);
  m_grid.horizontal_chars = horizontal_chars;
  m_grid.vertical_chars = vertical_chars;

  m_grid.background =
      colorToRGBA(static_cast<Color>(config.getWindowBackgroundColor()), "colorToSFML");
  const std::string kind = config.getDisplay();
  std::unique_ptr<DisplayBackend> p_display = makeDisplay(kind);
  if (p_display->open(m_grid) != 0)
    return -1;
  m_p_display = std::move(p_display);
  m_terminal = kind == "terminal";
  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

void DisplayManager::shutDown() {
  m_p_display->close();
  m_p_display = std::make_unique<NoDisplay>();
  m_grid.placement = placeGrid(0, 0, 0, 0);
  m_terminal = false;
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

int DisplayManager::resize(int window_width, int window_height) {
  if (window_width <= 0 || window_height <= 0)
    return -1;
  return m_p_display->resize(window_width, window_height);
}

Letterbox DisplayManager::getPlacement() const { return m_grid.placement; }

float DisplayManager::getGridScale() const { return m_grid.placement.scale; }

Vector DisplayManager::windowToView(Vector window_pixels) const {
  return windowPixelToCell(m_grid.placement, window_pixels, m_grid.horizontal_chars,
                           m_grid.vertical_chars);
}

int DisplayManager::setTitle(const std::string &title) { return m_p_display->setTitle(title); }

int DisplayManager::drawCh(Vector world_pos, char ch, Color color, float angle) const {
  // Colours without an RGB value of their own draw white, as colorToSFML does.
  unsigned char r = 255, g = 255, b = 255;
  colorToRGB(color, r, g, b);
  return drawCh(world_pos, ch, r, g, b, angle);
}

int DisplayManager::drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g,
                           unsigned char b, float angle) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  return m_p_display->drawCharacter(worldToView(world_pos), ch, packedRGB(r, g, b), angle);
}

int DisplayManager::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                                unsigned char b, unsigned char opacity) const {
  return m_p_display->drawPolygon(outline, r, g, b, opacity);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just,
                               Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!m_p_display->isShowing())
    return -1;

  const float length = static_cast<float>(str.size());
  Vector start = world_pos;
  switch (just) {
  case JUSTIFY_CENTER:
    start.setX(world_pos.getX() - static_cast<float>(str.size() / 2));
    break;
  case JUSTIFY_RIGHT:
    start.setX(world_pos.getX() - length);
    break;
  case JUSTIFY_LEFT:
  default:
    break;
  }

  unsigned char r = 255, g = 255, b = 255;
  colorToRGB(color, r, g, b);
  for (std::size_t i = 0; i < str.size(); i++)
    drawCh(Vector(start.getX() + static_cast<float>(i), start.getY()), str[i], r, g, b, 0);
  return 0;
}

int DisplayManager::drawCodePoint(Vector world_pos, std::uint32_t code, unsigned char r,
                                  unsigned char g, unsigned char b) const {
  if (code < 0x80)
    return drawCh(world_pos, static_cast<char>(code), r, g, b, 0);
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  return m_p_display->drawCodePoint(worldToView(world_pos), code, packedRGB(r, g, b));
}

bool DisplayManager::setBackgroundColor(Color new_color) {
  const std::uint32_t previous = m_grid.background;
  m_grid.background = colorToRGBA(new_color, "colorToSFML");
  if (m_p_display->setBackground(m_grid.background))
    return true;
  m_grid.background = previous;
  return false;
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  return m_p_display->present();
}

int DisplayManager::getHorizontal() const { return m_grid.horizontal_chars; }

int DisplayManager::getVertical() const { return m_grid.vertical_chars; }

int DisplayManager::getHorizontalPixels() const { return m_grid.horizontal_pixels; }

int DisplayManager::getVerticalPixels() const { return m_grid.vertical_pixels; }

sf::RenderWindow *DisplayManager::getWindow() const { return m_p_display->getWindow(true); }

sf::RenderWindow *DisplayManager::getEventWindow() const { return m_p_display->getWindow(false); }

bool DisplayManager::hasWindow() const { return getEventWindow() != nullptr; }

DisplayBackend &DisplayManager::getBackend() const { return *m_p_display; }

void DisplayManager::abandonWindow() { m_p_display->abandon(); }

// Kept for callers that ask; the engine itself asks the display what it can do.
bool DisplayManager::usesTerminal() const { return m_terminal && isShowing(); }

const sf::Font *DisplayManager::getFont() const { return m_p_display->getFont(); }

unsigned int DisplayManager::getCharacterSize() const { return m_p_display->getCharacterSize(); }

Vector DisplayManager::getGlyphOffset() const { return m_p_display->getGlyphOffset(); }

float charWidth() {
  const DisplayManager &display = DisplayManager::getInstance();
  return pixelsPerCell(display.getHorizontalPixels(), display.getHorizontal());
}

float charHeight() {
  const DisplayManager &display = DisplayManager::getInstance();
  return pixelsPerCell(display.getVerticalPixels(), display.getVertical());
}

Vector spacesToPixels(Vector spaces) {
  const Vector pixels(spaces.getX() * charWidth(), spaces.getY() * charHeight());
  LogManager::getInstance().writeLog(
      30, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()),
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()));
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  const Vector spaces(pixelsToCells(pixels.getX(), charWidth()),
                      pixelsToCells(pixels.getY(), charHeight()));
  LogManager::getInstance().writeLog(
      30, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
      static_cast<double>(pixels.getX()), static_cast<double>(pixels.getY()),
      static_cast<double>(spaces.getX()), static_cast<double>(spaces.getY()));
  return spaces;
}

namespace {

struct ColorEntry {
  unsigned char r, g, b;
  const char *name;
};

// The engine colours BLACK to WHITE, indexed by their value.
const ColorEntry COLORS[] = {
    {0, 0, 0, "Black"},     {255, 0, 0, "Red"},       {0, 255, 0, "Green"},
    {255, 255, 0, "Yellow"}, {0, 0, 255, "Blue"},     {255, 0, 255, "Magenta"},
    {0, 255, 255, "Cyan"},  {255, 255, 255, "White"},
};

// The table entry of an engine colour, or null for CUSTOM and unsupported values.
const ColorEntry *findColor(Color color) {
  if (color < BLACK || color > WHITE)
    return nullptr;
  return &COLORS[color];
}

} // namespace

void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
  const ColorEntry *entry = findColor(color);
  if (entry == nullptr) {
    if (color != CUSTOM)
      LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.",
                                         static_cast<int>(color));
    return;
  }
  r = entry->r;
  g = entry->g;
  b = entry->b;
}

std::uint32_t colorToRGBA(Color color, const char *caller) {
  const ColorEntry *entry = findColor(color);
  if (entry == nullptr) {
    if (color == CUSTOM)
      LogManager::getInstance().writeLog(5, "%s(): Color is CUSTOM.", caller);
    else
      LogManager::getInstance().writeLog(5, "%s(): Color %d not supported.", caller,
                                         static_cast<int>(color));
    return 0xFFFFFFFFu;
  }
  return (static_cast<std::uint32_t>(entry->r) << 24) |
         (static_cast<std::uint32_t>(entry->g) << 16) |
         (static_cast<std::uint32_t>(entry->b) << 8) | 0xFFu;
}

std::string colorToString(Color color) {
  const ColorEntry *entry = findColor(color);
  return entry == nullptr ? "Unknown color" : entry->name;
}

} // namespace vx
