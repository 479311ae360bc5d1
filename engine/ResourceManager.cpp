#include "ResourceManager.h"

#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <new>
#include <utility>

#include "DisplayManager.h"
#include "LogManager.h"
#include "SpriteFile.h"
#include "utility.h"

namespace vx {

namespace {

// The colour of a lower-case colour name, or -1 for any other text.
int colorFromName(const std::string &name) {
  static const char *const NAMES[] = {"black", "red",     "green", "yellow",
                                      "blue",  "magenta", "cyan",  "white"};
  for (int color = BLACK; color <= WHITE; color++)
    if (name == NAMES[color])
      return color;
  return -1;
}

void logSize(int frames, int width, int height, int slowdown) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "\t      Frames: %d", frames);
  log_manager.writeLog(5, "\t       Width: %d", width);
  log_manager.writeLog(5, "\t      Height: %d", height);
  log_manager.writeLog(5, "\t    Slowdown: %d", slowdown);
}

// Reads one header line of a simple sprite file into `line`. False, after
// logging what is missing, when it is empty.
bool readSimpleHeaderLine(SpriteFile &file, const char *missing, std::string &line) {
  const LogManager &log_manager = LogManager::getInstance();
  line = getLine(file, true);
  if (line.empty()) {
    log_manager.writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
    log_manager.writeLog("%s", missing);
    return false;
  }
  log_manager.writeLog(20, "\tLine %2d: '%s'", file.line, line.c_str());
  return true;
}

// Reads one header number of a simple sprite file. False, after logging, when
// the line is missing or the number is below the minimum; `what` names it in
// the refusal ("Width", ...).
bool readSimpleNumber(SpriteFile &file, const char *missing, const char *what, int minimum,
                      int &value) {
  std::string line;
  if (!readSimpleHeaderLine(file, missing, line))
    return false;
  value = toInt(line);
  if (value >= minimum)
    return true;
  LogManager::getInstance().writeLog("RM::loadSimpleSprite(): Error line %d! %s is '%s'.", file.line,
                                     what, line.c_str());
  return false;
}

// Logs a frame of a loaded sprite row by row.
void logFrame(const Sprite &sprite, int index) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(15, "\tFrame %d:", index + 1);
  const std::string frame_str = sprite.getFrame(index).getString();
  const std::size_t width = sprite.getWidth() > 0 ? static_cast<std::size_t>(sprite.getWidth()) : 1;
  for (std::size_t row = 0; row < frame_str.size(); row += width)
    log_manager.writeLog(15, "\t%s", frame_str.substr(row, width).c_str());
}

} // namespace

ResourceManager::ResourceManager()
    : m_p_sprite(), m_sprite_count(0), m_sound_count(0), m_music_count(0) {
  setType("ResourceManager");
}

// A manager never shut down still frees its resources, before its sound and
// music slots go, while the audio library can take them back.
ResourceManager::~ResourceManager() { releaseResources(); }

void ResourceManager::releaseResources() {
  for (int i = 0; i < m_sprite_count; i++) {
    delete m_p_sprite[i];
    m_p_sprite[i] = nullptr;
  }
  m_sprite_count = 0;
  // Every slot, counted or not: a slot refilled after a restart may hold a
  // voice from before.
  for (Sound &sound : m_sound)
    sound.unload();
  for (Music &music : m_music)
    music.unload();
  m_held_sounds.clear();
  m_held_musics.clear();
}

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager resource_manager;
  return resource_manager;
}

bool ResourceManager::checkStarted() const {
  if (isStarted())
    return true;
  LogManager::getInstance().writeLog("%s not started!", getType().c_str());
  return false;
}

int ResourceManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  // Sprites left from an earlier run were deleted by shutDown(); sound and
  // music slots are simply refilled.
  m_sprite_count = 0;
  m_sound_count = 0;
  m_music_count = 0;
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "RM::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  for (int i = 0; i < m_sound_count; i++)
    m_sound[i].stop();
  for (int i = 0; i < m_music_count; i++)
    m_music[i].stop();
  // The audio library's objects go now rather than at exit, when the library
  // itself may already be partly torn down. The counts stay, as do the labels.
  releaseResources();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "RM::shutDown(): successfully stopped.");
}

int ResourceManager::getSpriteCount() const { return m_sprite_count; }

int ResourceManager::getSoundCount() const { return m_sound_count; }

int ResourceManager::getMusicCount() const { return m_music_count; }

Sprite *ResourceManager::getSprite(std::string label) const {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "RM::getSprite(): Looking for sprite '%s'.", label.c_str());
  for (int i = 0; i < m_sprite_count; i++)
    if (m_p_sprite[i]->getLabel() == label)
      return m_p_sprite[i];
  log_manager.writeLog("RM::getSprite(): Warning! Sprite '%s' not found.", label.c_str());
  return nullptr;
}

int ResourceManager::loadSound(std::string filename, std::string label) {
  if (!checkStarted())
    return -1;
  const LogManager &log_manager = LogManager::getInstance();
  if (m_sound_count == MAX_SOUNDS) {
    log_manager.writeLog("RM::loadSound(): Error! Unable to add more sounds (max is %d).",
                         MAX_SOUNDS);
    return -1;
  }
  Sound &sound = m_sound[m_sound_count];
  if (sound.loadSound(filename) == -1) {
    // The sound fails without saying why; the one reason worth naming is looked for here.
    if (!riffChunksFit(filename))
      log_manager.writeLog(
          "RM::loadSound(): Error! '%s' declares more data than the file holds.",
          filename.c_str());
    log_manager.writeLog("RM::loadSound(): Error! Cannot load sound from file '%s'.",
                         filename.c_str());
    return -1;
  }
  sound.setLabel(label);
  log_manager.writeLog(1, "RM::loadSound(): Sound '%s' successfully loaded.", label.c_str());
  m_sound_count++;
  return 0;
}

Sound *ResourceManager::getSound(std::string label) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "RM::getSound(): Looking for sound '%s'.", label.c_str());
  for (int i = 0; i < m_sound_count; i++)
    if (m_sound[i].getLabel() == label)
      return &m_sound[i];
  log_manager.writeLog("RM::getSound(): Warning! Sound '%s' not found.", label.c_str());
  return nullptr;
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
  if (!checkStarted())
    return -1;
  const LogManager &log_manager = LogManager::getInstance();
  if (m_music_count == MAX_MUSICS) {
    log_manager.writeLog("RM::loadMusic(): Error! Unable to add more musics (max is %d).",
                         MAX_MUSICS);
    return -1;
  }
  if (label.empty()) {
    log_manager.writeLog("RM::loadMusic(): Error! Must provide label for music.");
    return -1;
  }
  Music &music = m_music[m_music_count];
  if (music.loadMusic(filename) == -1) {
    log_manager.writeLog("RM::loadmusic(): Error! Cannot load music from file '%s'.",
                         filename.c_str());
    return -1;
  }
  music.setLabel(label);
  log_manager.writeLog(1, "RM::loadMusic(): Music '%s' successfully loaded.", label.c_str());
  m_music_count++;
  return 0;
}

Music *ResourceManager::getMusic(std::string label) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "RM::getMusic(): Looking for music '%s'.", label.c_str());
  for (int i = 0; i < m_music_count; i++)
    if (m_music[i].getLabel() == label)
      return &m_music[i];
  log_manager.writeLog("RM::getMusic(): Warning! Music '%s' not found.", label.c_str());
  return nullptr;
}

int ResourceManager::loadSprite(std::string filename, std::string label) {
  if (!checkStarted())
    return -1;
  const LogManager &log_manager = LogManager::getInstance();
  if (m_sprite_count == MAX_SPRITES) {
    log_manager.writeLog("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is %d).",
                         MAX_SPRITES);
    log_manager.writeLog("RM::loadRobustSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  log_manager.writeLog(1, "RM::loadSprite(): Loading sprite '%s'.", filename.c_str());

  // Only regular files of a sane size are read: a device such as /dev/zero
  // (or a link to one) would be read for ever.
  const long long size = regularFileSize(filename);
  if (size > MAX_SPRITE_FILE_SIZE) {
    log_manager.writeLog("RM::loadSprite(): Error! File '%s' has %lld bytes, more than the %lld "
                         "a sprite file may have.", filename.c_str(), size, MAX_SPRITE_FILE_SIZE);
    log_manager.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  if (size < 0 && std::filesystem::exists(filename)) {
    log_manager.writeLog("RM::loadSprite(): Error! '%s' is not a regular file.", filename.c_str());
    log_manager.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }

  std::ifstream in(filename);
  if (!in.is_open()) {
    log_manager.writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
    log_manager.writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }

  // The first line tells the format; the loader then reads the file again
  // from its start.
  SpriteFile file(in);
  const std::string first_line = getLine(file, false);
  in.clear();
  in.seekg(0);

  std::unique_ptr<Sprite> p_sprite;
  if (first_line == "<HEADER>") {
    log_manager.writeLog(5, "RM::loadSprite(): assuming robust sprite file format.");
    p_sprite.reset(loadRobustSprite(file));
  } else if (toInt(first_line) >= 1) {
    log_manager.writeLog(5, "RM::loadSprite(): assuming simple sprite file format.");
    p_sprite.reset(loadSimpleSprite(file));
  } else {
    log_manager.writeLog("RM::loadSprite(): Error! Unknown sprite file format.");
    log_manager.writeLog("RM::loadSprite(): First line is '%s'.", first_line.c_str());
  }

  if (!p_sprite) {
    log_manager.writeLog("RM::loadSprite(): Sprite '%s' NOT loaded.", label.c_str());
    return -1;
  }

  p_sprite->setLabel(label);
  log_manager.writeLog(15, "RM::loadSprite(): Sprite '%s' frames:", label.c_str());
  for (int i = 0; i < p_sprite->getFrameCount(); i++)
    logFrame(*p_sprite, i);
  m_p_sprite[m_sprite_count++] = p_sprite.release();
  log_manager.writeLog(5, "RM::loadSprite(): Sprite '%s' loaded.", label.c_str());
  return 0;
}

Sprite *ResourceManager::loadSimpleSprite(SpriteFile &file) const {
  if (!checkStarted())
    return nullptr;
  const LogManager &log_manager = LogManager::getInstance();

  int frames = 0, width = 0, height = 0, slowdown = 0;
  std::string line;
  if (!readSimpleHeaderLine(file, "\tMissing frames (an integer).", line))
    return nullptr;
  frames = toInt(line);
  if (frames < 1) {
    log_manager.writeLog("RM::loadSimpleSprite(): Error line %d! Number of frames is %d.", file.line,
                         frames);
    return nullptr;
  }
  if (!readSimpleNumber(file, "\tMissing width (an integer).", "Width", 1, width) ||
      !readSimpleNumber(file, "\tMissing height (an integer).", "Height", 1, height) ||
      !readSimpleNumber(file, "\tMissing slowdown (an integer).", "Slowdown", 0, slowdown))
    return nullptr;

  if (!readSimpleHeaderLine(file, "\tMissing color (a string).", line))
    return nullptr;
  const int color = colorFromName(line);
  if (color == -1) {
    log_manager.writeLog("RM::loadSimpleSprite(): Error line %d! Unrecognized color '%s'.",
                         file.line, line.c_str());
    log_manager.writeLog("  Valid colors are: black, red, green, yellow,");
    log_manager.writeLog("                    blue, magenta, cyan or white.");
    return nullptr;
  }
  logSize(frames, width, height, slowdown);
  log_manager.writeLog(5, "\t       Color: %s", colorToString(static_cast<Color>(color)).c_str());

  // The sprite stores frames as they arrive, so a count larger than the file
  // can hold costs nothing: reading stops at the end of the file.
  std::unique_ptr<Sprite> p_sprite(new (std::nothrow) Sprite(frames));
  if (!p_sprite) {
    log_manager.writeLog("RM::loadSimpleSprite(): Error! Unable to create Sprite.");
    return nullptr;
  }
  p_sprite->setWidth(width);
  p_sprite->setHeight(height);
  p_sprite->setSlowdown(slowdown);
  p_sprite->setColor(static_cast<Color>(color));
  p_sprite->setTransparency(0);

  for (int n = 1; n <= frames; n++) {
    log_manager.writeLog(15, "RM::loadSimpleSprite(): Reading frame %d of %d.", n, frames);
    std::string frame_str;
    for (int row = 1; row <= height; row++) {
      line = getLine(file, true);
      if (line.empty()) {
        log_manager.writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
        log_manager.writeLog("\tReading frame %d of %d, row %d of %d.", n, frames, row, height);
        return nullptr;
      }
      if (line.size() != static_cast<std::size_t>(width)) {
        log_manager.writeLog("RM::loadSimpleSprite(): Error line %d!", file.line);
        log_manager.writeLog("\tLine %2d: '%s'", file.line, line.c_str());
        log_manager.writeLog("\tWidth is %d, expected %d.", static_cast<int>(line.size()), width);
        return nullptr;
      }
      log_manager.writeLog(20, "\tLine %2d: '%s'", file.line, line.c_str());
      frame_str += line;
    }
    if (p_sprite->addFrame(Frame(width, height, std::move(frame_str))) != 0) {
      log_manager.writeLog("RM::loadSimpleSprite(): Error! Cannot add Frame.");
      log_manager.writeLog("\tFramecount is %d, max is %d.", p_sprite->getFrameCount() + 1, frames);
      return nullptr;
    }
  }

  // Nothing may follow the last row but a single line break.
  if (!file.in.eof()) {
    std::string extra;
    std::getline(file.in, extra);
    file.line++;
    if (!(file.in.eof() && extra.empty())) {
      if (!extra.empty() && extra.back() == '\r')
        extra.pop_back();
      log_manager.writeLog("RM::loadSimpleSprite(): Error line %d!", file.line);
      log_manager.writeLog("\tExtra file data: '%s'", extra.c_str());
      return nullptr;
    }
  }
  return p_sprite.release();
}

Sprite *ResourceManager::loadRobustSprite(SpriteFile &file) const {
  if (!checkStarted())
    return nullptr;
  const LogManager &log_manager = LogManager::getInstance();

  std::list<std::string> header = readData(file, "HEADER");
  if (header.empty())
    return nullptr;
  log_manager.writeLog(20, "ResourceManager::loadRobustSprite(): After header, line number: '%d'",
                       file.line);

  const int frames = matchLineInt(header, "frames");
  const int width = matchLineInt(header, "width");
  const int height = matchLineInt(header, "height");
  for (const auto &required : {std::make_pair("frames", frames), std::make_pair("width", width),
                               std::make_pair("height", height)}) {
    if (required.second == -1) {
      log_manager.writeLog("RM::loadRobustSprite(): Error! Missing '%s' in header.",
                           required.first);
      return nullptr;
    }
  }

  std::string color_name = matchLineStr(header, "color");
  if (color_name.empty()) {
    log_manager.writeLog(5, "RM::loadRobustSprite(): Warning! No '%s' in header.", "color");
    color_name = "default";
  }

  const std::string transparency_value = matchLineStr(header, "transparency");
  char transparency = 0;
  if (transparency_value.empty()) {
    log_manager.writeLog(5, "RM::loadRobustSprite(): Note! No '%s' in header.", "transparency");
  } else if (transparency_value == "\" \"") {
    log_manager.writeLog(5, "RM::loadRobustSprite(): transparency is 'space'");
    transparency = ' ';
  } else {
    transparency = transparency_value[0];
  }

  int slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    log_manager.writeLog(5, "RM::loadRobustSprite(): Note! No '%s' in header.", "slowdown");
    slowdown = 0;
  }

  if (!header.empty()) {
    log_manager.writeLog(1, "RM::loadRobustSprite(): Warning! Unused HEADER lines:");
    for (const std::string &line : header)
      log_manager.writeLog(1, "\t'%s'", line.c_str());
  }

  logSize(frames, width, height, slowdown);
  if (transparency != 0)
    log_manager.writeLog(5, "\tTransparency: '%c'", transparency);
  else
    log_manager.writeLog(5, "\tTransparency: (none)");

  std::list<std::string> body = readData(file, "BODY");
  if (body.empty())
    return nullptr;
  log_manager.writeLog(20,
                       "ResourceManager::loadRobustSprite(): After reading body: line number is '%d'",
                       file.line);

  // The sprite stores frames as they arrive, so a count larger than the body
  // can hold costs nothing: reading stops when the body runs out.
  std::unique_ptr<Sprite> p_sprite(new (std::nothrow) Sprite(frames));
  if (!p_sprite) {
    log_manager.writeLog("RM::loadRobustSprite(): Error! Unable to create Sprite.");
    return nullptr;
  }
  p_sprite->setWidth(width);
  p_sprite->setHeight(height);
  p_sprite->setSlowdown(slowdown);
  p_sprite->setTransparency(transparency);

  const int color = color_name == "default" ? WHITE : colorFromName(color_name);
  if (color == -1) {
    log_manager.writeLog("RM::loadRobustSprite(): Error! Unrecognized color '%s'.",
                         color_name.c_str());
    log_manager.writeLog("  Valid colors are: black, red, green, yellow,");
    log_manager.writeLog("                    blue, magenta, cyan and white.");
    return nullptr;
  }
  p_sprite->setColor(static_cast<Color>(color));
  log_manager.writeLog(5, "\t       Color: %s", colorToString(static_cast<Color>(color)).c_str());

  // The body's lines follow its opening tag without gaps, so their file line
  // numbers follow from the counter, which now holds the closing tag's.
  int line = file.line - static_cast<int>(body.size()) - 1;
  for (int n = 0; n < frames; n++) {
    Frame frame = readFrame(body, width, height, line);
    if (frame.getString().empty()) {
      log_manager.writeLog("RM::loadRobustSprite(): Error! No frame data to add.");
      return nullptr;
    }
    if (p_sprite->addFrame(frame) != 0) {
      log_manager.writeLog("RM::loadRobustSprite(): Error! Cannot add Frame.");
      log_manager.writeLog("\tFramecount is %d, max is %d", p_sprite->getFrameCount() + 1, frames);
      return nullptr;
    }
    line += height + 1;
  }

  if (!body.empty()) {
    log_manager.writeLog("RM::loadRobustSprite(): Error! Extra BODY:");
    for (const std::string &extra : body)
      log_manager.writeLog("\tLine %d: %s", ++line, extra.c_str());
    return nullptr;
  }

  std::list<std::string> footer = readData(file, "FOOTER");
  if (footer.empty())
    return nullptr;
  if (matchLineStr(footer, "version").empty()) {
    log_manager.writeLog("RM::loadRobustSprite(): Error! Missing '%s' in FOOTER (line %d).",
                         "version", file.line);
    return nullptr;
  }
  if (!footer.empty()) {
    log_manager.writeLog(1, "RM::loadRobustSprite(): Warning! Unused FOOTER lines:");
    for (const std::string &extra : footer)
      log_manager.writeLog(1, "\t'%s'", extra.c_str());
  }
  return p_sprite.release();
}

void ResourceManager::pauseAudio() {
  for (int i = 0; i < m_sound_count; i++) {
    if (m_sound[i].isPlaying()) {
      m_sound[i].pause();
      m_held_sounds.push_back(&m_sound[i]);
    }
  }
  for (int i = 0; i < m_music_count; i++) {
    if (m_music[i].isPlaying()) {
      m_music[i].pause();
      m_held_musics.push_back(&m_music[i]);
    }
  }
}

void ResourceManager::resumeAudio() {
  // Only what is still paused: a sound stopped or replaced since stays so.
  for (Sound *p_sound : m_held_sounds)
    if (p_sound->isPaused())
      p_sound->play(p_sound->isLooping());
  for (Music *p_music : m_held_musics)
    if (p_music->isPaused())
      p_music->play(p_music->isLooping());
  m_held_sounds.clear();
  m_held_musics.clear();
}

} // namespace vx
