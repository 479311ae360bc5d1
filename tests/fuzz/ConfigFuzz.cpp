// libFuzzer target for the configuration parser: every input is loaded twice,
// once as a configuration file (Config::readConfig() joins its lines) and once
// as configuration text handed to Config::loadConfig() directly. Besides
// crashes and sanitizer reports, settings that break the file syntax's rules
// abort.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Config.h"
#include "FuzzSupport.h"
#include "LogManager.h"

namespace {

std::string g_path; // The input file, made afresh for every input and removed after it.

using vxfuzz::check;

// A value is cut at ',' and ':' and loses every blank, so no setting can hold
// one of them.
void checkText(const std::string &value, const char *what) {
  for (const char c : value)
    check(c != ',' && c != ':' && !std::isspace(static_cast<unsigned char>(c)), what);
}

// Every setting as text, to compare two loads.
std::string settings(const vx::Config &config) {
  return std::to_string(config.getWindowHorizontalPixels()) + " " +
         std::to_string(config.getWindowVerticalPixels()) + " " +
         std::to_string(config.getWindowHorizontalChars()) + " " +
         std::to_string(config.getWindowVerticalChars()) + " " +
         std::to_string(config.getWindowStyle()) + " " + std::to_string(config.getWindowState()) +
         " " + std::to_string(config.getWindowBackgroundColor()) + " " +
         std::to_string(config.getFrameTime()) + " " + std::to_string(config.getFontScale()) + " " +
         config.getWindowTitle() + " " + std::to_string(config.getShowMouse()) +
         std::to_string(config.getHeadless()) + std::to_string(config.getNetworking()) + " " +
         config.getFontFile() + " " + config.getLogFile() + " " +
         std::to_string(config.getRandomSeed()) + " " + std::to_string(config.getGridWidth()) +
         " " + std::to_string(config.getGridHeight());
}

// Loads the text and checks what every load must leave behind.
void loadAndCheck(vx::Config &config, const std::string &text) {
  config.loadConfig(text);
  check(config.getConfig() == text || text.empty(), "configuration text not kept as loaded");
  check(config.getWindowBackgroundColor() >= 0 && config.getWindowBackgroundColor() <= 7,
        "background is not an engine colour");
  check(config.getWindowState() == 0 || config.getWindowState() == 1,
        "window state is neither default nor fullscreen");
  checkText(config.getWindowTitle(), "title holds a blank, ',' or ':'");
  checkText(config.getFontFile(), "font file holds a blank, ',' or ':'");
  checkText(config.getLogFile(), "log file holds a blank, ',' or ':'");
  // The first occurrence of a key counts and refused values change nothing,
  // so loading the same text again changes nothing either.
  const std::string before = settings(config);
  config.loadConfig(text);
  check(settings(config) == before, "loading the same text twice gave other settings");
}

// Puts the text settings back to their defaults, through the parser itself.
// Every input then ends with the same strings held by the configuration and by
// the parser's tables, so its allocations and frees balance and the fuzzer has
// no reason to run its (slow) leak check after it.
void restoreTextSettings(vx::Config &config) {
  config.loadConfig("window_title:Vexlo,font_file:vx-font.ttf,logfile:vexlo.log");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  g_path = vxfuzz::inputDirectory() + "/vx-config.txt";
  // Set once: every change of the environment keeps a copy of the old value,
  // which would leave each input with unbalanced allocations.
  setenv("VEXLO_CONFIG", g_path.c_str(), 1);
  // The refusals of colours, styles and states would otherwise go to
  // standard error, a line or more per input.
  setenv("VEXLO_LOG", "/dev/null", 1);
  vx::LogManager::getInstance().startUp();
  restoreTextSettings(vx::Config::getInstance());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  vx::Config &config = vx::Config::getInstance();
  const std::string input(reinterpret_cast<const char *>(data), size);
  loadAndCheck(config, input);

  // The file is removed after every input, so each one is a new file (rewriting
  // one in place makes the file system flush it to disk on every close).
  FILE *p_file = std::fopen(g_path.c_str(), "wb");
  if (p_file == nullptr)
    return 0;
  const bool written = std::fwrite(data, 1, size, p_file) == size;
  std::fclose(p_file);
  if (written) {
    const std::string text = config.readConfig();
    // Lines are joined without their line breaks.
    check(text.find('\n') == std::string::npos, "joined text holds a line break");
    check(text.size() <= size, "joined text longer than the file");
    loadAndCheck(config, text);
  }
  std::remove(g_path.c_str());
  restoreTextSettings(config);
  return 0;
}
