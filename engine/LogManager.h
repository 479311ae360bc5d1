/// \file
/// The engine's text log: every line starts with the time of day and the step count.
#ifndef VX_LOG_MANAGER_H
#define VX_LOG_MANAGER_H

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "Manager.h"

namespace vx {

/// Writes the log file (vexlo.log, or the key logfile, or VEXLO_LOG): one line per message,
/// with the time of day and the step count. Before start-up and after shut-down lines go to
/// standard error.
class LogManager : public Manager {
 private:
  LogManager();

  bool m_do_flush;   // Flush the file after every line.
  int m_log_level;   // Writes with a higher level are dropped.
  bool m_show_time;  // Begin each line with the time of day.
  bool m_show_step;  // Then with the step count.
  FILE *m_p_f;       // The open log file, or null (lines then go to stderr).
  std::string m_file_path;  // Absolute path of the file last opened, or "".
  // The first error messages written to the file since it was opened (without
  // their prefixes), kept so a failed start can be explained on the terminal.
  mutable std::vector<std::string> m_error_lines;

  int vwriteLog(const char *fmt, va_list args) const;

 public:
  /// Closes the log file if shutDown() did not.
  ~LogManager() override;

  /// Defined here: nearly every engine call asks for it.
  static LogManager &getInstance() {
    static LogManager log_manager;
    return log_manager;
  }

  /// Opens the log file named by VEXLO_LOG, or else by the configuration. 0 or -1.
  int startUp() override;

  /// Closes the log file; later lines go to standard error.
  void shutDown() override;

  /// Turning flushing on also flushes what the log holds already.
  void setFlush(bool do_flush = true);

  /// Writes one line if level is at most the log level. Returns the length of
  /// the message proper, 0 when dropped, or -1 when a write failed.
  int writeLog(int level, const char *fmt, ...) const __attribute__((format(printf, 3, 4)));

  /// Writes one line, always.
  int writeLog(const char *fmt, ...) const __attribute__((format(printf, 2, 3)));

  /// The level writes with a level are compared with: they are written when theirs is at most
  /// this.
  int getLogLevel() const;

  /// Absolute path of the log file last opened ("" when none was), still
  /// known after shutDown.
  std::string getFilePath() const;

  /// The messages containing "Error" written to the log file since it was last
  /// opened, in order, at most MAX_ERROR_LINES of them. Lines written to
  /// standard error are not kept: they are already on the terminal.
  const std::vector<std::string> &getErrorLines() const;

  /// The open log file's descriptor, or -1 when lines go to standard error.
  /// Text written to it lands in the log after what was flushed before.
  int getFileDescriptor() const;

  /// The most error lines kept for reportStartupFailure().
  static const int MAX_ERROR_LINES = 32;
};

/// Tells the person at the terminal why the engine did not start: the log's
/// error messages and where the log is. The game calls it after a failed
/// GameManager::startUp, before or after shutDown.
void reportStartupFailure(FILE *p_out = stderr);

/// Sends what the window and audio library report on standard error (a
/// vertical sync the driver refuses, a sound file it cannot read) to the log.
void logLibraryMessages();

} // namespace vx

#endif // VX_LOG_MANAGER_H
