/// \file
/// SIGINT, SIGTERM and SIGHUP end a game the way closing its window does: the
/// handler only notes the signal, and the input manager sets game over at its
/// next look, so the engine shuts down cleanly and exits normally.
#ifndef VX_STOP_SIGNALS_H
#define VX_STOP_SIGNALS_H

namespace vx {

/// Installs the handlers (once per process) and starts noting the signals.
void installStopSignals();

/// Stops noting them: a stop signal then ends the process at once, as it would
/// without a handler, after giving back the terminal.
void removeStopSignals();

/// The first stop signal received since start-up, or 0.
int pendingStopSignal();

/// A descriptor that becomes readable when a stop signal arrives, so a wait
/// with poll() wakes up for it; -1 before the handlers are installed.
int stopSignalDescriptor();

/// "SIGINT", "SIGTERM", "SIGHUP" or "signal".
const char *stopSignalName(int signal_number);

} // namespace vx

#endif // VX_STOP_SIGNALS_H
