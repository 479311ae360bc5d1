/// \file
/// When the window system goes away under a running game (the window killed
/// by the window manager, the X server ended), the X library reports a fatal
/// I/O error and, by default, exits with 1 and no word in the log.
///
/// The X library does not let its I/O error handler return: the connection is
/// dead and the library ends the process when the handler returns. So the
/// handler installed here ends the game itself: it logs the loss, leaves the
/// window, font and drawing objects alone (freeing them would talk to the dead
/// connection), shuts the engine down through the game manager (world,
/// resources, input, display, the closing banner, the log) and exits with 0,
/// as closing the window does, without running static destructors that might
/// reach the window system again.
#ifndef VX_WINDOW_LOSS_H
#define VX_WINDOW_LOSS_H

namespace vx {

/// Installs the handlers (once per process).
void endGameOnWindowSystemLoss();

/// Whether another program destroyed the window: the requests made for it
/// since failed, quietly. The game then ends as if the window was closed.
bool windowDestroyed();

} // namespace vx

#endif // VX_WINDOW_LOSS_H
