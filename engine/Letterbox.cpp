#include "Letterbox.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

// A cell coordinate kept on [0, count): positions off the grid take the
// nearest one on it, in the first or last cell.
float clampToGrid(float cells, int count) {
  if (!(cells > 0.0f))
    return 0.0f;
  const float end = static_cast<float>(count);
  return cells < end ? cells : std::nextafter(end, 0.0f);
}

} // namespace

Letterbox placeGrid(int window_width, int window_height, int grid_width, int grid_height) {
  Letterbox placement{window_width, window_height, 0, 0, grid_width, grid_height, 1.0f};
  if (window_width <= 0 || window_height <= 0 || grid_width <= 0 || grid_height <= 0)
    return placement;
  placement.scale = std::min(static_cast<float>(window_width) / static_cast<float>(grid_width),
                             static_cast<float>(window_height) / static_cast<float>(grid_height));
  // Whole pixels, never past the window: the bars take what rounding leaves.
  placement.grid_width = std::min(
      window_width, std::max(1, static_cast<int>(std::lround(grid_width * placement.scale))));
  placement.grid_height = std::min(
      window_height, std::max(1, static_cast<int>(std::lround(grid_height * placement.scale))));
  placement.left = (window_width - placement.grid_width) / 2;
  placement.top = (window_height - placement.grid_height) / 2;
  return placement;
}

Vector windowPixelToCell(const Letterbox &placement, Vector pixel, int columns, int rows) {
  if (columns <= 0 || rows <= 0 || placement.grid_width <= 0 || placement.grid_height <= 0)
    return Vector();
  const float cell_width = static_cast<float>(placement.grid_width) / static_cast<float>(columns);
  const float cell_height = static_cast<float>(placement.grid_height) / static_cast<float>(rows);
  return Vector(clampToGrid((pixel.getX() - static_cast<float>(placement.left)) / cell_width, columns),
                clampToGrid((pixel.getY() - static_cast<float>(placement.top)) / cell_height, rows));
}

} // namespace vx
