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

// Reads the record's numbers from the front of a byte string, never past its
// end: each read returns false, with the reason noted, when the bytes run out.
class ByteCursor {
 private:
  const std::string &m_bytes;
  size_t m_pos = 0;

 public:
  std::string error; // Why a read failed.
  bool ran_out = false; // A read failed for want of bytes.

  explicit ByteCursor(const std::string &bytes) : m_bytes(bytes) {}

  size_t position() const { return m_pos; }
  size_t left() const { return m_bytes.size() - m_pos; }
  bool atEnd() const { return m_pos == m_bytes.size(); }

  bool fail(const std::string &what) {
    if (error.empty())
      error = what + " (byte " + std::to_string(m_pos) + ")";
    return false;
  }

  bool truncated() {
    ran_out = error.empty();
    return fail("the record is truncated");
  }

  bool byte(int &value) {
    if (left() < 1)
      return truncated();
    value = static_cast<unsigned char>(m_bytes[m_pos++]);
    return true;
  }

  bool unsignedBytes(int count, uint64_t &value) {
    if (left() < static_cast<size_t>(count))
      return truncated();
    value = 0;
    for (int i = 0; i < count; i++)
      value |= static_cast<uint64_t>(static_cast<unsigned char>(m_bytes[m_pos++])) << (8 * i);
    return true;
  }

  bool i32(int &value) {
    uint64_t bits = 0;
    if (!unsignedBytes(4, bits))
      return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    return true;
  }

  bool f32(float &value) {
    uint64_t bits = 0;
    if (!unsignedBytes(4, bits))
      return false;
    const uint32_t narrow = static_cast<uint32_t>(bits);
    std::memcpy(&value, &narrow, sizeof(value));
    return true;
  }

  // A varint of at most 31 bits (every count and index the record holds).
  bool varint(int &value) {
    uint64_t result = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      int b = 0;
      if (!byte(b))
        return false;
      result |= static_cast<uint64_t>(b & 0x7f) << shift;
      if ((b & 0x80) == 0) {
        if (result > INT_MAX)
          return fail("the record is corrupted: a number is too large");
        value = static_cast<int>(result);
        return true;
      }
    }
    return fail("the record is corrupted: a number is too long");
  }

  bool text(int length, std::string &value) {
    if (left() < static_cast<size_t>(length))
      return truncated();
    value.assign(m_bytes, m_pos, static_cast<size_t>(length));
    m_pos += static_cast<size_t>(length);
    return true;
  }
};

const int LAST_KEY = Keyboard::BACKQUOTE;
const int LAST_MESSAGE_KIND = MESSAGE_CUSTOM;

bool parseInput(ByteCursor &in, RecordedInput &input) {
  int first = 0;
  if (!in.byte(first))
    return false;
  input.kind = first >> 4;
  const int low = first & 15;
  switch (input.kind) {
    case INPUT_KEY:
      input.action = low - 1;
      if (!in.byte(input.code))
        return false;
      input.code--;
      if (input.action > 2 || input.code > LAST_KEY)
        return in.fail("the record is corrupted: a key event is no key event");
      return true;
    case INPUT_MOUSE:
      input.action = (low >> 2) - 1;
      input.code = (low & 3) - 1;
      if (!in.f32(input.x) || !in.f32(input.y))
        return false;
      if (!std::isfinite(input.x) || !std::isfinite(input.y))
        return in.fail("the record is corrupted: a mouse position is not a number");
      return true;
    case INPUT_CLOSE:
      return low == 0 || in.fail("the record is corrupted: bad window event");
    case INPUT_MESSAGE: {
      int length = 0;
      if (low != 0 || !in.varint(input.socket) || !in.varint(input.message_kind) ||
          !in.varint(length))
        return in.fail("the record is corrupted: bad network message");
      if (input.message_kind < 1 || input.message_kind > LAST_MESSAGE_KIND ||
          length > MAX_MESSAGE_SIZE)
        return in.fail("the record is corrupted: bad network message");
      return in.text(length, input.payload);
    }
    default:
      return in.fail("the record is corrupted: unknown input kind " + std::to_string(input.kind));
  }
}

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
      !parseBlocks(in, bytes, steps, step_count, complete)) {
    m_error = in.error;
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
