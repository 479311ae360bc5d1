// Thousands of damaged sprite files, made deterministically from valid ones:
// byte changes, truncations, replaced, dropped and doubled lines, absurd
// numbers. Every load must either store a consistent sprite or refuse the file
// and leave the table as it was; none may crash (the sanitizer build checks
// memory as well).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

namespace {

const std::string SIMPLE = "2\n3\n2\n4\ngreen\nabc\ndef\nghi\njkl\n";
const std::string ROBUST =
    "<HEADER>\nframes 2\nwidth 3\nheight 2\ncolor red\ntransparency \" \"\nslowdown 5\n</HEADER>\n"
    "<BODY>\na c\ndef\nend\nghi\njkl\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";

std::vector<std::string> splitLines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

std::string joinLines(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\n";
  return text;
}

std::string withCarriageReturns(const std::string &text) {
  std::string out;
  for (char ch : text)
    out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  return out;
}

// Every damaged variant of one valid file.
std::vector<std::string> mutations(const std::string &valid) {
  std::vector<std::string> out;
  for (std::size_t length = 0; length < valid.size(); length++)
    out.push_back(valid.substr(0, length));

  const std::string bytes("\n\r\0 09-#x<>/e\xff", 14);
  for (std::size_t at = 0; at < valid.size(); at++)
    for (char byte : bytes)
      if (valid[at] != byte) {
        std::string text = valid;
        text[at] = byte;
        out.push_back(text);
      }

  const std::vector<std::string> values = {
      "", "-1", "0", "1", "2147483647", "2147483648", "-2147483648", "99999999999999999999",
      "<HEADER>", "</HEADER>", "<BODY>", "</BODY>", "end", "frames 1000000000",
      "height 1000000000", "width 1000000000", "frames -7", "height 0", "width 0",
      "transparency", "color", "version", "\r", "   "};
  const std::vector<std::string> lines = splitLines(valid);
  for (std::size_t i = 0; i < lines.size(); i++) {
    for (const std::string &value : values) {
      std::vector<std::string> changed = lines;
      changed[i] = value;
      out.push_back(joinLines(changed));
    }
    std::vector<std::string> dropped = lines;
    dropped.erase(dropped.begin() + static_cast<long>(i));
    out.push_back(joinLines(dropped));
    std::vector<std::string> doubled = lines;
    doubled.insert(doubled.begin() + static_cast<long>(i), lines[i]);
    out.push_back(joinLines(doubled));
  }

  // Several bytes changed at once, from a fixed pseudo-random sequence.
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7fffu;
  };
  for (int n = 0; n < 400; n++) {
    std::string text = valid;
    const int changes = 1 + static_cast<int>(next() % 4);
    for (int c = 0; c < changes; c++)
      text[next() % text.size()] = static_cast<char>(next() & 0xff);
    out.push_back(text);
  }
  return out;
}

// A stored sprite must be whole: frames all present and of its size.
void expectConsistent(const vx::Sprite &sprite, const std::string &label) {
  EXPECT_EQ(sprite.getLabel(), label);
  EXPECT_GE(sprite.getFrameCount(), 1);
  EXPECT_GE(sprite.getWidth(), 1);
  EXPECT_GE(sprite.getHeight(), 1);
  for (int i = 0; i < sprite.getFrameCount(); i++) {
    const vx::Frame frame = sprite.getFrame(i);
    EXPECT_EQ(frame.getWidth(), sprite.getWidth());
    EXPECT_EQ(frame.getHeight(), sprite.getHeight());
    EXPECT_EQ(frame.getString().size(),
              static_cast<std::size_t>(sprite.getWidth()) * static_cast<std::size_t>(sprite.getHeight()));
  }
}

TEST(SpriteFileMutation, DamagedFilesLoadWholeOrNotAtAll) {
  vxtest::LogCapture log;
  vxtest::TempDir dir;
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  ASSERT_EQ(rm.startUp(), 0);

  std::vector<std::string> inputs;
  for (const std::string &valid : {SIMPLE, ROBUST, withCarriageReturns(SIMPLE), withCarriageReturns(ROBUST)})
    for (std::string &text : mutations(valid))
      inputs.push_back(std::move(text));
  ASSERT_GT(inputs.size(), 3000u);

  int loaded = 0;
  for (std::size_t i = 0; i < inputs.size(); i++) {
    if (rm.getSpriteCount() == vx::MAX_SPRITES) {
      rm.shutDown();
      ASSERT_EQ(rm.startUp(), 0);
    }
    // A new file each time: rewriting one file in place makes the file system
    // flush it to disk on every close, which is slow.
    const std::string path = dir.file("mutant" + std::to_string(i) + ".txt");
    vxtest::writeFile(path, inputs[i]);
    const std::string label = "m" + std::to_string(i);
    const int count = rm.getSpriteCount();
    const int result = rm.loadSprite(path, label);
    if (result == 0) {
      loaded++;
      ASSERT_EQ(rm.getSpriteCount(), count + 1) << "input " << i;
      const vx::Sprite *p_sprite = rm.getSprite(label);
      ASSERT_NE(p_sprite, nullptr) << "input " << i;
      expectConsistent(*p_sprite, label);
    } else {
      ASSERT_EQ(result, -1) << "input " << i;
      ASSERT_EQ(rm.getSpriteCount(), count) << "input " << i;
    }
    std::remove(path.c_str());
  }
  // Some damage is harmless (a changed row character, a colour still valid).
  EXPECT_GT(loaded, 0);
  EXPECT_LT(loaded, static_cast<int>(inputs.size()));
  // Every refusal was explained.
  EXPECT_EQ(log.count("Sprite 'm"), static_cast<int>(inputs.size()) - loaded);
  rm.shutDown();
}

} // namespace
