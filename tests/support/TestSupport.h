// Helpers shared by the test suite.
#ifndef VX_TEST_SUPPORT_H
#define VX_TEST_SUPPORT_H

#include <string>
#include <vector>

namespace vxtest {

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes away.
class TempDir {
 private:
  std::string m_path;

 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::string &path() const;
  // The path of a file inside the directory.
  std::string file(const std::string &name) const;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
 private:
  std::string m_name;
  bool m_had_value;
  std::string m_old_value;

 public:
  ScopedEnv(const std::string &name, const std::string &value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv &) = delete;
  ScopedEnv &operator=(const ScopedEnv &) = delete;
};

// Whole file as text ("" when it cannot be read).
std::string readFile(const std::string &path);

// The file's lines, without their newlines.
std::vector<std::string> readLines(const std::string &path);

// Writes text to a file, replacing it.
void writeFile(const std::string &path, const std::string &text);

// The message of a log line: what follows the time stamp and the step count.
std::string logMessage(const std::string &line);

// The log lines whose message contains the text.
std::vector<std::string> logLinesContaining(const std::string &path, const std::string &text);

// Points the log at a file of its own in a temporary directory and starts the
// log manager, so a test can read what the engine wrote.
class LogCapture {
 private:
  TempDir m_dir;
  ScopedEnv m_env;

 public:
  LogCapture();
  std::string path() const;
  // The messages written so far (flushes the log first).
  std::vector<std::string> messages() const;
  // Whether any message contains the text.
  bool contains(const std::string &text) const;
  // How many messages contain the text.
  int count(const std::string &text) const;
};

} // namespace vxtest

#endif // VX_TEST_SUPPORT_H
