// Plain loopback sockets for the network tests: the other end of the engine's
// connections, written with the system calls themselves so the tests do not
// check the network manager against itself.
#ifndef VX_SOCKET_TEST_SUPPORT_H
#define VX_SOCKET_TEST_SUPPORT_H

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace vxtest {

inline sockaddr_in loopback(int port) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof(address));
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A blocking connection to 127.0.0.1:port, or -1.
inline int rawConnect(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = loopback(port);
  if (fd != -1 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// A listening socket on 127.0.0.1 with a port the system picked, or -1.
inline int rawListen(int &port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof(address);
  if (fd == -1 || bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
      listen(fd, 16) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
    if (fd != -1)
      close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Closes with a reset instead of the orderly end of the stream.
inline void resetClose(int fd) {
  linger lingering = {1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &lingering, sizeof(lingering));
  close(fd);
}

inline bool writeAll(int fd, const std::string &bytes) {
  return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// What arrives within wait_ms (reading stops once the line is quiet).
inline std::string readAvailable(int fd, int wait_ms) {
  std::string result;
  pollfd pfd = {fd, POLLIN, 0};
  char chunk[4096];
  while (poll(&pfd, 1, wait_ms) > 0) {
    ssize_t n = recv(fd, chunk, sizeof(chunk), MSG_DONTWAIT);
    if (n <= 0)
      break;
    result.append(chunk, static_cast<size_t>(n));
    wait_ms = 5;
  }
  return result;
}

// True when the peer ended the stream (or reset it) within wait_ms.
inline bool peerClosed(int fd, int wait_ms) {
  pollfd pfd = {fd, POLLIN, 0};
  char byte;
  return poll(&pfd, 1, wait_ms) > 0 && recv(fd, &byte, 1, MSG_DONTWAIT) <= 0;
}

// Calls `step` until `done` holds, at most `attempts` times, a millisecond apart.
inline bool pumpUntil(const std::function<void()> &step, const std::function<bool()> &done,
                      int attempts = 2000) {
  for (int i = 0; i < attempts; i++) {
    step();
    if (done())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// The number of open file descriptors of this process.
inline int openDescriptorCount() {
  int count = 0;
  DIR *p_dir = opendir("/proc/self/fd");
  if (p_dir == nullptr)
    return -1;
  while (dirent *p_entry = readdir(p_dir))
    count += p_entry->d_name[0] != '.';
  closedir(p_dir);
  return count - 1; // The directory's own descriptor.
}

} // namespace vxtest

#endif // VX_SOCKET_TEST_SUPPORT_H
