// The real program when the engine cannot start: it exits with 1 and says on
// the terminal why, and where the log is, instead of leaving the reason only
// in the log file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

struct Outcome {
  int exit_code;      // -1 when the program did not exit normally.
  std::string error;  // What it wrote on standard error.
};

// Runs swat from the run directory with no display, the given log file name
// and a configuration of the test's own.
Outcome runWithoutDisplay(const vxtest::TempDir &dir, const std::string &log_file) {
  vxtest::writeFile(dir.file("config.txt"), "networking:false,");
  const std::string command = std::string("cd '") + VEXLO_RUN_DIR + "' && env -u DISPLAY" +
                              " VEXLO_CONFIG='" + dir.file("config.txt") + "'" +
                              " VEXLO_LOG='" + log_file + "' '" + VEXLO_SWAT_PATH + "'" +
                              " >/dev/null 2>'" + dir.file("stderr.txt") + "'";
  const int status = std::system(command.c_str());
  Outcome outcome;
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.error = vxtest::readFile(dir.file("stderr.txt"));
  return outcome;
}

bool contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

} // namespace

TEST(SwatStartup, WithoutADisplayTheReasonAndTheLogPathReachTheTerminal) {
  vxtest::TempDir dir;
  const std::string log = dir.file("vexlo.log");
  const Outcome outcome = runWithoutDisplay(dir, log);
  EXPECT_EQ(outcome.exit_code, 1);

  // Every error line of the log is repeated on the terminal.
  const std::vector<std::string> errors = vxtest::logLinesContaining(log, "Error");
  ASSERT_FALSE(errors.empty());
  for (const std::string &line : errors)
    EXPECT_TRUE(contains(outcome.error, "  " + line + "\n")) << line;
  EXPECT_TRUE(contains(outcome.error, "DisplayManager::startUp(): Error! No display"));
  EXPECT_TRUE(contains(outcome.error, "Error starting game manager!"));
  EXPECT_TRUE(contains(outcome.error, "The whole log is in " + log + "\n")) << outcome.error;
  // Only the errors: the banner and the configuration stay in the log.
  EXPECT_FALSE(contains(outcome.error, "Game engine started"));
  EXPECT_EQ(vxtest::logLinesContaining(log, "** Game engine stopped **").size(), 1u);
}

TEST(SwatStartup, AnUnwritableLogIsReportedOnTheTerminalAlone) {
  vxtest::TempDir dir;
  const std::string log = dir.file("missing-folder/vexlo.log");
  const Outcome outcome = runWithoutDisplay(dir, log);
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(contains(outcome.error, "Warning! Unable to open file '" + log + "'."));
  EXPECT_TRUE(contains(outcome.error, "GameManager::startUp(): Error! Starting log manager."));
  EXPECT_TRUE(contains(outcome.error, "no log file could be opened")) << outcome.error;
  EXPECT_FALSE(contains(outcome.error, "The whole log is in"));
}

TEST(SwatStartup, HelpNeedsNoDisplayAndNamesTheFlagsAndFiles) {
  vxtest::TempDir dir;
  const std::string out = dir.file("out.txt");
  EXPECT_EQ(std::system(("env -u DISPLAY VEXLO_DATA_DIR='" + dir.path() + "' '" + VEXLO_SWAT_PATH +
                         "' --help >'" + out + "' 2>&1").c_str()), 0);
  for (const std::string &part : {std::string("--terminal"), std::string("--record FILE"),
                                  std::string("--replay FILE"), std::string("F10"),
                                  std::string("vexlo.log"), dir.path() + "/swat-best.txt"})
    EXPECT_TRUE(contains(vxtest::readFile(out), part)) << part;
}
