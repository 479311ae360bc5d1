// The best streak kept between runs: bad files read as 0, a better streak
// replaces the best, and a write that fails or is cut short keeps the old one.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "BestStreak.h"
#include "TestSupport.h"

namespace {

struct Case {
  const char *name;
  const char *content; // The file before, null for none.
  bool blocked;        // The folder's name is taken by a file: nothing can be written.
  int read_as;
  int streak;          // A run ends with it.
  const char *after;   // The file after ("" for none).
};

const Case CASES[] = {
    {"missing", nullptr, false, 0, 3, "3\n"},   {"better", " 4\n", false, 4, 9, "9\n"},
    {"worse", "12\n", false, 12, 5, "12\n"},    {"corrupt", "4x\n", false, 0, 2, "2\n"},
    {"empty", "", false, 0, 1, "1\n"},          {"huge", "99999999999\n", false, 0, 1, "1\n"},
    {"negative", "-5\n", false, 0, 0, "-5\n"},  {"unwritable", nullptr, true, 0, 6, ""},
};

TEST(BestStreak, BadFilesReadAsZeroAndOnlyABetterStreakIsWritten) {
  vxtest::LogCapture log;
  for (const Case &c : CASES) {
    SCOPED_TRACE(c.name);
    vxtest::TempDir dir;
    vxtest::ScopedEnv data("VEXLO_DATA_DIR", dir.file("vexlo"));
    if (c.blocked)
      vxtest::writeFile(dir.file("vexlo"), "");
    if (c.content != nullptr) {
      std::filesystem::create_directory(dir.file("vexlo"));
      vxtest::writeFile(bestStreakPath(), c.content);
    }
    EXPECT_EQ(loadBestStreak(), c.read_as);
    int best = -1;
    EXPECT_EQ(recordStreak(c.streak, best), c.streak > c.read_as);
    EXPECT_EQ(best, std::max(c.streak, c.read_as));
    EXPECT_EQ(vxtest::readFile(bestStreakPath()), c.after);
    if (!c.blocked) { // Nothing but the file is left in the folder.
      const auto entries = std::filesystem::directory_iterator(dir.file("vexlo"));
      EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
    }
  }
}

TEST(BestStreak, AWriteCutShortBeforeTheRenameLeavesTheOldBest) {
  vxtest::TempDir dir;
  vxtest::ScopedEnv data("VEXLO_DATA_DIR", dir.path());
  ASSERT_EQ(saveBestStreak(7), 0);
  const pid_t pid = fork();
  if (pid == 0) { // Dies with the new best written but not yet renamed.
    saveBestStreak(12, [] { _exit(3); });
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(loadBestStreak(), 7);
  ASSERT_EQ(saveBestStreak(12), 0);
  EXPECT_EQ(loadBestStreak(), 12);
}

TEST(BestStreak, TheFolderComesFromTheEnvironment) {
  const char *const CASES[][4] = {{"/d", "/x", "/h", "/d/swat-best.txt"},
                                  {"", "/x", "/h", "/x/vexlo/swat-best.txt"},
                                  {"", "", "/h", "/h/.local/share/vexlo/swat-best.txt"}};
  for (const auto &c : CASES) {
    vxtest::ScopedEnv data("VEXLO_DATA_DIR", c[0]), xdg("XDG_DATA_HOME", c[1]), home("HOME", c[2]);
    EXPECT_EQ(bestStreakPath(), c[3]);
  }
}

} // namespace
