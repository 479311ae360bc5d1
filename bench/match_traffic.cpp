// What a match of Swat for two costs on loopback: two swat processes play
// with the computer player on both sides at 33 ms a step (30 steps a second)
// for a number of steps (600 unless given), then each prints the figures its
// log holds: bytes per second each player sends, the input delay, and how
// many steps waited for the other player's input and for how long.
//
//   match_traffic [STEPS]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "MatchTestSupport.h"

namespace {

struct Figures {
  int step = 0, delay = 0, waited = 0;
  double round_trip_ms = 0, wait_s = 0, longest_ms = 0, sent_per_s = 0, received_per_s = 0;
  long long sent = 0, received = 0;
};

// The last figures line of a log, as LockstepMatch writes it.
bool lastFigures(const std::string &log, Figures &f) {
  const size_t at = log.rfind("LockstepMatch: step ");
  return at != std::string::npos &&
         std::sscanf(log.c_str() + at,
                     "LockstepMatch: step %d, delay %d, round trip %lf ms; %d steps waited (%lf s "
                     "in all, longest %lf ms); sent %lld bytes (%lf bytes/s), received %lld bytes "
                     "(%lf bytes/s).",
                     &f.step, &f.delay, &f.round_trip_ms, &f.waited, &f.wait_s, &f.longest_ms,
                     &f.sent, &f.sent_per_s, &f.received, &f.received_per_s) == 10;
}

} // namespace

int main(int argc, char **argv) {
  const int steps = argc > 1 ? std::atoi(argv[1]) : 600;
  vxtest::TempDir dir;
  vxtest::SwatProcess host(dir, "host"), guest(dir, "guest");
  host.start({"--host", "127.0.0.1:0", "--bot"}, 33);
  const vxtest::Invitation invitation = vxtest::waitForInvitation(host);
  if (invitation.code.empty()) {
    std::fprintf(stderr, "the host did not start:\n%s", host.out().c_str());
    return 1;
  }
  guest.start({"--join", "127.0.0.1:" + invitation.port, invitation.code, "--bot"}, 33);
  // Both logs write their figures every 1000 steps and at the end.
  const long long end = vxtest::millisecondsNow() + steps * 33LL + 5000;
  while (vxtest::millisecondsNow() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  guest.signal(SIGTERM);
  guest.wait(10000);
  host.wait(10000);
  int status = 0;
  for (const vxtest::SwatProcess *p : {&host, &guest}) {
    Figures f;
    if (!lastFigures(p->log(), f)) {
      std::fprintf(stderr, "%s: no figures in its log\n", p->name.c_str());
      status = 1;
      continue;
    }
    std::printf("%-5s %d steps, delay %d, round trip %.1f ms: sends %.0f bytes/s, receives %.0f "
                "bytes/s; %d steps waited, %.1f ms in all, longest %.1f ms\n",
                p->name.c_str(), f.step, f.delay, f.round_trip_ms, f.sent_per_s, f.received_per_s,
                f.waited, f.wait_s * 1000, f.longest_ms);
  }
  return status;
}
