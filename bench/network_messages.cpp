// Times the network manager over loopback: one short-lived connection (the
// peer connects, is accepted, resets, and the reset is found and closed), and
// one framed message from sendMessage() to its delivery by receiveMessages()
// for several payload sizes. Prints the median wall-clock time of each, and
// checks that the cycles leave no descriptor open.
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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

int openDescriptors() {
  int count = 0;
  DIR *p_dir = opendir("/proc/self/fd");
  if (p_dir == nullptr)
    return -1;
  while (dirent *p_entry = readdir(p_dir))
    count += p_entry->d_name[0] != '.';
  closedir(p_dir);
  return count - 1;
}

int rawConnect(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd != -1 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
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
  int before = openDescriptors();
  std::vector<double> times;
  for (int i = 0; i < CYCLES; i++) {
    double start = nowMicroseconds();
    int fd = rawConnect(network.getPort());
    int accepted = -1;
    for (int polls = 0; polls < MAX_POLLS && accepted < 0; polls++)
      accepted = network.accept();
    linger reset = {1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
    close(fd);
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
              median(times), CYCLES, before, openDescriptors());
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
