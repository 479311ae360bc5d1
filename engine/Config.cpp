#include "Config.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "Color.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "utility.h"

namespace vx {

namespace {

const char *const CONFIG_FILE_DEFAULT = "vx-config.txt";

const char *boolText(bool value) { return value ? "true" : "false"; }

// The lower-case colour names a configuration may use, indexed by Color value.
const char *const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                   "blue",  "magenta", "cyan",  "white"};

// Writes the refusal of a value: the key in words, the value, the setting kept.
void refuse(const char *key, const std::string &value, const std::string &kept) {
  std::string name = key;
  std::replace(name.begin(), name.end(), '_', ' ');
  LogManager::getInstance().writeLog("loadConfig(): Unsupported %s '%s', keeping %s", name.c_str(),
                                     value.c_str(), kept.c_str());
}

// How many characters the number the text begins with takes: 0 when it
// begins with none, its whole length when it is a number and nothing else.
std::size_t numberLength(const std::string &text) {
  char *p_end = nullptr;
  (void)std::strtol(text.c_str(), &p_end, 10);
  return static_cast<std::size_t>(p_end - text.c_str());
}

} // namespace

Config::Config()
    : m_window_horizontal_pixels(1024), m_window_vertical_pixels(768),
      m_window_horizontal_chars(80), m_window_vertical_chars(24), m_window_style(5),
      m_window_state(0), m_window_background_color(BLACK), m_frame_time(33),
      m_font_scale(2.0f), m_window_title("Vexlo"), m_show_mouse(false), m_headless(false),
      m_font_file("vx-font.ttf"), m_logfile("vexlo.log"), m_random_seed(0),
      m_networking(true), m_quadtree_threshold(1), m_quadtree_depth(10), m_grid_width(20),
      m_grid_height(8), m_signals(true), m_terminal(false),
      m_network_message_timeout(PARTIAL_MESSAGE_TIMEOUT_MS),
      m_network_silent_timeout(SILENT_CONNECTION_TIMEOUT_MS) {}

Config &Config::getInstance() {
  static Config config;
  return config;
}

std::string Config::getConfigFileName() {
  const char *p_env = std::getenv("VEXLO_CONFIG");
  return p_env != nullptr ? p_env : CONFIG_FILE_DEFAULT;
}

std::string Config::readConfig() const {
  std::string filename = getConfigFileName();
  std::ifstream file(filename);
  if (!file.is_open()) {
    LogManager::getInstance().writeLog(
        1, "Config::readConfig(): Cannot open Vexlo configuration file '%s'.", filename.c_str());
    return "";
  }
  std::string result;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == '#')
      continue;
    result += line;
  }
  return result;
}

void Config::loadConfig(std::string config) {
  if (config.empty())
    config = readConfig();
  m_config = config;
  const LogManager &log_manager = LogManager::getInstance();

  // Each lookup gives "" for an absent key or an empty value: the setting
  // stays. A value that is no number, or no "true" or "false", is refused with
  // a log line and the setting stays too: letters never turn into 0, which
  // for some keys means no limit at all.
  // Sizes keep reading the number a value begins with: a line without its
  // trailing comma runs into the next entry ("50font_scale") in existing files.
  auto setLeadingInt = [&config](const char *key, int &setting) {
    std::string value = match(config, key);
    if (value.empty())
      return;
    if (numberLength(value) > 0)
      setting = toInt(value);
    else
      refuse(key, value, std::to_string(setting));
  };
  // The rest take a whole number, at least `lowest`.
  auto setWholeInt = [&config](const char *key, int &setting, int lowest) {
    std::string value = match(config, key);
    if (value.empty())
      return;
    if (numberLength(value) == value.size() && toInt(value) >= lowest)
      setting = toInt(value);
    else
      refuse(key, value, std::to_string(setting));
  };
  auto setBool = [&config](const char *key, bool &setting) {
    std::string value = match(config, key);
    if (value == "true" || value == "false")
      setting = value == "true";
    else if (!value.empty())
      refuse(key, value, boolText(setting));
  };
  auto setString = [&config](const char *key, std::string &setting) {
    std::string value = match(config, key);
    if (!value.empty())
      setting = value;
  };

  loadFrameTime(match(config, "frame_time"));
  std::string value = match(config, "font_scale");
  if (!value.empty()) {
    char *p_end = nullptr;
    const float scale = std::strtof(value.c_str(), &p_end);
    if (p_end != value.c_str() && *p_end == '\0' && std::isfinite(scale))
      m_font_scale = scale;
    else
      refuse("font_scale", value, toString(m_font_scale));
  }
  setLeadingInt("window_horizontal_pixels", m_window_horizontal_pixels);
  setLeadingInt("window_vertical_pixels", m_window_vertical_pixels);
  setLeadingInt("window_horizontal_chars", m_window_horizontal_chars);
  setLeadingInt("window_vertical_chars", m_window_vertical_chars);

  value = match(config, "window_background_color");
  if (!value.empty()) {
    int color = -1;
    for (int i = BLACK; i <= WHITE; i++)
      if (value == COLOR_NAMES[i])
        color = i;
    if (color >= 0)
      m_window_background_color = color;
    else
      log_manager.writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
  }

  value = match(config, "window_style");
  if (!value.empty()) {
    int style = value == "none" ? 0 : toInt(value);
    if (value == "none" || style != 0)
      m_window_style = style;
    else
      log_manager.writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
  }

  value = match(config, "window_state");
  if (!value.empty()) {
    if (value == "fullscreen")
      m_window_state = 1;
    else if (value == "default")
      m_window_state = 0;
    else
      log_manager.writeLog("loadConfig(): Unsupported window state '%s'", value.c_str());
  }

  setString("window_title", m_window_title);
  setBool("show_mouse", m_show_mouse);
  setBool("headless", m_headless);
  setString("font_file", m_font_file);
  setString("logfile", m_logfile);
  setWholeInt("random_seed", m_random_seed, INT_MIN);
  setBool("networking", m_networking);
  setLeadingInt("grid_width", m_grid_width);
  setLeadingInt("grid_height", m_grid_height);
  setWholeInt("network_message_timeout", m_network_message_timeout, 0);
  setWholeInt("network_silent_timeout", m_network_silent_timeout, 0);
  setLeadingInt("quadtree_depth", m_quadtree_depth);
  setLeadingInt("quadtree_threshold", m_quadtree_threshold);
  setBool("signals", m_signals);
  // A record belongs to one run: a later load that names none records nothing.
  m_record_file.clear();
  m_replay_file.clear();
  setString("record_file", m_record_file);
  setString("replay_file", m_replay_file);
  // The environment names a record or replay for one run without editing the file.
  if (const char *p_record = std::getenv("VEXLO_RECORD"))
    m_record_file = p_record;
  if (const char *p_replay = std::getenv("VEXLO_REPLAY"))
    m_replay_file = p_replay;

  // Where the game is shown: "window", "terminal" or "none" (the same as
  // "headless:true"); the environment wins.
  value = match(config, "display");
  const char *p_display = std::getenv("VEXLO_DISPLAY");
  if (p_display != nullptr && p_display[0] != '\0')
    value = p_display;
  if (value == "terminal")
    m_terminal = true;
  else if (value == "window")
    m_terminal = false;
  else if (value == "none")
    m_headless = true;
  else if (!value.empty())
    log_manager.writeLog("loadConfig(): Unsupported display '%s'", value.c_str());
}

void Config::loadFrameTime(const std::string &value) {
  if (value.empty())
    return;
  // The whole value must be a number of milliseconds the loop can live with:
  // 0 runs unthrottled, and a second per step is the slowest a window stays
  // responsive at. Anything else ("1e12", "-5", "40ms") keeps the setting.
  errno = 0;
  char *p_end = nullptr;
  long frame_time = std::strtol(value.c_str(), &p_end, 10);
  if (errno == 0 && *p_end == '\0' && p_end != value.c_str() && frame_time >= 0 &&
      frame_time <= MAX_FRAME_TIME) {
    m_frame_time = static_cast<int>(frame_time);
    return;
  }
  LogManager::getInstance().writeLog(
      "loadConfig(): Unsupported frame time '%s' (0 to %d ms), keeping %d ms", value.c_str(),
      MAX_FRAME_TIME, m_frame_time);
}

void Config::logConfig() const {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(1, "-----------------------------------");
  log.writeLog(1, "Vexlo configuration:");
  log.writeLog(1, "  Window horizontal pixels: %d", m_window_horizontal_pixels);
  log.writeLog(1, "  Window vertical pixels: %d", m_window_vertical_pixels);
  log.writeLog(1, "  Window horizontal characters: %d", m_window_horizontal_chars);
  log.writeLog(1, "  Window vertical characters: %d", m_window_vertical_chars);
  log.writeLog(1, "  Window background color: %d", m_window_background_color);
  log.writeLog(1, "  Frame time: %d", m_frame_time);
  log.writeLog(1, "  Window style: %d", m_window_style);
  log.writeLog(1, "  Window state: %s", m_window_state != 0 ? "fullscreen" : "default");
  log.writeLog(1, "  Window title: %s", m_window_title.c_str());
  log.writeLog(1, "  Show mouse: %s", boolText(m_show_mouse));
  log.writeLog(1, "  Headless: %s", boolText(m_headless));
  log.writeLog(1, "  Font file: %s", m_font_file.c_str());
  log.writeLog(1, "  Log file: %s", m_logfile.c_str());
  log.writeLog(1, "  Random seed: %d", m_random_seed);
  log.writeLog(1, "  Networking: %s", boolText(m_networking));
  log.writeLog(1, "  Scene graph: grid");
  log.writeLog(1, "  Grid width: %d", m_grid_width);
  log.writeLog(1, "  Grid height: %d", m_grid_height);
  log.writeLog(1, "-----------------------------------");
}

std::string Config::getConfig() const { return m_config; }
int Config::getWindowHorizontalPixels() const { return m_window_horizontal_pixels; }
int Config::getWindowVerticalPixels() const { return m_window_vertical_pixels; }
int Config::getWindowHorizontalChars() const { return m_window_horizontal_chars; }
int Config::getWindowVerticalChars() const { return m_window_vertical_chars; }
int Config::getWindowStyle() const { return m_window_style; }
int Config::getWindowState() const { return m_window_state; }
int Config::getWindowBackgroundColor() const { return m_window_background_color; }
int Config::getFrameTime() const { return m_frame_time; }

void Config::setFrameTime(int frame_time) { m_frame_time = frame_time; }

void Config::setFontFile(const std::string &font_file) { m_font_file = font_file; }

std::string Config::getRecordFile() const { return m_record_file; }

std::string Config::getReplayFile() const { return m_replay_file; }
float Config::getFontScale() const { return m_font_scale; }
std::string Config::getWindowTitle() const { return m_window_title; }
bool Config::getShowMouse() const { return m_show_mouse; }
bool Config::getHeadless() const { return m_headless; }
bool Config::getTerminal() const { return m_terminal; }
std::string Config::getDisplay() const {
  if (m_headless)
    return "none";
  return m_terminal ? "terminal" : "window";
}
std::string Config::getFontFile() const { return m_font_file; }
std::string Config::getLogFile() const { return m_logfile; }
int Config::getRandomSeed() const { return m_random_seed; }
bool Config::getNetworking() const { return m_networking; }
int Config::getGridWidth() const { return m_grid_width; }
int Config::getGridHeight() const { return m_grid_height; }
int Config::getNetworkMessageTimeout() const { return m_network_message_timeout; }
int Config::getNetworkSilentTimeout() const { return m_network_silent_timeout; }

} // namespace vx
