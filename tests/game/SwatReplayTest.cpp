// Records of swat games replayed by the program itself: a bot's game replays
// step for step, a changed click shows up as a divergence no earlier than the
// click, bad records are refused with the reason, and the game kept in
// tests/game/data still plays the same (a change of the game's rules shows up
// here; VEXLO_UPDATE_RECORD=1 records it anew after an intended change).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "RecordReader.h"
#include "RecordWriter.h"
#include "SwatRecording.h"

namespace {

const std::string KEPT_GAME = std::string(VEXLO_SOURCE_DIR) + "/tests/game/data/swat-game.vxr";

bool contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

// The step a divergence report names, or -1.
int divergedAt(const std::string &error) {
  const std::string mark = "diverged from the record at step ";
  const size_t at = error.find(mark);
  return at == std::string::npos ? -1 : std::atoi(error.c_str() + at + mark.size());
}

} // namespace

TEST(SwatReplay, ABotGameReplaysTheSameTwiceAndAChangedClickDivergesNoEarlier) {
  vxtest::TempDir dir;
  const std::string path = dir.file("game.vxr");
  vxtest::recordBotGame(path, 4242, 2100);
  vx::RecordReader reader;
  ASSERT_EQ(reader.load(path), 0) << reader.getError();
  ASSERT_GE(reader.getStepCount(), 2000);
  // A ten-minute game at this rate stays well under a megabyte.
  EXPECT_LT(std::filesystem::file_size(path) * 18000 / reader.getStepCount(), 1000000u);

  for (int run = 0; run < 2; run++) {
    const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + path + "' --fast");
    EXPECT_EQ(replay.exit_code, 0) << replay.err;
    EXPECT_TRUE(contains(replay.out, "Replay matched the record: " +
                                         std::to_string(reader.getStepCount()) + " steps."))
        << replay.out;
  }

  // Moves the middle click of the game somewhere else.
  std::vector<vx::RecordStep> steps = reader.getSteps();
  std::vector<vx::RecordedInput *> clicks;
  std::vector<int> click_steps;
  for (vx::RecordStep &step : steps)
    for (vx::RecordedInput &input : step.inputs)
      if (input.kind == vx::INPUT_MOUSE && input.action == vx::CLICKED) {
        clicks.push_back(&input);
        click_steps.push_back(step.step);
      }
  ASSERT_GT(clicks.size(), 10u) << "the bot did not play";
  const size_t middle = clicks.size() / 2;
  clicks[middle]->x = clicks[middle]->x > 40 ? 2.0f : 77.0f;
  clicks[middle]->y = clicks[middle]->y > 12 ? 3.0f : 21.0f;
  const std::string changed = dir.file("changed.vxr");
  vxtest::writeFile(changed,
                    vx::RecordWriter::encode(reader.getHeader(), steps, reader.getStepCount()));
  const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + changed + "' --fast");
  EXPECT_EQ(replay.exit_code, vx::REPLAY_DIVERGED) << replay.err;
  EXPECT_GE(divergedAt(replay.err), click_steps[middle]) << replay.err;
  EXPECT_TRUE(contains(replay.log, "diverged from the record at step")) << replay.log;
}

TEST(SwatReplay, AGameRecordedAtItsFrameTimeReplaysFastAtThatFrameTime) {
  // At 20 ms a second of the game is 50 steps, not the 30 of a frame time of 0.
  vxtest::TempDir dir;
  const std::string path = dir.file("game.vxr");
  vxtest::recordBotGame(path, 515, 400, 20);
  const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + path + "' --fast");
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_TRUE(contains(replay.out, "Replay matched the record")) << replay.out << replay.err;
}

TEST(SwatReplay, AGameReplaysThoughALibraryDrewFromTheCLibrarysRand) {
  // The audio system, for one, calls rand() when it starts: the game's own
  // numbers must not move with it.
  vxtest::TempDir dir;
  const std::string path = dir.file("game.vxr");
  vxtest::recordBotGame(path, 2024, 600, 0, 0, [] {
    for (int i = 0; i < 120; i++)
      std::rand();
  });
  const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + path + "' --fast");
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_TRUE(contains(replay.out, "Replay matched the record")) << replay.out << replay.err;
}

TEST(SwatReplay, AReplayNeverWritesTheViewersBestStreak) {
  vxtest::TempDir dir;
  const std::string path = dir.file("game.vxr");
  vxtest::recordBotGame(path, 99, 1500, 0, 3); // Lost at the third minigame: a new best.
  vxtest::ScopedEnv data("VEXLO_DATA_DIR", dir.file("viewer"));
  const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + path + "' --fast");
  EXPECT_TRUE(contains(replay.log, "(new best)")) << replay.log;
  EXPECT_FALSE(std::filesystem::exists(dir.file("viewer/swat-best.txt")));
}

TEST(SwatReplay, BadRecordsAreRefusedWithTheReason) {
  vxtest::TempDir dir;
  vx::RecordHeader header;
  header.engine_version = 425;
  header.columns = 80;
  header.rows = 24;
  header.grid_width = 20;
  header.grid_height = 8;
  header.path_work = vx::RECORD_PATH_WORK;
  vx::RecordStep step;
  step.has_hash = true;
  step.hash = 12345;
  const std::string good = vx::RecordWriter::encode(header, {step}, 5);
  auto with = [&](void (*change)(vx::RecordHeader &)) {
    vx::RecordHeader other = header;
    change(other);
    return vx::RecordWriter::encode(other, {step}, 5);
  };
  std::string flipped = good, future = good, counted = good;
  flipped[vx::RECORD_HEADER_SIZE + 4] ^= 0x10;
  future[4] = vx::RECORD_FORMAT_VERSION + 1;
  const std::string later = "format version " + std::to_string(vx::RECORD_FORMAT_VERSION + 1);
  counted.replace(vx::RECORD_HEADER_SIZE, std::string::npos, "\x00\x02\xff\xff\x7f\x01", 6);

  struct Case {
    const char *name;
    std::string bytes; // Written to the file, unless it is a folder or missing.
    const char *config;
    int exit_code;
    const char *reason;
  } cases[] = {
      {"as made, against another world", good, "", vx::REPLAY_DIVERGED, "diverged"},
      {"empty", "", "", 1, "the record is empty"},
      {"not a record", "hello, world", "", 1, "not a Vexlo game record"},
      {"cut in its header", good.substr(0, 20), "", 1, "truncated"},
      // Read up to its last whole step, which this world does not match.
      {"cut before its end", good.substr(0, good.size() - 3), "", vx::REPLAY_DIVERGED, "diverged"},
      {"a byte changed", flipped, "", 1, "checksum does not match"},
      {"a count beyond its bytes", counted, "", 1, "inputs in"},
      {"a later format", future, "", 1, later.c_str()},
      {"another view size", with([](vx::RecordHeader &h) { h.columns = 100; }), "", 1,
       "view of 100x24 cells"},
      {"another grid", with([](vx::RecordHeader &h) { h.grid_width = 10; }), "", 1,
       "grid of 10x8"},
      {"another frame time", good, "frame_time:33", 1, "frame time of 0 ms"},
      {"a missing file", "", "", 1, "cannot open"},
      {"a folder", "", "", 1, "cannot read"},
  };
  for (const Case &c : cases) {
    const std::string name = c.name;
    std::string path = dir.file("record.vxr");
    if (name == "a missing file")
      path = dir.file("missing.vxr");
    else if (name == "a folder")
      path = dir.path();
    else
      vxtest::writeFile(path, c.bytes);
    const bool fast = std::string(c.config).empty();
    const vxtest::ReplayOutcome replay =
        vxtest::runSwat(c.config, "--replay '" + path + "'" + (fast ? " --fast" : ""));
    EXPECT_EQ(replay.exit_code, c.exit_code) << name << ": " << replay.err;
    EXPECT_TRUE(contains(replay.err, c.reason)) << name << ": " << replay.err;
    EXPECT_TRUE(contains(replay.log, c.reason)) << name << ": " << replay.log;
  }
}

TEST(SwatReplay, TheKeptGameStillPlaysTheSame) {
  if (std::getenv("VEXLO_UPDATE_RECORD") != nullptr)
    vxtest::recordBotGame(KEPT_GAME, 77, 1500);
  const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + KEPT_GAME + "' --fast");
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_TRUE(contains(replay.out, "Replay matched the record")) << replay.out;
  // Without a display, and with standard error for nothing but a refusal, once.
  vxtest::ScopedEnv display("DISPLAY", "");
  const vxtest::ReplayOutcome bare =
      vxtest::runSwat("frame_time:abc", "--replay '" + KEPT_GAME + "' --fast", true);
  EXPECT_TRUE(contains(bare.out, "Replay matched the record")) << bare.err;
  EXPECT_TRUE(contains(bare.err, "Unsupported frame time 'abc'"));
  EXPECT_EQ(std::count(bare.err.begin(), bare.err.end(), '\n'), 1) << bare.err;
  // Into a closed pipe: it still ends cleanly.
  const vxtest::ReplayOutcome piped = vxtest::runSwat("", "--replay '" + KEPT_GAME + "' --fast | true");
  EXPECT_TRUE(contains(piped.log, "** Game engine stopped **")) << piped.log;
}
