#include "StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

#include "TerminalSession.h"

namespace vx {

namespace {

const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
const int CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

volatile std::sig_atomic_t s_signal = 0;
int s_pipe[2] = {-1, -1};
bool s_installed = false;
volatile std::sig_atomic_t s_listening = 0;

// What a dying program does first.
void (*volatile s_last_words[4])() = {nullptr, nullptr, nullptr, nullptr};
// The crash signals' handlers from before ours (the address sanitizer's, say).
struct sigaction s_previous[std::size(CRASH_SIGNALS)];

void sayLastWords() {
  for (void (*p_function)() : s_last_words)
    if (p_function != nullptr)
      p_function();
  restoreTerminalNow();
}

void onStopSignal(int signal_number) {
  if (s_signal != 0 || s_listening == 0) {
    // A second signal before the game could end (the player insists, or the
    // game hangs), or one when no game loop is there to look: save what can
    // be saved and end at once, as without a handler.
    sayLastWords();
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

void onCrashSignal(int signal_number, siginfo_t *p_info, void *) {
  sayLastWords();
  for (std::size_t i = 0; i < std::size(CRASH_SIGNALS); i++) {
    if (CRASH_SIGNALS[i] == signal_number)
      sigaction(signal_number, &s_previous[i], nullptr);
  }
  // A fault repeats when the handler returns, now reaching the previous
  // handler; a sent signal (or an abort) is sent again.
  const bool fault = p_info != nullptr && p_info->si_code > 0 && signal_number != SIGABRT;
  if (!fault)
    raise(signal_number);
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
  struct sigaction crash = {};
  crash.sa_sigaction = onCrashSignal;
  sigemptyset(&crash.sa_mask);
  crash.sa_flags = SA_SIGINFO | SA_RESETHAND;
  for (std::size_t i = 0; i < std::size(CRASH_SIGNALS); i++)
    sigaction(CRASH_SIGNALS[i], &crash, &s_previous[i]);
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
  case SIGQUIT: return "SIGQUIT";
  default: return "signal";
  }
}

void addLastWords(void (*p_function)()) {
  for (auto &p_slot : s_last_words) {
    if (p_slot == p_function)
      return;
    if (p_slot == nullptr) {
      p_slot = p_function;
      return;
    }
  }
}

} // namespace vx
