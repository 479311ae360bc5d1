// The browser's display: the grid drawn on the page's canvas in the game's
// own font (loaded as a web font), letterboxed in the page like a resized
// window, and the page's keyboard, mouse, touch and focus as its input.
//
// Drawing collects the frame's characters and polygons, in order, into one
// list that the page draws in a single call when the frame is shown. The
// text of the last frame shown is kept for the page (vx_page_grid_text).
#ifndef VX_CANVAS_DISPLAY_H
#define VX_CANVAS_DISPLAY_H

#include <cstdint>
#include <string>
#include <vector>

#include "DisplayBackend.h"
#include "EventKeyboard.h"
#include "EventMouse.h"

namespace vx {

// One drawing operation as the page reads it: eight 32-bit words.
struct CanvasOp {
  std::uint32_t kind; // 0 a character, 1 a polygon.
  float x, y;         // Grid pixels: the character's position, the polygon's square.
  float a;            // The character's angle, the polygon's radius (degrees, pixels).
  float b;            // The polygon's rotation in degrees.
  std::uint32_t code; // The character's code point, the polygon's corners.
  std::uint32_t color; // 0xRRGGBB for characters, 0xRRGGBBAA for polygons.
  std::uint32_t background; // The character cell's 0xRRGGBB.
};

class CanvasDisplay : public DisplayBackend {
 private:
  DisplayGrid *m_p_grid = nullptr;   // The display manager's grid while open.
  int m_configured_width = 0;        // The grid's configured size in pixels,
  int m_configured_height = 0;       // which sets its shape on any page.
  std::vector<CanvasOp> m_ops;       // The frame being drawn.
  std::string m_text;                // The frame being drawn, as text.
  std::string m_shown_text;          // The last frame shown, as text.
  std::vector<bool> m_keys_held;     // By engine key.
  bool m_buttons_held[3] = {false, false, false}; // Left, right, middle.
  int m_pointer_x = 0, m_pointer_y = 0; // The pointer over the canvas, in its pixels.
  bool m_pointer_known = false;

  // Places the grid in a canvas of that many pixels and tells the page.
  void place(int canvas_width, int canvas_height);

  // Notes a character drawn at a view position in the frame's text.
  void noteText(Vector view_cells, char ch);

  // Takes the page's oldest queued event; -1 when none. `code` gets its key.
  int takeEvent(int &a, int &b, std::string &code);

  // Updates what is held for a page event, and delivers it when `deliver`
  // is given. Returns what a wait outside the loop makes of it.
  WindowEvent handleEvent(int type, int a, int b, const std::string &code,
                          const InputManager *p_deliver);

  // Lets go of every key and button (the page lost the focus).
  void releaseAll();

 public:
  CanvasDisplay();
  ~CanvasDisplay() override;

  // The display the page shows while one is open, for the page's hooks.
  static CanvasDisplay *getOpen();

  // The text of the last frame shown, one line a row.
  const std::string &getShownText() const;

  int open(DisplayGrid &grid) override;
  void close() override;
  bool isShowing() const override;
  int drawCharacter(Vector view_cells, char ch, std::uint32_t rgb, float angle) override;
  int drawCodePoint(Vector view_cells, std::uint32_t code, std::uint32_t rgb) override;
  int drawPolygon(const ShapeOutline &outline, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char opacity) override;
  int present() override;
  int resize(int window_width, int window_height) override;
  int setTitle(const std::string &title) override;
  bool setBackground(std::uint32_t rgba) override;

  int startInput() override;
  void deliverInput(const InputManager &input_manager) override;
  WindowEvent nextEvent(bool wait) override;
};

// The engine key for a page key code ("KeyA", "F10", ...), or UNDEFINED_KEY.
Keyboard::Key pageKey(const std::string &code);

} // namespace vx

#endif // VX_CANVAS_DISPLAY_H
