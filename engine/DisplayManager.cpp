#include "DisplayManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include <SFML/Graphics.hpp>

#include "Config.h"
#include "DrawBatch.h"
#include "LogManager.h"
#include "Shape.h"
#include "TerminalSession.h"
#include "WindowLoss.h"
#include "WindowSystem.h"
#include "utility.h"

namespace vx {

namespace {

// A frame that grows past this many vertices before the buffers are swapped
// (a program drawing without ever swapping) is drawn early, so the batch's
// memory stays bounded. A full 160 x 48 screen of characters is about 92,000.
const std::size_t MAX_BATCH_VERTICES = 1u << 18;

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

bool isHeadless() { return Config::getInstance().getHeadless(); }

// The terminal display when it is the one in use, else null.
TerminalSession *openTerminal() {
  TerminalSession &terminal = TerminalSession::getInstance();
  return terminal.isOpen() ? &terminal : nullptr;
}

// The box around the ink of every printable character at a size, relative to
// the text position: glyphs hang from a baseline one character size below it.
sf::FloatRect printableInk(const sf::Font &font, unsigned int size) {
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  for (char c = '!'; c <= '~'; c++) {
    const sf::FloatRect bounds = font.getGlyph(static_cast<sf::Uint32>(c), size, true).bounds;
    const float glyph_top = static_cast<float>(size) + bounds.top;
    const bool first = c == '!';
    left = first ? bounds.left : std::min(left, bounds.left);
    top = first ? glyph_top : std::min(top, glyph_top);
    right = first ? bounds.left + bounds.width : std::max(right, bounds.left + bounds.width);
    bottom = first ? glyph_top + bounds.height : std::max(bottom, glyph_top + bounds.height);
  }
  return sf::FloatRect(left, top, right - left, bottom - top);
}

// The largest character size, up to `size`, at which the ink of every
// printable character fits one cell: the neighbours' backgrounds would
// otherwise cut off whatever sticks out. Proportional fonts have characters
// wider than 'W', and every font has some taller than 'H'.
unsigned int fitCharacterSize(const sf::Font &font, unsigned int size) {
  const float cell_width = charWidth();
  const float cell_height = charHeight();
  while (size > 1) {
    const sf::FloatRect ink = printableInk(font, size);
    if (ink.width <= cell_width && ink.height <= cell_height)
      break;
    // The ink grows about in proportion to the size: go near the fitting size
    // at once rather than one size at a time.
    const float ratio = std::min(cell_width / ink.width, cell_height / ink.height);
    size = std::max(1u, std::min(size - 1, static_cast<unsigned int>(static_cast<float>(size) * ratio)));
  }
  return size;
}

// The least whole-pixel move that brings [low, high] inside [begin, end].
float moveInside(float low, float high, float begin, float end) {
  if (low < begin)
    return std::ceil(begin - low);
  if (high > end)
    return std::floor(end - high);
  return 0.0f;
}

// Where a text puts its glyph, the tops of tall characters stand above the
// cell's background (which is offset to line up with capitals and small
// letters) and in some fonts the sides of wide ones past it. The glyphs move,
// all by the same least amount, to bring the ink of every printable character
// inside the background.
Vector glyphOffset(const sf::FloatRect &ink) {
  const float cell_width = charWidth();
  const float cell_height = charHeight();
  const float cell_left = -cell_width / 10;
  const float cell_top = cell_height / 5;
  return Vector(moveInside(ink.left, ink.left + ink.width, cell_left, cell_left + cell_width),
                moveInside(ink.top, ink.top + ink.height, cell_top, cell_top + cell_height));
}

} // namespace

DisplayManager::DisplayManager()
    : m_window_horizontal_pixels(0),
      m_window_vertical_pixels(0),
      m_window_horizontal_chars(0),
      m_window_vertical_chars(0),
      m_window_background_color(sf::Color::Black.toInteger()),
      m_character_size(0),
      m_configured_horizontal_pixels(0),
      m_configured_vertical_pixels(0),
      m_placement(placeGrid(0, 0, 0, 0)) {
  setType("DisplayManager");
}

// A manager never shut down still closes its window and frees the drawing
// batch before the font it refers to, in that order, rather than in member order.
DisplayManager::~DisplayManager() { releaseGraphics(); }

void DisplayManager::releaseGraphics() {
  // The batch refers to the font, so it goes first.
  m_p_batch.reset();
  m_character_size = 0;
  m_glyph_offset = Vector();
  m_placement = placeGrid(0, 0, 0, 0);
  if (m_p_window && m_p_window->isOpen())
    m_p_window->close();
  m_p_window.reset();
  m_p_font.reset();
}

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

  m_window_horizontal_pixels = horizontal_pixels;
  m_window_vertical_pixels = vertical_pixels;
  m_placement = placeGrid(horizontal_pixels, vertical_pixels, horizontal_pixels, vertical_pixels);
  m_window_horizontal_chars = horizontal_chars;
  m_window_vertical_chars = vertical_chars;

  if (config.getHeadless()) {
    log_manager.writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
    Manager::startUp();
    log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
    return 0;
  }

  if (config.getTerminal()) {
    // Shapes are sized in pixels: a terminal cell counts as the window's would.
    if (m_window_horizontal_pixels == 0)
      m_window_horizontal_pixels = 16 * m_window_horizontal_chars;
    if (m_window_vertical_pixels == 0)
      m_window_vertical_pixels = 32 * m_window_vertical_chars;
    const sf::Color background =
        colorToSFML(static_cast<Color>(config.getWindowBackgroundColor()));
    m_window_background_color = background.toInteger();
    if (TerminalSession::getInstance().open(m_window_horizontal_chars, m_window_vertical_chars,
                                            m_window_background_color >> 8) != 0)
      return -1;
    m_terminal = true;
    Manager::startUp();
    log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
    return 0;
  }

  // Without an X display the window library would abort the process.
  const char *display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') {
    log_manager.writeLog("DisplayManager::startUp(): Error! No display (DISPLAY is not set).");
    return -1;
  }
  if (!displayOpens()) {
    log_manager.writeLog("DisplayManager::startUp(): Error! Cannot open the display '%s'.",
                         display);
    return -1;
  }

#if defined(__SANITIZE_ADDRESS__)
  // Sanitizer builds keep one graphics context for the rest of the process:
  // the OpenGL driver is unloaded when the last context closes, and the leak
  // checker could then no longer name the driver's own process-lifetime
  // allocations, so they would escape the suppressions by library name.
  static const sf::Context *const p_driver_keeper = new sf::Context;
  (void)p_driver_keeper;
#endif

  const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
  log_manager.writeLog(5, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
                       static_cast<int>(desktop.width), static_cast<int>(desktop.height));
  if (m_window_horizontal_pixels == 0)
    m_window_horizontal_pixels = static_cast<int>(desktop.width);
  if (m_window_vertical_pixels == 0)
    m_window_vertical_pixels = static_cast<int>(desktop.height);

  const int max_side = maxWindowSide();
  if (m_window_horizontal_pixels > max_side || m_window_vertical_pixels > max_side) {
    log_manager.writeLog("DisplayManager::startUp(): Error! The window system cannot make a "
                         "window of %d x %d pixels (at most %d a side).",
                         m_window_horizontal_pixels, m_window_vertical_pixels, max_side);
    releaseGraphics();
    return -1;
  }

  m_configured_horizontal_pixels = m_window_horizontal_pixels;
  m_configured_vertical_pixels = m_window_vertical_pixels;

  // Fullscreen takes the desktop as it is, without changing its mode; the grid
  // is placed in it as in a resized window.
  sf::Uint32 style = static_cast<sf::Uint32>(config.getWindowStyle());
  sf::VideoMode mode(static_cast<unsigned int>(m_window_horizontal_pixels),
                     static_cast<unsigned int>(m_window_vertical_pixels), 32);
  if (config.getWindowState() == 1) {
    style |= sf::Style::Fullscreen;
    mode = desktop;
  }
  m_p_window.reset(new (std::nothrow) sf::RenderWindow(mode, config.getWindowTitle(), style,
                                                       sf::ContextSettings()));
  if (!m_p_window || !m_p_window->isOpen()) {
    log_manager.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    releaseGraphics();
    return -1;
  }
  endGameOnWindowSystemLoss();
  m_p_window->setMouseCursorVisible(config.getShowMouse());
  m_p_window->setVerticalSyncEnabled(true);

  const std::string font_file = config.getFontFile();
  m_p_font.reset(new (std::nothrow) sf::Font());
  if (!m_p_font || !m_p_font->loadFromFile(font_file)) {
    log_manager.writeLog("DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
                         font_file.c_str());
    releaseGraphics();
    return -1;
  }

  const sf::Vector2u window_size = m_p_window->getSize();
  if (layOutGrid(static_cast<int>(window_size.x), static_cast<int>(window_size.y)) != 0) {
    releaseGraphics();
    return -1;
  }

  const sf::Color background = colorToSFML(static_cast<Color>(config.getWindowBackgroundColor()));
  m_window_background_color = background.toInteger();

  Manager::startUp();
  log_manager.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

int DisplayManager::layOutGrid(int window_width, int window_height) {
  m_placement = placeGrid(window_width, window_height, m_configured_horizontal_pixels,
                          m_configured_vertical_pixels);
  m_window_horizontal_pixels = m_placement.grid_width;
  m_window_vertical_pixels = m_placement.grid_height;
  // Drawing is in the grid's own pixels, one to one with the window's, and
  // clipped to the grid as it was to the window's edges: the library would
  // otherwise stretch the picture drawn for the old size over the new one.
  const float width = static_cast<float>(window_width);
  const float height = static_cast<float>(window_height);
  sf::View view(sf::FloatRect(0.0f, 0.0f, static_cast<float>(m_placement.grid_width),
                              static_cast<float>(m_placement.grid_height)));
  view.setViewport(sf::FloatRect(static_cast<float>(m_placement.left) / width,
                                 static_cast<float>(m_placement.top) / height,
                                 static_cast<float>(m_placement.grid_width) / width,
                                 static_cast<float>(m_placement.grid_height) / height));
  m_p_window->setView(view);
  const float font_scale = Config::getInstance().getFontScale();
  m_p_batch.reset();

  // At least 1: a very small scale would otherwise make every character vanish.
  // The fitting below shrinks any size to the cell. A glyph that fits is never
  // more than a few times the cell's longer side, so a huge scale starts there
  // instead of asking the font for glyphs of billions of pixels.
  const float character_size = std::min(font_scale * std::min(charWidth(), charHeight()),
                                        4 * std::max(charWidth(), charHeight()));
  m_character_size =
      fitCharacterSize(*m_p_font, std::max(1u, static_cast<unsigned int>(character_size)));

  m_glyph_offset = glyphOffset(printableInk(*m_p_font, m_character_size));
  m_p_batch.reset(new (std::nothrow) DrawBatch(*m_p_font, m_character_size,
                                               sf::Vector2f(charWidth(), charHeight()),
                                               sf::Vector2f(m_glyph_offset.getX(),
                                                            m_glyph_offset.getY()),
                                               m_placement.grid_width,
                                               m_placement.grid_height));
  if (!m_p_batch) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! Unable to allocate the drawing batch.");
    return -1;
  }

  return 0;
}

int DisplayManager::resize(int window_width, int window_height) {
  if (!m_p_window || window_width <= 0 || window_height <= 0)
    return -1;
  // The window system may report the size the window already has.
  if (window_width == m_placement.window_width && window_height == m_placement.window_height)
    return 0;
  if (layOutGrid(window_width, window_height) != 0) {
    releaseGraphics();
    return -1;
  }
  LogManager::getInstance().writeLog(
      "DisplayManager::resize(): window %d x %d pixels, grid %d x %d pixels at (%d, %d).",
      window_width, window_height, m_placement.grid_width, m_placement.grid_height,
      m_placement.left, m_placement.top);
  // Whatever the window held is stale at the new size: bars and grid start
  // from the clear colour. Some drivers take the new size into their buffers
  // only when the buffers are swapped, so one cleared frame is shown first.
  m_p_window->clear(sf::Color(m_window_background_color));
  m_p_window->display();
  m_p_window->clear(sf::Color(m_window_background_color));
  m_p_batch->startFrame(sf::Color(m_window_background_color));
  return 0;
}

Letterbox DisplayManager::getPlacement() const { return m_placement; }

float DisplayManager::getGridScale() const { return m_placement.scale; }

Vector DisplayManager::windowToView(Vector window_pixels) const {
  return windowPixelToCell(m_placement, window_pixels, m_window_horizontal_chars,
                           m_window_vertical_chars);
}

int DisplayManager::setTitle(const std::string &title) {
  if (!m_p_window)
    return -1;
  m_p_window->setTitle(title);
  return 0;
}

void DisplayManager::shutDown() {
  releaseGraphics();
  TerminalSession::getInstance().close();
  m_terminal = false;
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color, float angle) const {
  if (isHeadless())
    return -1;
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
  if (!m_p_window) {
    TerminalSession *p_terminal = isHeadless() ? nullptr : openTerminal();
    return p_terminal == nullptr
               ? -1
               : p_terminal->drawCharacter(worldToView(world_pos), ch, packRGB(r, g, b));
  }

  // The background first blanks the cell, then the glyph goes over it.
  const Vector pixels = spacesToPixels(worldToView(world_pos));
  m_p_batch->addCharacter(sf::Vector2f(pixels.getX(), pixels.getY()), ch,
                          sf::Color(r, g, b, 255), sf::Color(m_window_background_color), angle);
  if (m_p_batch->getVertexCount() >= MAX_BATCH_VERTICES)
    flush();
  return 0;
}

int DisplayManager::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                                unsigned char b, unsigned char opacity) const {
  if (!m_p_window) {
    TerminalSession *p_terminal = openTerminal();
    return p_terminal == nullptr ? -1 : p_terminal->drawPolygon(outline, r, g, b, opacity);
  }
  m_p_batch->addPolygon(outline, sf::Color(r, g, b, opacity));
  if (m_p_batch->getVertexCount() >= MAX_BATCH_VERTICES)
    flush();
  return 0;
}

void DisplayManager::flush() const {
  if (m_p_batch && m_p_window)
    m_p_batch->draw(*m_p_window);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just,
                               Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (isHeadless())
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
  // A display without a window gets one byte a cell: dashes become '-',
  // anything else '?'.
  if (!m_p_window)
    return drawCh(world_pos, code == 0x2013 || code == 0x2014 ? '-' : '?', r, g, b, 0);
  const Vector pixels = spacesToPixels(worldToView(world_pos));
  m_p_batch->addCodePoint(sf::Vector2f(pixels.getX(), pixels.getY()), code,
                          sf::Color(r, g, b, 255), sf::Color(m_window_background_color));
  return 0;
}

bool DisplayManager::setBackgroundColor(Color new_color) {
  if (isHeadless())
    return false;
  const sf::Color background = colorToSFML(new_color);
  m_window_background_color = background.toInteger();
  if (TerminalSession *p_terminal = openTerminal())
    p_terminal->getScreen().setBackground(m_window_background_color >> 8);
  return true;
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!m_p_window) {
    TerminalSession *p_terminal = isHeadless() ? nullptr : openTerminal();
    return p_terminal == nullptr ? -1 : p_terminal->present();
  }
  flush();
  m_p_window->display();
  m_p_window->clear(sf::Color(m_window_background_color));
  m_p_batch->startFrame(sf::Color(m_window_background_color));
  return 0;
}

int DisplayManager::getHorizontal() const { return m_window_horizontal_chars; }

int DisplayManager::getVertical() const { return m_window_vertical_chars; }

int DisplayManager::getHorizontalPixels() const { return m_window_horizontal_pixels; }

int DisplayManager::getVerticalPixels() const { return m_window_vertical_pixels; }

sf::RenderWindow *DisplayManager::getWindow() const {
  flush();
  if (m_p_batch)
    m_p_batch->forgetPixels();
  return m_p_window.get();
}

sf::RenderWindow *DisplayManager::getEventWindow() const { return m_p_window.get(); }

void DisplayManager::abandonWindow() {
  // Deliberately not freed: their destructors would call the window system.
  (void)m_p_batch.release();
  (void)m_p_window.release();
  (void)m_p_font.release();
  m_character_size = 0;
}

// Asked for every shape drawn: without a terminal display it looks no further.
bool DisplayManager::usesTerminal() const { return m_terminal && openTerminal() != nullptr; }

const sf::Font *DisplayManager::getFont() const { return m_p_window ? m_p_font.get() : nullptr; }

unsigned int DisplayManager::getCharacterSize() const { return m_character_size; }

Vector DisplayManager::getGlyphOffset() const { return m_glyph_offset; }

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

sf::Color colorToSFML(Color color) {
  const ColorEntry *entry = findColor(color);
  if (entry == nullptr) {
    if (color == CUSTOM)
      LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
    else
      LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.",
                                         static_cast<int>(color));
    return sf::Color::White;
  }
  return sf::Color(entry->r, entry->g, entry->b, 255);
}

std::string colorToString(Color color) {
  const ColorEntry *entry = findColor(color);
  return entry == nullptr ? "Unknown color" : entry->name;
}

} // namespace vx
