// Two swat programs playing a match on 127.0.0.1, each in a process of its
// own with its own configuration, log and record, for the match's tests and
// its benchmark; and a relay that delays what passes between them.
#ifndef VX_MATCH_TEST_SUPPORT_H
#define VX_MATCH_TEST_SUPPORT_H

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "RecordReader.h"
#include "SocketTestSupport.h"
#include "TestSupport.h"

namespace vxtest {

inline long long millisecondsNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// One swat process, headless, run from the build's run folder.
class SwatProcess {
 public:
  std::string name;
  pid_t pid = -1;
  int exit_code = -1;   // Once it ended: its status, or -1 when a signal ended it.
  long max_rss_kb = 0;  // Once it ended.

  SwatProcess(const TempDir &dir, const std::string &who) : name(who), m_dir(dir) {}

  std::string out() const { return readFile(m_dir.file(name + ".out")); }
  std::string log() const { return readFile(m_dir.file(name + ".log")); }
  std::string record() const { return m_dir.file(name + ".vxr"); }

  // Starts `swat` with the arguments (and --record NAME.vxr) at the frame time.
  void start(const std::vector<std::string> &arguments, int frame_time) {
    writeFile(m_dir.file(name + ".cfg"), "headless:true,networking:true,frame_time:" +
                                             std::to_string(frame_time) + ",");
    writeFile(m_dir.file("al.conf"), "[general]\ndrivers = null\n");
    std::vector<std::string> args = {VEXLO_SWAT_PATH, "--record", record()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    const std::vector<std::string> env = {
        "ALSOFT_CONF=" + m_dir.file("al.conf"), "VEXLO_CONFIG=" + m_dir.file(name + ".cfg"),
        "VEXLO_LOG=" + m_dir.file(name + ".log"), "VEXLO_DATA_DIR=" + m_dir.path()};
    const std::string out = m_dir.file(name + ".out");
    pid = fork();
    if (pid == 0) {
      if (chdir(VEXLO_RUN_DIR) != 0 || !std::freopen(out.c_str(), "w", stdout) ||
          !std::freopen(out.c_str(), "a", stderr))
        _exit(127);
      std::vector<char *> argv, envp;
      for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
      for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
      argv.push_back(nullptr);
      envp.push_back(nullptr);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
  }

  // Waits until the regular expression matches the output's (or the log's)
  // text: the first group of the first match (or the whole match), or "" after the time.
  std::string waitForMatch(bool in_log, const std::string &pattern, int timeout_ms) const {
    const std::regex re(pattern);
    for (long long end = millisecondsNow() + timeout_ms;;) {
      std::smatch match;
      const std::string text = in_log ? log() : out();
      if (std::regex_search(text, match, re))
        return match.size() > 1 ? match[1].str() : match[0].str();
      if (millisecondsNow() >= end)
        return "";
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  // Waits until the text shows in the output (or the log). Whether it did.
  bool waitFor(bool in_log, const std::string &text, int timeout_ms) const {
    for (long long end = millisecondsNow() + timeout_ms;;) {
      if ((in_log ? log() : out()).find(text) != std::string::npos)
        return true;
      if (millisecondsNow() >= end)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  // Sends a signal to the process while it runs.
  void signal(int number) const {
    if (pid > 0)
      kill(pid, number);
  }

  // Waits for the process to end, killing it after the time. Whether it ended by itself.
  bool wait(int timeout_ms) {
    for (long long end = millisecondsNow() + timeout_ms; pid > 0;) {
      int status = 0;
      rusage usage{};
      const pid_t done = wait4(pid, &status, millisecondsNow() < end ? WNOHANG : 0, &usage);
      if (done == pid) {
        exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        max_rss_kb = usage.ru_maxrss;
        pid = -1;
        return true;
      }
      if (millisecondsNow() >= end) {
        kill(pid, SIGKILL);
        continue;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  ~SwatProcess() {
    if (pid > 0)
      kill(pid, SIGKILL), wait(1000);
  }

 private:
  const TempDir &m_dir;
};

// The join code and port a host prints.
struct Invitation {
  std::string port, code;
};

inline Invitation waitForInvitation(const SwatProcess &host) {
  const std::string line =
      host.waitForMatch(false, "(port [0-9]+, join code [A-Z0-9]{6})", 10000);
  const size_t comma = line.find(',');
  if (comma == std::string::npos)
    return {};
  return {line.substr(5, comma - 5), line.substr(line.size() - 6)};
}

// The world hash after every step of a record (blocks carry only changes).
inline std::vector<uint64_t> stepHashes(const std::string &path) {
  vx::RecordReader reader;
  std::vector<uint64_t> hashes;
  if (reader.load(path) != 0)
    return hashes;
  uint64_t hash = 0;
  size_t block = 0;
  const std::vector<vx::RecordStep> &steps = reader.getSteps();
  for (int step = 0; step < reader.getStepCount(); step++) {
    if (block < steps.size() && steps[block].step == step) {
      if (steps[block].has_hash)
        hash = steps[block].hash;
      block++;
    }
    hashes.push_back(hash);
  }
  return hashes;
}

// Forwards one TCP connection between 127.0.0.1 ports, holding every piece
// back for a delay of `delay_ms` plus or minus `jitter_ms` in each direction,
// in order. It takes one connection on its own port and connects to the
// target's.
class DelayRelay {
 public:
  int port = 0;

  DelayRelay(int target_port, int delay_ms, int jitter_ms)
      : m_target(target_port), m_delay(delay_ms), m_jitter(jitter_ms) {
    m_listener = rawListen(port);
    m_thread = std::thread([this] { run(); });
  }

  ~DelayRelay() {
    m_stop = true;
    m_thread.join();
    if (m_listener >= 0)
      close(m_listener);
  }

 private:
  struct Piece {
    long long due;
    std::string bytes;
  };
  int m_target, m_delay, m_jitter, m_listener;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;

  void run() {
    pollfd listen_fd = {m_listener, POLLIN, 0};
    while (!m_stop && poll(&listen_fd, 1, 50) == 0) {
    }
    if (m_stop)
      return;
    int ends[2] = {accept(m_listener, nullptr, nullptr), rawConnect(m_target)};
    std::deque<Piece> queues[2]; // What goes to ends[0], what goes to ends[1].
    long long last_due[2] = {0, 0};
    std::minstd_rand random(29);
    // Once either end closes, what is on its way still arrives, then both close.
    bool open = ends[0] >= 0 && ends[1] >= 0;
    while (!m_stop && (open ? true : !queues[0].empty() || !queues[1].empty())) {
      pollfd fds[2] = {{ends[0], POLLIN, 0}, {ends[1], POLLIN, 0}};
      poll(fds, open ? 2 : 0, 2);
      for (int side = 0; side < 2 && open; side++) {
        if (fds[side].revents == 0)
          continue;
        char chunk[4096];
        const ssize_t n = recv(ends[side], chunk, sizeof(chunk), 0);
        if (n <= 0) {
          open = false;
          break;
        }
        const long long jitter = static_cast<long long>(random() % (2 * m_jitter + 1)) - m_jitter;
        long long &last = last_due[1 - side];
        last = std::max(last, millisecondsNow() + m_delay + jitter);
        queues[1 - side].push_back({last, std::string(chunk, static_cast<size_t>(n))});
      }
      for (int side = 0; side < 2; side++)
        while (!queues[side].empty() && queues[side].front().due <= millisecondsNow()) {
          writeAll(ends[side], queues[side].front().bytes);
          queues[side].pop_front();
        }
    }
    for (int fd : ends)
      if (fd >= 0)
        close(fd);
  }
};

} // namespace vxtest

#endif // VX_MATCH_TEST_SUPPORT_H
