// The configuration file: how it is read, parsed and reported.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "Config.h"
#include "TestSupport.h"

using vxtest::ScopedEnv;
using vxtest::TempDir;

namespace {

// Writes a configuration file and points VEXLO_CONFIG at it for the test.
class ConfigFile {
 private:
  TempDir m_dir;
  ScopedEnv m_env;

 public:
  explicit ConfigFile(const std::string &text) : m_env("VEXLO_CONFIG", m_dir.file("vx-config.txt")) {
    vxtest::writeFile(m_dir.file("vx-config.txt"), text);
  }
};

vx::Config &config() { return vx::Config::getInstance(); }

} // namespace

TEST(ConfigFileReading, JoinsLinesWithoutSeparatorsAndSkipsComments) {
  ConfigFile file("#comment\r\n\nframe_time:50,\r\n #not a comment,\nfont_scale:1.5\n");
  EXPECT_EQ(config().readConfig(), "frame_time:50, #not a comment,font_scale:1.5");
}

TEST(ConfigFileReading, LinesWithoutATrailingCommaRunIntoTheNextEntry) {
  {
    ConfigFile file("grid_width:50\nfont_scale:1.5\n");
    config().loadConfig();
    EXPECT_EQ(config().getGridWidth(), 50);
    EXPECT_FLOAT_EQ(config().getFontScale(), 2.0f);
  }
  {
    ConfigFile file("frame_time:60,\nfont_scale:1.5\n");
    config().loadConfig();
    EXPECT_EQ(config().getFrameTime(), 60);
    EXPECT_FLOAT_EQ(config().getFontScale(), 1.5f);
  }
}

TEST(ConfigFileReading, MissingFileKeepsTheDefaults) {
  vxtest::LogCapture log;
  ScopedEnv env("VEXLO_CONFIG", "/nonexistent/vx-config.txt");
  config().loadConfig();
  EXPECT_EQ(config().getConfig(), "");
  EXPECT_EQ(config().getFrameTime(), 33);
  EXPECT_EQ(config().getWindowTitle(), "Vexlo");
  // The message is at level 1, below the log's level 0.
  EXPECT_FALSE(log.contains("Cannot open"));
}

TEST(ConfigFileReading, DefaultFileNameIsInTheWorkingDirectory) {
  unsetenv("VEXLO_CONFIG");
  EXPECT_EQ(vx::Config::getConfigFileName(), "vx-config.txt");
  ScopedEnv env("VEXLO_CONFIG", "");
  EXPECT_EQ(vx::Config::getConfigFileName(), "");
}

TEST(ConfigParsing, DefaultsMatchTheDocumentedTable) {
  vx::Config &c = config();
  EXPECT_EQ(c.getWindowHorizontalPixels(), 1024);
  EXPECT_EQ(c.getWindowVerticalPixels(), 768);
  EXPECT_EQ(c.getWindowHorizontalChars(), 80);
  EXPECT_EQ(c.getWindowVerticalChars(), 24);
  EXPECT_EQ(c.getWindowStyle(), 5);
  EXPECT_EQ(c.getWindowState(), 0);
  EXPECT_EQ(c.getWindowBackgroundColor(), 0);
  EXPECT_EQ(c.getFrameTime(), 33);
  EXPECT_FLOAT_EQ(c.getFontScale(), 2.0f);
  EXPECT_EQ(c.getWindowTitle(), "Vexlo");
  EXPECT_FALSE(c.getShowMouse());
  EXPECT_FALSE(c.getHeadless());
  EXPECT_EQ(c.getFontFile(), "vx-font.ttf");
  EXPECT_EQ(c.getLogFile(), "vexlo.log");
  EXPECT_EQ(c.getRandomSeed(), 0);
  EXPECT_TRUE(c.getNetworking());
  EXPECT_EQ(c.getGridWidth(), 20);
  EXPECT_EQ(c.getGridHeight(), 8);
}

TEST(ConfigParsing, WhitespaceIsIgnoredEverywhere) {
  config().loadConfig("window_title: My Game ,\tframe_time : 4 0");
  EXPECT_EQ(config().getWindowTitle(), "MyGame");
  EXPECT_EQ(config().getFrameTime(), 40);
}

TEST(ConfigParsing, ValuesStopAtTheSecondColon) {
  config().loadConfig("font_file:C:\\fonts\\mono.ttf");
  EXPECT_EQ(config().getFontFile(), "C");
}

TEST(ConfigParsing, FirstOccurrenceWinsAndEmptyValuesKeepTheSetting) {
  config().loadConfig("frame_time:20,frame_time:30,window_title:,grid_width");
  EXPECT_EQ(config().getFrameTime(), 20);
  EXPECT_EQ(config().getWindowTitle(), "Vexlo");
  EXPECT_EQ(config().getGridWidth(), 20);
}

TEST(ConfigParsing, IntegersConvertLikeAtoiWithoutRangeChecks) {
  config().loadConfig("quadtree_depth:fast,window_horizontal_chars:-5,grid_height:12cells,"
                      "grid_width:99999999999,random_seed:-99999999999");
  EXPECT_EQ(config().getWindowHorizontalChars(), -5);
  EXPECT_EQ(config().getGridHeight(), 12);
  // Numbers beyond the range of int are clamped instead of overflowing.
  EXPECT_EQ(config().getGridWidth(), INT_MAX);
  EXPECT_EQ(config().getRandomSeed(), INT_MIN);
}

TEST(ConfigParsing, FrameTimeMustBeAWholeNumberFromZeroToOneSecond) {
  const std::pair<const char *, int> cases[] = {{"0", 0}, {"1000", 1000}, {"4 0", 40}, {"1001", 33},
      {"-5", 33}, {"1e12", 33}, {"40ms", 33}, {"fast", 33}, {"1000000000000", 33}, {"+", 33}};
  vxtest::LogCapture log;
  for (const auto &[value, expected] : cases) {
    const int refusals = (config().loadConfig("frame_time:33"), log.count("frame time"));
    config().loadConfig(std::string("frame_time:") + value);
    EXPECT_EQ(config().getFrameTime(), expected) << value;
    EXPECT_EQ(log.count("frame time") - refusals, expected == 33) << value;
  }
}

TEST(ConfigParsing, BooleansAreTrueOnlyForLowerCaseTrue) {
  config().loadConfig("show_mouse:true,headless:TRUE,networking:no");
  EXPECT_TRUE(config().getShowMouse());
  EXPECT_FALSE(config().getHeadless());
  EXPECT_FALSE(config().getNetworking());
}

TEST(ConfigParsing, ColourNamesAreLowerCaseOnly) {
  vxtest::LogCapture log;
  config().loadConfig("window_background_color:yellow");
  EXPECT_EQ(config().getWindowBackgroundColor(), 3);
  config().loadConfig("window_background_color:Blue");
  EXPECT_EQ(config().getWindowBackgroundColor(), 3);
  EXPECT_TRUE(log.contains("loadConfig(): Unsupported window color 'Blue'"));
}

TEST(ConfigParsing, WindowStyleNoneIsZeroButALiteralZeroIsRefused) {
  vxtest::LogCapture log;
  config().loadConfig("window_style:0");
  EXPECT_EQ(config().getWindowStyle(), 5);
  EXPECT_TRUE(log.contains("loadConfig(): Unsupported window style '0'"));
  config().loadConfig("window_style:none");
  EXPECT_EQ(config().getWindowStyle(), 0);
  config().loadConfig("window_style:7");
  EXPECT_EQ(config().getWindowStyle(), 7);
}

TEST(ConfigParsing, WindowStateAcceptsOnlyItsTwoNames) {
  vxtest::LogCapture log;
  config().loadConfig("window_state:fullscreen");
  EXPECT_EQ(config().getWindowState(), 1);
  config().loadConfig("window_state:maximised");
  EXPECT_EQ(config().getWindowState(), 1);
  EXPECT_TRUE(log.contains("loadConfig(): Unsupported window state 'maximised'"));
  config().loadConfig("window_state:default");
  EXPECT_EQ(config().getWindowState(), 0);
}

TEST(ConfigParsing, AnEntryOfColonsEndsTheReading) {
  config().loadConfig("frame_time:10,::,grid_width:99");
  EXPECT_EQ(config().getFrameTime(), 10);
  EXPECT_EQ(config().getGridWidth(), 20);
}

TEST(ConfigReport, IsWrittenAtLevelOneAndSoDroppedAtLevelZero) {
  vxtest::LogCapture log;
  config().logConfig();
  EXPECT_TRUE(log.messages().empty());
}

TEST(ConfigParsing, DisplayKindsAndHeadlessAsNoDisplay) {
  unsetenv("VEXLO_DISPLAY");
  const struct {
    const char *config;
    const char *display;
  } cases[] = {
      {"headless:false,display:window,", "window"},
      {"headless:false,display:terminal,", "terminal"},
      {"headless:false,display:none,", "none"},
      {"headless:true,display:window,", "none"},
      {"headless:true,display:terminal,", "none"},
  };
  for (const auto &c : cases) {
    vx::Config::getInstance().loadConfig(c.config);
    EXPECT_EQ(vx::Config::getInstance().getDisplay(), c.display) << c.config;
    EXPECT_EQ(vx::Config::getInstance().getHeadless(), std::string(c.display) == "none")
        << c.config;
  }
}
