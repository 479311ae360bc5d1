#include "Frame.h"

#include <cstddef>
#include <utility>

#include "DisplayManager.h"
#include "LogManager.h"

namespace vx {

Frame::Frame() : m_width(0), m_height(0) {}

Frame::Frame(int new_width, int new_height, std::string frame_str)
    : m_width(new_width), m_height(new_height), m_frame_str(std::move(frame_str)) {}

void Frame::setWidth(int new_width) { m_width = new_width; }

int Frame::getWidth() const { return m_width; }

void Frame::setHeight(int new_height) { m_height = new_height; }

int Frame::getHeight() const { return m_height; }

void Frame::setString(std::string new_frame_str) { m_frame_str = std::move(new_frame_str); }

std::string Frame::getString() const { return m_frame_str; }

int Frame::draw(Vector position, Color color, char transparent, Transform transform) const {
  if (m_frame_str.empty() || m_height <= 0 || m_width <= 0)
    return 0;

  // Width and height are set independently of the string, so check that every
  // cell has its character before indexing.
  const std::size_t width = static_cast<std::size_t>(m_width);
  const std::size_t height = static_cast<std::size_t>(m_height);
  if (m_frame_str.size() / width < height) {
    LogManager::getInstance().writeLog("Frame::draw(): Error! %zu characters for a %d x %d frame.",
                                       m_frame_str.size(), m_width, m_height);
    return -1;
  }

  const bool flip_rows = transform == VERTICAL || transform == BOTH;
  const bool flip_columns = transform == HORIZONTAL || transform == BOTH;
  const DisplayManager &display = DisplayManager::getInstance();
  // The frame is centred on the position; for even sizes the centre falls
  // between two cells.
  const float half_width = static_cast<float>(m_width - 1) * 0.5f;
  const float half_height = static_cast<float>(m_height - 1) * 0.5f;

  for (std::size_t i = 0; i < height; i++) {
    const std::size_t row = flip_rows ? height - 1 - i : i;
    for (std::size_t j = 0; j < width; j++) {
      const std::size_t column = flip_columns ? width - 1 - j : j;
      const char ch = m_frame_str[column + row * width];
      if (transparent != 0 && ch == transparent)
        continue;
      const Vector cell(position.getX() + static_cast<float>(j) - half_width,
                        position.getY() + static_cast<float>(i) - half_height);
      if (display.drawCh(cell, ch, color, 0) != 0)
        return -1;
    }
  }
  return 0;
}

} // namespace vx
