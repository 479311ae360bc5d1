// The path value type: its cursor, text form and byte encoding, including
// streams that are short or claim more waypoints than they hold.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "Path.h"
#include "TestSupport.h"
#include "utility.h"

namespace {

vx::Path threeWaypoints() {
  return vx::Path({vx::Vector(1, 2), vx::Vector(3.5f, -4), vx::Vector(0, 0.25f)});
}

std::string bytesOf(const vx::Path &path) {
  std::ostringstream out;
  EXPECT_EQ(path.serialize(out), 0);
  return out.str();
}

// A stream that announces `count` waypoints and then holds `waypoints`.
std::string claimedCount(std::uint64_t count, int waypoints) {
  std::ostringstream out;
  vx::writeUint64(out, count);
  for (int i = 0; i < waypoints; i++) {
    vx::writeFloat(out, static_cast<float>(i));
    vx::writeFloat(out, 1);
  }
  return out.str();
}

} // namespace

TEST(PathCursor, EmptyPathIsDone) {
  vx::Path path;
  EXPECT_EQ(path.getCount(), 0);
  EXPECT_EQ(path.getIndex(), 0);
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getCurrent(), vx::Vector(0, 0));
  path.next();
  EXPECT_EQ(path.getIndex(), 0);
  EXPECT_EQ(path.toString(), "");
}

TEST(PathCursor, WalksTheWaypointsInOrderAndNeverPassesTheEnd) {
  vx::Path path = threeWaypoints();
  EXPECT_FALSE(path.isDone());
  EXPECT_EQ(path.getCurrent(), vx::Vector(1, 2));
  path.next();
  EXPECT_EQ(path.getCurrent(), vx::Vector(3.5f, -4));
  path.next();
  EXPECT_EQ(path.getCurrent(), vx::Vector(0, 0.25f));
  EXPECT_FALSE(path.isDone());
  path.next();
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getIndex(), 3);
  EXPECT_EQ(path.getCurrent(), vx::Vector(0, 0));

  for (int i = 0; i < 10; i++)
    path.next();
  EXPECT_EQ(path.getIndex(), 3);
  EXPECT_TRUE(path.isDone());
}

TEST(PathCursor, SetIndexStaysWithinTheWaypoints) {
  vx::Path path = threeWaypoints();
  path.setIndex(2);
  EXPECT_EQ(path.getCurrent(), vx::Vector(0, 0.25f));
  path.setIndex(99);
  EXPECT_EQ(path.getIndex(), 3);
  path.setIndex(-5);
  EXPECT_EQ(path.getIndex(), 0);

  path.next();
  path.clear();
  EXPECT_EQ(path.getCount(), 0);
  EXPECT_EQ(path.getIndex(), 0);
}

TEST(PathCursor, AddedWaypointsExtendADonePath) {
  vx::Path path;
  path.addPosition(vx::Vector(5, 5));
  EXPECT_FALSE(path.isDone());
  path.next();
  EXPECT_TRUE(path.isDone());
  path.addPosition(vx::Vector(6, 5));
  EXPECT_FALSE(path.isDone());
  EXPECT_EQ(path.getCurrent(), vx::Vector(6, 5));
}

TEST(PathText, EveryWaypointFollowedByABar) {
  EXPECT_EQ(threeWaypoints().toString(), "(1,2)|(3.5,-4)|(0,0.25)|");
  EXPECT_EQ(vx::Path({vx::Vector(7, 8)}).toString(), "(7,8)|");
}

TEST(PathSerialize, CountThenWaypointsLittleEndianWithoutTheIndex) {
  EXPECT_EQ(bytesOf(vx::Path()), std::string(8, '\0'));

  vx::Path path({vx::Vector(1, -2)});
  const std::string expected("\x01\x00\x00\x00\x00\x00\x00\x00"
                             "\x00\x00\x80\x3f\x00\x00\x00\xc0", 16);
  EXPECT_EQ(bytesOf(path), expected);
  path.next();
  EXPECT_EQ(bytesOf(path), expected);

  EXPECT_EQ(bytesOf(threeWaypoints()).size(), 8u + 3 * 8);
}

TEST(PathSerialize, RoundTripKeepsTheIndexWithinTheNewCount) {
  vxtest::LogCapture log;
  std::stringstream stream(bytesOf(threeWaypoints()));

  vx::Path read({vx::Vector(9, 9), vx::Vector(8, 8)});
  read.next();
  EXPECT_EQ(read.deserialize(stream), 0);
  EXPECT_EQ(read.getPositions(), threeWaypoints().getPositions());
  EXPECT_EQ(read.getIndex(), 1);
  EXPECT_EQ(read.getCurrent(), vx::Vector(3.5f, -4));

  // A shorter path pulls a far index back to its end.
  std::stringstream shorter(bytesOf(vx::Path({vx::Vector(4, 4)})));
  read.setIndex(3);
  EXPECT_EQ(read.deserialize(shorter), 0);
  EXPECT_EQ(read.getCount(), 1);
  EXPECT_EQ(read.getIndex(), 1);
  EXPECT_TRUE(read.isDone());
  EXPECT_EQ(log.count("Error!"), 0);
}

TEST(PathSerialize, TruncatedStreamFailsAndLeavesThePathEmpty) {
  vxtest::LogCapture log;
  const std::string bytes = bytesOf(threeWaypoints());
  for (size_t cut : {bytes.size() - 1, bytes.size() - 4, bytes.size() - 8, size_t{8}, size_t{3}, size_t{0}}) {
    std::istringstream in(bytes.substr(0, cut));
    vx::Path path = threeWaypoints();
    path.next();
    EXPECT_EQ(path.deserialize(in), -1) << cut;
    EXPECT_EQ(path.getCount(), 0) << cut;
    EXPECT_EQ(path.getIndex(), 0) << cut;
    EXPECT_TRUE(path.isDone()) << cut;
  }
  EXPECT_EQ(log.count("Path::deserialize(): Error! Stream eof."), 6);
}

TEST(PathSerialize, HugeClaimedCountCostsOnlyWhatTheStreamHolds) {
  vxtest::LogCapture log;
  // Claims INT_MAX waypoints (16 GiB) but holds two: reading must stop at the
  // end of the data rather than reserving room for the claim.
  std::istringstream in(claimedCount(INT_MAX, 2));
  vx::Path path;
  EXPECT_EQ(path.deserialize(in), -1);
  EXPECT_EQ(path.getCount(), 0);
  // Memory overcommit would hide a 16 GiB reservation, so look at the capacity.
  EXPECT_LE(path.getPositions().capacity(), 16u);
  EXPECT_EQ(log.count("Path::deserialize(): Error! Stream eof."), 1);
}

TEST(PathSerialize, CountBeyondAnIndexIsRefused) {
  vxtest::LogCapture log;
  for (std::uint64_t count : {std::uint64_t{INT_MAX} + 1, std::uint64_t{5000000000ULL}, UINT64_MAX}) {
    std::istringstream in(claimedCount(count, 3));
    vx::Path path = threeWaypoints();
    EXPECT_EQ(path.deserialize(in), -1) << count;
    EXPECT_EQ(path.getCount(), 0) << count;
  }
  EXPECT_EQ(log.count("Path::deserialize(): Error! Stream fail."), 3);
}

TEST(PathSerialize, ReadsOnlyTheAnnouncedWaypoints) {
  std::istringstream in(claimedCount(1, 3));
  vx::Path path;
  EXPECT_EQ(path.deserialize(in), 0);
  EXPECT_EQ(path.getPositions(), std::vector<vx::Vector>{vx::Vector(0, 1)});
  // The rest stays in the stream for whoever reads next.
  vx::Vector next;
  EXPECT_EQ(next.deserialize(in), 0);
  EXPECT_EQ(next, vx::Vector(1, 1));
}

TEST(PathSerialize, FailedOutputStreamIsReported) {
  vxtest::LogCapture log;
  std::ostringstream out;
  out.setstate(std::ios::failbit);
  EXPECT_EQ(threeWaypoints().serialize(out), -1);
  EXPECT_EQ(log.count("Path::serialize(): Error! Stream fail."), 1);
}
