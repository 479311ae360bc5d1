#include "TerminalSession.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>

#include "Clock.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "LogManager.h"
#include "Shape.h"
#include "StopSignals.h"

namespace vx {

namespace {

// What is set up on opening and undone on closing.
const char SETUP[] = "\x1b[?1049h"  // Alternate screen.
                     "\x1b[?25l"    // Hidden cursor.
                     "\x1b[?1003h"  // Mouse: buttons and any motion...
                     "\x1b[?1006h"  // ...in SGR form.
                     "\x1b[?u";     // Does the terminal report key releases?
// The alternate screen is cleared in plain colours first: a terminal that
// grew meanwhile would otherwise show some of its lines on the normal screen.
const char RESTORE[] = "\x1b[?1006l\x1b[?1003l\x1b[0m\x1b[H\x1b[2J\x1b[?25h\x1b[?1049l";
// Report event types, disambiguate, and every key as a sequence.
const char KEYBOARD_PUSH[] = "\x1b[>11u";
const char KEYBOARD_POP[] = "\x1b[<u";

// The largest grid the terminal display takes.
const long MAX_TERMINAL_CELLS = 4L * 1024 * 1024;

// How long a lone escape waits for the rest of a sequence.
const std::int64_t ESCAPE_WAIT_US = 50000;

// The state a signal handler needs to give the terminal back.
volatile std::sig_atomic_t s_taken = 0;
volatile std::sig_atomic_t s_keyboard_pushed = 0;
volatile std::sig_atomic_t s_resized = 0;
volatile std::sig_atomic_t s_suspended = 0; // Given back for a SIGTSTP, not yet taken again.
struct termios s_saved_termios;
struct termios s_raw_termios;
// The terminal, written through a descriptor of its own: standard output and
// standard error point at the log meanwhile, and these keep what they were.
int s_out = -1;
int s_saved_stdout = -1;
int s_saved_stderr = -1;

// Writes to the terminal without ever blocking in write(): a write that
// blocked could not be ended by a stop signal, which may well be handled by
// another thread (the audio library's). Waits for room up to `wait_ms` at a
// time, and once a stop signal came not at all when `stoppable`; what is not
// written then is dropped. 0 when all of it went, else -1. Safe in a signal
// handler.
int writeTerminal(int fd, const char *data, std::size_t size, int wait_ms, bool stoppable) {
  const int flags = fcntl(fd, F_GETFL);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  int error = EAGAIN; // Why the rest was dropped: EAGAIN for a stop or a stall.
  while (size > 0) {
    if (stoppable && pendingStopSignal() != 0)
      break;
    const ssize_t written = write(fd, data, size);
    if (written > 0) {
      data += written;
      size -= static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      error = errno;
      break;
    }
    // Room for more, or a stop signal, whichever comes first.
    struct pollfd fds[2] = {{fd, POLLOUT, 0}, {stopSignalDescriptor(), POLLIN, 0}};
    const nfds_t count = stoppable && fds[1].fd >= 0 ? 2 : 1;
    const int ready = poll(fds, count, wait_ms);
    if (ready == 0 || (ready < 0 && errno != EINTR))
      break; // The terminal has taken nothing for that long.
  }
  fcntl(fd, F_SETFL, flags);
  errno = error;
  return size == 0 ? 0 : -1;
}

// Writes all of it, waiting while the terminal takes more (a frame is given
// up when it has taken nothing for a second). A stop signal ends the wait: a
// stalled terminal (paused output, a frozen link) must not keep the game
// from ending. 0 or -1.
int writeAll(int fd, const char *data, std::size_t size) {
  return writeTerminal(fd, data, size, 1000, true);
}

// How long giving the terminal back may wait for it to take the sequences.
const int RESTORE_WAIT_MS = 500;

// Undoes the set-up on the terminal itself (sequences and mode); what a
// stalled terminal does not take in time is dropped. Safe in a signal handler.
void releaseTerminal() {
  if (s_keyboard_pushed != 0)
    writeTerminal(s_out, KEYBOARD_POP, sizeof(KEYBOARD_POP) - 1, RESTORE_WAIT_MS, false);
  s_keyboard_pushed = 0;
  writeTerminal(s_out, RESTORE, sizeof(RESTORE) - 1, RESTORE_WAIT_MS, false);
  tcsetattr(STDIN_FILENO, TCSANOW, &s_saved_termios);
}

// SIGTSTP from outside (kill -TSTP, a job-control shell): the terminal goes
// back to the shell, the program stops, and once continued the game takes
// the terminal again at its next frame.
void onSuspend(int signal_number) {
  const int saved_errno = errno;
  if (s_taken != 0 && s_suspended == 0) {
    releaseTerminal();
    s_suspended = 1;
  }
  struct sigaction stop = {}, previous = {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  sigaction(signal_number, &stop, &previous);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, signal_number);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  raise(signal_number); // Stops here until SIGCONT.
  sigaction(signal_number, &previous, nullptr);
  errno = saved_errno;
}

void onResize(int) { s_resized = 1; }

void restoreAtExit() { restoreTerminalNow(); }

// The terminal's size in cells, or false when it cannot be asked.
bool terminalSize(int &cols, int &rows) {
  struct winsize size;
  if (ioctl(s_out, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0)
    return false;
  cols = size.ws_col;
  rows = size.ws_row;
  return true;
}

const char *colorModeName(TerminalColorMode mode) {
  switch (mode) {
  case TERMINAL_TRUECOLOR: return "24-bit";
  case TERMINAL_256_COLORS: return "256";
  default: return "8";
  }
}

// Ctrl-C reported as a key (the keyboard protocol turns off the signal).
bool isInterrupt(const TerminalInput &input) {
  return input.kind == TerminalInput::KEY && input.key == Keyboard::C &&
         (input.modifiers & TerminalInput::CTRL) != 0 &&
         input.key_event == TerminalInput::KEY_PRESS;
}

} // namespace

void restoreTerminalNow() {
  if (s_taken == 0)
    return;
  s_taken = 0;
  if (s_suspended == 0)
    releaseTerminal();
  s_suspended = 0;
  const int saved[2] = {s_saved_stdout, s_saved_stderr};
  for (int fd = 0; fd < 2; fd++) {
    if (saved[fd] >= 0) {
      dup2(saved[fd], fd == 0 ? STDOUT_FILENO : STDERR_FILENO);
      close(saved[fd]);
    }
  }
  s_saved_stdout = s_saved_stderr = -1;
  close(s_out);
  s_out = -1;
}

TerminalSession::TerminalSession()
    : m_last_byte_us(0), m_buttons{false, false, false}, m_write_failed(false),
      m_pointer_moved(false) {}

TerminalSession &TerminalSession::getInstance() {
  static TerminalSession session;
  return session;
}

bool TerminalSession::isOpen() const { return m_p_screen != nullptr; }

TerminalScreen &TerminalSession::getScreen() { return *m_p_screen; }

int TerminalSession::open(int cols, int rows, std::uint32_t background) {
  const LogManager &log_manager = LogManager::getInstance();
  if (isOpen())
    return 0;
  // No terminal is larger than 65535 cells a side (its size is kept in 16
  // bits); the screen's two copies of the grid stay within memory.
  if (cols > 65535 || rows > 65535 ||
      static_cast<long>(cols) * static_cast<long>(rows) > MAX_TERMINAL_CELLS) {
    log_manager.writeLog("DisplayManager::startUp(): Error! A terminal cannot show a grid of %d x "
                         "%d cells (at most %ld cells).", cols, rows, MAX_TERMINAL_CELLS);
    return -1;
  }
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    log_manager.writeLog(
        "DisplayManager::startUp(): Error! The terminal display needs a terminal on standard "
        "input and output.");
    return -1;
  }
  struct termios raw;
  if (tcgetattr(STDIN_FILENO, &s_saved_termios) != 0) {
    log_manager.writeLog("DisplayManager::startUp(): Error! Cannot read the terminal's mode: %s.",
                         std::strerror(errno));
    return -1;
  }
  raw = s_saved_termios;
  cfmakeraw(&raw);
  // Ctrl-C still raises SIGINT, which ends the game; Ctrl-Z would stop the
  // game with the terminal taken, so it is turned off.
  raw.c_lflag |= ISIG;
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  s_raw_termios = raw;

  // Restoration must be in place before anything is changed.
  static bool s_handlers_installed = false;
  if (!s_handlers_installed) {
    s_handlers_installed = true;
    std::atexit(restoreAtExit);
    struct sigaction resize = {};
    resize.sa_handler = onResize;
    sigemptyset(&resize.sa_mask);
    resize.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &resize, nullptr);
    struct sigaction suspend = {};
    suspend.sa_handler = onSuspend;
    sigemptyset(&suspend.sa_mask);
    suspend.sa_flags = SA_RESTART;
    sigaction(SIGTSTP, &suspend, nullptr);
  }
  // The stop and crash signals' handlers give the terminal back.
  installStopSignals();

  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
    log_manager.writeLog("DisplayManager::startUp(): Error! Cannot set the terminal's mode: %s.",
                         std::strerror(errno));
    return -1;
  }
  // Anything written on standard output or error (the window and audio
  // libraries' messages among it) would land on the screen: it goes to the
  // log instead.
  std::fflush(stdout);
  std::fflush(stderr);
  s_out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  s_saved_stdout = dup(STDOUT_FILENO);
  s_saved_stderr = dup(STDERR_FILENO);
  const int log_fd = log_manager.getFileDescriptor();
  const int sink = log_fd >= 0 ? log_fd : ::open("/dev/null", O_WRONLY);
  if (sink >= 0) {
    dup2(sink, STDOUT_FILENO);
    dup2(sink, STDERR_FILENO);
    if (sink != log_fd)
      ::close(sink);
  }
  s_taken = 1;
  writeAll(s_out, SETUP, sizeof(SETUP) - 1);

  int term_cols = cols, term_rows = rows;
  terminalSize(term_cols, term_rows);
  const TerminalColorMode mode = detectColorMode(std::getenv("COLORTERM"), std::getenv("TERM"));
  m_p_screen.reset(new TerminalScreen(cols, rows, mode));
  m_p_screen->setTerminalSize(term_cols, term_rows);
  m_p_screen->setBackground(background);
  m_parser = TerminalInputParser();
  m_holds.clear();
  m_queue.clear();
  std::fill(m_buttons, m_buttons + 3, false);
  m_write_failed = false;
  m_pointer_moved = false;
  s_resized = 0;
  s_suspended = 0;
  log_manager.writeLog("DisplayManager::startUp(): terminal display, %d x %d cells in a %d x %d "
                       "terminal, %s colours.",
                       cols, rows, term_cols, term_rows, colorModeName(mode));
  // The screen is cleared to the background at once, before the first frame.
  present();
  return 0;
}

void TerminalSession::close() {
  if (!isOpen())
    return;
  // What the program printed while the game owned the terminal goes to the log.
  std::fflush(stdout);
  restoreTerminalNow();
  m_p_screen.reset();
  m_queue.clear();
  m_holds.clear();
}

void TerminalSession::takeBack() {
  // Only the foreground may set the terminal's mode: a game continued in the
  // background waits until it is brought forward.
  if (s_suspended == 0 || tcgetpgrp(STDIN_FILENO) != getpgrp())
    return;
  tcgetattr(STDIN_FILENO, &s_saved_termios);
  tcsetattr(STDIN_FILENO, TCSANOW, &s_raw_termios);
  s_suspended = 0;
  writeAll(s_out, SETUP, sizeof(SETUP) - 1);
  // The whole picture again, in whatever size the terminal now has.
  m_p_screen->invalidate();
  s_resized = 1;
  LogManager::getInstance().writeLog("DisplayManager::swapBuffers(): the terminal is taken again.");
}

void TerminalSession::checkSize() {
  if (s_resized == 0)
    return;
  s_resized = 0;
  int cols = 0, rows = 0;
  if (terminalSize(cols, rows))
    m_p_screen->setTerminalSize(cols, rows);
}

int TerminalSession::drawCharacter(Vector view_cells, char ch, std::uint32_t rgb) {
  if (!isOpen())
    return -1;
  const float x = std::floor(view_cells.getX() + 0.5f);
  const float y = std::floor(view_cells.getY() + 0.5f);
  if (!(std::fabs(x) < 1e6f) || !(std::fabs(y) < 1e6f))
    return 0; // Far outside (or not a number): nothing to draw.
  m_p_screen->put(static_cast<int>(x), static_cast<int>(y), ch, rgb);
  return 0;
}

int TerminalSession::drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                                 unsigned char b, unsigned char opacity) {
  if (!isOpen())
    return -1;
  const int count = outline.point_count;
  const float cw = charWidth(), ch = charHeight();
  if (count < 3 || !(cw > 0) || !(ch > 0) || !std::isfinite(outline.radius) ||
      !std::isfinite(outline.x) || !std::isfinite(outline.y))
    return 0;
  // The corners where the window puts them: the circle's corners around the
  // top-left of its bounding square, turned about that point.
  const float pi = 3.141592654f;
  const float turn = outline.rotation * pi / 180.0f;
  const float cos_turn = std::cos(turn), sin_turn = std::sin(turn);
  std::vector<Vector> &corners = m_corners;
  corners.clear();
  float cx = 0, cy = 0;
  for (int i = 0; i < count; i++) {
    const float angle = static_cast<float>(i * 2) * pi / static_cast<float>(count) - pi / 2;
    const float lx = outline.radius + std::cos(angle) * outline.radius;
    const float ly = outline.radius + std::sin(angle) * outline.radius;
    const Vector corner(outline.x + lx * cos_turn - ly * sin_turn,
                        outline.y + lx * sin_turn + ly * cos_turn);
    corners.push_back(corner);
    cx += corner.getX() / static_cast<float>(count);
    cy += corner.getY() / static_cast<float>(count);
  }
  // A character at a cell's position shows its background centred 0.4 of a
  // cell to the right of it and 0.7 below it.
  float min_x = corners[0].getX(), max_x = min_x, min_y = corners[0].getY(), max_y = min_y;
  for (const Vector &corner : corners) {
    min_x = std::min(min_x, corner.getX());
    max_x = std::max(max_x, corner.getX());
    min_y = std::min(min_y, corner.getY());
    max_y = std::max(max_y, corner.getY());
  }
  const int cols = m_p_screen->getCols(), rows = m_p_screen->getRows();
  const int first_x = std::max(0, static_cast<int>(std::ceil(std::max(-1.0f, min_x / cw - 0.4f))));
  const int last_x = std::min(cols - 1, static_cast<int>(std::floor(std::min(1e6f, max_x / cw - 0.4f))));
  const int first_y = std::max(0, static_cast<int>(std::ceil(std::max(-1.0f, min_y / ch - 0.7f))));
  const int last_y = std::min(rows - 1, static_cast<int>(std::floor(std::min(1e6f, max_y / ch - 0.7f))));
  const std::uint32_t rgb = packRGB(r, g, b);
  bool covered = false;
  for (int y = first_y; y <= last_y; y++) {
    for (int x = first_x; x <= last_x; x++) {
      const float px = (static_cast<float>(x) + 0.4f) * cw;
      const float py = (static_cast<float>(y) + 0.7f) * ch;
      // Inside a convex polygon: on the same side of every edge.
      bool inside = true;
      float side = 0;
      for (int i = 0; i < count && inside; i++) {
        const Vector &a = corners[static_cast<std::size_t>(i)];
        const Vector &c = corners[static_cast<std::size_t>((i + 1) % count)];
        const float cross = (c.getX() - a.getX()) * (py - a.getY()) -
                            (c.getY() - a.getY()) * (px - a.getX());
        if (cross != 0) {
          inside = side == 0 || (cross > 0) == (side > 0);
          side = cross;
        }
      }
      if (inside) {
        m_p_screen->blend(x, y, rgb, opacity);
        covered = true;
      }
    }
  }
  if (!covered) {
    // Smaller than a cell (a particle): the cell its centre is in.
    const float x = std::round(cx / cw - 0.4f), y = std::round(cy / ch - 0.7f);
    if (std::fabs(x) < 1e6f && std::fabs(y) < 1e6f)
      m_p_screen->blend(static_cast<int>(x), static_cast<int>(y), rgb, opacity);
  }
  return 0;
}

int TerminalSession::present() {
  if (!isOpen())
    return -1;
  takeBack();
  checkSize();
  m_frame.clear();
  m_p_screen->encode(m_frame);
  if (m_frame.empty() || m_write_failed)
    return m_write_failed ? -1 : 0;
  if (writeAll(s_out, m_frame.data(), m_frame.size()) != 0) {
    // The screen no longer shows what was sent: paint it all next time.
    m_p_screen->invalidate();
    if (errno != EAGAIN && errno != EWOULDBLOCK) {
      m_write_failed = true;
      LogManager::getInstance().writeLog(
          "DisplayManager::swapBuffers(): Error! The terminal takes no more output: %s.",
          std::strerror(errno));
    }
    return -1;
  }
  return 0;
}

void TerminalSession::readAvailable() {
  char buffer[4096];
  std::vector<TerminalInput> parsed;
  // A bounded number of reads: a flood of input cannot hold up the step.
  for (int reads = 0; reads < 16; reads++) {
    struct pollfd in = {STDIN_FILENO, POLLIN, 0};
    if (poll(&in, 1, 0) <= 0)
      break;
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof(buffer));
    if (count > 0) {
      m_parser.feed(buffer, static_cast<std::size_t>(count), parsed);
      m_last_byte_us = Clock::now();
      continue;
    }
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
      break;
    // End of input or an error: the terminal is gone, as on a hang-up.
    raise(SIGHUP);
    break;
  }
  m_queue.insert(m_queue.end(), parsed.begin(), parsed.end());
}

void TerminalSession::resolveEscape(std::int64_t now_us) {
  if (!m_parser.hasPending() || now_us - m_last_byte_us < ESCAPE_WAIT_US)
    return;
  std::vector<TerminalInput> parsed;
  m_parser.flushPending(parsed);
  m_queue.insert(m_queue.end(), parsed.begin(), parsed.end());
}

void TerminalSession::answerKeyboardFlags() {
  if (s_keyboard_pushed != 0)
    return;
  writeAll(s_out, KEYBOARD_PUSH, sizeof(KEYBOARD_PUSH) - 1);
  s_keyboard_pushed = 1;
  LogManager::getInstance().writeLog(
      "InputManager::getInput(): the terminal reports key presses and releases.");
}

Vector TerminalSession::toView(int x, int y) const {
  return Vector(static_cast<float>(x - m_p_screen->getLeft()),
                static_cast<float>(y - m_p_screen->getTop()));
}

void TerminalSession::deliverInput(const InputManager &input_manager) {
  if (!isOpen())
    return;
  const LogManager &log_manager = LogManager::getInstance();
  const std::int64_t now = Clock::now();
  readAvailable();
  resolveEscape(now);

  const auto deliverKey = [&input_manager](int key, int action) {
    EventKeyboard keyboard;
    keyboard.setKey(static_cast<Keyboard::Key>(key));
    keyboard.setKeyboardAction(static_cast<EventKeyboardAction>(action));
    input_manager.onEvent(&keyboard);
  };
  if (m_pointer_moved) {
    m_pointer_moved = false;
    EventMouse moved;
    moved.setMouseAction(MOVED);
    moved.setMouseButton(Mouse::UNDEFINED_MOUSE_BUTTON);
    moved.setMousePosition(m_mouse);
    input_manager.onEvent(&moved);
  }
  std::vector<std::pair<int, int>> keys; // Key and action, in order.
  while (!m_queue.empty()) {
    TerminalInput input = m_queue.front();
    m_queue.pop_front();
    // With the keyboard protocol on, a report without an event type is a
    // press whose release will be reported too.
    if (s_keyboard_pushed != 0)
      input.reported = true;
    if (input.kind == TerminalInput::KEYBOARD_FLAGS) {
      answerKeyboardFlags();
    } else if (isInterrupt(input)) {
      raise(SIGINT);
    } else if (input.kind == TerminalInput::KEY) {
      if (input.key == Keyboard::UNDEFINED_KEY && input.key_event == TerminalInput::KEY_PRESS)
        log_manager.writeLog(1, "InputManager::toEventKeyboard(): Warning key '%s' not handled.",
                             input.name);
      keys.clear();
      m_holds.onKey(input, now, keys);
      for (const auto &[key, action] : keys)
        deliverKey(key, action);
    } else if (input.kind == TerminalInput::MOUSE) {
      m_mouse = toView(input.x, input.y);
      const int button = input.button;
      EventMouse mouse;
      mouse.setMousePosition(m_mouse);
      if (input.mouse_event == TerminalInput::MOUSE_MOTION) {
        mouse.setMouseAction(MOVED);
        mouse.setMouseButton(Mouse::UNDEFINED_MOUSE_BUTTON);
        input_manager.onEvent(&mouse);
      } else if (button >= 0 && button < 3) {
        m_buttons[button] = input.mouse_event == TerminalInput::MOUSE_PRESS;
        if (m_buttons[button]) {
          mouse.setMouseAction(CLICKED);
          mouse.setMouseButton(static_cast<Mouse::Button>(button));
          input_manager.onEvent(&mouse);
        }
      }
    }
  }
  keys.clear();
  m_holds.expire(now, keys);
  for (const auto &[key, action] : keys)
    deliverKey(key, action);

  // Held buttons, left first, then held keys, as the window samples them.
  EventMouse held;
  held.setMouseAction(PRESSED);
  held.setMousePosition(m_mouse);
  const Mouse::Button order[3] = {Mouse::LEFT, Mouse::RIGHT, Mouse::MIDDLE};
  for (Mouse::Button button : order) {
    if (m_buttons[button]) {
      held.setMouseButton(button);
      input_manager.onEvent(&held);
    }
  }
  for (int key : m_holds.sample())
    deliverKey(key, KEY_DOWN);
}

WindowEvent TerminalSession::nextEvent(bool wait) {
  if (!isOpen())
    return NO_WINDOW_EVENT;
  // Whatever is released while the game waits is dropped, as the window's
  // releases are: no key or button stays down across the wait.
  m_holds.clear();
  std::fill(m_buttons, m_buttons + 3, false);
  for (;;) {
    if (pendingStopSignal() != 0)
      return WINDOW_CLOSED;
    if (s_resized != 0 || (s_suspended != 0 && tcgetpgrp(STDIN_FILENO) == getpgrp()))
      return WINDOW_RESIZED; // Drawn again by whoever waits, taking the terminal back.
    if (!m_queue.empty()) {
      const TerminalInput input = m_queue.front();
      m_queue.pop_front();
      if (input.kind == TerminalInput::KEYBOARD_FLAGS) {
        answerKeyboardFlags();
        continue;
      }
      if (isInterrupt(input)) {
        raise(SIGINT);
        return WINDOW_CLOSED;
      }
      if (input.kind == TerminalInput::KEY && input.key_event == TerminalInput::KEY_PRESS)
        return WINDOW_KEY_PRESSED;
      if (input.kind == TerminalInput::MOUSE) {
        // Where the pointer went meanwhile is delivered with the next input.
        m_mouse = toView(input.x, input.y);
        m_pointer_moved = true;
      }
      return OTHER_WINDOW_EVENT;
    }
    readAvailable();
    resolveEscape(Clock::now());
    if (!m_queue.empty())
      continue;
    if (!wait)
      return NO_WINDOW_EVENT;
    // Sleep until input or a stop signal arrives (or a lone escape's wait ends).
    struct pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {stopSignalDescriptor(), POLLIN, 0}};
    int timeout_ms = -1;
    if (m_parser.hasPending())
      timeout_ms = static_cast<int>(
          std::max<std::int64_t>(1, (ESCAPE_WAIT_US - (Clock::now() - m_last_byte_us)) / 1000 + 1));
    poll(fds, fds[1].fd >= 0 ? 2 : 1, timeout_ms);
  }
}

} // namespace vx
