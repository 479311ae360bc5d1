#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "LogManager.h"

namespace vxtest {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vexlo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary directory");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

const std::string &TempDir::path() const { return m_path; }

std::string TempDir::file(const std::string &name) const { return m_path + "/" + name; }

ScopedEnv::ScopedEnv(const std::string &name, const std::string &value) : m_name(name) {
  const char *p_old = std::getenv(name.c_str());
  m_had_value = p_old != nullptr;
  if (m_had_value)
    m_old_value = p_old;
  setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (m_had_value)
    setenv(m_name.c_str(), m_old_value.c_str(), 1);
  else
    unsetenv(m_name.c_str());
}

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> readLines(const std::string &path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

void writeFile(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string logMessage(const std::string &line) {
  // "hh:mm:ss " then the step count as "%4d " (wider for large counts).
  if (line.size() < 9)
    return line;
  std::string::size_type pos = 9;
  while (pos < line.size() && line[pos] == ' ')
    pos++;
  while (pos < line.size() && (std::isdigit(static_cast<unsigned char>(line[pos])) || line[pos] == '-'))
    pos++;
  return pos < line.size() ? line.substr(pos + 1) : "";
}

std::vector<std::string> logLinesContaining(const std::string &path, const std::string &text) {
  std::vector<std::string> found;
  for (const std::string &line : readLines(path))
    if (logMessage(line).find(text) != std::string::npos)
      found.push_back(logMessage(line));
  return found;
}

LogCapture::LogCapture() : m_env("VEXLO_LOG", m_dir.file("vexlo.log")) {
  vx::LogManager::getInstance().setFlush(true);
  vx::LogManager::getInstance().startUp();
}

std::string LogCapture::path() const { return m_dir.file("vexlo.log"); }

std::vector<std::string> LogCapture::messages() const {
  std::vector<std::string> result;
  for (const std::string &line : readLines(path()))
    result.push_back(logMessage(line));
  return result;
}

bool LogCapture::contains(const std::string &text) const { return count(text) > 0; }

int LogCapture::count(const std::string &text) const {
  int n = 0;
  for (const std::string &message : messages())
    if (message.find(text) != std::string::npos)
      n++;
  return n;
}

} // namespace vxtest
