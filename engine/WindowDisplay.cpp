#include "WindowDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include <SFML/Graphics.hpp>
#include <SFML/System/Sleep.hpp>

#include "Config.h"
#include "DisplayManager.h"
#include "DrawBatch.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Shape.h"
#include "StopSignals.h"
#include "WindowKeys.h"
#include "WindowLoss.h"
#include "WindowSystem.h"

namespace vx {

namespace {

// A frame that grows past this many vertices before it is presented (a
// program drawing without ever presenting) is drawn early, so the batch's
// memory stays bounded. A full 160 x 48 screen of characters is about 92,000.
const std::size_t MAX_BATCH_VERTICES = 1u << 18;

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

// Where a window of `size` pixels stands centred on the desktop; a window
// larger than the desktop keeps its top-left corner on it.
sf::Vector2i centredOn(const sf::VideoMode &desktop, sf::Vector2u size) {
  const auto centre = [](unsigned int desktop_side, unsigned int window_side) {
    return std::max(0, (static_cast<int>(desktop_side) - static_cast<int>(window_side)) / 2);
  };
  return sf::Vector2i(centre(desktop.width, size.x), centre(desktop.height, size.y));
}

// The library's colour of a 0xRRGGBB one, opaque.
sf::Color opaque(std::uint32_t rgb) {
  return sf::Color(static_cast<sf::Uint8>(rgb >> 16), static_cast<sf::Uint8>(rgb >> 8),
                   static_cast<sf::Uint8>(rgb), 255);
}

// Whether a pixel position lies in the window.
bool inWindow(const sf::RenderWindow &window, sf::Vector2i pixel) {
  const sf::Vector2u size = window.getSize();
  return pixel.x >= 0 && pixel.y >= 0 && static_cast<unsigned int>(pixel.x) < size.x &&
         static_cast<unsigned int>(pixel.y) < size.y;
}

// The view cell under a window pixel.
Vector pixelToView(int x, int y) {
  return DisplayManager::getInstance().windowToView(
      Vector(static_cast<float>(x), static_cast<float>(y)));
}

} // namespace

sf::Color colorToSFML(Color color) { return sf::Color(colorToRGBA(color, "colorToSFML")); }

WindowDisplay::WindowDisplay() = default;

// A display never closed still closes its window and frees the drawing batch
// before the font it refers to, in that order, rather than in member order.
WindowDisplay::~WindowDisplay() { releaseGraphics(); }

void WindowDisplay::releaseGraphics() {
  // The batch refers to the font, so it goes first.
  m_p_batch.reset();
  m_character_size = 0;
  m_glyph_offset = Vector();
  if (m_p_grid != nullptr)
    m_p_grid->placement = placeGrid(0, 0, 0, 0);
  if (m_p_window && m_p_window->isOpen())
    m_p_window->close();
  m_p_window.reset();
  m_p_font.reset();
}

int WindowDisplay::open(DisplayGrid &grid) {
  m_p_grid = &grid;
  const Config &config = Config::getInstance();
  const LogManager &log_manager = LogManager::getInstance();
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
  if (grid.horizontal_pixels == 0)
    grid.horizontal_pixels = static_cast<int>(desktop.width);
  if (grid.vertical_pixels == 0)
    grid.vertical_pixels = static_cast<int>(desktop.height);

  const int max_side = maxWindowSide();
  if (grid.horizontal_pixels > max_side || grid.vertical_pixels > max_side) {
    log_manager.writeLog("DisplayManager::startUp(): Error! The window system cannot make a "
                         "window of %d x %d pixels (at most %d a side).",
                         grid.horizontal_pixels, grid.vertical_pixels, max_side);
    releaseGraphics();
    return -1;
  }

  m_configured_horizontal_pixels = grid.horizontal_pixels;
  m_configured_vertical_pixels = grid.vertical_pixels;

  // Fullscreen takes the desktop as it is, without changing its mode; the grid
  // is placed in it as in a resized window.
  sf::Uint32 style = static_cast<sf::Uint32>(config.getWindowStyle());
  sf::VideoMode mode(static_cast<unsigned int>(grid.horizontal_pixels),
                     static_cast<unsigned int>(grid.vertical_pixels), 32);
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
  // The window library centres a new window across by the desktop's width
  // and down by the desktop's width too: on a landscape desktop without a
  // window manager to move it, the window's bottom rows open below the
  // screen's edge. It is centred here on both axes.
  if (config.getWindowState() != 1)
    m_p_window->setPosition(centredOn(desktop, m_p_window->getSize()));
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

  return 0;
}

void WindowDisplay::close() {
  releaseGraphics();
  m_p_grid = nullptr;
}

int WindowDisplay::layOutGrid(int window_width, int window_height) {
  const Letterbox placement = placeGrid(window_width, window_height,
                                        m_configured_horizontal_pixels,
                                        m_configured_vertical_pixels);
  m_p_grid->placement = placement;
  m_p_grid->horizontal_pixels = placement.grid_width;
  m_p_grid->vertical_pixels = placement.grid_height;
  // Drawing is in the grid's own pixels, one to one with the window's, and
  // clipped to the grid as it was to the window's edges: the library would
  // otherwise stretch the picture drawn for the old size over the new one.
  const float width = static_cast<float>(window_width);
  const float height = static_cast<float>(window_height);
  sf::View view(sf::FloatRect(0.0f, 0.0f, static_cast<float>(placement.grid_width),
                              static_cast<float>(placement.grid_height)));
  view.setViewport(sf::FloatRect(static_cast<float>(placement.left) / width,
                                 static_cast<float>(placement.top) / height,
                                 static_cast<float>(placement.grid_width) / width,
                                 static_cast<float>(placement.grid_height) / height));
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
                                               placement.grid_width,
                                               placement.grid_height));
  if (!m_p_batch) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! Unable to allocate the drawing batch.");
    return -1;
  }

  return 0;
}

int WindowDisplay::resize(int window_width, int window_height) {
  if (!m_p_window)
    return -1;
  // The window system may report the size the window already has.
  if (window_width == m_p_grid->placement.window_width && window_height == m_p_grid->placement.window_height)
    return 0;
  if (layOutGrid(window_width, window_height) != 0) {
    releaseGraphics();
    return -1;
  }
  LogManager::getInstance().writeLog(
      "WindowDisplay::resize(): window %d x %d pixels, grid %d x %d pixels at (%d, %d).",
      window_width, window_height, m_p_grid->placement.grid_width,
      m_p_grid->placement.grid_height, m_p_grid->placement.left, m_p_grid->placement.top);
  // Whatever the window held is stale at the new size: bars and grid start
  // from the clear colour. Some drivers take the new size into their buffers
  // only when the buffers are swapped, so one cleared frame is shown first.
  m_p_window->clear(sf::Color(m_p_grid->background));
  m_p_window->display();
  m_p_window->clear(sf::Color(m_p_grid->background));
  m_p_batch->startFrame(sf::Color(m_p_grid->background));
  return 0;
}

int WindowDisplay::setTitle(const std::string &title) {
  if (!m_p_window)
    return -1;
  m_p_window->setTitle(title);
  return 0;
}

bool WindowDisplay::isShowing() const { return m_p_window != nullptr; }

void WindowDisplay::bound() const {
  if (m_p_batch->getVertexCount() >= MAX_BATCH_VERTICES)
    flush();
}

int WindowDisplay::drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float angle) {
  if (!m_p_window)
    return -1;
  // The background first blanks the cell, then the glyph goes over it.
  const Vector pixels = spacesToPixels(view_cells);
  m_p_batch->addCharacter(sf::Vector2f(pixels.getX(), pixels.getY()), ch, opaque(rgb),
                          sf::Color(m_p_grid->background), angle);
  bound();
  return 0;
}

int WindowDisplay::drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) {
  if (!m_p_window)
    return -1;
  const Vector pixels = spacesToPixels(view_cells);
  m_p_batch->addCodePoint(sf::Vector2f(pixels.getX(), pixels.getY()), code, opaque(rgb),
                          sf::Color(m_p_grid->background));
  return 0;
}

int WindowDisplay::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                               unsigned char b, unsigned char opacity) {
  if (!m_p_window)
    return -1;
  m_p_batch->addPolygon(outline, sf::Color(r, g, b, opacity));
  bound();
  return 0;
}

void WindowDisplay::flush() const {
  if (m_p_batch && m_p_window)
    m_p_batch->draw(*m_p_window);
}

bool WindowDisplay::setBackground(std::uint32_t) { return true; }

int WindowDisplay::present() {
  if (!m_p_window)
    return -1;
  flush();
  m_p_window->display();
  m_p_window->clear(sf::Color(m_p_grid->background));
  m_p_batch->startFrame(sf::Color(m_p_grid->background));
  return 0;
}

sf::RenderWindow *WindowDisplay::getWindow(bool for_drawing) const {
  if (for_drawing) {
    flush();
    if (m_p_batch)
      m_p_batch->forgetPixels();
  }
  return m_p_window.get();
}

void WindowDisplay::abandon() {
  // Deliberately not freed: their destructors would call the window system.
  (void)m_p_batch.release();
  (void)m_p_window.release();
  (void)m_p_font.release();
  m_character_size = 0;
}

const sf::Font *WindowDisplay::getFont() const { return m_p_window ? m_p_font.get() : nullptr; }

unsigned int WindowDisplay::getCharacterSize() const { return m_character_size; }

Vector WindowDisplay::getGlyphOffset() const { return m_glyph_offset; }

int WindowDisplay::startInput() {
  if (!m_p_window) {
    LogManager::getInstance().writeLog(
        "InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
    return 0;
  }
  // Without repeat a held key gives one press, then KEY_DOWN every frame
  // from sampling, then one release.
  m_p_window->setKeyRepeatEnabled(false);
  LogManager::getInstance().writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
  return 0;
}

void WindowDisplay::stopInput() {
  if (!m_p_window)
    return;
  m_p_window->setKeyRepeatEnabled(true);
  LogManager::getInstance().writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
}

void WindowDisplay::deliverMouse(const InputManager &input_manager, EventMouseAction action,
                                 Mouse::Button button, int x, int y) const {
  EventMouse mouse;
  mouse.setMouseAction(action);
  mouse.setMouseButton(button);
  mouse.setMousePosition(pixelToView(x, y));
  input_manager.onEvent(&mouse);
}

void WindowDisplay::deliverInput(const InputManager &input_manager) {
  if (!m_p_window) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }

  // Everything the window queued since the last frame, in order; a window
  // another program destroyed is closed.
  sf::Event event;
  while (windowDestroyed() ? (event.type = sf::Event::Closed, true) : m_p_window->pollEvent(event)) {
    switch (event.type) {
      case sf::Event::Closed:
        LogManager::getInstance().writeLog(
            windowDestroyed() ? 0 : 1, "InputManager::getInput(): Window closed. Setting game over.");
        input_manager.deliverClose();
        return;
      case sf::Event::KeyPressed:
      case sf::Event::KeyReleased: {
        EventKeyboard keyboard = windowKeyboardEvent(event);
        keyboard.setKeyboardAction(event.type == sf::Event::KeyPressed ? KEY_PRESSED
                                                                       : KEY_RELEASED);
        input_manager.onEvent(&keyboard);
        break;
      }
      case sf::Event::MouseMoved:
        deliverMouse(input_manager, MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, event.mouseMove.x,
                     event.mouseMove.y);
        break;
      case sf::Event::MouseButtonPressed:
        deliverMouse(input_manager, CLICKED, translateButton(event.mouseButton.button),
                     event.mouseButton.x, event.mouseButton.y);
        break;
      case sf::Event::Resized:
        DisplayManager::getInstance().resize(static_cast<int>(event.size.width),
                                             static_cast<int>(event.size.height));
        break;
      default:
        break;
    }
  }

  // Where the pointer is now; over the window, that is its last known place.
  const sf::Vector2i pointer = sf::Mouse::getPosition(*m_p_window);
  if (input_manager.takePointerUpdate())
    deliverMouse(input_manager, MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, pointer.x, pointer.y);
  else if (inWindow(*m_p_window, pointer))
    input_manager.notePointer(pixelToView(pointer.x, pointer.y));

  // Held mouse buttons: one PRESSED event per held button, left first.
  EventMouse held;
  held.setMouseAction(PRESSED);
  held.setMousePosition(pixelToView(pointer.x, pointer.y));
  const sf::Mouse::Button buttons[] = {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle};
  for (sf::Mouse::Button button : buttons) {
    if (sf::Mouse::isButtonPressed(button)) {
      held.setMouseButton(translateButton(button));
      input_manager.onEvent(&held);
    }
  }

  // Held keys: KEY_DOWN for every sampled key that is down, in table order.
  m_held.clear();
  heldKeys(m_held);
  for (Keyboard::Key key : m_held) {
    EventKeyboard keyboard;
    keyboard.setKey(key);
    keyboard.setKeyboardAction(KEY_DOWN);
    input_manager.onEvent(&keyboard);
  }
}

WindowEvent WindowDisplay::nextEvent(bool wait) {
  if (m_p_window && windowDestroyed())
    return WINDOW_CLOSED;
  if (!m_p_window || !m_p_window->isOpen())
    return NO_WINDOW_EVENT;
  sf::Event event;
  // The window library's own wait checks for events every 10 ms; this one
  // does the same and also wakes for a stop signal.
  while (!m_p_window->pollEvent(event)) {
    if (!wait)
      return NO_WINDOW_EVENT;
    if (pendingStopSignal() != 0)
      return WINDOW_CLOSED;
    sf::sleep(sf::milliseconds(10));
  }
  switch (event.type) {
    case sf::Event::Closed:
      return WINDOW_CLOSED;
    case sf::Event::KeyPressed:
      return WINDOW_KEY_PRESSED;
    case sf::Event::Resized:
      DisplayManager::getInstance().resize(static_cast<int>(event.size.width),
                                           static_cast<int>(event.size.height));
      return WINDOW_RESIZED;
    default:
      return OTHER_WINDOW_EVENT;
  }
}

} // namespace vx
