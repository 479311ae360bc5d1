/// \file
/// Where the grid of cells sits in a window of any size: scaled evenly to the
/// largest size that fits, keeping the shape it was configured with, and
/// centred, with bars of the clear colour on the two sides (or above and below)
/// that it does not fill. Window pixels map back to view cells through the
/// same placement.
#ifndef VX_LETTERBOX_H
#define VX_LETTERBOX_H

#include "Vector.h"

namespace vx {

/// Where the grid lies in a window whose shape differs from the grid's: scaled to fit, centred,
/// with bars around it.
struct Letterbox {
  ///@{
  int window_width, window_height; ///< The whole window, in pixels.
  ///@}
  ///@{
  int left, top;                   ///< The grid's top-left pixel in the window.
  ///@}
  ///@{
  int grid_width, grid_height;     ///< The grid's size in pixels.
  ///@}
  float scale;                     ///< Grid pixels per configured pixel.
};

/// Places a grid configured at grid_width x grid_height pixels in a window of
/// window_width x window_height pixels. A window of no area keeps scale 1.
Letterbox placeGrid(int window_width, int window_height, int grid_width, int grid_height);

/// The view cell under a window pixel of a grid of columns x rows cells placed
/// by the letterbox. Positions off the grid (over the bars, or outside the
/// window) give the nearest position on it, just inside its last cell.
Vector windowPixelToCell(const Letterbox &placement, Vector pixel, int columns, int rows);

} // namespace vx

#endif // VX_LETTERBOX_H
