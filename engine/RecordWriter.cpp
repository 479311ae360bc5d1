#include "RecordWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Clock.h"
#include "LogManager.h"
#include "StopSignals.h"

namespace vx {

namespace {

// The buffer goes to the file once it holds this many bytes, or once it has
// waited this long.
const size_t FLUSH_BYTES = 16 * 1024;
const std::int64_t FLUSH_US = 1000000;

// The record a dying program writes out.
RecordWriter *volatile s_p_open = nullptr;

// The end of a record: the distance to the step count and the end flag.
std::string endBytes(int last_step, int step_count) {
  std::string out;
  appendVarint(out, static_cast<uint32_t>(step_count - last_step - 1));
  out.push_back(static_cast<char>(RECORD_END));
  return out;
}

// Writes all of it; false when a write fails. Safe in a signal handler.
bool writeAll(int fd, const char *p_data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, p_data, size);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    p_data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

} // namespace

RecordWriter::RecordWriter()
    : m_fd(-1), m_buffer(FLUSH_BYTES), m_length(0), m_writing(0), m_written_us(0),
      m_checksum(FNV_OFFSET), m_last_step(-1), m_failed(false), m_error(0) {}

RecordWriter::~RecordWriter() {
  if (s_p_open == this)
    s_p_open = nullptr;
  if (m_fd >= 0)
    ::close(m_fd);
}

bool RecordWriter::isOpen() const { return m_fd >= 0; }

bool RecordWriter::hasFailed() const { return m_failed; }

std::string RecordWriter::getFailure() const { return m_failed ? std::strerror(m_error) : ""; }

int RecordWriter::open(const std::string &path) {
  s_p_open = nullptr;
  if (m_fd >= 0)
    ::close(m_fd);
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (m_fd < 0)
    return -1;
  m_path = path;
  m_length = 0;
  m_written_us = Clock::now();
  m_checksum = FNV_OFFSET;
  m_last_step = -1;
  m_failed = false;
  m_error = 0;
  s_p_open = this;
  addLastWords(writeOutNow);
  return 0;
}

void RecordWriter::writeHeader(const RecordHeader &header) {
  std::string bytes;
  appendHeader(bytes, header);
  add(bytes, true);
}

void RecordWriter::add(const std::string &bytes, bool flush_now) {
  m_checksum = fnv1a(bytes.data(), bytes.size(), m_checksum);
  if (m_fd < 0 || m_failed)
    return; // The record is given up: nothing more piles up.
  const size_t length = static_cast<size_t>(m_length);
  if (length + bytes.size() <= m_buffer.size()) {
    std::memcpy(m_buffer.data() + length, bytes.data(), bytes.size());
    m_length = static_cast<std::sig_atomic_t>(length + bytes.size());
    if (flush_now || static_cast<size_t>(m_length) == m_buffer.size())
      writeOut();
  } else {
    writeOut(bytes.data(), bytes.size()); // A large block goes straight after the buffer.
  }
}

void RecordWriter::writeOut(const char *p_more, size_t more) {
  m_writing = 1;
  const bool written = writeAll(m_fd, m_buffer.data(), static_cast<size_t>(m_length)) &&
                       writeAll(m_fd, p_more, more);
  if (!written && !m_failed) {
    m_failed = true;
    m_error = errno;
    LogManager::getInstance().writeLog(
        "RecordWriter::add(): Error! Cannot write record '%s': %s. Recording stops.",
        m_path.c_str(), std::strerror(m_error));
  }
  m_length = 0;
  m_writing = 0;
  m_written_us = Clock::now();
}

void RecordWriter::tick() {
  if (m_fd >= 0 && !m_failed && m_length > 0 && Clock::now() - m_written_us >= FLUSH_US)
    writeOut();
}

void RecordWriter::writeOutNow() {
  RecordWriter *p_writer = s_p_open;
  if (p_writer == nullptr || p_writer->m_fd < 0 || p_writer->m_writing != 0 || p_writer->m_failed)
    return;
  const int saved_errno = errno;
  writeAll(p_writer->m_fd, p_writer->m_buffer.data(), static_cast<size_t>(p_writer->m_length));
  p_writer->m_length = 0;
  errno = saved_errno;
}

void RecordWriter::writeStep(const RecordStep &step) {
  if (m_fd < 0 || step.step <= m_last_step)
    return;
  std::string bytes;
  appendStep(bytes, step.step - m_last_step - 1, step);
  m_last_step = step.step;
  add(bytes);
}

int RecordWriter::close(int step_count) {
  if (m_fd < 0)
    return -1;
  if (step_count <= m_last_step)
    step_count = m_last_step + 1;
  std::string bytes = endBytes(m_last_step, step_count);
  m_checksum = fnv1a(bytes.data(), bytes.size(), m_checksum);
  appendU64(bytes, m_checksum);
  if (!m_failed)
    writeOut(bytes.data(), bytes.size());
  s_p_open = nullptr;
  if (::close(m_fd) != 0 && !m_failed) {
    m_failed = true;
    m_error = errno;
    LogManager::getInstance().writeLog("RecordWriter::close(): Error! Cannot write record '%s': %s",
                                       m_path.c_str(), std::strerror(m_error));
  }
  m_fd = -1;
  return m_failed ? -1 : 0;
}

std::string RecordWriter::encode(const RecordHeader &header, const std::vector<RecordStep> &steps,
                                 int step_count) {
  std::string out;
  appendHeader(out, header);
  int last_step = -1;
  for (const RecordStep &step : steps) {
    appendStep(out, step.step - last_step - 1, step);
    last_step = step.step;
  }
  out += endBytes(last_step, step_count);
  appendU64(out, fnv1a(out.data(), out.size()));
  return out;
}

} // namespace vx
