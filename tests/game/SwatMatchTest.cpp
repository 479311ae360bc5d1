// Swat for two: two real swat processes play a match on 127.0.0.1 with the
// computer player on both sides, directly and through a relay that delays
// every byte; and a table of peers that misbehave, each played by the test
// against a real swat.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "LockstepMatch.h"
#include "MatchMessage.h"
#include "MatchTestSupport.h"
#include "NetworkMessage.h"
#include "SwatRecording.h"

namespace {

using vxtest::SwatProcess;

struct Link {
  const char *name;
  int frame_time;
  int delay_ms, jitter_ms; // Of the relay each way; 0: no relay.
};

class SwatMatchTest : public ::testing::TestWithParam<Link> {};

TEST_P(SwatMatchTest, BothMachinesRunTheSameGameAndBothRecordsReplay) {
  const Link link = GetParam();
  vxtest::TempDir dir;
  SwatProcess host(dir, "host"), guest(dir, "guest");
  host.start({"--host", "127.0.0.1:0", "--bot"}, link.frame_time);
  const vxtest::Invitation invitation = vxtest::waitForInvitation(host);
  ASSERT_FALSE(invitation.code.empty()) << host.out();
  std::unique_ptr<vxtest::DelayRelay> relay;
  std::string port = invitation.port;
  if (link.delay_ms > 0) {
    relay = std::make_unique<vxtest::DelayRelay>(std::stoi(port), link.delay_ms, link.jitter_ms);
    port = std::to_string(relay->port);
  }
  guest.start({"--join", "127.0.0.1:" + port, invitation.code, "--bot"}, link.frame_time);

  for (const SwatProcess *p : {&host, &guest})
    ASSERT_TRUE(p->waitFor(true, "LockstepMatch: step 1000,", 90000)) << p->name << p->log();
  guest.signal(SIGTERM); // The guest quits; the host hears it and ends too.
  ASSERT_TRUE(guest.wait(20000));
  ASSERT_TRUE(host.wait(20000));
  EXPECT_EQ(guest.exit_code, 0) << guest.out();
  EXPECT_EQ(host.exit_code, 0) << host.out();
  EXPECT_NE(host.out().find("The other player left the game."), std::string::npos) << host.out() << host.log().substr(host.log().size() - 1500) << guest.log().substr(guest.log().size() - 1500);

  const std::vector<uint64_t> host_hashes = vxtest::stepHashes(host.record());
  const std::vector<uint64_t> guest_hashes = vxtest::stepHashes(guest.record());
  ASSERT_GE(guest_hashes.size(), 1000u);
  ASSERT_GE(host_hashes.size(), guest_hashes.size());
  for (size_t step = 0; step < guest_hashes.size(); step++)
    ASSERT_EQ(host_hashes[step], guest_hashes[step]) << "step " << step;
  for (const SwatProcess *p : {&host, &guest}) {
    const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay " + p->record() + " --fast");
    EXPECT_EQ(replay.exit_code, 0) << p->name << replay.err;
    EXPECT_NE(replay.out.find("Replay matched the record"), std::string::npos) << replay.out;
  }
  // The figures of the match, for whoever reads the test's output.
  const std::string log = host.log();
  const size_t last = log.rfind("LockstepMatch: step");
  std::printf("%s: %s\n", link.name, log.substr(last, log.find('\n', last) - last).c_str());
}

INSTANTIATE_TEST_SUITE_P(Links, SwatMatchTest,
                         ::testing::Values(Link{"loopback", 10, 0, 0},
                                           Link{"slow", 20, 100, 20}),
                         [](const auto &info) { return std::string(info.param.name); });

// A framed match message as a peer sends it.
std::string frame(const vx::MatchMessage &message) {
  const std::string payload = vx::encodeMatchMessage(message);
  return vx::NetworkMessage(vx::MESSAGE_CUSTOM, payload.data(), static_cast<int>(payload.size()))
      .encode();
}

vx::MatchMessage inputFor(int step) {
  vx::MatchMessage input;
  input.type = vx::MATCH_INPUT;
  input.step = step;
  return input;
}

struct BadPeer {
  const char *name;
  bool as_guest;                          // The test joins a swat host; else it hosts a swat guest.
  std::string (*bytes)(const std::string &code); // What it sends (after its START as a host).
  const char *expected;                   // What the swat prints.
  int exit_code = 0;                      // Of a swat guest.
};

std::string join(const std::string &code, int version, int columns) {
  vx::MatchMessage m;
  m.type = vx::MATCH_JOIN;
  m.engine_version = version;
  m.columns = columns;
  m.rows = 24;
  m.game = "swat";
  m.code = code;
  return frame(m);
}

const BadPeer BAD_PEERS[] = {
    {"WrongCode", true, [](const std::string &) { return join("AAAAAA", 425, 80); },
     "Refused a player: wrong join code."},
    {"OtherVersion", true, [](const std::string &code) { return join(code, 999, 80); },
     "Refused a player: another engine version (the host runs 4.25, the guest 9.99)."},
    {"OtherSizes", true, [](const std::string &code) { return join(code, 425, 100); },
     "Refused a player: other view sizes"},
    {"Garbage", true, [](const std::string &) { return std::string("GET / HTTP/1.0\r\n\r\n"); },
     "Refused a player: it sent something that is not a message of the game."},
    {"GarbageInPlay", false, [](const std::string &) { return std::string(64, 'x'); },
     "The other player sent something that is not a message of the game"},
    {"Oversized", false,
     [](const std::string &) {
       const std::string big(vx::MAX_MATCH_PAYLOAD + 1, 'I');
       return vx::NetworkMessage(vx::MESSAGE_CUSTOM, big.data(), static_cast<int>(big.size()))
           .encode();
     },
     "The other player sent a broken message: a message of 4097 bytes"},
    {"LongPast", false, [](const std::string &) { return frame(inputFor(0)); },
     "The other player sent input for step 0, long past"},
    {"FarAhead", false, [](const std::string &) { return frame(inputFor(40)); },
     "The other player sent input for step 40, far ahead"},
    {"Flood", false,
     [](const std::string &) {
       std::string flood;
       for (int step = 2; step < 20000; step++)
         flood += frame(inputFor(step));
       return flood;
     },
     ", far ahead of step"},
    {"PausesAndResumes", false,
     [](const std::string &) {
       vx::MatchMessage pause = inputFor(2), resume, quit;
       vx::RecordedInput f10;
       f10.action = vx::KEY_PRESSED;
       f10.code = vx::Keyboard::F10;
       pause.inputs.push_back(f10);
       resume.type = vx::MATCH_RESUME;
       resume.step = 1; // The first pause.
       quit.type = vx::MATCH_QUIT;
       quit.step = 5;
       std::string bytes = frame(pause) + frame(resume);
       for (int step = 3; step <= 5; step++)
         bytes += frame(inputFor(step));
       return bytes + frame(quit);
     },
     "The other player left the game (at step 6)."}, // Played on after the pause.
    {"WorldsApart", false,
     [](const std::string &) {
       vx::MatchMessage input = inputFor(2);
       input.hash_step = 1;
       input.hash = 12345; // Not the world this machine has after step 1.
       return frame(input);
     },
     "The two games went apart at step 1.", vx::MATCH_APART_STATUS},
    {"Silent", false, [](const std::string &) { return std::string(); },
     "The other player is gone."},
};

void PrintTo(const BadPeer &peer, std::ostream *os) { *os << peer.name; }
void PrintTo(const Link &link, std::ostream *os) { *os << link.name; }

class SwatBadPeerTest : public ::testing::TestWithParam<BadPeer> {};

TEST_P(SwatBadPeerTest, EndsWithAClearMessageInBoundedTimeAndMemory) {
  const BadPeer peer = GetParam();
  vxtest::TempDir dir;
  SwatProcess swat(dir, "swat");
  int fd = -1;
  if (peer.as_guest) {
    swat.start({"--host", "127.0.0.1:0"}, 20);
    const vxtest::Invitation invitation = vxtest::waitForInvitation(swat);
    fd = vxtest::rawConnect(std::stoi(invitation.port));
    ASSERT_TRUE(vxtest::writeAll(fd, peer.bytes(invitation.code)));
    ASSERT_TRUE(swat.waitFor(false, peer.expected, 10000)) << swat.out();
    swat.signal(SIGTERM); // The host still waits for a right guest; it stops cleanly.
    EXPECT_TRUE(swat.wait(10000));
    EXPECT_EQ(swat.exit_code, 1) << swat.out();
  } else {
    int port = 0;
    const int listener = vxtest::rawListen(port);
    swat.start({"--join", "127.0.0.1:" + std::to_string(port), "ABCDEF", "--give-up", "2"}, 20);
    pollfd waiting = {listener, POLLIN, 0};
    ASSERT_EQ(poll(&waiting, 1, 10000), 1);
    fd = accept(listener, nullptr, nullptr);
    close(listener);
    EXPECT_NE(vxtest::readAvailable(fd, 200).find("swat"), std::string::npos);
    vx::MatchMessage start;
    start.type = vx::MATCH_START;
    start.seed = 5;
    start.delay = 2;
    start.frame_time = 20;
    ASSERT_TRUE(vxtest::writeAll(fd, frame(start)));
    ASSERT_TRUE(swat.waitFor(false, "The match begins", 10000)) << swat.out();
    ASSERT_TRUE(vxtest::writeAll(fd, peer.bytes("")));
    EXPECT_TRUE(swat.wait(15000)) << swat.out();
    EXPECT_EQ(swat.exit_code, peer.exit_code) << swat.out();
    EXPECT_NE((swat.out() + swat.log()).find(peer.expected), std::string::npos) << swat.out();
    EXPECT_LT(swat.max_rss_kb, 400 * 1024);
    if (peer.exit_code == vx::MATCH_APART_STATUS) { // The record for the report is kept and replays.
      const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay " + swat.record() + " --fast");
      EXPECT_NE(replay.out.find("Replay matched the record"), std::string::npos) << replay.err;
    }
  }
  close(fd);
}

INSTANTIATE_TEST_SUITE_P(Peers, SwatBadPeerTest, ::testing::ValuesIn(BAD_PEERS),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
