#include "RecordReader.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "EventKeyboard.h"
#include "NetworkMessage.h"

namespace vx {

namespace {

// Parses the blocks after the header up to and including the checksum. A
// record whose bytes run out before its end (the game did not end normally)
// keeps its whole blocks, with `complete` false and the step count ending at
// the last of them.
bool parseBlocks(ByteCursor &in, const std::string &bytes, std::vector<RecordStep> &steps,
                 int &step_count, bool &complete) {
  int64_t last_step = -1;
  // The bytes ran out: the whole blocks so far stand, unchecked.
  const auto unended = [&] {
    complete = false;
    step_count = static_cast<int>(last_step + 1);
    in.error.clear();
    return true;
  };
  for (;;) {
    if (in.atEnd())
      return unended();
    int gap = 0, flags = 0;
    if (!in.varint(gap) || !in.byte(flags))
      return in.ran_out ? unended() : false;
    const int64_t step = last_step + 1 + gap;
    if (step > INT_MAX)
      return in.fail("the record is corrupted: step count too large");
    if (flags == RECORD_END) {
      const size_t checked = in.position();
      uint64_t checksum = 0;
      if (!in.unsignedBytes(8, checksum))
        return in.ran_out ? unended() : false;
      if (checksum != fnv1a(bytes.data(), checked))
        return in.fail("the record is corrupted: its checksum does not match");
      if (!in.atEnd())
        return in.fail("the record is corrupted: bytes follow its end");
      step_count = static_cast<int>(step);
      complete = true;
      return true;
    }
    if (flags == 0 || (flags & ~(RECORD_HASH | RECORD_INPUT)) != 0)
      return in.fail("the record is corrupted: bad block flags " + std::to_string(flags));
    // A step's block means at least one more step in all: the count must fit.
    if (step == INT_MAX)
      return in.fail("the record is corrupted: step count too large");
    RecordStep block;
    block.step = static_cast<int>(step);
    block.has_hash = (flags & RECORD_HASH) != 0;
    if (block.has_hash && !in.unsignedBytes(8, block.hash))
      return in.ran_out ? unended() : false;
    if (flags & RECORD_INPUT) {
      int count = 0;
      if (!in.varint(count))
        return in.ran_out ? unended() : false;
      // Every input takes at least one byte.
      if (count < 1 || static_cast<size_t>(count) > in.left())
        return in.fail("the record is corrupted or truncated: " + std::to_string(count) +
                       " inputs in " + std::to_string(in.left()) + " bytes");
      // The list grows as inputs are read: a count is no promise of them.
      for (int i = 0; i < count; i++) {
        RecordedInput input;
        if (!parseInput(in, input))
          return in.ran_out ? unended() : false;
        block.inputs.push_back(std::move(input));
      }
    }
    steps.push_back(std::move(block));
    last_step = step;
  }
}

} // namespace

RecordReader::RecordReader() : m_step_count(0), m_complete(false) {}

int RecordReader::load(const std::string &path) {
  m_steps.clear();
  m_step_count = 0;
  std::FILE *p_file = std::fopen(path.c_str(), "rb");
  if (p_file == nullptr) {
    m_error = "'" + path + "': cannot open it: " + std::strerror(errno);
    return -1;
  }
  // A file larger than any record is refused before any of it is read.
  struct stat status;
  if (fstat(fileno(p_file), &status) == 0 && S_ISREG(status.st_mode) &&
      status.st_size > MAX_RECORD_BYTES) {
    std::fclose(p_file);
    m_error = "'" + path + "': larger than any record";
    return -1;
  }
  std::string bytes;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof(chunk), p_file)) > 0) {
    if (bytes.size() + n > static_cast<size_t>(MAX_RECORD_BYTES))
      break;
    bytes.append(chunk, n);
  }
  const bool failed = std::ferror(p_file) != 0;
  const int error = errno;
  const bool too_large = n > 0;
  std::fclose(p_file);
  if (failed) {
    m_error = "'" + path + "': cannot read it: " + std::strerror(error);
    return -1;
  }
  if (too_large) {
    m_error = "'" + path + "': larger than any record";
    return -1;
  }
  if (parse(bytes) != 0) {
    m_error = "'" + path + "': " + m_error;
    return -1;
  }
  return 0;
}

int RecordReader::parse(const std::string &bytes) {
  m_steps.clear();
  m_step_count = 0;
  m_complete = false;
  m_error.clear();
  m_header = RecordHeader();
  if (bytes.empty()) {
    m_error = "the record is empty";
    return -1;
  }
  const size_t magic_bytes = bytes.size() < 4 ? bytes.size() : 4;
  if (bytes.compare(0, magic_bytes, RECORD_MAGIC, magic_bytes) != 0) {
    m_error = "not a Vexlo game record";
    return -1;
  }
  if (bytes.size() < 8) {
    m_error = "the record is truncated in its header";
    return -1;
  }
  ByteCursor in(bytes);
  uint64_t version = 0, engine = 0;
  std::string magic;
  in.text(4, magic);
  in.unsignedBytes(2, version);
  in.unsignedBytes(2, engine);
  m_header.format_version = static_cast<int>(version);
  m_header.engine_version = static_cast<int>(engine);
  if (m_header.format_version > RECORD_FORMAT_VERSION || m_header.format_version < 1) {
    m_error = "record format version " + std::to_string(m_header.format_version) +
              " is not one this engine reads (it reads version " +
              std::to_string(RECORD_FORMAT_VERSION) + ")";
    return -1;
  }
  RecordHeader &h = m_header;
  std::vector<RecordStep> steps;
  int step_count = 0;
  bool complete = false;
  if (!in.i32(h.frame_time) || !in.i32(h.columns) || !in.i32(h.rows) || !in.i32(h.grid_width) ||
      !in.i32(h.grid_height) || !in.i32(h.seed) || !in.i32(h.path_work) ||
      (h.format_version > 1 && !in.i32(h.players)) ||
      !parseBlocks(in, bytes, steps, step_count, complete)) {
    m_error = in.error;
    return -1;
  }
  if (h.players < 1 || h.players > MAX_PLAYERS) {
    m_error = "the record is corrupted: " + std::to_string(h.players) + " players";
    return -1;
  }
  m_steps.swap(steps);
  m_step_count = step_count;
  m_complete = complete;
  return 0;
}

const RecordHeader &RecordReader::getHeader() const { return m_header; }

const std::vector<RecordStep> &RecordReader::getSteps() const { return m_steps; }

int RecordReader::getStepCount() const { return m_step_count; }

bool RecordReader::isComplete() const { return m_complete; }

std::string RecordReader::getError() const { return m_error; }

} // namespace vx
