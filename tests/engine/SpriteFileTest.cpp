// Loading sprite files of both formats: what loads, what is refused, and the
// exact messages and line numbers of every refusal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SpriteFile : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;
  vxtest::TempDir m_dir;
  vx::ResourceManager &m_rm = vx::ResourceManager::getInstance();
  std::vector<std::string> m_messages; // What the last load() wrote.
  int m_files = 0;                     // Sprite files written so far.

  void SetUp() override { ASSERT_EQ(m_rm.startUp(), 0); }

  // Writes the text as a sprite file and loads it under the label. A refused
  // file must leave the tables as they were.
  int load(const std::string &text, const std::string &label = "s") {
    // A new file each time: rewriting one in place makes the file system flush
    // it on every close.
    const std::string path = m_dir.file("sprite" + std::to_string(++m_files) + ".txt");
    vxtest::writeFile(path, text);
    const std::size_t before = m_log.messages().size();
    const int count = m_rm.getSpriteCount();
    const int result = m_rm.loadSprite(path, label);
    const std::vector<std::string> all = m_log.messages();
    m_messages.assign(all.begin() + static_cast<long>(before), all.end());
    EXPECT_EQ(m_rm.getSpriteCount(), result == 0 ? count + 1 : count);
    return result;
  }

  // The messages of a refused simple file: the loader's, then the verdict.
  std::vector<std::string> refused(std::vector<std::string> lines) {
    lines.push_back("RM::loadSprite(): Sprite 's' NOT loaded.");
    return lines;
  }

  vx::Sprite *loaded(const std::string &label = "s") { return m_rm.getSprite(label); }
};

const std::string SIMPLE = "2\n3\n2\n4\ngreen\nabc\ndef\nghi\njkl\n";

std::string robust(const std::string &header, const std::string &body,
                   const std::string &footer = "<FOOTER>\nversion 1\n</FOOTER>\n") {
  return "<HEADER>\n" + header + "</HEADER>\n<BODY>\n" + body + "</BODY>\n" + footer;
}

// Line numbers: 1 <HEADER>, 2-7 settings, 8 </HEADER>, 9 <BODY>, 10-15 two
// frames with their "end" lines, 16 </BODY>, 17 <FOOTER>, 18 version, 19 </FOOTER>.
const std::string HEADER = "frames 2\nwidth 3\nheight 2\ncolor red\ntransparency #\nslowdown 5\n";
const std::string BODY = "a#c\ndef\nend\nghi\njkl\nend\n";

std::string replaceAll(std::string text, const std::string &from, const std::string &to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// ---------------------------------------------------------------------------
// Choosing the format
// ---------------------------------------------------------------------------

TEST_F(SpriteFile, FirstLineZeroOrAWordIsAnUnknownFormat) {
  for (const std::string first : {"0", "sprite", "", "-3", "<header>", "<HEADER> "}) {
    EXPECT_EQ(load(first + "\n3\n2\n4\ngreen\nabc\ndef\n"), -1) << first;
    EXPECT_THAT(m_messages, ElementsAre("RM::loadSprite(): Error! Unknown sprite file format.",
                                        "RM::loadSprite(): First line is '" + first + "'.",
                                        "RM::loadSprite(): Sprite 's' NOT loaded."));
  }
  EXPECT_EQ(load(""), -1);
  EXPECT_THAT(m_messages, ElementsAre("RM::loadSprite(): Error! Unknown sprite file format.",
                                      "RM::loadSprite(): First line is ''.",
                                      "RM::loadSprite(): Sprite 's' NOT loaded."));
}

TEST_F(SpriteFile, MissingFileIsReportedWithItsName) {
  const std::string path = m_dir.file("nothing.txt");
  EXPECT_EQ(m_rm.loadSprite(path, "ghost"), -1);
  EXPECT_THAT(m_log.messages(),
              ElementsAre("RM::loadSprite(): Error! Cannot open file '" + path + "'.",
                          "RM::loadSprite(): Sprite 'ghost' not loaded."));
  EXPECT_EQ(m_rm.getSpriteCount(), 0);
}

// ---------------------------------------------------------------------------
// The simple format
// ---------------------------------------------------------------------------

TEST_F(SpriteFile, SimpleFileLoads) {
  ASSERT_EQ(load(SIMPLE, "fly"), 0);
  EXPECT_THAT(m_messages, IsEmpty());
  vx::Sprite *p_sprite = loaded("fly");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getLabel(), "fly");
  EXPECT_EQ(p_sprite->getFrameCount(), 2);
  EXPECT_EQ(p_sprite->getWidth(), 3);
  EXPECT_EQ(p_sprite->getHeight(), 2);
  EXPECT_EQ(p_sprite->getSlowdown(), 4);
  EXPECT_EQ(p_sprite->getColor(), vx::GREEN);
  EXPECT_EQ(p_sprite->getTransparency(), 0);
  EXPECT_EQ(p_sprite->getFrame(0).getString(), "abcdef");
  EXPECT_EQ(p_sprite->getFrame(1).getString(), "ghijkl");
  EXPECT_EQ(p_sprite->getFrame(1).getWidth(), 3);
  EXPECT_EQ(p_sprite->getFrame(1).getHeight(), 2);
}

TEST_F(SpriteFile, SimpleFileWithCarriageReturnsLoads) {
  ASSERT_EQ(load(replaceAll(SIMPLE, "\n", "\r\n")), 0);
  EXPECT_EQ(loaded()->getColor(), vx::GREEN);
  EXPECT_EQ(loaded()->getFrame(0).getString(), "abcdef");
  EXPECT_EQ(loaded()->getFrame(1).getString(), "ghijkl");
}

TEST_F(SpriteFile, SimpleNumbersIgnoreTextAfterTheDigitsAndRowsKeepBlanks) {
  ASSERT_EQ(load("1 frame\n 3 wide\n+1\n0 (every step)\nwhite\n a \n"), 0);
  EXPECT_EQ(loaded()->getFrameCount(), 1);
  EXPECT_EQ(loaded()->getWidth(), 3);
  EXPECT_EQ(loaded()->getSlowdown(), 0);
  EXPECT_EQ(loaded()->getColor(), vx::WHITE);
  EXPECT_EQ(loaded()->getFrame(0).getString(), " a ");
}

TEST_F(SpriteFile, SimpleColorsMapToTheirValues) {
  const char *const names[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
  for (int color = vx::BLACK; color <= vx::WHITE; color++) {
    const std::string label = names[color];
    ASSERT_EQ(load("1\n1\n1\n1\n" + label + "\nx\n", label), 0) << label;
    EXPECT_EQ(loaded(label)->getColor(), color);
  }
}

TEST_F(SpriteFile, SimpleFileMayEndWithOneLineBreakOrNone) {
  EXPECT_EQ(load("1\n3\n1\n0\nred\nabc"), 0);
  EXPECT_EQ(load("1\n3\n1\n0\nred\nabc\n"), 0);
  EXPECT_EQ(load("1\n3\n1\n0\nred\nabc\r\n"), 0);
  EXPECT_THAT(m_messages, IsEmpty());
}

TEST_F(SpriteFile, SimpleFileWithTwoLineBreaksAtTheEndIsRefused) {
  EXPECT_EQ(load(SIMPLE + "\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 10!", "\tExtra file data: ''"}));
  // The carriage return of the extra line is not quoted.
  EXPECT_EQ(load(replaceAll(SIMPLE, "\n", "\r\n") + "\r\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 10!", "\tExtra file data: ''"}));
}

TEST_F(SpriteFile, SimpleFileWithDataAfterTheLastFrameIsRefused) {
  EXPECT_EQ(load(SIMPLE + "mno\npqr\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 10!", "\tExtra file data: 'mno'"}));
  // Even without a line break after it.
  EXPECT_EQ(load(SIMPLE + "z"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 10!", "\tExtra file data: 'z'"}));
}

TEST_F(SpriteFile, SimpleMissingHeaderLines) {
  EXPECT_EQ(load("2\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing width (an integer)."}));
  // Without a final line break the end of the file is met before the read.
  EXPECT_EQ(load("2"), -1);
  EXPECT_EQ(m_messages, refused({"getLine(): Error! Unexpected end of file.",
                                 "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing width (an integer)."}));
  EXPECT_EQ(load("2\n3\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing height (an integer)."}));
  EXPECT_EQ(load("2\n3\n2\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing slowdown (an integer)."}));
  EXPECT_EQ(load("2\n3\n2\n4\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing color (a string)."}));
  // An empty line is the end of the data too.
  EXPECT_EQ(load("2\n\n2\n4\ngreen\nabc\ndef\nghi\njkl\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tMissing width (an integer)."}));
}

TEST_F(SpriteFile, SimpleNumbersOutOfRange) {
  EXPECT_EQ(load("2\n0\n2\n4\ngreen\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 2! Width is '0'."}));
  EXPECT_EQ(load("2\nwide\n2\n4\ngreen\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 2! Width is 'wide'."}));
  EXPECT_EQ(load("2\n3\n-2\n4\ngreen\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 3! Height is '-2'."}));
  EXPECT_EQ(load("2\n3\n2\n-1\ngreen\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."}));
}

TEST_F(SpriteFile, SimpleColorMustBeALowerCaseNameAlone) {
  for (const std::string color : {"Green", "green ", "purple", "default"}) {
    EXPECT_EQ(load("2\n3\n2\n4\n" + color + "\nabc\ndef\nghi\njkl\n"), -1);
    EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 5! Unrecognized color '" + color + "'.",
                                   "  Valid colors are: black, red, green, yellow,",
                                   "                    blue, magenta, cyan or white."}));
  }
}

TEST_F(SpriteFile, SimpleRowOfTheWrongWidth) {
  EXPECT_EQ(load("2\n3\n2\n4\ngreen\nabc\ndef\nghij\njkl\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 8!", "\tLine  8: 'ghij'",
                                 "\tWidth is 4, expected 3."}));
  EXPECT_EQ(load("1\n3\n12\n4\ngreen\nabc\nabc\nabc\nabc\nabc\nabc\nabc\nabc\nabc\nab\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 15!", "\tLine 15: 'ab'",
                                 "\tWidth is 2, expected 3."}));
}

TEST_F(SpriteFile, SimpleFileEndingInsideAFrame) {
  EXPECT_EQ(load("2\n3\n2\n4\ngreen\nabc\ndef\nghi\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tReading frame 2 of 2, row 2 of 2."}));
  EXPECT_EQ(load("2\n3\n2\n4\ngreen\nabc\ndef\nghi"), -1);
  EXPECT_EQ(m_messages, refused({"getLine(): Error! Unexpected end of file.",
                                 "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tReading frame 2 of 2, row 2 of 2."}));
  // An empty row ends the data as well.
  EXPECT_EQ(load("2\n3\n2\n4\ngreen\nabc\n\nghi\njkl\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tReading frame 1 of 2, row 2 of 2."}));
}

TEST_F(SpriteFile, SimpleHeaderClaimingMoreThanTheFileHoldsIsRefused) {
  EXPECT_EQ(load("2000000000\n3\n2\n0\nred\nabc\ndef\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tReading frame 2 of 2000000000, row 1 of 2."}));
  // Numbers beyond the range of int are clamped rather than wrapped.
  EXPECT_EQ(load("99999999999999999999\n3\n99999999999\n0\nred\nabc\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error! Unexpected end of file.",
                                 "\tReading frame 1 of 2147483647, row 2 of 2147483647."}));
  EXPECT_EQ(load("1\n2147483647\n1\n0\nred\nabc\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'abc'",
                                 "\tWidth is 3, expected 2147483647."}));
  EXPECT_EQ(load("1\n3\n-99999999999\n0\nred\nabc\n"), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadSimpleSprite(): Error line 3! Height is '-99999999999'."}));
}

// ---------------------------------------------------------------------------
// The robust format
// ---------------------------------------------------------------------------

TEST_F(SpriteFile, RobustFileLoads) {
  ASSERT_EQ(load(robust(HEADER, BODY), "swatter"), 0);
  EXPECT_THAT(m_messages, IsEmpty());
  vx::Sprite *p_sprite = loaded("swatter");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getFrameCount(), 2);
  EXPECT_EQ(p_sprite->getWidth(), 3);
  EXPECT_EQ(p_sprite->getHeight(), 2);
  EXPECT_EQ(p_sprite->getSlowdown(), 5);
  EXPECT_EQ(p_sprite->getColor(), vx::RED);
  EXPECT_EQ(p_sprite->getTransparency(), '#');
  EXPECT_EQ(p_sprite->getFrame(0).getString(), "a#cdef");
  EXPECT_EQ(p_sprite->getFrame(1).getString(), "ghijkl");
}

TEST_F(SpriteFile, RobustFileWithCarriageReturnsAndNoFinalLineBreakLoads) {
  std::string text = replaceAll(robust(HEADER, BODY), "\n", "\r\n");
  text.erase(text.size() - 2); // No line break after "</FOOTER>".
  ASSERT_EQ(load(text), 0);
  EXPECT_EQ(loaded()->getColor(), vx::RED);
  EXPECT_EQ(loaded()->getTransparency(), '#');
  EXPECT_EQ(loaded()->getFrame(1).getString(), "ghijkl");
}

TEST_F(SpriteFile, RobustOptionalSettingsHaveDefaults) {
  ASSERT_EQ(load(robust("frames 1\nwidth 3\nheight 1\n", "abc\nend\n")), 0);
  EXPECT_THAT(m_messages, IsEmpty());
  EXPECT_EQ(loaded()->getColor(), vx::WHITE);
  EXPECT_EQ(loaded()->getTransparency(), 0);
  EXPECT_EQ(loaded()->getSlowdown(), 0);
}

TEST_F(SpriteFile, RobustColorNames) {
  ASSERT_EQ(load(robust("frames 1\nwidth 1\nheight 1\ncolor default\n", "x\nend\n"), "d"), 0);
  EXPECT_EQ(loaded("d")->getColor(), vx::WHITE);
  ASSERT_EQ(load(robust("frames 1\nwidth 1\nheight 1\ncolor magenta\n", "x\nend\n"), "m"), 0);
  EXPECT_EQ(loaded("m")->getColor(), vx::MAGENTA);

  EXPECT_EQ(load(robust("frames 1\nwidth 1\nheight 1\ncolor Red\n", "x\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Unrecognized color 'Red'.",
                                 "  Valid colors are: black, red, green, yellow,",
                                 "                    blue, magenta, cyan and white."}));
}

TEST_F(SpriteFile, RobustTransparencyQuotedBlankAndFirstCharacter) {
  ASSERT_EQ(load(robust("frames 1\nwidth 3\nheight 1\ntransparency \" \"\n", "a b\nend\n"), "blank"), 0);
  EXPECT_EQ(loaded("blank")->getTransparency(), ' ');
  ASSERT_EQ(load(robust("frames 1\nwidth 3\nheight 1\ntransparency:#\n", "a#b\nend\n"), "hash"), 0);
  EXPECT_EQ(loaded("hash")->getTransparency(), '#');
  // Only the first character of a longer value counts; a bare key is no setting.
  ASSERT_EQ(load(robust("frames 1\nwidth 3\nheight 1\ntransparency *+-\n", "a*b\nend\n"), "star"), 0);
  EXPECT_EQ(loaded("star")->getTransparency(), '*');
  ASSERT_EQ(load(robust("frames 1\nwidth 3\nheight 1\ntransparency\n", "a b\nend\n"), "none"), 0);
  EXPECT_EQ(loaded("none")->getTransparency(), 0);
}

TEST_F(SpriteFile, RobustKeysTakeAnySeparatorAndTheLastDuplicateWins) {
  ASSERT_EQ(load(robust("frames=1\nwidth:2\nwidth 3\nheight 1\nslowdown  7\nauthor me\n", "abc\nend\n")),
            0);
  EXPECT_THAT(m_messages, IsEmpty()); // The duplicate and the unused line are only level-1 notes.
  EXPECT_EQ(loaded()->getWidth(), 3);
  EXPECT_EQ(loaded()->getSlowdown(), 7);
}

TEST_F(SpriteFile, RobustMissingRequiredSettings) {
  for (const std::string key : {"frames", "width", "height"}) {
    std::string header = "frames 1\nwidth 1\nheight 1\n";
    header = replaceAll(header, key + " 1\n", "");
    EXPECT_EQ(load(robust(header, "x\nend\n")), -1);
    EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Missing '" + key + "' in header."}));
  }
  // A value of -1 counts as missing.
  EXPECT_EQ(load(robust("frames 1\nwidth -1\nheight 1\n", "x\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Missing 'width' in header."}));
}

TEST_F(SpriteFile, RobustSectionsMustBeOpenedAndClosed) {
  // An empty header is refused with nothing but the verdict.
  EXPECT_EQ(load("<HEADER>\n</HEADER>\n<BODY>\nx\nend\n</BODY>\n"), -1);
  EXPECT_EQ(m_messages, refused({}));

  EXPECT_EQ(load("<HEADER>\nframes 1\n"), -1);
  EXPECT_EQ(m_messages, refused({"readData(): Error! Stop at line 2, never encountered '</HEADER>'."}));

  EXPECT_EQ(load("<HEADER>\nframes 1\nwidth 1\nheight 1\n</HEADER>\n<Body>\nx\nend\n</BODY>\n"), -1);
  EXPECT_EQ(m_messages, refused({"readData(): Error line 6! Expected '<BODY>', have '<Body>'."}));

  // An empty line inside a section ends the reading.
  EXPECT_EQ(load(robust("frames 1\nwidth 1\nheight 1\n", "x\n\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"readData(): Error! Stop at line 7, never encountered '</BODY>'."}));
}

TEST_F(SpriteFile, RobustRowOfTheWrongLength) {
  EXPECT_EQ(load(robust(HEADER, "a#c\ndefg\nend\nghi\njkl\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 11: Line length is 4 (frame width is 3).",
                                 "\tLine 11: 'defg'",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
}

TEST_F(SpriteFile, RobustFrameWithOneRowTooManyMissesItsEnd) {
  EXPECT_EQ(load(robust(HEADER, "a#c\ndef\nend\nghi\njkl\nmno\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 15: Expected 'end'.", "\tLine 15: 'mno'",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
}

TEST_F(SpriteFile, RobustBodyWithFewerFramesThanTheHeaderSays) {
  EXPECT_EQ(load(robust(replaceAll(HEADER, "frames 2", "frames 3"), BODY)), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 16: No more frame data before 'end'.",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
  // The rows are there but the closing "end" is not.
  EXPECT_EQ(load(robust(HEADER, "a#c\ndef\nend\nghi\njkl\n")), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 15: No more frame data before 'end'.",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
}

TEST_F(SpriteFile, RobustBodyWithMoreFramesThanTheHeaderSays) {
  EXPECT_EQ(load(robust(replaceAll(HEADER, "frames 2", "frames 1"), BODY)), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 13: ghi",
                                 "\tLine 14: jkl", "\tLine 15: end"}));
  // Zero frames read nothing, so the whole body is left over.
  EXPECT_EQ(load(robust("frames 0\nwidth 1\nheight 1\n", "x\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 7: x",
                                 "\tLine 8: end"}));
  // A key alone reads as 0.
  EXPECT_EQ(load(robust("frames\nwidth 1\nheight 1\n", "x\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 7: x",
                                 "\tLine 8: end"}));
}

TEST_F(SpriteFile, RobustFooterAndVersion) {
  EXPECT_EQ(load(robust(HEADER, BODY, "")), -1);
  EXPECT_EQ(m_messages, refused({"readData(): Error line 17! Expected '<FOOTER>', have ''."}));

  EXPECT_EQ(load(robust(HEADER, BODY, "<FOOTER>\nauthor me\n</FOOTER>\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 19)."}));

  EXPECT_EQ(load(robust(HEADER, BODY, "<FOOTER>\n</FOOTER>\n")), -1);
  EXPECT_EQ(m_messages, refused({}));

  // Extra footer lines are only noted; nothing after the footer is read.
  EXPECT_EQ(load(robust(HEADER, BODY, "<FOOTER>\nauthor me\nversion 2\n</FOOTER>\ntrailing\n\n")), 0);
  EXPECT_THAT(m_messages, IsEmpty());
}

TEST_F(SpriteFile, RobustHeaderClaimingMoreThanTheBodyHoldsIsRefused) {
  EXPECT_EQ(load(robust(replaceAll(HEADER, "frames 2", "frames 2147483647"), BODY)), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 16: No more frame data before 'end'.",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
  // A huge height takes every body line as a row, "end" included.
  EXPECT_EQ(load(robust(replaceAll(HEADER, "height 2", "height 99999999999"), BODY)), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 16: No more frame data before 'end'.",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
  EXPECT_EQ(load(robust(replaceAll(HEADER, "width 3", "width 2147483647"), BODY)), -1);
  EXPECT_EQ(m_messages, refused({"\tError! Line 10: Line length is 3 (frame width is 2147483647).",
                                 "\tLine 10: 'a#c'",
                                 "RM::loadRobustSprite(): Error! No frame data to add."}));
}

TEST_F(SpriteFile, RobustHeightOfZeroOrANegativeFrameCount) {
  EXPECT_EQ(load(robust("frames 1\nwidth 3\nheight 0\n", "end\n")), -1);
  EXPECT_EQ(m_messages, refused({"RM::loadRobustSprite(): Error! No frame data to add."}));
  EXPECT_EQ(load(robust("frames -5\nwidth 1\nheight 1\n", "x\nend\n")), -1);
  EXPECT_EQ(m_messages, refused({"Sprite::Sprite(): Error! Unable to allocate -5 frames.",
                                 "RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 7: x",
                                 "\tLine 8: end"}));
}

// ---------------------------------------------------------------------------
// The table
// ---------------------------------------------------------------------------

TEST_F(SpriteFile, FailedLoadsLeaveEarlierSpritesInPlace) {
  ASSERT_EQ(load(SIMPLE, "first"), 0);
  vx::Sprite *p_first = loaded("first");
  EXPECT_EQ(load(SIMPLE + "\n", "second"), -1);
  EXPECT_EQ(load(robust(HEADER, "a#c\nend\n"), "second"), -1);
  ASSERT_EQ(load(robust(HEADER, BODY), "second"), 0);
  EXPECT_EQ(m_rm.getSpriteCount(), 2);
  EXPECT_EQ(loaded("first"), p_first);
  EXPECT_EQ(loaded("second")->getTransparency(), '#');
}

TEST_F(SpriteFile, NotStartedRefusesEveryLoad) {
  m_rm.shutDown();
  const std::size_t before = m_log.messages().size();
  EXPECT_EQ(m_rm.loadSprite(m_dir.file("any.txt"), "s"), -1);
  EXPECT_EQ(m_log.messages().size(), before + 1);
  EXPECT_EQ(m_log.messages().back(), "ResourceManager not started!");
}

} // namespace
