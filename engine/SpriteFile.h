/// \file
/// Reading sprite files line by line: the pieces the resource manager's two
/// sprite loaders share. Internal to the engine; games load sprites through
/// ResourceManager::loadSprite().
#ifndef VX_SPRITE_FILE_H
#define VX_SPRITE_FILE_H

#include <istream>
#include <list>
#include <string>

#include "Frame.h"

namespace vx {

/// A sprite file being read, with the number of the last line counted (1 for
/// the first line of the file); messages quote it.
struct SpriteFile {
  /// The file read. Not owned.
  std::istream &in;
  /// The number of the last line read, from 1, for messages.
  int line;

  /// Reads stream from its first line.
  explicit SpriteFile(std::istream &stream) : in(stream), line(0) {}
};

/// The next line without its newline and without one final carriage return,
/// counted when `count` is true. Empty at an empty line and at the end of the
/// file; reading past the end logs "getLine(): Error! Unexpected end of file.".
std::string getLine(SpriteFile &file, bool count);

/// The lines of the section "<delimiter>" ... "</delimiter>", which must start
/// at the next line. Empty, after logging, when the opening tag is missing or
/// an empty line or the end of the file comes before the closing tag. After a
/// section is read, the line counter holds the closing tag's line number.
std::list<std::string> readData(SpriteFile &file, const std::string &delimiter);

/// Takes every line that begins with the token out of the list and returns the
/// integer after the token and one separator character (the last such line
/// wins), or -1 when there is none.
int matchLineInt(std::list<std::string> &data, const std::string &token);

/// The same for a text value: "" when no line has the token.
std::string matchLineStr(std::list<std::string> &data, const std::string &token);

/// Takes one frame of `height` rows of `width` characters and its closing "end"
/// line out of a body section. `line` is the file line number just before the
/// frame's first row, for messages. An empty frame, after logging, when the
/// rows are missing, of the wrong length, or not followed by "end".
Frame readFrame(std::list<std::string> &data, int width, int height, int line);
} // namespace vx

#endif // VX_SPRITE_FILE_H
