#include "RecordWriter.h"

#include <cerrno>
#include <cstring>

#include "LogManager.h"

namespace vx {

namespace {

// The buffer goes to the file once it holds this many bytes.
const size_t FLUSH_BYTES = 16 * 1024;

// The end of a record: the distance to the step count and the end flag.
std::string endBytes(int last_step, int step_count) {
  std::string out;
  appendVarint(out, static_cast<uint32_t>(step_count - last_step - 1));
  out.push_back(static_cast<char>(RECORD_END));
  return out;
}

} // namespace

RecordWriter::RecordWriter()
    : m_p_file(nullptr), m_checksum(FNV_OFFSET), m_last_step(-1), m_failed(false) {}

RecordWriter::~RecordWriter() {
  if (m_p_file != nullptr)
    std::fclose(m_p_file);
}

bool RecordWriter::isOpen() const { return m_p_file != nullptr; }

int RecordWriter::open(const std::string &path) {
  if (m_p_file != nullptr)
    std::fclose(m_p_file);
  m_p_file = std::fopen(path.c_str(), "wb");
  if (m_p_file == nullptr)
    return -1;
  m_path = path;
  m_buffer.clear();
  m_checksum = FNV_OFFSET;
  m_last_step = -1;
  m_failed = false;
  return 0;
}

void RecordWriter::writeHeader(const RecordHeader &header) {
  std::string bytes;
  appendHeader(bytes, header);
  add(bytes, true);
}

void RecordWriter::add(const std::string &bytes, bool flush_now) {
  m_checksum = fnv1a(bytes.data(), bytes.size(), m_checksum);
  m_buffer += bytes;
  if (m_failed)
    m_buffer.clear(); // The record is given up: nothing more piles up.
  if (m_p_file == nullptr || m_failed || (!flush_now && m_buffer.size() < FLUSH_BYTES))
    return;
  if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_p_file) != m_buffer.size() ||
      std::fflush(m_p_file) != 0) {
    LogManager::getInstance().writeLog(
        "RecordWriter::add(): Error! Cannot write record '%s': %s. Recording stops.",
        m_path.c_str(), std::strerror(errno));
    m_failed = true;
  }
  m_buffer.clear();
}

void RecordWriter::writeStep(const RecordStep &step) {
  if (m_p_file == nullptr || step.step <= m_last_step)
    return;
  std::string bytes;
  appendStep(bytes, step.step - m_last_step - 1, step);
  m_last_step = step.step;
  add(bytes);
}

int RecordWriter::close(int step_count) {
  if (m_p_file == nullptr)
    return -1;
  if (step_count <= m_last_step)
    step_count = m_last_step + 1;
  std::string bytes = endBytes(m_last_step, step_count);
  m_checksum = fnv1a(bytes.data(), bytes.size(), m_checksum);
  appendU64(bytes, m_checksum);
  m_buffer += bytes;
  add("", true);
  if (std::fclose(m_p_file) != 0 && !m_failed) {
    LogManager::getInstance().writeLog("RecordWriter::close(): Error! Cannot write record '%s': %s",
                                       m_path.c_str(), std::strerror(errno));
    m_failed = true;
  }
  m_p_file = nullptr;
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
