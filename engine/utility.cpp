#include "utility.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <vector>

#include "LogManager.h"

namespace vx {

namespace {

// The tables of the last match() call, kept until the next one.
std::vector<std::string> match_keys;
std::vector<std::string> match_values;

// Splits text at a separator, skipping empty pieces.
std::vector<std::string> splitNonEmpty(const std::string &text, char separator) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  while (start <= text.size()) {
    std::string::size_type end = text.find(separator, start);
    if (end == std::string::npos)
      end = text.size();
    if (end > start)
      pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

} // namespace

std::string match(std::string str, std::string find) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", str.c_str(), find.c_str());
  if (str.empty()) {
    log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", find.c_str(), 0);
    return "";
  }

  std::string text;
  text.reserve(str.size());
  for (char c : str)
    if (!std::isspace(static_cast<unsigned char>(c)))
      text += c;

  match_keys.clear();
  match_values.clear();
  log_manager.writeLog(25, "match(): number of elements allocated is %d",
                       static_cast<int>(std::count(text.begin(), text.end(), ',')) + 1);

  for (const std::string &element : splitNonEmpty(text, ',')) {
    log_manager.writeLog(25, "\titem number %d", static_cast<int>(match_keys.size()));
    log_manager.writeLog(28, "\tp_element is '%s' (%p)", element.c_str(),
                         static_cast<const void *>(element.c_str()));
    std::vector<std::string> pieces = splitNonEmpty(element, ':');
    if (pieces.empty()) {
      log_manager.writeLog(28, "\ttoken is '%s' (%p)", "(null)", nullptr);
      break; // An element of colons only ends the parsing.
    }
    // The key is the first piece and the value the second; colons in a row
    // count as one separator and pieces after the second are ignored.
    std::string value = pieces.size() > 1 ? pieces[1] : "";
    log_manager.writeLog(28, "\ttoken is '%s' (%p)", pieces[0].c_str(),
                         static_cast<const void *>(pieces[0].c_str()));
    log_manager.writeLog(25, "\tkey %s", pieces[0].c_str());
    log_manager.writeLog(25, "\tval %s", value.c_str());
    match_keys.push_back(pieces[0]);
    match_values.push_back(value);
  }

  log_manager.writeLog(25, "match(): parsed.");
  for (size_t i = 0; i < match_keys.size(); i++)
    log_manager.writeLog(28, "\t%d  %s : %s", static_cast<int>(i), match_keys[i].c_str(),
                         match_values[i].c_str());
  log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", find.c_str(),
                       static_cast<int>(match_keys.size()));
  for (size_t i = 0; i < match_keys.size(); i++) {
    log_manager.writeLog(28, "match(): %d: %s == %s?", static_cast<int>(i),
                         match_keys[i].c_str(), find.c_str());
    if (match_keys[i] == find)
      return match_values[i];
  }
  return "";
}

const char *getTimeString() {
  static char time_str[32];
  std::time_t now = std::time(nullptr);
  struct tm local;
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    std::snprintf(time_str, sizeof(time_str), "(time error)");
    return time_str;
  }
  std::snprintf(time_str, sizeof(time_str), "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                local.tm_sec);
  return time_str;
}

int checkStream(const char *where, const std::ios &stream) {
  if (stream.good())
    return 0;
  if (stream.eof())
    LogManager::getInstance().writeLog("%s: Error! Stream eof.", where);
  else
    LogManager::getInstance().writeLog("%s: Error! Stream fail.", where);
  return -1;
}

std::string toBinaryString(unsigned int value) {
  std::string bits(32, '0');
  for (int i = 0; i < 32; i++)
    if (value & (1u << (31 - i)))
      bits[static_cast<size_t>(i)] = '1';
  return bits;
}

std::string toString(int value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

int randomInt() { return std::rand() & RANDOM_MAX; }

} // namespace vx
