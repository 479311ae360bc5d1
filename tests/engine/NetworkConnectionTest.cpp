// The network manager over real loopback sockets: connections and their
// indices, sending now and at a step, peers that go away, message framing,
// and many short-lived connections.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "EventNetwork.h"
#include "EventStep.h"
#include "GameManager.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"
#include "SocketTestSupport.h"
#include "WorldTestSupport.h"

namespace {

const std::vector<std::string> NETWORK_TYPES = {
    "vx-network",        "vx-keyboard-network", "vx-mouse-network",     "vx-network-create",
    "vx-custom-network", "vx-network-delete",   "vx-network-game-over", "vx-network-sync"};

// "connected <index>", "closed <index>", or "<type> <index> <payload>" (long
// payloads as their size) for every network event the object hears.
std::string describe(const vx::Event *p_e) {
  const auto *p_n = static_cast<const vx::EventNetwork *>(p_e);
  std::string index = std::to_string(p_n->getSocketIndex());
  if (p_n->getType() == vx::NETWORK_EVENT)
    return (p_n->getLabel() == vx::NETWORK_CONNECTED ? "connected " : "closed ") + index;
  std::string payload(static_cast<const char *>(p_n->getMessage()),
                      static_cast<size_t>(p_n->getBytes()));
  if (payload.size() > 16)
    payload = "<" + std::to_string(payload.size()) + " bytes>";
  return p_n->getType() + " " + index + " " + payload;
}

// A message as it goes on the wire, written out byte by byte here.
std::string frame(int kind, const std::string &payload) {
  std::string out;
  for (int i = 0; i < 4; i++)
    out.push_back(static_cast<char>((payload.size() >> (8 * i)) & 0xff));
  out.push_back(static_cast<char>(kind & 0xff));
  out.push_back(static_cast<char>((kind >> 8) & 0xff));
  return out + "vx" + payload;
}

// Counts SIGPIPE while alive.
class SigpipeCounter {
 private:
  struct sigaction m_old;
  static int &count() {
    static int n = 0;
    return n;
  }
  static void handler(int) { count()++; }

 public:
  SigpipeCounter() {
    count() = 0;
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = handler;
    sigaction(SIGPIPE, &action, &m_old);
  }
  ~SigpipeCounter() { sigaction(SIGPIPE, &m_old, nullptr); }
  int signals() const { return count(); }
};

// A started network manager listening on a free loopback port, and an object
// that writes down every network event.
class NetworkFixture : public vxtest::WorldFixture {
 protected:
  vx::NetworkManager &m_network = vx::NetworkManager::getInstance();
  std::vector<std::string> m_events;
  int m_port = -1;
  // Called with the index of every "closed" event, after it is written down.
  std::function<void(int)> m_on_closed;

  void SetUp() override {
    vxtest::WorldFixture::SetUp();
    ASSERT_EQ(m_network.startUp(), 0);
    ASSERT_EQ(m_network.setServer("0"), 0);
    m_port = m_network.getPort();
    ASSERT_GT(m_port, 0);
    auto *p_listener = new vxtest::Recorder("net", vx::Vector(0, 0), vx::SPECTRAL);
    for (const std::string &type : NETWORK_TYPES)
      ASSERT_EQ(p_listener->registerInterest(type), 0);
    p_listener->on_event = [this](vxtest::Recorder *, const vx::Event *p_e) {
      m_events.push_back(describe(p_e));
      const auto *p_n = static_cast<const vx::EventNetwork *>(p_e);
      if (m_on_closed && p_n->getType() == vx::NETWORK_EVENT &&
          p_n->getLabel() != vx::NETWORK_CONNECTED)
        m_on_closed(p_n->getSocketIndex());
    };
  }

  void TearDown() override {
    m_network.shutDown();
    vxtest::WorldFixture::TearDown();
  }

  // Accepts the next pending connection: its index, or what accept() last said.
  int acceptOne() {
    int result = -1;
    vxtest::pumpUntil([&] { result = m_network.accept(); }, [&] { return result != -1; });
    return result;
  }

  int sendText(const std::string &text, int sock_index) {
    return m_network.send(text.data(), static_cast<int>(text.size()), sock_index);
  }

  bool heard(const std::string &event) const {
    for (const std::string &e : m_events)
      if (e == event)
        return true;
    return false;
  }
};

TEST_F(NetworkFixture, AcceptsUpToTheMaximumAndShiftsIndicesOnClose) {
  std::vector<int> clients;
  for (int i = 0; i < 4; i++) {
    clients.push_back(vxtest::rawConnect(m_port));
    ASSERT_NE(clients.back(), -1);
  }
  // One call takes them all, closing the fourth (beyond the maximum) at once.
  EXPECT_EQ(acceptOne(), 0);
  EXPECT_EQ(m_events, (std::vector<std::string>{"connected 0", "connected 1", "connected 2"}));
  EXPECT_TRUE(vxtest::peerClosed(clients[3], 1000));
  clients[3] = vxtest::rawConnect(m_port);

  m_events.clear();
  ASSERT_EQ(m_network.close(0), 0);
  EXPECT_EQ(m_events, (std::vector<std::string>{"closed 0"}));
  EXPECT_TRUE(vxtest::peerClosed(clients[0], 1000));
  EXPECT_TRUE(m_network.isConnected(1));
  EXPECT_FALSE(m_network.isConnected(2));
  // Connections 1 and 2 moved down to 0 and 1.
  for (int i = 0; i < 2; i++) {
    std::string text = "to " + std::to_string(i);
    ASSERT_EQ(sendText(text, i), 0);
    EXPECT_EQ(vxtest::readAvailable(clients[static_cast<size_t>(i) + 1], 1000), text);
  }

  // Closing one lets the next one in.
  EXPECT_EQ(acceptOne(), 2);
  ASSERT_EQ(sendText("late", 2), 0);
  EXPECT_EQ(vxtest::readAvailable(clients[3], 1000), "late");

  m_events.clear();
  EXPECT_EQ(m_network.close(-1), 0);
  EXPECT_EQ(m_events, (std::vector<std::string>{"closed 0", "closed 1", "closed 2"}));
  EXPECT_FALSE(m_network.isConnected(-1));
  for (size_t i = 1; i < clients.size(); i++)
    EXPECT_TRUE(vxtest::peerClosed(clients[i], 1000)) << i;
  for (int fd : clients)
    close(fd);

  // A lower maximum holds new connections back.
  ASSERT_EQ(m_network.setMaxConnections(0), 0);
  int fd = vxtest::rawConnect(m_port);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(m_network.accept(), -1);
  EXPECT_TRUE(vxtest::peerClosed(fd, 1000));
  EXPECT_EQ(m_network.setMaxConnections(-1), -1);
  EXPECT_EQ(m_network.getMaxConnections(), 0);
  close(fd);
}

// A "closed" handler that makes sure of the close and says goodbye must not
// make an outer close skip connections or write to a closed descriptor.
TEST_F(NetworkFixture, HandlersThatCloseOrSendWhileClosingLeaveNoConnectionBehind) {
  std::vector<int> clients;
  for (int i = 0; i < 3; i++) {
    clients.push_back(vxtest::rawConnect(m_port));
    ASSERT_NE(clients.back(), -1);
    ASSERT_EQ(acceptOne(), i);
  }
  m_events.clear();
  m_on_closed = [this](int index) {
    EXPECT_FALSE(m_network.isConnected(index));
    EXPECT_EQ(sendText("bye", index), -1);
    m_network.close(index);
  };
  m_network.close(-1);
  EXPECT_EQ(m_events, (std::vector<std::string>{"closed 0", "closed 1", "closed 2"}));
  EXPECT_EQ(m_network.getConnectionCount(), 0);
  for (int fd : clients) {
    EXPECT_TRUE(vxtest::peerClosed(fd, 1000));
    close(fd);
  }
}

TEST_F(NetworkFixture, APeerThatGoesAwayIsClosedWithoutASignal) {
  struct Case {
    const char *name;
    bool reset;       // Reset rather than end the stream.
    bool by_send;     // Found by sending rather than by receiving.
  };
  const Case cases[] = {
      {"reset, send", true, true},
      {"reset, receive", true, false},
      {"end of stream, send", false, true},
      {"end of stream, receive", false, false},
  };
  SigpipeCounter sigpipe;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_events.clear();
    int fd = vxtest::rawConnect(m_port);
    ASSERT_EQ(acceptOne(), 0);
    if (c.reset)
      vxtest::resetClose(fd);
    else
      close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    char byte = 'x';
    if (c.reset && c.by_send) {
      // The reset has arrived: the very first send fails.
      EXPECT_EQ(m_network.send(&byte, 1, 0), -1);
    } else if (c.by_send) {
      // The first byte may still be taken; the peer answers it with a reset.
      vxtest::pumpUntil([&] { m_network.send(&byte, 1, 0); },
                        [&] { return !m_network.isConnected(0); }, 100);
    } else {
      EXPECT_EQ(m_network.receive(&byte, 1, 0), -1);
    }
    EXPECT_FALSE(m_network.isConnected(-1));
    EXPECT_EQ(m_events, (std::vector<std::string>{"connected 0", "closed 0"}));
  }
  EXPECT_EQ(sigpipe.signals(), 0);
  // Sending to a connection that is not there is refused.
  char byte = 'x';
  EXPECT_EQ(m_network.send(&byte, 1, 0), -1);
  EXPECT_EQ(m_network.send(&byte, 1, -1), -1);
}

TEST_F(NetworkFixture, MessagesArriveWholeAndABadPeerCostsOnlyItsConnection) {
  struct Case {
    const char *name;
    std::vector<std::string> writes;    // What the peer writes, one write each.
    std::vector<std::string> expected;  // The peer's messages delivered.
    bool closed;                        // Its connection is closed.
  };
  std::string hello = frame(7, "hello");
  std::vector<std::string> bytewise;
  for (char c : hello)
    bytewise.push_back(std::string(1, c));
  std::string oversized = frame(7, "");
  oversized[2] = 1; // 65536 + 1 bytes announced
  oversized[0] = 1;
  const Case cases[] = {
      {"one-byte writes", bytewise, {"vx-custom-network 0 hello"}, false},
      {"two in one write", {frame(2, "one") + frame(3, "two")},
       {"vx-network-sync 0 one", "vx-network-delete 0 two"}, false},
      {"largest message", {frame(1, std::string(65536, 'z'))},
       {"vx-network-create 0 <65536 bytes>"}, false},
      {"empty message", {frame(4, "")}, {"vx-network-game-over 0 "}, false},
      {"stops mid-message", {hello.substr(0, 10)}, {}, false},
      {"oversized length", {oversized}, {}, true},
      {"garbage", {"GET / HTTP/1.0\r\n\r\n"}, {}, true},
      {"unknown kind", {frame(99, "x")}, {}, true},
      {"message, then garbage", {frame(5, "ok") + "garbage!"}, {"vx-keyboard-network 0 ok"}, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    int peer = vxtest::rawConnect(m_port);
    int bystander = vxtest::rawConnect(m_port);
    ASSERT_TRUE(vxtest::pumpUntil([&] { m_network.accept(); },
                                  [&] { return m_network.getConnectionCount() == 2; }));
    m_events.clear();
    for (size_t i = 0; i < c.writes.size(); i++) {
      ASSERT_TRUE(vxtest::writeAll(peer, c.writes[i]));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      m_network.receiveMessages();
      if (i + 1 < c.writes.size()) {
        ASSERT_TRUE(m_events.empty()) << "delivered before the last byte, write " << i;
      }
    }
    // The other connection carries on whatever the peer did.
    ASSERT_TRUE(vxtest::writeAll(bystander, frame(7, "still here")));
    std::string bystander_message =
        std::string("vx-custom-network ") + (c.closed ? "0" : "1") + " still here";
    EXPECT_TRUE(vxtest::pumpUntil([&] { m_network.receiveMessages(); },
                                  [&] { return heard(bystander_message); }));
    std::vector<std::string> from_peer;
    for (const std::string &e : m_events)
      if (e != bystander_message && e != "closed 0")
        from_peer.push_back(e);
    EXPECT_EQ(from_peer, c.expected);
    EXPECT_EQ(heard("closed 0"), c.closed);
    EXPECT_EQ(m_network.getConnectionCount(), c.closed ? 1 : 2);
    EXPECT_EQ(vxtest::peerClosed(peer, c.closed ? 1000 : 10), c.closed);
    m_network.close(-1);
    close(peer);
    close(bystander);
  }
  // A message too long to carry is refused before anything is sent.
  int fd = vxtest::rawConnect(m_port);
  ASSERT_EQ(acceptOne(), 0);
  std::string too_long(65537, 'z');
  EXPECT_EQ(m_network.sendMessage(vx::MESSAGE_CUSTOM, too_long.data(), 65537, 0), -1);
  EXPECT_EQ(m_network.sendMessage(vx::MESSAGE_UNDEFINED, "x", 1, 0), -1);
  ASSERT_EQ(m_network.sendMessage(vx::MESSAGE_SYNC, "abc", 3, 0), 0);
  EXPECT_EQ(vxtest::readAvailable(fd, 1000), frame(2, "abc"));
  close(fd);
}

TEST_F(NetworkFixture, SilentPeersAndUnfinishedMessagesTimeOut) {
  // What the peer sends, both timeouts in ms, and whether it is dropped.
  const std::tuple<std::string, int, bool> cases[] = {
      {"", 100, true}, {frame(7, "half").substr(0, 6), 100, true}, {frame(7, "whole"), 100, false},
      {"", 0, false}};
  for (const auto &[sent, timeout, closed] : cases) {
    m_network.setPartialMessageTimeout(timeout), m_network.setSilentConnectionTimeout(timeout);
    int fd = vxtest::rawConnect(m_port);
    ASSERT_TRUE(acceptOne() == 0 && vxtest::writeAll(fd, sent));
    for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
         std::chrono::steady_clock::now() < end; m_network.accept())
      m_network.receiveMessages();
    EXPECT_EQ(vxtest::peerClosed(fd, 0), closed) << sent.size() << " bytes, " << timeout << " ms";
    m_network.close(-1), close(fd);
  }
}

TEST_F(NetworkFixture, ManyConnectResetCyclesLeaveNoSocketOpen) {
  const int cycles = 1000;
  int before = vxtest::openDescriptorCount();
  ASSERT_GT(before, 0);
  char byte = 'x';
  for (int i = 0; i < cycles; i++) {
    int fd = vxtest::rawConnect(m_port);
    ASSERT_NE(fd, -1) << i;
    ASSERT_EQ(acceptOne(), 0) << i;
    vxtest::resetClose(fd);
    // Half are found by sending, half by receiving.
    ASSERT_TRUE(vxtest::pumpUntil(
        [&] {
          if (i % 2 == 0) {
            m_network.send(&byte, 1, 0);
          } else {
            m_network.receiveMessages();
          }
        },
        [&] { return !m_network.isConnected(-1); }))
        << i;
  }
  EXPECT_EQ(vxtest::openDescriptorCount(), before);
  int closed = 0;
  for (const std::string &e : m_events)
    closed += e == "closed 0";
  EXPECT_EQ(closed, cycles);
}

TEST_F(NetworkFixture, ASlowReaderGetsEverythingInOrderUntilItFallsTooFarBehind) {
  // A peer with a small receive window, so the socket soon takes only part.
  int peer = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int window = 4096;
  setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &window, sizeof(window));
  sockaddr_in address = vxtest::loopback(m_port);
  ASSERT_EQ(connect(peer, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
  ASSERT_EQ(acceptOne(), 0);

  const int chunk = 65536;
  std::string sent;
  // Until the socket takes only part of a chunk, then two more that wait whole.
  for (int i = 0, extra = 2; i < 64 && extra > 0; i++) {
    std::string bytes(chunk, static_cast<char>('a' + i % 26));
    ASSERT_EQ(sendText(bytes, 0), 0) << i;
    sent += bytes;
    if (m_log.contains("bytes sent."))
      extra--;
  }
  ASSERT_TRUE(m_log.contains("bytes sent."));
  std::string received;
  ASSERT_TRUE(vxtest::pumpUntil(
      [&] {
        m_network.sendQueued();
        received += vxtest::readAvailable(peer, 1);
      },
      [&] { return received.size() >= sent.size(); }, 5000));
  EXPECT_TRUE(received == sent) << "bytes lost or out of order";

  // A reader that stops altogether is given up once too much waits for it.
  int result = 0;
  for (int i = 0; i < 64 && result == 0; i++)
    result = sendText(std::string(chunk, 'z'), 0);
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(m_log.contains("reads too slowly"));
  EXPECT_FALSE(m_network.isConnected(0));
  EXPECT_TRUE(heard("closed 0"));
  close(peer);
}

// Queued messages go out from the game loop itself, which also accepts.
TEST(NetworkLoopTest, QueuedMessagesLeaveInOrderWhenTheirStepComes) {
  vxtest::TempDir dir;
  vxtest::writeFile(dir.file("vx-config.txt"), "headless:true,\nnetworking:true,\nframe_time:1,\n");
  vxtest::ScopedEnv config("VEXLO_CONFIG", dir.file("vx-config.txt"));
  vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
  vx::GameManager &game = vx::GameManager::getInstance();
  vx::NetworkManager &network = vx::NetworkManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  ASSERT_TRUE(network.isStarted());

  int port = 0;
  int listener = vxtest::rawListen(port);
  ASSERT_NE(listener, -1);
  ASSERT_EQ(network.connect("127.0.0.1", std::to_string(port)), 0);
  int peer = accept(listener, nullptr, nullptr);
  ASSERT_NE(peer, -1);
  ASSERT_EQ(network.setServer("0"), 0);
  int caller = vxtest::rawConnect(network.getPort());

  // {bytes, due step}: "b" holds back "c" although "c" is due earlier.
  const std::pair<const char *, int> queued[] = {{"a", 0}, {"b", 3}, {"c", 1}, {"d", 5}, {"e", 5}};
  for (const auto &q : queued)
    ASSERT_EQ(network.queueMessage(q.first, 1, 0, q.second), 0);
  EXPECT_EQ(network.queueMessage("x", 1, 5, 0), -1);

  // What the peer has received when each step begins.
  const std::vector<std::string> expected = {"", "a", "a", "a", "abc", "abc", "abcde", "abcde"};
  std::vector<std::string> received;
  std::string so_far;
  auto *p_watcher = new vxtest::Recorder("watcher", vx::Vector(0, 0), vx::SPECTRAL);
  ASSERT_EQ(p_watcher->registerInterest(vx::STEP_EVENT), 0);
  p_watcher->on_event = [&](vxtest::Recorder *, const vx::Event *) {
    so_far += vxtest::readAvailable(peer, 20);
    received.push_back(so_far);
    if (received.size() == expected.size())
      game.setGameOver();
  };
  game.run();
  EXPECT_EQ(received, expected);
  // The loop took the waiting connection as well.
  EXPECT_EQ(network.getConnectionCount(), 2);
  game.shutDown();
  EXPECT_TRUE(vxtest::peerClosed(caller, 1000));
  close(caller);
  close(peer);
  close(listener);
}

} // namespace
