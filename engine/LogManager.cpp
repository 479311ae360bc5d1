#include "LogManager.h"

#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <streambuf>

#ifndef __EMSCRIPTEN__
#include <SFML/System/Err.hpp>
#endif

#include "Config.h"
#include "GameManager.h"
#include "utility.h"

namespace vx {

LogManager::LogManager()
    : m_do_flush(false), m_log_level(0), m_show_time(true), m_show_step(true), m_p_f(nullptr) {
  setType("LogManager");
}

LogManager::~LogManager() {
  if (m_p_f != nullptr)
    std::fclose(m_p_f);
}

int LogManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);

  const char *p_env = std::getenv("VEXLO_LOG");
  std::string filename = p_env != nullptr ? p_env : Config::getInstance().getLogFile();
  m_file_path.clear();
  m_error_lines.clear();
  m_p_f = std::fopen(filename.c_str(), "w");
  if (m_p_f == nullptr) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", filename.c_str());
    return -1;
  }
  // Each line reaches the file as it is written: a program that dies (a
  // crash, an abort inside a library) leaves every line it wrote.
  std::setvbuf(m_p_f, nullptr, _IOLBF, BUFSIZ);
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(filename, ignored);
  m_file_path = absolute.empty() ? filename : absolute.lexically_normal().string();
  Manager::startUp();
  writeLog(5, "LogManager::startUp(): successfully started.");
  return 0;
}

void LogManager::shutDown() {
  Manager::shutDown();
  writeLog(5, "LogManager::shutDown(): successfully stopped.");
  if (m_p_f != nullptr) {
    std::fclose(m_p_f);
    m_p_f = nullptr;
  }
}

void LogManager::setFlush(bool do_flush) {
  m_do_flush = do_flush;
  // What is already buffered goes out now, so a later abort cannot lose it.
  if (do_flush && m_p_f != nullptr)
    std::fflush(m_p_f);
}

int LogManager::getLogLevel() const { return m_log_level; }

std::string LogManager::getFilePath() const { return m_file_path; }

const std::vector<std::string> &LogManager::getErrorLines() const { return m_error_lines; }

int LogManager::vwriteLog(const char *fmt, va_list args) const {
  FILE *p_out = m_p_f != nullptr ? m_p_f : stderr;
  bool failed = false;
  if (m_show_time)
    failed |= std::fprintf(p_out, "%s ", getTimeString()) < 0;
  if (m_show_step)
    failed |= std::fprintf(p_out, "%4d ", GameManager::getInstance().getStepCount()) < 0;

  // The message is formatted once, so it can also be looked at.
  char buffer[512];
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(buffer, sizeof(buffer), fmt, args);
  std::string message;
  if (length >= 0) {
    if (static_cast<size_t>(length) < sizeof(buffer)) {
      message.assign(buffer, static_cast<size_t>(length));
    } else {
      message.resize(static_cast<size_t>(length) + 1);
      std::vsnprintf(message.data(), message.size(), fmt, again);
      message.resize(static_cast<size_t>(length));
    }
    failed |= std::fwrite(message.data(), 1, message.size(), p_out) != message.size();
  } else {
    failed = true;
  }
  va_end(again);
  failed |= std::fprintf(p_out, "\n") < 0;
  if (m_p_f != nullptr && message.find("Error") != std::string::npos &&
      m_error_lines.size() < static_cast<size_t>(MAX_ERROR_LINES))
    m_error_lines.push_back(message);
  if (m_do_flush)
    std::fflush(p_out);
  return failed ? -1 : length;
}

int LogManager::writeLog(int level, const char *fmt, ...) const {
  if (level > m_log_level)
    return 0;
  va_list args;
  va_start(args, fmt);
  int result = vwriteLog(fmt, args);
  va_end(args);
  return result;
}

int LogManager::writeLog(const char *fmt, ...) const {
  va_list args;
  va_start(args, fmt);
  int result = vwriteLog(fmt, args);
  va_end(args);
  return result;
}

namespace {

// Gathers what the window and audio library write on their error stream into
// lines of the log.
class LibraryLines : public std::streambuf {
 private:
  std::string m_line;

 protected:
  int overflow(int ch) override {
    if (ch == EOF)
      return 0;
    if (ch != '\n') {
      m_line.push_back(static_cast<char>(ch));
    } else if (!m_line.empty()) {
      LogManager::getInstance().writeLog("The window and audio library says: %s", m_line.c_str());
      m_line.clear();
    }
    return ch;
  }
};

} // namespace

void logLibraryMessages() {
#ifndef __EMSCRIPTEN__
  // Never destroyed: the library's stream may be written to until the end.
  static LibraryLines *const p_lines = new LibraryLines;
  sf::err().rdbuf(p_lines);
#endif
  // The browser build has no window library to quiet.
}

void reportStartupFailure(FILE *p_out) {
  const LogManager &log_manager = LogManager::getInstance();
  const std::vector<std::string> &errors = log_manager.getErrorLines();
  const std::string path = log_manager.getFilePath();
  if (path.empty()) {
    // The log never opened: its lines went to standard error already.
    std::fprintf(p_out, "The game engine did not start; no log file could be opened.\n");
    return;
  }
  std::fprintf(p_out, "The game engine did not start.\n");
  for (const std::string &line : errors)
    std::fprintf(p_out, "  %s\n", line.c_str());
  std::fprintf(p_out, "The whole log is in %s\n", path.c_str());
  std::fflush(p_out);
}

int LogManager::getFileDescriptor() const {
  if (m_p_f == nullptr)
    return -1;
  std::fflush(m_p_f);
  return fileno(m_p_f);
}

} // namespace vx
