// Helpers shared by the fuzz targets.
#ifndef VX_FUZZ_SUPPORT_H
#define VX_FUZZ_SUPPORT_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vxfuzz {

// Aborts, which the fuzzer reports as a crash with its input, when an
// invariant of the code under test does not hold.
inline void check(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// A fresh directory for the target's input files, removed when the process
// exits (the target removes each file it writes). Exits the process when no
// directory can be made: nothing could be fuzzed.
inline const std::string &inputDirectory() {
  static const std::string s_dir = [] {
    char dir_template[] = "/tmp/vexlo-fuzz-XXXXXX";
    if (mkdtemp(dir_template) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    return std::string(dir_template);
  }();
  static const bool s_removal_registered = std::atexit([] { rmdir(s_dir.c_str()); }) == 0;
  (void)s_removal_registered;
  return s_dir;
}

} // namespace vxfuzz

#endif // VX_FUZZ_SUPPORT_H
