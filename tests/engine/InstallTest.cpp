// The engine installs as a library: a game outside this source tree builds
// against the installed copy, through its CMake package or through pkg-config,
// and runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

// A sanitized engine needs its runtime linked into the game as well.
#if defined(__SANITIZE_ADDRESS__)
const std::string SANITIZE = "-fsanitize=address,undefined";
#else
const std::string SANITIZE = "";
#endif

std::string quote(const std::string &text) { return "'" + text + "'"; }

// Runs a shell command with its output appended to a file; true on success.
bool run(const std::string &command, const std::string &output) {
  return std::system(("(" + command + ") >>" + quote(output) + " 2>&1").c_str()) == 0;
}

// The step count of a log line ("12:34:56  321 message"), or -1.
int stepOf(const std::string &line) {
  int step = -1;
  return std::sscanf(line.c_str(), "%*d:%*d:%*d %d", &step) == 1 ? step : -1;
}

struct BuildWay {
  const char *name;
  std::string commands; // Builds ./hello in the game's folder from hello.cpp there.
};

TEST(Install, ExampleBuildsAgainstTheInstalledEngineAndRuns) {
  vxtest::TempDir dir;
  const std::string output = dir.file("output.txt");
  const std::string prefix = dir.file("prefix");
  ASSERT_TRUE(run("cmake --install " + quote(std::string(VEXLO_RUN_DIR) + "/..") + " --prefix " +
                      quote(prefix),
                  output))
      << vxtest::readFile(output);
  // One include folder holds every header.
  for (const char *header : {"vexlo.h", "GameManager.h", "ResourceManager.h"})
    EXPECT_NE(vxtest::readFile(prefix + "/include/vexlo/" + header), "") << header;

  const std::string cmake_lists = "cmake_minimum_required(VERSION 3.20)\n"
                                  "project(MyGame CXX)\n"
                                  "find_package(Vexlo 4.25 REQUIRED)\n"
                                  "add_executable(hello hello.cpp)\n"
                                  "target_link_libraries(hello PRIVATE Vexlo::vexlo)\n";
  vxtest::writeFile(dir.file("CMakeLists.txt"), cmake_lists);
  const std::vector<BuildWay> ways = {
      {"cmake package",
       "cmake -S .. -B . -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=" +
           quote(prefix) + " -DCMAKE_CXX_FLAGS=" + quote(SANITIZE) + " && ninja"},
      {"pkg-config",
       "export PKG_CONFIG_PATH=\"$(dirname \"$(find " + quote(prefix) +
           " -name vexlo.pc)\")\" && c++ -std=c++17 " + SANITIZE +
           " -o hello hello.cpp $(pkg-config --cflags --libs vexlo)"},
  };
  // A few hundred steps without a window or a pause between them.
  vxtest::writeFile(dir.file("config.txt"), "headless:true,\nnetworking:false,\nframe_time:0,\n");
  vxtest::ScopedEnv config("VEXLO_CONFIG", dir.file("config.txt"));

  for (const BuildWay &way : ways) {
    SCOPED_TRACE(way.name);
    const std::string game = dir.file(std::string("game-") + way.name);
    ASSERT_TRUE(run("mkdir -p " + quote(game) + " && cp " +
                        quote(std::string(VEXLO_SOURCE_DIR) + "/examples/hello.cpp") + " " +
                        quote(game),
                    output));
    ASSERT_TRUE(run("cd " + quote(game) + " && " + way.commands, output))
        << vxtest::readFile(output);

    const std::string log = game + "/vexlo.log";
    vxtest::ScopedEnv log_file("VEXLO_LOG", log);
    ASSERT_TRUE(run("cd " + quote(game) + " && timeout 60 ./hello", output))
        << vxtest::readFile(output);
    // The greeting left the world after some 320 steps and ended the game.
    const std::vector<std::string> lines = vxtest::readLines(log);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(vxtest::logMessage(lines.back()), "** Game engine stopped **");
    EXPECT_GE(stepOf(lines.back()), 300);
    EXPECT_LT(stepOf(lines.back()), 400);
    EXPECT_TRUE(vxtest::logLinesContaining(log, "Error").empty());
  }
}

} // namespace
