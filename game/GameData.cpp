#include "GameData.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "BestStreak.h"
#include "Config.h"

namespace {

namespace fs = std::filesystem;

// A file every copy of the game's data holds.
const char *const DATA_MARK = "sprites/gamestart-spr.txt";

// The installed data's place relative to the program's folder.
const char *const INSTALLED_DATA = "../share/games/swat";

bool holdsData(const fs::path &dir) {
  std::error_code error;
  return fs::is_regular_file(dir / DATA_MARK, error);
}

std::string findDataDir() {
  if (holdsData(fs::current_path()))
    return "";
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error)
    return "";
  const fs::path installed = fs::weakly_canonical(program.parent_path() / INSTALLED_DATA, error);
  if (error || !holdsData(installed))
    return "";
  return installed.string() + "/";
}

} // namespace

std::string gameDataDir() {
  static const std::string dir = findDataDir();
  return dir;
}

std::string gameDataFile(const std::string &file) { return gameDataDir() + file; }

std::string installedLogFile() {
  const std::string best = bestStreakPath();
  if (gameDataDir().empty() || best.empty())
    return "";
  return (fs::path(best).parent_path() / "vexlo.log").string();
}

void useGameData() {
  const std::string dir = gameDataDir();
  if (dir.empty())
    return;
  vx::Config::getInstance().setFontFile(dir + "vx-font.ttf");
  const std::string log = installedLogFile();
  if (std::getenv("VEXLO_LOG") || log.empty())
    return;
  std::error_code error;
  fs::create_directories(fs::path(log).parent_path(), error);
  setenv("VEXLO_LOG", log.c_str(), 1);
}
