// Linked into every window test: the window helpers, and one graphics
// context kept alive for the whole process.
//
// The OpenGL driver is unloaded when the last graphics context closes; the
// leak checker then can no longer attribute the driver's own process-lifetime
// allocations to it, so they cannot be suppressed by library name. A context
// that lives until exit keeps the driver loaded and its allocations named.
#include "WindowTestSupport.h"

#include <algorithm>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <SFML/Window/Context.hpp>

#include "DisplayManager.h"

// Last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

class GraphicsDriverEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static const sf::Context *const p_context = new sf::Context;
    (void)p_context;
  }
};

const ::testing::Environment *const graphics_driver =
    ::testing::AddGlobalTestEnvironment(new GraphicsDriverEnvironment);

} // namespace

namespace vxtest {

sf::Image backBuffer() {
  sf::RenderWindow &window = *vx::DisplayManager::getInstance().getWindow();
  sf::Texture texture;
  texture.create(window.getSize().x, window.getSize().y);
  texture.update(window);
  return texture.copyToImage();
}

int countColor(const sf::Image &image, sf::Color color, int x0, int y0, int x1, int y1) {
  // Parts of the rectangle off the image hold no pixels.
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min(x1, static_cast<int>(image.getSize().x));
  y1 = std::min(y1, static_cast<int>(image.getSize().y));
  int count = 0;
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++)
      if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color)
        count++;
  return count;
}

int countColor(const sf::Image &image, sf::Color color) {
  return countColor(image, color, 0, 0, static_cast<int>(image.getSize().x),
                    static_cast<int>(image.getSize().y));
}

bool runCommand(const std::string &command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string commandOutput(const std::string &command) {
  std::string text;
  FILE *p_pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (p_pipe == nullptr)
    return text;
  char buffer[256];
  if (std::fgets(buffer, sizeof(buffer), p_pipe) != nullptr)
    text = buffer;
  pclose(p_pipe);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.pop_back();
  return text;
}

bool requestClose(unsigned long window) {
  void *p_lib = dlopen("libX11.so.6", RTLD_NOW);
  if (p_lib == nullptr)
    return false;
  auto open_display = reinterpret_cast<Display *(*)(const char *)>(dlsym(p_lib, "XOpenDisplay"));
  auto intern_atom =
      reinterpret_cast<Atom (*)(Display *, const char *, Bool)>(dlsym(p_lib, "XInternAtom"));
  auto send_event = reinterpret_cast<Status (*)(Display *, Window, Bool, long, XEvent *)>(
      dlsym(p_lib, "XSendEvent"));
  auto close_display = reinterpret_cast<int (*)(Display *)>(dlsym(p_lib, "XCloseDisplay"));
  bool sent = false;
  if (open_display != nullptr && intern_atom != nullptr && send_event != nullptr &&
      close_display != nullptr) {
    Display *p_display = open_display(nullptr);
    if (p_display != nullptr) {
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = window;
      event.xclient.message_type = intern_atom(p_display, "WM_PROTOCOLS", False);
      event.xclient.format = 32;
      event.xclient.data.l[0] = static_cast<long>(intern_atom(p_display, "WM_DELETE_WINDOW", False));
      event.xclient.data.l[1] = CurrentTime;
      sent = send_event(p_display, window, False, NoEventMask, &event) != 0;
      close_display(p_display); // Flushes the request.
    }
  }
  dlclose(p_lib);
  return sent;
}

} // namespace vxtest
