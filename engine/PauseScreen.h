/// \file
/// What a paused game shows: the picture as it stood, with a box in the middle
/// of the view saying that the game is paused and how to go on. Drawn through
/// the display manager's ordinary drawing calls, so any display shows it.
#ifndef VX_PAUSE_SCREEN_H
#define VX_PAUSE_SCREEN_H

#include <string>

namespace vx {

/// The line the box shows, one character per cell.
extern const std::u32string PAUSE_TEXT;

/// Draws the world as it stands, the box over it, and shows the result.
void showPauseScreen();

/// The same with another line in the box (a match waiting, or paused by a player).
void showMessageBox(const std::u32string &text);

} // namespace vx

#endif // VX_PAUSE_SCREEN_H
