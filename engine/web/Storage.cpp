#include "Storage.h"

#include "LogManager.h"

// The page's side (web/vexlo-library.js): copies the file into the browser's storage.
extern "C" int vx_storage_keep(const char *path);

namespace vx {

int keepFile(const std::string &path) {
  if (vx_storage_keep(path.c_str()) == 0)
    return 0;
  LogManager::getInstance().writeLog("keepFile(): Error! The browser did not keep '%s'.",
                                     path.c_str());
  return -1;
}

} // namespace vx
