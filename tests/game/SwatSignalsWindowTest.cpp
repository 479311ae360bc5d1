// Ending the real program in its window from outside: SIGTERM, SIGINT and
// SIGHUP, the window killed through the window manager and the window closed
// by another program, each end the game as closing the window does (a log
// line, the closing banner, exit code 0).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "TestSupport.h"

namespace {

struct Ending {
  const char *name;
  int signal_number; // 0: the window is killed instead; -1: closed by another program.
  const char *log_line;
};

TEST(SwatSignals, EndTheGameCleanly) {
  const Ending endings[] = {
      {"SIGTERM", SIGTERM, "SIGTERM received. Setting game over."},
      {"SIGINT", SIGINT, "SIGINT received. Setting game over."},
      {"SIGHUP", SIGHUP, "SIGHUP received. Setting game over."},
      {"window killed", 0, "connection to the window system was lost"},
      {"window closed by another program", -1, "Window closed. Setting game over."},
  };
  for (const Ending &ending : endings) {
    SCOPED_TRACE(ending.name);
    vxtest::TempDir dir;
    vxtest::writeFile(dir.file("config.txt"), "networking:false,");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (chdir(VEXLO_RUN_DIR) != 0)
        _exit(127);
      setenv("VEXLO_CONFIG", dir.file("config.txt").c_str(), 1);
      setenv("VEXLO_LOG", dir.file("log").c_str(), 1);
      execl(VEXLO_SWAT_PATH, VEXLO_SWAT_PATH, static_cast<char *>(nullptr));
      _exit(127);
    }
    // Once the start screen is up, end it from outside.
    for (int tries = 0; tries < 300; tries++) {
      if (vxtest::readFile(dir.file("log")).find("Pause enabled") != std::string::npos)
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    if (ending.signal_number > 0)
      kill(pid, ending.signal_number);
    else
      EXPECT_EQ(std::system(ending.signal_number == 0
                                ? "xdotool search --name '^Swat$' windowkill"
                                : "xdotool search --name '^Swat$' windowclose"), 0);
    int status = 0;
    for (int tries = 0; tries < 200 && waitpid(pid, &status, WNOHANG) == 0; tries++)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (waitpid(pid, &status, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string log = vxtest::readFile(dir.file("log"));
    EXPECT_NE(log.find(ending.log_line), std::string::npos) << log;
    EXPECT_NE(log.find("** Game engine stopped **"), std::string::npos) << log;
  }
}

} // namespace
