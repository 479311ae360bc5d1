// The best streak file: bad files read as 0, failed or cut-short writes keep the old best.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include "BestStreak.h"
#include "TestSupport.h"

namespace {

// The file before (null: none; blocked: a file takes the folder's name;
// `special`: a symlink to /dev/zero, a FIFO or a 2 GB sparse file), what it
// reads as, the streak a run then ends with, and the file after.
struct Case {
  const char *name, *content; bool blocked; int read_as, streak; const char *after;
  const char *special = nullptr;
};

const Case CASES[] = {
    {"missing", nullptr, false, 0, 3, "3\n"}, {"better", " 4\n", false, 4, 9, "9\n"},
    {"worse", "12\n", false, 12, 5, "12\n"}, {"corrupt", "4x\n", false, 0, 2, "2\n"},
    {"empty", "", false, 0, 1, "1\n"}, {"huge", "99999999999\n", false, 0, 1, "1\n"},
    {"negative", "-5\n", false, 0, 0, "-5\n"}, {"unwritable", nullptr, true, 0, 6, ""},
    {"/dev/zero", nullptr, false, 0, 1, "1\n", "zero"}, {"FIFO", nullptr, false, 0, 1, "1\n", "fifo"},
    {"2 GB", nullptr, false, 0, 1, "1\n", "sparse"}};

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
    const std::string special = c.special != nullptr ? c.special : "", path = bestStreakPath();
    if (!special.empty() && std::filesystem::create_directory(dir.file("vexlo")))
      special == "zero"   ? std::filesystem::create_symlink("/dev/zero", path)
      : special == "fifo" ? (void)mkfifo(path.c_str(), 0600)
                          : std::filesystem::resize_file((vxtest::writeFile(path, "7\n"), path), 2LL << 30);
    EXPECT_EQ(loadBestStreak(), c.read_as);
    int best = -1;
    EXPECT_EQ(recordStreak(c.streak, best), c.streak > c.read_as);
    EXPECT_EQ(best, std::max(c.streak, c.read_as));
    EXPECT_EQ(vxtest::readFile(bestStreakPath()), c.after);
  }
}

TEST(BestStreak, AWriteCutShortBeforeTheRenameLeavesTheOldBest) {
  vxtest::TempDir dir;
  vxtest::ScopedEnv data("VEXLO_DATA_DIR", dir.path());
  ASSERT_EQ(saveBestStreak(7), 0);
  const pid_t pid = fork();
  if (pid == 0) // Dies with the new best written but not yet renamed.
    _exit(saveBestStreak(12, [] { _exit(3); }));
  int status = 0;
  ASSERT_TRUE(waitpid(pid, &status, 0) == pid && WEXITSTATUS(status) == 3);
  EXPECT_EQ(loadBestStreak(), 7);
  ASSERT_EQ(saveBestStreak(12), 0);
  EXPECT_EQ(loadBestStreak(), 12);
}

} // namespace
