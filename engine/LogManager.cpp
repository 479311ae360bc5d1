#include "LogManager.h"

#include <cstdarg>
#include <cstdlib>

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

LogManager &LogManager::getInstance() {
  static LogManager log_manager;
  return log_manager;
}

int LogManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);

  const char *p_env = std::getenv("VEXLO_LOG");
  std::string filename = p_env != nullptr ? p_env : Config::getInstance().getLogFile();
  m_p_f = std::fopen(filename.c_str(), "w");
  if (m_p_f == nullptr) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", filename.c_str());
    return -1;
  }
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

void LogManager::setFlush(bool do_flush) { m_do_flush = do_flush; }

int LogManager::getLogLevel() const { return m_log_level; }

int LogManager::vwriteLog(const char *fmt, va_list args) const {
  FILE *p_out = m_p_f != nullptr ? m_p_f : stderr;
  bool failed = false;
  if (m_show_time)
    failed |= std::fprintf(p_out, "%s ", getTimeString()) < 0;
  if (m_show_step)
    failed |= std::fprintf(p_out, "%4d ", GameManager::getInstance().getStepCount()) < 0;
  int length = std::vfprintf(p_out, fmt, args);
  failed |= length < 0;
  failed |= std::fprintf(p_out, "\n") < 0;
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

} // namespace vx
