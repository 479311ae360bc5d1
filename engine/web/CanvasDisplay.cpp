#include "CanvasDisplay.h"

#include <emscripten.h>

#include <cmath>

#include "Config.h"
#include "DisplayManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Pause.h"
#include "Shape.h"

// The page's side (web/vexlo-library.js).
extern "C" {
int vx_canvas_open(const char *font_path);
void vx_canvas_size(int *out);
void vx_canvas_place(int left, int top, int width, int height, int columns, int rows,
                     float font_scale, int *out);
void vx_canvas_title(const char *title);
void vx_canvas_draw(const vx::CanvasOp *ops, int count, std::uint32_t clear);
int vx_input_next(int *out, char *code, int code_size);
}

namespace vx {

namespace {

// The page's event types (vx-library.js).
enum PageEvent : int {
  PAGE_KEY_DOWN = 0,
  PAGE_KEY_UP = 1,
  PAGE_MOUSE_MOVE = 2,
  PAGE_MOUSE_DOWN = 3,
  PAGE_MOUSE_UP = 4,
  PAGE_RESIZE = 5,
  PAGE_FOCUS_LOST = 6,
};

CanvasDisplay *g_p_open = nullptr;

struct PageKey {
  const char *code;  // The page's name for where the key sits on the keyboard.
  Keyboard::Key key;
  bool held;         // Also sampled every frame for KEY_DOWN.
};

// The page's keys for the keys the window knows, in the window's order of
// sampling held keys (a game plays the same on both); F11 and F12 come last
// and are never sampled (the page leaves them to the browser anyway).
const PageKey PAGE_KEYS[] = {
    {"ArrowUp", Keyboard::UPARROW, true}, {"ArrowDown", Keyboard::DOWNARROW, true},
    {"ArrowLeft", Keyboard::LEFTARROW, true}, {"ArrowRight", Keyboard::RIGHTARROW, true},
    {"Space", Keyboard::SPACE, true}, {"Enter", Keyboard::RETURN, true},
    {"Tab", Keyboard::TAB, true}, {"Escape", Keyboard::ESCAPE, true},
    {"Pause", Keyboard::PAUSE, true}, {"NumpadSubtract", Keyboard::MINUS, true},
    {"NumpadAdd", Keyboard::PLUS, true}, {"Backquote", Keyboard::TILDE, true},
    {"Period", Keyboard::PERIOD, true}, {"Comma", Keyboard::COMMA, true},
    {"Slash", Keyboard::SLASH, true}, {"Equal", Keyboard::EQUALS, true},
    {"Backslash", Keyboard::BACKSLASH, true}, {"NumpadMultiply", Keyboard::MULTIPLY, true},
    {"Quote", Keyboard::QUOTE, true}, {"BracketLeft", Keyboard::LEFTBRACKET, true},
    {"BracketRight", Keyboard::RIGHTBRACKET, true}, {"Semicolon", Keyboard::SEMICOLON, true},
    {"ControlLeft", Keyboard::LEFTCONTROL, true}, {"ControlRight", Keyboard::RIGHTCONTROL, true},
    {"ShiftLeft", Keyboard::LEFTSHIFT, true}, {"ShiftRight", Keyboard::RIGHTSHIFT, true},
    {"F1", Keyboard::F1, true}, {"F2", Keyboard::F2, true}, {"F3", Keyboard::F3, true},
    {"F4", Keyboard::F4, true}, {"F5", Keyboard::F5, true}, {"F6", Keyboard::F6, true},
    {"F7", Keyboard::F7, true}, {"F8", Keyboard::F8, true}, {"F9", Keyboard::F9, true},
    {"F10", Keyboard::F10, true}, {"KeyA", Keyboard::A, true}, {"KeyB", Keyboard::B, true},
    {"KeyC", Keyboard::C, true}, {"KeyD", Keyboard::D, true}, {"KeyE", Keyboard::E, true},
    {"KeyF", Keyboard::F, true}, {"KeyG", Keyboard::G, true}, {"KeyH", Keyboard::H, true},
    {"KeyI", Keyboard::I, true}, {"KeyJ", Keyboard::J, true}, {"KeyK", Keyboard::K, true},
    {"KeyL", Keyboard::L, true}, {"KeyM", Keyboard::M, true}, {"KeyN", Keyboard::N, true},
    {"KeyO", Keyboard::O, true}, {"KeyP", Keyboard::P, true}, {"KeyQ", Keyboard::Q, true},
    {"KeyR", Keyboard::R, true}, {"KeyS", Keyboard::S, true}, {"KeyT", Keyboard::T, true},
    {"KeyU", Keyboard::U, true}, {"KeyV", Keyboard::V, true}, {"KeyW", Keyboard::W, true},
    {"KeyX", Keyboard::X, true}, {"KeyY", Keyboard::Y, true}, {"KeyZ", Keyboard::Z, true},
    {"Digit1", Keyboard::NUM1, true}, {"Digit2", Keyboard::NUM2, true},
    {"Digit3", Keyboard::NUM3, true}, {"Digit4", Keyboard::NUM4, true},
    {"Digit5", Keyboard::NUM5, true}, {"Digit6", Keyboard::NUM6, true},
    {"Digit7", Keyboard::NUM7, true}, {"Digit8", Keyboard::NUM8, true},
    {"Digit9", Keyboard::NUM9, true}, {"Digit0", Keyboard::NUM0, true},
    {"Backspace", Keyboard::BACKSPACE, true},
    {"F11", Keyboard::F11, false}, {"F12", Keyboard::F12, false},
};

// The engine button for the page's button number (0 left, 1 middle, 2 right),
// and its index among the held ones (left, right, middle).
Mouse::Button pageButton(const std::string &code) {
  if (code == "0")
    return Mouse::LEFT;
  if (code == "1")
    return Mouse::MIDDLE;
  if (code == "2")
    return Mouse::RIGHT;
  return Mouse::UNDEFINED_MOUSE_BUTTON;
}

EventMouse mouseAt(EventMouseAction action, Mouse::Button button, int x, int y) {
  EventMouse event;
  event.setMouseAction(action);
  event.setMouseButton(button);
  event.setMousePosition(DisplayManager::getInstance().windowToView(
      Vector(static_cast<float>(x), static_cast<float>(y))));
  return event;
}

EventKeyboard keyEvent(Keyboard::Key key, EventKeyboardAction action) {
  EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(action);
  return event;
}

} // namespace

Keyboard::Key pageKey(const std::string &code) {
  for (const PageKey &entry : PAGE_KEYS)
    if (code == entry.code)
      return entry.key;
  return Keyboard::UNDEFINED_KEY;
}

const std::vector<Keyboard::Key> &sampledKeys() {
  static const std::vector<Keyboard::Key> keys = [] {
    std::vector<Keyboard::Key> held;
    for (const PageKey &entry : PAGE_KEYS)
      if (entry.held)
        held.push_back(entry.key);
    return held;
  }();
  return keys;
}

CanvasDisplay::CanvasDisplay() = default;

CanvasDisplay::~CanvasDisplay() { close(); }

CanvasDisplay *CanvasDisplay::getOpen() { return g_p_open; }

const std::string &CanvasDisplay::getShownText() const { return m_shown_text; }

int CanvasDisplay::open(DisplayGrid &grid) {
  const Config &config = Config::getInstance();
  const std::string font_file = config.getFontFile();
  if (vx_canvas_open(font_file.c_str()) != 0) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
        font_file.c_str());
    return -1;
  }
  int size[2] = {0, 0};
  vx_canvas_size(size);
  // A size of 0 stands for the page's own.
  m_configured_width = grid.horizontal_pixels > 0 ? grid.horizontal_pixels : size[0];
  m_configured_height = grid.vertical_pixels > 0 ? grid.vertical_pixels : size[1];
  m_p_grid = &grid;
  m_keys_held.assign(static_cast<std::size_t>(Keyboard::BACKQUOTE) + 1, false);
  place(size[0], size[1]);
  vx_canvas_title(config.getWindowTitle().c_str());
  g_p_open = this;
  return 0;
}

void CanvasDisplay::place(int canvas_width, int canvas_height) {
  DisplayGrid &grid = *m_p_grid;
  grid.placement = placeGrid(canvas_width, canvas_height, m_configured_width, m_configured_height);
  grid.horizontal_pixels = grid.placement.grid_width;
  grid.vertical_pixels = grid.placement.grid_height;
  int character_size = 0;
  vx_canvas_place(grid.placement.left, grid.placement.top, grid.placement.grid_width,
                  grid.placement.grid_height, grid.horizontal_chars, grid.vertical_chars,
                  Config::getInstance().getFontScale(), &character_size);
  const std::size_t columns = static_cast<std::size_t>(grid.horizontal_chars) + 1;
  m_text.assign(columns * static_cast<std::size_t>(grid.vertical_chars), ' ');
  for (int row = 0; row < grid.vertical_chars; row++)
    m_text[static_cast<std::size_t>(row) * columns + columns - 1] = '\n';
  m_shown_text = m_text;
}

void CanvasDisplay::close() {
  if (g_p_open == this)
    g_p_open = nullptr;
  m_p_grid = nullptr;
  m_ops.clear();
}

bool CanvasDisplay::isShowing() const { return m_p_grid != nullptr; }

void CanvasDisplay::noteText(Vector view_cells, char ch) {
  const int column = static_cast<int>(std::lround(view_cells.getX()));
  const int row = static_cast<int>(std::lround(view_cells.getY()));
  const int columns = m_p_grid->horizontal_chars;
  if (column < 0 || row < 0 || column >= columns || row >= m_p_grid->vertical_chars)
    return;
  m_text[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns + 1) +
         static_cast<std::size_t>(column)] = ch;
}

int CanvasDisplay::drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float angle) {
  if (drawCodePoint(view_cells, static_cast<unsigned char>(ch), rgb) != 0)
    return -1;
  m_ops.back().a = angle;
  return 0;
}

int CanvasDisplay::drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) {
  if (!isShowing())
    return -1;
  noteText(view_cells, code < 0x80 ? static_cast<char>(code) : '?');
  const Vector pixels = spacesToPixels(view_cells);
  m_ops.push_back(CanvasOp{0, pixels.getX(), pixels.getY(), 0.0f, 0.0f, code, rgb & 0xFFFFFFu,
                           m_p_grid->background >> 8});
  return 0;
}

int CanvasDisplay::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                               unsigned char b, unsigned char opacity) {
  if (!isShowing())
    return -1;
  if (outline.point_count < 3)
    return 0;
  const std::uint32_t rgba = (static_cast<std::uint32_t>(r) << 24) |
                             (static_cast<std::uint32_t>(g) << 16) |
                             (static_cast<std::uint32_t>(b) << 8) | opacity;
  m_ops.push_back(CanvasOp{1, outline.x, outline.y, outline.radius, outline.rotation,
                           static_cast<std::uint32_t>(outline.point_count), rgba, 0});
  return 0;
}

int CanvasDisplay::present() {
  if (!isShowing())
    return -1;
  vx_canvas_draw(m_ops.data(), static_cast<int>(m_ops.size()), m_p_grid->background >> 8);
  m_ops.clear();
  m_shown_text.swap(m_text);
  for (char &cell : m_text)
    if (cell != '\n')
      cell = ' ';
  return 0;
}

int CanvasDisplay::resize(int window_width, int window_height) {
  if (!isShowing() || window_width <= 0 || window_height <= 0)
    return -1;
  place(window_width, window_height);
  return 0;
}

int CanvasDisplay::setTitle(const std::string &title) {
  if (!isShowing())
    return -1;
  vx_canvas_title(title.c_str());
  return 0;
}

bool CanvasDisplay::setBackground(std::uint32_t rgba) {
  (void)rgba; // The grid holds it; every frame is cleared to it.
  return isShowing();
}

int CanvasDisplay::startInput() {
  releaseAll();
  return 0;
}

void CanvasDisplay::releaseAll() {
  m_keys_held.assign(m_keys_held.size(), false);
  for (bool &held : m_buttons_held)
    held = false;
}

int CanvasDisplay::takeEvent(int &a, int &b, std::string &code) {
  int numbers[2] = {0, 0};
  char text[32] = {0};
  const int type = vx_input_next(numbers, text, sizeof(text));
  a = numbers[0];
  b = numbers[1];
  code = text;
  return type;
}

WindowEvent CanvasDisplay::handleEvent(int type, int a, int b, const std::string &code,
                                       const InputManager *p_deliver) {
  switch (type) {
    case PAGE_KEY_DOWN:
    case PAGE_KEY_UP: {
      const Keyboard::Key key = pageKey(code);
      const bool down = type == PAGE_KEY_DOWN;
      if (key == Keyboard::UNDEFINED_KEY) {
        LogManager::getInstance().writeLog(
            1, "InputManager::toEventKeyboard(): Warning key '%s' not handled.", code.c_str());
      } else {
        m_keys_held[static_cast<std::size_t>(key)] = down;
      }
      if (p_deliver != nullptr) {
        const EventKeyboard event = keyEvent(key, down ? KEY_PRESSED : KEY_RELEASED);
        p_deliver->onEvent(&event);
      }
      return down ? WINDOW_KEY_PRESSED : OTHER_WINDOW_EVENT;
    }
    case PAGE_MOUSE_MOVE:
    case PAGE_MOUSE_DOWN:
    case PAGE_MOUSE_UP: {
      m_pointer_x = a;
      m_pointer_y = b;
      m_pointer_known = true;
      const Mouse::Button button = pageButton(code);
      if (type != PAGE_MOUSE_MOVE && button != Mouse::UNDEFINED_MOUSE_BUTTON)
        m_buttons_held[button] = type == PAGE_MOUSE_DOWN;
      if (p_deliver != nullptr && type != PAGE_MOUSE_UP) {
        const EventMouse event = type == PAGE_MOUSE_MOVE
                                     ? mouseAt(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, a, b)
                                     : mouseAt(CLICKED, button, a, b);
        p_deliver->onEvent(&event);
      }
      return OTHER_WINDOW_EVENT;
    }
    case PAGE_RESIZE:
      DisplayManager::getInstance().resize(a, b);
      return WINDOW_RESIZED;
    case PAGE_FOCUS_LOST:
      releaseAll();
      // Away from the page, the game holds still until the player is back.
      if (p_deliver != nullptr && p_deliver->isLive())
        pauseGame();
      return OTHER_WINDOW_EVENT;
    default:
      return OTHER_WINDOW_EVENT;
  }
}

void CanvasDisplay::deliverInput(const InputManager &input_manager) {
  int a = 0, b = 0;
  std::string code;
  for (int type = takeEvent(a, b, code); type >= 0; type = takeEvent(a, b, code))
    handleEvent(type, a, b, code, &input_manager);

  if (m_pointer_known) {
    if (input_manager.takePointerUpdate()) {
      const EventMouse moved = mouseAt(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, m_pointer_x,
                                       m_pointer_y);
      input_manager.onEvent(&moved);
    } else {
      input_manager.notePointer(DisplayManager::getInstance().windowToView(
          Vector(static_cast<float>(m_pointer_x), static_cast<float>(m_pointer_y))));
    }
  }
  const Mouse::Button buttons[] = {Mouse::LEFT, Mouse::RIGHT, Mouse::MIDDLE};
  for (Mouse::Button button : buttons) {
    if (m_buttons_held[button]) {
      const EventMouse held = mouseAt(PRESSED, button, m_pointer_x, m_pointer_y);
      input_manager.onEvent(&held);
    }
  }
  for (Keyboard::Key key : sampledKeys()) {
    if (m_keys_held[static_cast<std::size_t>(key)]) {
      const EventKeyboard held = keyEvent(key, KEY_DOWN);
      input_manager.onEvent(&held);
    }
  }
}

WindowEvent CanvasDisplay::nextEvent(bool) {
  // Nothing below the game loop may sleep in the browser (GameManager.cpp):
  // a wait takes what is queued, and whoever waits looks again after the
  // loop's next sleep (the pause holds the loop so).
  if (!isShowing())
    return NO_WINDOW_EVENT;
  int a = 0, b = 0;
  std::string code;
  const int type = takeEvent(a, b, code);
  return type < 0 ? NO_WINDOW_EVENT : handleEvent(type, a, b, code, nullptr);
}

} // namespace vx

// The page's hook for tests and tools: the text of the frame last shown.
extern "C" EMSCRIPTEN_KEEPALIVE const char *vx_page_grid_text() {
  const vx::CanvasDisplay *p_display = vx::CanvasDisplay::getOpen();
  return p_display == nullptr ? "" : p_display->getShownText().c_str();
}

// The figures page's measure: one whole grid of characters in the engine's
// colours, a colour a row, every frame different, drawn and shown.
extern "C" EMSCRIPTEN_KEEPALIVE void vx_page_bench_frame(int frame) {
  vx::CanvasDisplay *p_display = vx::CanvasDisplay::getOpen();
  if (p_display == nullptr)
    return;
  const vx::DisplayManager &display = vx::DisplayManager::getInstance();
  for (int row = 0; row < display.getVertical(); row++) {
    unsigned char r = 255, g = 255, b = 255;
    vx::colorToRGB(static_cast<vx::Color>(1 + (row + frame) % 7), r, g, b);
    const std::uint32_t rgb = (static_cast<std::uint32_t>(r) << 16) |
                              (static_cast<std::uint32_t>(g) << 8) | b;
    for (int column = 0; column < display.getHorizontal(); column++)
      p_display->drawCharacter(vx::Vector(static_cast<float>(column), static_cast<float>(row)),
                               static_cast<char>('!' + (row * 7 + column + frame) % 94), rgb, 0);
  }
  p_display->present();
}
