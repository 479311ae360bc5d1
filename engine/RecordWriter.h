/// \file
/// Writes a game record as the game runs: the header first, then a block for
/// each step that had input or a new world hash, then the end with the step
/// count and the checksum. Blocks are buffered and reach the file a few
/// kilobytes at a time, and at least once a second, so recording costs the
/// loop almost nothing and a game that ends abnormally keeps what it played:
/// the stop and crash signals' handlers write out what is buffered.
#ifndef VX_RECORD_WRITER_H
#define VX_RECORD_WRITER_H

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "RecordFormat.h"

namespace vx {

/// Writes a record as the game goes: each block when its step ends, the end and checksum when
/// closed.
class RecordWriter {
 private:
  int m_fd;             // The record being written, or -1.
  std::string m_path;
  // Whole blocks not yet written: a fixed array, so a signal handler can
  // write it out while the game is anywhere. Its length grows only once the
  // bytes are in place.
  std::vector<char> m_buffer;
  volatile std::sig_atomic_t m_length;
  volatile std::sig_atomic_t m_writing; // The game itself is writing the buffer out.
  std::int64_t m_written_us; // When the buffer was last written out.
  uint64_t m_checksum;  // Of every byte so far.
  int m_last_step;      // The step of the last block, -1 before the first.
  bool m_failed;        // A write failed; the record is given up.
  int m_error;          // The errno of the failed write.

  // Adds bytes to the buffer and the checksum; writes the buffer out once
  // large, or at once when asked.
  void add(const std::string &bytes, bool flush_now = false);

  // Writes the buffer, then these bytes, to the file; notes a failure.
  void writeOut(const char *p_more = nullptr, size_t more = 0);

 public:
  /// A writer with no file open.
  RecordWriter();
  /// Closes the file without ending the record (a record without its end is refused on
  /// reading).
  ~RecordWriter();
  ///@{
  /// Not copyable: it owns the open file.
  RecordWriter(const RecordWriter &) = delete;
  RecordWriter &operator=(const RecordWriter &) = delete;
  ///@}

  /// Creates the file. 0, or -1 with errno saying why.
  int open(const std::string &path);

  /// Writes the header: first, once.
  void writeHeader(const RecordHeader &header);

  /// Adds a block for a step after the last one written.
  void writeStep(const RecordStep &step);

  /// Writes out what is buffered when it has waited a second. Called every step.
  void tick();

  /// Writes the end for a game of this many steps and closes the file. 0, or
  /// -1 with a log line when any write failed.
  int close(int step_count);

  /// Whether a file is being written.
  bool isOpen() const;

  /// Whether a write failed, and why ("" while none did).
  bool hasFailed() const;
  /// Why a write failed ("" while none did).
  std::string getFailure() const;

  /// Writes out the open record's buffered blocks now, without an end. Safe in
  /// a signal handler: for a program that is about to die.
  static void writeOutNow();

  /// A whole record in memory, as the file would hold it.
  static std::string encode(const RecordHeader &header, const std::vector<RecordStep> &steps,
                            int step_count);
};

} // namespace vx

#endif // VX_RECORD_WRITER_H
