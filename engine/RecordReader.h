/// \file
/// Reads a game record made by RecordWriter and checks every byte of it: a
/// truncated, corrupted or unknown record is refused with a message saying
/// what is wrong, never half read. Lengths and counts are checked against the
/// bytes left before anything is allocated for them. A record that stops
/// before its end mark (its game did not end normally) is read up to its
/// last whole step.
#ifndef VX_RECORD_READER_H
#define VX_RECORD_READER_H

#include <string>
#include <vector>

#include "RecordFormat.h"

namespace vx {

/// Reads and checks a whole record: header, blocks and checksum. A record that is not whole and
/// sound is refused.
class RecordReader {
 private:
  RecordHeader m_header;
  std::vector<RecordStep> m_steps; // The steps that cost bytes, in order.
  int m_step_count;                // Steps the recorded game ran, or up to the last whole one.
  bool m_complete;                 // The record has its end mark and checksum.
  std::string m_error;             // Why the last load or parse failed.

 public:
  /// A reader with nothing loaded.
  RecordReader();

  /// Reads and parses the file. 0, or -1 with getError() saying why.
  int load(const std::string &path);

  /// Parses a whole record. 0, or -1 with getError() saying why; a failed
  /// parse leaves no steps.
  int parse(const std::string &bytes);

  /// The header read.
  const RecordHeader &getHeader() const;
  /// The blocks read, in step order.
  const std::vector<RecordStep> &getSteps() const;
  /// The number of steps the recorded game ran.
  int getStepCount() const;
  /// Whether the record has its end (else it ends at its last whole step).
  bool isComplete() const;
  /// Why the last load or parse failed.
  std::string getError() const;
};

} // namespace vx

#endif // VX_RECORD_READER_H
