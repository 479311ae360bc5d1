#include "SpriteFile.h"


#include "LogManager.h"
#include "utility.h"

namespace vx {

namespace {

// The text after the token and the one separator character that follows it.
std::string valueAfter(const std::string &line, const std::string &token) {
  return line.size() > token.size() + 1 ? line.substr(token.size() + 1) : std::string();
}

bool beginsWith(const std::string &line, const std::string &token) {
  return line.compare(0, token.size(), token) == 0;
}

} // namespace

std::string getLine(SpriteFile &file, bool count) {
  if (!file.in.good()) {
    LogManager::getInstance().writeLog("getLine(): Error! Unexpected end of file.");
    return std::string();
  }
  std::string line;
  std::getline(file.in, line);
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  if (count)
    file.line++;
  return line;
}

std::list<std::string> readData(SpriteFile &file, const std::string &delimiter) {
  const LogManager &log_manager = LogManager::getInstance();
  const std::string begin = "<" + delimiter + ">";
  const std::string end = "</" + delimiter + ">";

  std::string line = getLine(file, true);
  if (line != begin) {
    log_manager.writeLog("readData(): Error line %d! Expected '%s', have '%s'.", file.line,
                         begin.c_str(), line.c_str());
    return {};
  }

  // The counter stays one line behind while the section is read and catches
  // up on the closing tag.
  std::list<std::string> data;
  bool first = true;
  while (true) {
    line = getLine(file, !first);
    first = false;
    if (line == end) {
      file.line++;
      return data;
    }
    if (line.empty()) {
      log_manager.writeLog("readData(): Error! Stop at line %d, never encountered '%s'.", file.line,
                           end.c_str());
      return {};
    }
    data.push_back(line);
  }
}

int matchLineInt(std::list<std::string> &data, const std::string &token) {
  int result = -1;
  for (auto it = data.begin(); it != data.end();) {
    if (!beginsWith(*it, token)) {
      ++it;
      continue;
    }
    if (result != -1)
      LogManager::getInstance().writeLog(1, "matchLineInt(): Warning! '%s' matches multiple lines.",
                                         it->c_str());
    result = toInt(valueAfter(*it, token));
    it = data.erase(it);
  }
  return result;
}

std::string matchLineStr(std::list<std::string> &data, const std::string &token) {
  std::string result;
  for (auto it = data.begin(); it != data.end();) {
    if (!beginsWith(*it, token)) {
      ++it;
      continue;
    }
    if (!result.empty())
      LogManager::getInstance().writeLog(1, "matchLineStr(): Warning! '%s' matches multiple lines.",
                                         it->c_str());
    result = valueAfter(*it, token);
    it = data.erase(it);
  }
  return result;
}

Frame readFrame(std::list<std::string> &data, int width, int height, int line) {
  const LogManager &log_manager = LogManager::getInstance();
  std::string frame_str;
  for (int row = 1; row <= height; row++) {
    const int row_line = line + row;
    if (data.empty()) {
      log_manager.writeLog("\tError! Line %d: No more frame data before 'end'.", row_line);
      return Frame();
    }
    const std::string &row_str = data.front();
    log_manager.writeLog(20, "\tLine %2d: '%s'", row_line, row_str.c_str());
    if (row_str.size() != static_cast<std::size_t>(width)) {
      log_manager.writeLog("\tError! Line %d: Line length is %d (frame width is %d).", row_line,
                           static_cast<int>(row_str.size()), width);
      log_manager.writeLog("\tLine %d: '%s'", row_line, row_str.c_str());
      return Frame();
    }
    frame_str += row_str;
    data.pop_front();
  }

  const int end_line = line + (height > 0 ? height : 0) + 1;
  if (data.empty()) {
    log_manager.writeLog("\tError! Line %d: No more frame data before 'end'.", end_line);
    return Frame();
  }
  if (data.front() != "end") {
    log_manager.writeLog("\tError! Line %d: Expected '%s'.", end_line, "end");
    log_manager.writeLog("\tLine %d: '%s'", end_line, data.front().c_str());
    return Frame();
  }
  data.pop_front();
  return Frame(width, height, frame_str);
}
} // namespace vx
