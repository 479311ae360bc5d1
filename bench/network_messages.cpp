// Times the network manager over loopback: one short-lived connection (the
// peer connects, is accepted, resets, and the reset is found and closed), and
// one framed message from sendMessage() to its delivery by receiveMessages()
// for several payload sizes. Prints the median wall-clock time of each, and
// checks that the cycles leave no descriptor open.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// The tests' plain loopback sockets play the peer here too.
#include "../tests/support/SocketTestSupport.h"
#include "vexlo.h"

namespace {

const int CYCLES = 2000;
const int MESSAGES = 2000;
const int MAX_POLLS = 100000; // Receive attempts before a message counts as lost.

double nowMicroseconds() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Counts the messages delivered to it.
class Counter : public vx::Object {
 public:
  int messages = 0;
  Counter() { registerInterest(vx::CUSTOM_NETWORK_EVENT); }
  int eventHandler(const vx::Event *) override {
    messages++;
    return 1;
  }
};

void timeCycles(vx::NetworkManager &network) {
  int before = vxtest::openDescriptorCount();
  std::vector<double> times;
  for (int i = 0; i < CYCLES; i++) {
    double start = nowMicroseconds();
    int fd = vxtest::rawConnect(network.getPort());
    int accepted = -1;
    for (int polls = 0; polls < MAX_POLLS && accepted < 0; polls++)
      accepted = network.accept();
    vxtest::resetClose(fd);
    for (int polls = 0; polls < MAX_POLLS && network.isConnected(-1); polls++)
      network.receiveMessages();
    if (accepted < 0 || network.isConnected(-1)) {
      std::printf("cycle %d did not complete\n", i);
      return;
    }
    times.push_back(nowMicroseconds() - start);
  }
  std::printf("connect, accept, reset, close: median %.1f us over %d cycles; descriptors "
              "before %d, after %d\n",
              median(times), CYCLES, before, vxtest::openDescriptorCount());
}

void timeMessages(vx::NetworkManager &network, Counter &counter) {
  int sender = network.connect("127.0.0.1", std::to_string(network.getPort()));
  int receiver = -1;
  for (int polls = 0; polls < MAX_POLLS && receiver < 0; polls++)
    receiver = network.accept();
  if (sender < 0 || receiver < 0) {
    std::printf("no connection\n");
    return;
  }
  for (int size : {16, 1024, 16384, vx::MAX_MESSAGE_SIZE}) {
    std::string payload(static_cast<size_t>(size), 'm');
    std::vector<double> times;
    for (int i = 0; i < MESSAGES; i++) {
      int expected = counter.messages + 1;
      double start = nowMicroseconds();
      network.sendMessage(vx::MESSAGE_CUSTOM, payload.data(), size, sender);
      for (int polls = 0; polls < MAX_POLLS && counter.messages < expected; polls++)
        network.receiveMessages();
      if (counter.messages < expected) {
        std::printf("a message of %d bytes was lost\n", size);
        return;
      }
      times.push_back(nowMicroseconds() - start);
    }
    std::printf("message of %6d bytes, sent to delivered: median %.1f us over %d\n", size,
                median(times), MESSAGES);
  }
  network.close(-1);
}

} // namespace

int main() {
  vx::LogManager::getInstance().startUp();
  vx::WorldManager::getInstance().startUp();
  vx::NetworkManager &network = vx::NetworkManager::getInstance();
  network.startUp();
  if (network.setServer("0") != 0)
    return 1;
  Counter *p_counter = new Counter;
  timeCycles(network);
  timeMessages(network, *p_counter);
  network.shutDown();
  vx::WorldManager::getInstance().shutDown();
  vx::LogManager::getInstance().shutDown();
  return 0;
}
