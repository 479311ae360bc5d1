#include "BestStreak.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "GameUtil.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "Recorder.h"
#include "Storage.h"

namespace {

const char *const FILE_NAME = "swat-best.txt";
// The best of two players together is kept apart from one player's.
const char *const TWO_PLAYER_FILE_NAME = "swat-best-two.txt";

// The most a best-streak file holds: a number of ten digits, blanks and a newline.
const ssize_t MAX_FILE_BYTES = 32;

// The number the text holds: digits, at most surrounded by blanks; -1 when it
// holds anything else or a number too large for an int.
long parseStreak(const std::string &text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos)
    return -1;
  const size_t end = text.find_last_not_of(" \t\r\n") + 1;
  const std::string digits = text.substr(begin, end - begin);
  if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  const long value = std::strtol(digits.c_str(), nullptr, 10);
  return value <= INT_MAX ? value : -1;
}

// Brings a file's bytes to the disk. The browser's files are in memory (the
// page keeps them, keepFile): there its fsync is a wait on the page, which
// would make everything that can lose a run, down to the flies' handlers, a
// place the loop's sleep must be able to resume (GameManager.cpp).
bool syncFile(int fd) {
#ifdef __EMSCRIPTEN__
  (void)fd;
  return true;
#else
  return fsync(fd) == 0;
#endif
}

} // namespace

std::string bestStreakPath() {
  std::string folder = envOr("VEXLO_DATA_DIR");
  if (folder.empty() && !envOr("XDG_DATA_HOME").empty())
    folder = envOr("XDG_DATA_HOME") + "/vexlo";
  if (folder.empty() && !envOr("HOME").empty())
    folder = envOr("HOME") + "/.local/share/vexlo";
  return folder.empty() ? ""
                        : folder + "/" + (vx::playerCount() > 1 ? TWO_PLAYER_FILE_NAME : FILE_NAME);
}

int loadBestStreak() {
  vx::LogManager &log = vx::LogManager::getInstance();
  const std::string path = bestStreakPath();
  if (path.empty()) {
    log.writeLog("loadBestStreak(): Warning! No data folder (HOME unset); best streak 0.");
    return 0;
  }
  // At most a few bytes of a regular file: a FIFO, a device or a huge file
  // there must neither block the start nor fill the memory.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    log.writeLog("loadBestStreak(): Note! No best streak in '%s' (%s); best streak 0.",
                 path.c_str(), std::strerror(errno));
    return 0;
  }
  struct stat status;
  char text[MAX_FILE_BYTES + 1];
  ssize_t length = -1;
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
    length = read(fd, text, sizeof(text));
  close(fd);
  const long best = length >= 0 && length <= MAX_FILE_BYTES
                        ? parseStreak(std::string(text, static_cast<size_t>(length)))
                        : -1;
  if (best < 0) {
    log.writeLog("loadBestStreak(): Warning! '%s' holds no best streak; best streak 0.",
                 path.c_str());
    return 0;
  }
  return static_cast<int>(best);
}

int saveBestStreak(int best, const std::function<void()> &before_rename) {
  vx::LogManager &log = vx::LogManager::getInstance();
  const std::string path = bestStreakPath();
  if (path.empty()) {
    log.writeLog("saveBestStreak(): Warning! No data folder (HOME unset); best not kept.");
    return -1;
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  std::vector<char> temp(path.begin(), path.end());
  const std::string suffix = ".XXXXXX";
  temp.insert(temp.end(), suffix.begin(), suffix.end());
  temp.push_back('\0');
  const int fd = error ? -1 : mkstemp(temp.data());
  if (fd < 0) {
    log.writeLog("saveBestStreak(): Error! Cannot write in the folder of '%s': %s.", path.c_str(),
                 error ? error.message().c_str() : std::strerror(errno));
    return -1;
  }
  const std::string text = std::to_string(best) + "\n";
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                       syncFile(fd);
  const int saved_errno = errno;
  const bool closed = close(fd) == 0;
  if (written && closed && before_rename)
    before_rename();
  if (!written || !closed || rename(temp.data(), path.c_str()) != 0) {
    log.writeLog("saveBestStreak(): Error! Cannot write '%s': %s.", path.c_str(),
                 std::strerror(written && closed ? errno : saved_errno));
    unlink(temp.data());
    return -1;
  }
  // Where files last only as long as the program (the browser), it is kept.
  return vx::keepFile(path);
}

bool recordStreak(int streak, int &best) {
  best = loadBestStreak();
  if (streak <= best)
    return false;
  best = streak;
  // A replay shows someone's game again: the best stays the viewer's own.
  if (vx::Recorder::getInstance().isReplaying())
    vx::LogManager::getInstance().writeLog("recordStreak(): Note! A replay; the best streak "
                                           "file is left as it is.");
  else
    saveBestStreak(best);
  return true;
}
