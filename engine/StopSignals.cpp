#include "StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "TerminalSession.h"

namespace vx {

namespace {

const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t s_signal = 0;
int s_pipe[2] = {-1, -1};
bool s_installed = false;
volatile std::sig_atomic_t s_listening = 0;

void onStopSignal(int signal_number) {
  if (s_signal != 0 || s_listening == 0) {
    // A second signal before the game could end (the player insists, or the
    // game hangs), or one when no game loop is there to look: give the
    // terminal back and end at once, as without a handler.
    restoreTerminalNow();
    std::signal(signal_number, SIG_DFL);
    raise(signal_number);
    return;
  }
  s_signal = signal_number;
  const int saved_errno = errno;
  if (s_pipe[1] >= 0) {
    const char byte = 1;
    (void)!write(s_pipe[1], &byte, 1);
  }
  errno = saved_errno;
}

} // namespace

void installStopSignals() {
  s_listening = 1;
  if (s_installed)
    return;
  if (s_pipe[0] < 0 && pipe(s_pipe) == 0) {
    for (int fd : s_pipe) {
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
      fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  struct sigaction action = {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0; // Waits are interrupted, not restarted.
  for (int signal_number : STOP_SIGNALS)
    sigaction(signal_number, &action, nullptr);
  s_installed = true;
}

void removeStopSignals() { s_listening = 0; }

int pendingStopSignal() { return s_signal; }

int stopSignalDescriptor() { return s_pipe[0]; }

const char *stopSignalName(int signal_number) {
  switch (signal_number) {
  case SIGINT: return "SIGINT";
  case SIGTERM: return "SIGTERM";
  case SIGHUP: return "SIGHUP";
  default: return "signal";
  }
}

} // namespace vx
