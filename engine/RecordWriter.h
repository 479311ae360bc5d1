/// \file
/// Writes a game record as the game runs: the header first, then a block for
/// each step that had input or a new world hash, then the end with the step
/// count and the checksum. Blocks are buffered and reach the file a few
/// kilobytes at a time, so recording costs the loop almost nothing.
#ifndef VX_RECORD_WRITER_H
#define VX_RECORD_WRITER_H

#include <cstdio>
#include <string>
#include <vector>

#include "RecordFormat.h"

namespace vx {

/// Writes a record as the game goes: each block when its step ends, the end and checksum when
/// closed.
class RecordWriter {
 private:
  std::FILE *m_p_file;  // The record being written, or null.
  std::string m_path;
  std::string m_buffer; // Bytes not yet written to the file.
  uint64_t m_checksum;  // Of every byte so far.
  int m_last_step;      // The step of the last block, -1 before the first.
  bool m_failed;        // A write failed; the record is given up.

  // Adds bytes to the buffer and the checksum; writes the buffer out once large.
  void add(const std::string &bytes, bool flush_now = false);

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

  /// Writes the end for a game of this many steps and closes the file. 0, or
  /// -1 with a log line when any write failed.
  int close(int step_count);

  /// Whether a file is being written.
  bool isOpen() const;

  /// A whole record in memory, as the file would hold it.
  static std::string encode(const RecordHeader &header, const std::vector<RecordStep> &steps,
                            int step_count);
};

} // namespace vx

#endif // VX_RECORD_WRITER_H
