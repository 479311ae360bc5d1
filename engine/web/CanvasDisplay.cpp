#include "CanvasDisplay.h"

#include <emscripten.h>

#include <cmath>

#include "Config.h"
#include "DisplayManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Pause.h"
#include "Recorder.h"
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

// How long a wait outside the loop sleeps between looks at the page's queue:
// the browser runs its own events meanwhile, and a paused game costs next to
// nothing.
const int WAIT_SLICE_MS = 25;

CanvasDisplay *g_p_open = nullptr;

struct PageKey {
  const char *code;
  Keyboard::Key key;
};

// The page's key codes for the keys the window knows, named by where the key
// sits on the keyboard, as the window's are.
const PageKey PAGE_KEYS[] = {
    {"ArrowUp", Keyboard::UPARROW}, {"ArrowDown", Keyboard::DOWNARROW},
    {"ArrowLeft", Keyboard::LEFTARROW}, {"ArrowRight", Keyboard::RIGHTARROW},
    {"Space", Keyboard::SPACE}, {"Enter", Keyboard::RETURN}, {"NumpadEnter", Keyboard::RETURN},
    {"Tab", Keyboard::TAB}, {"Escape", Keyboard::ESCAPE}, {"Pause", Keyboard::PAUSE},
    {"NumpadSubtract", Keyboard::MINUS}, {"NumpadAdd", Keyboard::PLUS},
    {"Backquote", Keyboard::TILDE}, {"Period", Keyboard::PERIOD}, {"Comma", Keyboard::COMMA},
    {"Slash", Keyboard::SLASH}, {"Equal", Keyboard::EQUALS}, {"Backslash", Keyboard::BACKSLASH},
    {"NumpadMultiply", Keyboard::MULTIPLY}, {"Quote", Keyboard::QUOTE},
    {"BracketLeft", Keyboard::LEFTBRACKET}, {"BracketRight", Keyboard::RIGHTBRACKET},
    {"Semicolon", Keyboard::SEMICOLON}, {"ControlLeft", Keyboard::LEFTCONTROL},
    {"ControlRight", Keyboard::RIGHTCONTROL}, {"ShiftLeft", Keyboard::LEFTSHIFT},
    {"ShiftRight", Keyboard::RIGHTSHIFT}, {"Backspace", Keyboard::BACKSPACE},
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
  if (code.size() == 4 && code.compare(0, 3, "Key") == 0 && code[3] >= 'A' && code[3] <= 'Z')
    return static_cast<Keyboard::Key>(Keyboard::A + (code[3] - 'A'));
  if (code.size() == 6 && code.compare(0, 5, "Digit") == 0 && code[5] >= '0' && code[5] <= '9')
    return code[5] == '0' ? Keyboard::NUM0
                          : static_cast<Keyboard::Key>(Keyboard::NUM1 + (code[5] - '1'));
  if (code.size() >= 2 && code.size() <= 3 && code[0] == 'F') {
    const int number = std::atoi(code.c_str() + 1);
    if (number >= 1 && number <= 12)
      return static_cast<Keyboard::Key>(Keyboard::F1 + number - 1);
  }
  for (const PageKey &entry : PAGE_KEYS)
    if (code == entry.code)
      return entry.key;
  return Keyboard::UNDEFINED_KEY;
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
      if (p_deliver != nullptr && !Recorder::getInstance().isReplaying())
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

WindowEvent CanvasDisplay::nextEvent(bool wait) {
  if (!isShowing())
    return NO_WINDOW_EVENT;
  int a = 0, b = 0;
  std::string code;
  int type = takeEvent(a, b, code);
  while (type < 0) {
    if (!wait)
      return NO_WINDOW_EVENT;
    emscripten_sleep(WAIT_SLICE_MS);
    type = takeEvent(a, b, code);
  }
  return handleEvent(type, a, b, code, nullptr);
}

} // namespace vx

// The page's hook for tests and tools: the text of the frame last shown.
extern "C" EMSCRIPTEN_KEEPALIVE const char *vx_page_grid_text() {
  const vx::CanvasDisplay *p_display = vx::CanvasDisplay::getOpen();
  return p_display == nullptr ? "" : p_display->getShownText().c_str();
}
