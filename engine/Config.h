/// \file
/// Every engine setting a user can change without rebuilding: read once at
/// start-up from the optional configuration file.
#ifndef VX_CONFIG_H
#define VX_CONFIG_H

#include <string>

namespace vx {

/// The longest frame time a configuration may ask for, in milliseconds.
const int MAX_FRAME_TIME = 1000;

/// Every engine setting a user can change without rebuilding, read once at start-up from the
/// optional configuration file (vx-config.txt, or $VEXLO_CONFIG) by GameManager::startUp. The
/// getters give the values in effect; the configuration page lists the keys.
class Config {
 private:
  Config();

  std::string m_config;               // The configuration text as read.
  int m_window_horizontal_pixels;     // Window width in pixels.
  int m_window_vertical_pixels;       // Window height in pixels.
  int m_window_horizontal_chars;      // Window width in character cells.
  int m_window_vertical_chars;        // Window height in character cells.
  int m_window_style;                 // Style bits: 1 title bar, 2 resize, 4 close.
  int m_window_state;                 // 0 ordinary window, 1 full screen.
  int m_window_background_color;      // A Color value.
  int m_frame_time;                   // Target duration of one step, ms.
  float m_font_scale;                 // Character size relative to the cell.
  std::string m_window_title;
  bool m_show_mouse;
  bool m_headless;                    // Run without a window.
  std::string m_font_file;
  std::string m_logfile;
  int m_random_seed;                  // 0 seeds from the time, -1 leaves the generator unseeded.
  bool m_networking;                  // Use the network manager.
  int m_quadtree_threshold;           // Accepted and stored only.
  int m_quadtree_depth;               // Accepted and stored only.
  int m_grid_width;                   // Scene-graph grid cell width, cells.
  int m_grid_height;                  // Scene-graph grid cell height, cells.
  bool m_signals;                     // Accepted and stored only.
  std::string m_record_file;          // Record the game to this file ("" not at all).
  std::string m_replay_file;          // Replay the game recorded in this file.
  bool m_terminal;                    // Shown in the terminal rather than a window.
  int m_network_message_timeout;      // See PARTIAL_MESSAGE_TIMEOUT_MS, ms.
  int m_network_silent_timeout;       // See SILENT_CONNECTION_TIMEOUT_MS, ms.

  // Sets the frame time from a configuration value: a whole number from 0 to
  // MAX_FRAME_TIME; anything else is refused with a log line.
  void loadFrameTime(const std::string &value);

 public:
  ///@{
  /// Not copyable: a singleton.
  Config(const Config &) = delete;
  Config &operator=(const Config &) = delete;
  ///@}

  /// The one configuration, with the defaults until loadConfig() ran.
  static Config &getInstance();

  /// The name of the configuration file: $VEXLO_CONFIG, or "vx-config.txt".
  static std::string getConfigFileName();

  /// The file's non-empty, non-comment lines joined without separators; "" when
  /// it cannot be opened.
  std::string readConfig() const;

  /// Sets every setting the text names; an empty text reads the file first.
  void loadConfig(std::string config = "");

  /// Writes the configuration report to the log.
  void logConfig() const;

  /// The configuration text as read (comments and line ends gone).
  std::string getConfig() const;
  ///@{
  /// The window's size in pixels ("window_horizontal_pixels", "window_vertical_pixels"; 1024 x
  /// 768; 0 is the desktop's).
  int getWindowHorizontalPixels() const;
  int getWindowVerticalPixels() const;
  ///@}
  ///@{
  /// The grid's size in cells ("window_horizontal_chars", "window_vertical_chars"; 80 x 24).
  int getWindowHorizontalChars() const;
  int getWindowVerticalChars() const;
  ///@}
  /// The window style bits: 1 title bar, 2 resizable, 4 close button (5).
  int getWindowStyle() const;
  /// 0 for an ordinary window, 1 for full screen.
  int getWindowState() const;
  /// The Color the window is cleared to (BLACK).
  int getWindowBackgroundColor() const;
  /// The target duration of a step, milliseconds (33); 0 runs without sleeping.
  int getFrameTime() const;
  /// The character size relative to the smaller side of a cell (2.0).
  float getFontScale() const;
  /// The window's title ("Vexlo").
  std::string getWindowTitle() const;
  /// Whether the mouse cursor shows over the window (false).
  bool getShowMouse() const;
  /// Whether the game runs without a window, drawing and input (false).
  bool getHeadless() const;
  /// Whether the display is the terminal ("display:terminal", or
  /// VEXLO_DISPLAY=terminal, which overrides the file) instead of a window.
  bool getTerminal() const;
  /// The display the game is shown on: "window", "terminal" or "none"
  /// (headless, by "display:none" or "headless:true").
  std::string getDisplay() const;
  /// The TrueType font file ("vx-font.ttf", relative to the working directory).
  std::string getFontFile() const;
  /// The log file's name from the configuration ("vexlo.log"); VEXLO_LOG overrides it.
  std::string getLogFile() const;
  /// The random seed: 0 seeds from the clock, -1 leaves the generator unseeded, else the seed.
  int getRandomSeed() const;
  /// Whether the network manager starts (true).
  bool getNetworking() const;
  ///@{
  /// The collision grid's cell size, in character cells (20 x 8).
  int getGridWidth() const;
  int getGridHeight() const;
  ///@}
  ///@{
  /// "record_file" and "replay_file", or VEXLO_RECORD and VEXLO_REPLAY when set.
  std::string getRecordFile() const;
  std::string getReplayFile() const;
  ///@}

  /// A replay runs the game at its record's frame time.
  void setFrameTime(int frame_time);

  /// The font a game brings along, set before start-up: the key "font_file"
  /// still wins when the configuration names one.
  void setFontFile(const std::string &font_file);

  ///@{
  /// How long the network manager lets a message take to arrive once begun,
  /// and an accepted connection stay silent, in milliseconds (0: no limit).
  int getNetworkMessageTimeout() const;
  int getNetworkSilentTimeout() const;
  ///@}
};

} // namespace vx

#endif // VX_CONFIG_H
