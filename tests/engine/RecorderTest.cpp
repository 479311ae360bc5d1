// Network messages in a record: a game that reads messages from a peer is
// recorded, then replayed with no peer at all; the messages arrive in the same
// steps and the world goes the same way.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "EventNetwork.h"
#include "EventStep.h"
#include "GameManager.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"
#include "Object.h"
#include "RecordReader.h"
#include "RecordWriter.h"
#include "Recorder.h"
#include "SocketTestSupport.h"
#include "TestSupport.h"

namespace {

// Reads the network every step, notes each message with its step and moves
// by its length (so the world hash sees it); a peer writes from `speak`.
class Listener : public vx::Object {
 public:
  std::vector<std::string> heard;
  std::function<void(int)> speak;
  int steps = 0;

  Listener() {
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
    registerInterest(vx::CUSTOM_NETWORK_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::CUSTOM_NETWORK_EVENT) {
      const auto *p_net = static_cast<const vx::EventNetwork *>(p_e);
      const std::string text(static_cast<const char *>(p_net->getMessage()),
                             static_cast<size_t>(p_net->getBytes()));
      heard.push_back(std::to_string(steps) + ":" + text);
      setPosition(getPosition() + vx::Vector(static_cast<float>(text.size()), 0));
      return 1;
    }
    if (speak)
      speak(steps);
    vx::NetworkManager::getInstance().receiveMessages();
    if (++steps == 40)
      vx::GameManager::getInstance().setGameOver(true);
    return 1;
  }
};

// Runs 40 steps with networking on, recording or replaying as the
// environment says; what the listener heard.
std::vector<std::string> play(const vxtest::TempDir &dir, bool with_peer) {
  vxtest::writeFile(dir.file("config.txt"), "headless:true,networking:true,frame_time:0,");
  vxtest::ScopedEnv config("VEXLO_CONFIG", dir.file("config.txt"));
  vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  std::vector<std::string> heard;
  int peer = -1;
  if (game_manager.startUp() == 0) {
    Listener *p_listener = new Listener;
    vx::NetworkManager &network = vx::NetworkManager::getInstance();
    if (with_peer && network.setServer("0") == 0)
      peer = vxtest::rawConnect(network.getPort());
    p_listener->speak = [peer](int step) {
      const std::string text = "step" + std::to_string(step);
      if (peer != -1 && (step == 3 || step == 4 || step == 17))
        vxtest::writeAll(peer, vx::NetworkMessage(vx::MESSAGE_CUSTOM, text.data(),
                                                  static_cast<int>(text.size())).encode());
    };
    game_manager.run();
    heard = p_listener->heard;
  }
  game_manager.shutDown();
  if (peer != -1)
    close(peer);
  return heard;
}

} // namespace

TEST(Recorder, NetworkMessagesReplayInTheirStepsWithoutThePeer) {
  vxtest::TempDir dir;
  std::vector<std::string> recorded, replayed;
  {
    vxtest::ScopedEnv record("VEXLO_RECORD", dir.file("game.vxr"));
    recorded = play(dir, true);
  }
  ASSERT_EQ(recorded.size(), 3u) << "the peer's messages did not arrive";
  {
    vxtest::ScopedEnv replay("VEXLO_REPLAY", dir.file("game.vxr"));
    replayed = play(dir, false);
  }
  EXPECT_EQ(replayed, recorded);
  EXPECT_TRUE(vx::Recorder::getInstance().isFinished());
  EXPECT_EQ(vx::Recorder::getInstance().getExitStatus(), 0) << vxtest::readFile(dir.file("vexlo.log"));
}

TEST(Recorder, AnInputCountIsNoPromiseOfMemory) {
  // Four million inputs announced, none there: refused at the first.
  std::string bytes = vx::RecordWriter::encode(vx::RecordHeader(), {}, 0);
  bytes.replace(vx::RECORD_HEADER_SIZE, std::string::npos, "\x00\x02", 2);
  const int count = 4 << 20;
  vx::appendVarint(bytes, count);
  bytes += std::string(count, '\xf0');
  struct rusage before, after;
  getrusage(RUSAGE_SELF, &before);
  vx::RecordReader reader;
  EXPECT_EQ(reader.parse(bytes), -1);
  EXPECT_NE(reader.getError().find("unknown input kind"), std::string::npos) << reader.getError();
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
}
