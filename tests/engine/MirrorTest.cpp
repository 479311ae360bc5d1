// The mirror example as two processes on loopback: the client ends up
// showing exactly the server's world.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <string>
#include <vector>

#include "SocketTestSupport.h"
#include "TestSupport.h"

namespace {

// A program started through the shell, its standard output read line by line.
class Process {
 private:
  FILE *m_p_pipe;

 public:
  explicit Process(const std::string &command) : m_p_pipe(popen(command.c_str(), "r")) {}
  ~Process() { finish(); }
  Process(const Process &) = delete;
  Process &operator=(const Process &) = delete;

  // The next line without its newline; false at the end of the output.
  bool readLine(std::string &line) {
    char buffer[512];
    if (m_p_pipe == nullptr || std::fgets(buffer, sizeof(buffer), m_p_pipe) == nullptr)
      return false;
    line = buffer;
    if (!line.empty() && line.back() == '\n')
      line.pop_back();
    return true;
  }

  // Waits for the end: the exit status, or -1.
  int finish() {
    if (m_p_pipe == nullptr)
      return -1;
    int status = pclose(m_p_pipe);
    m_p_pipe = nullptr;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// The lines of a side's printed world, without the side's name.
std::vector<std::string> objectLines(const std::vector<std::string> &lines,
                                     const std::string &side) {
  std::vector<std::string> result;
  std::string prefix = side + " object ";
  for (const std::string &line : lines)
    if (line.compare(0, prefix.size(), prefix) == 0)
      result.push_back(line.substr(side.size()));
  return result;
}

// The server and a client; `idle` connections that never send come first.
void clientShowsTheServersWorld(int idle) {
  vxtest::TempDir dir;
  vxtest::writeFile(dir.file("vx-config.txt"),
                    "headless:true,\nframe_time:10,\nnetwork_silent_timeout:300,\n");
  const std::string program = VEXLO_MIRROR_PATH;
  auto command = [&](const std::string &side, const std::string &arguments) {
    return "VEXLO_CONFIG='" + dir.file("vx-config.txt") + "' VEXLO_LOG='" +
           dir.file(side + ".log") + "' timeout 60 '" + program + "' " + side + " " + arguments;
  };

  // The server runs 120 steps once the client came, replacing a fly every 25.
  Process server(command("server", "0 120"));
  std::string line;
  ASSERT_TRUE(server.readLine(line));
  ASSERT_EQ(line.compare(0, 12, "server port "), 0) << line;
  std::string port = line.substr(12);
  std::vector<int> idlers;
  for (int i = 0; i < idle; i++)
    idlers.push_back(vxtest::rawConnect(std::stoi(port)));
  for (int tries = 0; tries < 100 && vxtest::logLinesContaining(dir.file("server.log"),
                                      "sent nothing in").size() < idlers.size(); tries++)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

  Process client(command("client", "127.0.0.1 " + port));
  std::vector<std::string> client_lines, server_lines;
  while (client.readLine(line))
    client_lines.push_back(line);
  EXPECT_EQ(client.finish(), 0);
  while (server.readLine(line))
    server_lines.push_back(line);
  EXPECT_EQ(server.finish(), 0);

  std::vector<std::string> served = objectLines(server_lines, "server");
  EXPECT_FALSE(served.empty());
  EXPECT_EQ(objectLines(client_lines, "client"), served);

  // Flies the server replaced while the client watched are gone from it too.
  int made = 0, deleted = 0;
  for (const std::string &l : client_lines)
    std::sscanf(l.c_str(), "client made %d copies and deleted %d", &made, &deleted);
  // (The server's steps count from the first connection, an idle one too.)
  EXPECT_GE(deleted, idle == 0 ? 4 : 1);
  EXPECT_EQ(made - deleted, static_cast<int>(served.size()));
  for (int fd : idlers)
    close(fd);
}

TEST(MirrorTest, TheClientShowsTheServersWorld) {
  clientShowsTheServersWorld(0);
  // As many idle connections as the server takes are dropped after the
  // silent-connection timeout: a client that comes later is served.
  clientShowsTheServersWorld(3);
}

} // namespace
