/// \file
/// The display in an SFML window: characters and shapes are collected, in
/// order, into a batch of triangles (DrawBatch) drawn from a glyph atlas, and
/// reach the window in two draws when the frame is presented (or when the
/// window is handed out, so that whoever reads it back sees everything drawn
/// so far). The grid keeps its configured shape in a window of any size,
/// centred between bars of the clear colour (Letterbox).
///
/// It is also the live input source of the window: its key, mouse, close and
/// resize events, and the keys and buttons held down.
#ifndef VX_WINDOW_DISPLAY_H
#define VX_WINDOW_DISPLAY_H

#include <memory>
#include <vector>

#include "DisplayBackend.h"
#include "EventKeyboard.h"
#include "EventMouse.h"

namespace vx {

class DrawBatch;

/// The SFML window as the display: draws the characters and shapes in batches and reads the
/// window's keys and mouse.
class WindowDisplay : public DisplayBackend {
 private:
  DisplayGrid *m_p_grid = nullptr;              // The display manager's, while open.
  std::unique_ptr<sf::Font> m_p_font;           // The one font for all text.
  std::unique_ptr<sf::RenderWindow> m_p_window; // Null unless a window is open.
  std::unique_ptr<DrawBatch> m_p_batch;         // What was drawn since the last draw call.
  unsigned int m_character_size = 0;            // Pixel size of every character drawn.
  Vector m_glyph_offset; // Pixels every glyph moves from where a text would put it.
  int m_configured_horizontal_pixels = 0;       // The grid's size as configured, which
  int m_configured_vertical_pixels = 0;         // sets its shape in any window.
  std::vector<Keyboard::Key> m_held;            // Held keys of this step, kept for its memory.

  // Places the grid in a window of that many pixels and sizes the cells,
  // characters and drawing batch for it. 0, or -1 when the batch cannot be made.
  int layOutGrid(int window_width, int window_height);

  // Frees the batch, the window and the font, closing the window if it is open.
  void releaseGraphics();

  // Draws what the batch holds onto the window.
  void flush() const;

  // Draws early when the frame grew past the batch's bound.
  void bound() const;

  // Delivers a mouse event at a window pixel.
  void deliverMouse(const InputManager &input_manager, EventMouseAction action,
                    Mouse::Button button, int x, int y) const;

 public:
  /// A window display with nothing open.
  WindowDisplay();
  /// Closes the window if close() did not.
  ~WindowDisplay() override;
  ///@{
  /// Not copyable: it owns the window.
  WindowDisplay(const WindowDisplay &) = delete;
  WindowDisplay &operator=(const WindowDisplay &) = delete;
  ///@}

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
  sf::RenderWindow *getWindow(bool for_drawing) const override;
  const sf::Font *getFont() const override;
  unsigned int getCharacterSize() const override;
  Vector getGlyphOffset() const override;
  void abandon() override;

  int startInput() override;
  void stopInput() override;
  void deliverInput(const InputManager &input_manager) override;
  WindowEvent nextEvent(bool wait) override;
};

} // namespace vx

#endif // VX_WINDOW_DISPLAY_H
