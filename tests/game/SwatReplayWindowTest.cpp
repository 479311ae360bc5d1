// A bot's game recorded headless replays step for step in a window: the
// window, its drawing and its (ignored) input change nothing in the world.
#include <gtest/gtest.h>

#include "RecordReader.h"
#include "SwatRecording.h"

TEST(SwatReplayWindow, ABotGameRecordedHeadlessReplaysTheSameInAWindow) {
  vxtest::TempDir dir;
  const std::string path = dir.file("game.vxr");
  vxtest::recordBotGame(path, 90210, 2000);
  vx::RecordReader reader;
  ASSERT_EQ(reader.load(path), 0) << reader.getError();
  ASSERT_GE(reader.getStepCount(), 2000);
  const vxtest::ReplayOutcome replay =
      vxtest::runSwat("", "--replay '" + path + "' --fast", true);
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_NE(replay.out.find("Replay matched the record: " +
                            std::to_string(reader.getStepCount()) + " steps."),
            std::string::npos)
      << replay.out << replay.err;
}
