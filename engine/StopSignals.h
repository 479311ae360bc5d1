/// \file
/// SIGINT, SIGTERM, SIGHUP and SIGQUIT end a game the way closing its window
/// does: the handler only notes the signal, and the input manager sets game
/// over at its next look, so the engine shuts down cleanly and exits normally.
/// 
/// A program that dies instead (a second stop signal before the game could
/// end, a crash) first says its last words: it writes out the record being
/// made and gives back the terminal.
#ifndef VX_STOP_SIGNALS_H
#define VX_STOP_SIGNALS_H

namespace vx {

/// Installs the handlers of the stop and crash signals (once per process) and
/// starts noting the stop signals.
void installStopSignals();

/// Stops noting them: a stop signal then ends the process at once, as it would
/// without a handler, after the last words.
void removeStopSignals();

/// The first stop signal received since start-up, or 0.
int pendingStopSignal();

/// A descriptor that becomes readable when a stop signal arrives, so a wait
/// with poll() wakes up for it; -1 before the handlers are installed.
int stopSignalDescriptor();

/// "SIGINT", "SIGTERM", "SIGHUP", "SIGQUIT" or "signal".
const char *stopSignalName(int signal_number);

/// Adds a function a dying program calls before it ends (each once, at most
/// four). It must be safe in a signal handler.
void addLastWords(void (*p_function)());

} // namespace vx

#endif // VX_STOP_SIGNALS_H
