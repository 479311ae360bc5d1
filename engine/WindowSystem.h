/// \file
/// What the window system can give, asked before the window library is used
/// for it: the library aborts the process on a display it cannot open, and
/// spins or dies on window sizes the system cannot make.
#ifndef VX_WINDOW_SYSTEM_H
#define VX_WINDOW_SYSTEM_H

namespace vx {

/// Whether the display that the DISPLAY variable names can be opened (the
/// connection is closed again at once).
bool displayOpens();

/// The longest window side, in pixels, that the window system and the
/// graphics driver can make. Needs a display that opens.
int maxWindowSide();

} // namespace vx

#endif // VX_WINDOW_SYSTEM_H
