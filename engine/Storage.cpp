#include "Storage.h"

namespace vx {

// On disk a written file is kept already.
int keepFile(const std::string &path) {
  (void)path;
  return 0;
}

} // namespace vx
