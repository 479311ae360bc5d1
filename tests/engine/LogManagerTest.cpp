// The log file, its line prefixes and where lines go before and after it is open.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "Config.h"
#include "LogManager.h"
#include "TestSupport.h"

using vxtest::ScopedEnv;
using vxtest::TempDir;

TEST(LogManager, EnvironmentNamesTheFileAndOverridesTheConfiguration) {
  TempDir dir;
  vx::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  ScopedEnv env("VEXLO_LOG", dir.file("from-env.log"));
  vx::LogManager &log = vx::LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  log.setFlush(true);
  log.writeLog("hello %d", 42);
  EXPECT_NE(vxtest::readFile(dir.file("from-env.log")).find("hello 42"), std::string::npos);
  EXPECT_FALSE(std::ifstream(dir.file("configured.log")).good());
  log.shutDown();
}

TEST(LogManager, ConfigurationNamesTheFileWithoutTheEnvironment) {
  TempDir dir;
  unsetenv("VEXLO_LOG");
  vx::Config::getInstance().loadConfig("logfile:" + dir.file("configured.log"));
  vx::LogManager &log = vx::LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("configured");
  log.shutDown();
  EXPECT_NE(vxtest::readFile(dir.file("configured.log")).find("configured"), std::string::npos);
}

TEST(LogManager, EachLineCarriesTimeAndStepPrefixes) {
  vxtest::LogCapture capture;
  vx::LogManager &log = vx::LogManager::getInstance();
  EXPECT_EQ(log.writeLog("message %s", "text"), 12);
  std::vector<std::string> lines = vxtest::readLines(capture.path());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d    0 message text)")))
      << lines[0];
}

TEST(LogManager, HigherLevelsAreDroppedAndPlainWritesAlwaysAppear) {
  vxtest::LogCapture capture;
  vx::LogManager &log = vx::LogManager::getInstance();
  EXPECT_EQ(log.getLogLevel(), 0);
  EXPECT_EQ(log.writeLog(5, "dropped"), 0);
  EXPECT_EQ(log.writeLog(0, "level zero"), 10);
  log.writeLog("plain");
  EXPECT_EQ(capture.messages(), (std::vector<std::string>{"level zero", "plain"}));
}

TEST(LogManager, LinesGoToStandardErrorBeforeStartAndAfterShutDown) {
  vx::LogManager &log = vx::LogManager::getInstance();
  testing::internal::CaptureStderr();
  log.writeLog("before start");
  std::string before = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_match(before, std::regex(R"(\d\d:\d\d:\d\d    0 before start\n)")))
      << before;

  {
    vxtest::LogCapture capture;
    log.shutDown();
    testing::internal::CaptureStderr();
    log.writeLog("after stop");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("after stop"), std::string::npos);
    EXPECT_FALSE(capture.contains("after stop"));
  }
}

TEST(LogManager, UnwritableFileFailsTheStartWithAWarning) {
  ScopedEnv env("VEXLO_LOG", "/nonexistent-directory/vexlo.log");
  vx::LogManager &log = vx::LogManager::getInstance();
  testing::internal::CaptureStderr();
  EXPECT_EQ(log.startUp(), -1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file "
                     "'/nonexistent-directory/vexlo.log'."),
            std::string::npos);
  EXPECT_FALSE(log.isStarted());
}

TEST(LogManager, FlushedLinesAreOnDiskAtOnce) {
  TempDir dir;
  ScopedEnv env("VEXLO_LOG", dir.file("vexlo.log"));
  vx::LogManager &log = vx::LogManager::getInstance();
  ASSERT_EQ(log.startUp(), 0);
  log.writeLog("held"); // Turning flushing on writes out what the log holds.
  log.setFlush(true);
  EXPECT_NE(vxtest::readFile(dir.file("vexlo.log")).find("held"), std::string::npos);
  log.writeLog("flushed");
  EXPECT_NE(vxtest::readFile(dir.file("vexlo.log")).find("flushed"), std::string::npos);
  log.shutDown();
}

TEST(LogManager, RemembersTheErrorsItWroteToTheFileUntilTheNextStart) {
  TempDir dir;
  vx::LogManager &log = vx::LogManager::getInstance();
  testing::internal::CaptureStderr();
  log.writeLog("Error! before the file is open"); // Already on the terminal: not kept.
  testing::internal::GetCapturedStderr();
  {
    ScopedEnv env("VEXLO_LOG", dir.file("first.log"));
    ASSERT_EQ(log.startUp(), 0);
  }
  EXPECT_EQ(log.getFilePath(), dir.file("first.log"));
  log.writeLog("a note");
  log.writeLog("Manager::method(): Error! number %d", 1);
  const std::string long_error = "Error starting " + std::string(600, 'x');
  log.writeLog("%s", long_error.c_str());
  for (int i = 0; i < vx::LogManager::MAX_ERROR_LINES; i++)
    log.writeLog("Error! filler %d", i);
  log.shutDown();

  const std::vector<std::string> &errors = log.getErrorLines();
  ASSERT_EQ(errors.size(), static_cast<size_t>(vx::LogManager::MAX_ERROR_LINES));
  EXPECT_EQ(errors[0], "Manager::method(): Error! number 1");
  EXPECT_EQ(errors[1], long_error);
  EXPECT_EQ(errors.back(), "Error! filler 29");
  // The long message reached the file whole.
  EXPECT_EQ(vxtest::logLinesContaining(dir.file("first.log"), "Error starting"),
            std::vector<std::string>{long_error});

  // The report names the kept errors and the file, and survives shutDown.
  TempDir report_dir;
  FILE *p_report = std::fopen(report_dir.file("report.txt").c_str(), "w");
  ASSERT_NE(p_report, nullptr);
  vx::reportStartupFailure(p_report);
  std::fclose(p_report);
  const std::string report = vxtest::readFile(report_dir.file("report.txt"));
  EXPECT_NE(report.find("  Manager::method(): Error! number 1\n"), std::string::npos);
  EXPECT_NE(report.find("The whole log is in " + dir.file("first.log") + "\n"), std::string::npos);
  EXPECT_EQ(report.find("a note"), std::string::npos);

  // A relative name is reported as an absolute path; a new start forgets old errors.
  ScopedEnv env("VEXLO_LOG", "vexlo-relative-name.log");
  ASSERT_EQ(log.startUp(), 0);
  EXPECT_TRUE(log.getErrorLines().empty());
  EXPECT_EQ(log.getFilePath(), (std::filesystem::current_path() / "vexlo-relative-name.log").string());
  log.shutDown();
  std::filesystem::remove("vexlo-relative-name.log");
}

TEST(LogManager, AProgramThatAbortsLeavesEveryLineItWrote) {
  TempDir dir;
  ScopedEnv env("VEXLO_LOG", dir.file("vexlo.log"));
  // As a library aborting during the start, before flushing is turned on.
  EXPECT_DEATH((vx::LogManager::getInstance().startUp(),
                vx::LogManager::getInstance().writeLog("the last line before the abort"),
                std::abort()), "");
  EXPECT_NE(vxtest::readFile(dir.file("vexlo.log")).find("the last line before the abort"),
            std::string::npos);
}
