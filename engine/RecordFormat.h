/// \file
/// What a game record holds: the header that says under which conditions the
/// game ran, and for each step the input it was given and the hash of the
/// world after it. Also the byte helpers the record writer and reader share.
///
/// The file, all numbers little-endian:
///   "VXRC", format version (2 bytes), engine version x 100 (2 bytes), then
///   seven 4-byte signed numbers: frame time in ms, view columns, view rows,
///   scene-graph grid cell width and height, random seed, path search work
///   per step.
///   Blocks, one per step that had input or a new world hash: the step's
///   distance from the previous block (varint; the first counts from step
///   -1), a flags byte (RECORD_HASH, RECORD_INPUT), the 8-byte hash if
///   flagged, and if flagged the input count (varint) and the inputs.
///   The end: the distance to the step count (varint), RECORD_END, and the
///   8-byte FNV-1a checksum of every byte before it.
/// Format version 2, written for a game of two players, adds an eighth number
/// to the header: the count of players.
/// An input of a player other than 0 is preceded by one byte: INPUT_PLAYER x 16
/// plus the player.
/// An input starts with one byte: its kind x 16, plus for keys the action + 1
/// (then one byte, the key + 1), for the mouse (action + 1) x 4 + button + 1
/// (then x and y as 4-byte floats, view cells). A network message continues
/// with the socket index, the message kind and the payload length (varints)
/// and the payload.
#ifndef VX_RECORD_FORMAT_H
#define VX_RECORD_FORMAT_H

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

/// The first four bytes of every record.
const char RECORD_MAGIC[] = "VXRC";
/// The format this engine writes, and the latest it reads.
const int RECORD_FORMAT_VERSION = 2;
/// The header of a game of one player (format version 1).
const int RECORD_HEADER_SIZE = 4 + 2 + 2 + 7 * 4;
/// The most players a record (and a match) knows.
const int MAX_PLAYERS = 2;

///@{
/// Flags of a block.
const int RECORD_HASH = 1;
const int RECORD_INPUT = 2;
const int RECORD_END = 0x80;
///@}

/// The largest record read, in bytes (a ten-minute game needs well under one).
const long MAX_RECORD_BYTES = 256L * 1024 * 1024;

/// The kinds of recorded input.
enum RecordedKind : int {
  INPUT_KEY = 0,     ///< A keyboard event.
  INPUT_MOUSE = 1,   ///< A mouse event.
  INPUT_CLOSE = 2,   ///< The window was closed.
  INPUT_MESSAGE = 3, ///< A network message was received.
  INPUT_PLAYER = 4,  ///< Only on the wire: the next input is the given player's.
};

/// One input event as it was delivered.
struct RecordedInput {
  /// The RecordedKind.
  int kind = INPUT_KEY;
  int action = -1;      ///< The keyboard or mouse action.
  int code = -1;        ///< The key or the mouse button.
  ///@{
  float x = 0, y = 0;   ///< The mouse position in view cells.
  ///@}
  int socket = -1;      ///< The connection a message came from.
  int message_kind = 0; ///< A MessageKind.
  std::string payload;  ///< The message bytes.
  int player = 0;       ///< Who gave a key or mouse input (0 alone).

  /// Whether every field matches.
  bool operator==(const RecordedInput &other) const;
};

/// The conditions a game ran under; a replay needs the same.
struct RecordHeader {
  /// The record's format version.
  int format_version = RECORD_FORMAT_VERSION;
  int engine_version = 0; ///< Vexlo version x 100.
  int frame_time = 0;     ///< Milliseconds.
  ///@{
  int columns = 0;        ///< The view's size in cells.
  int rows = 0;
  ///@}
  ///@{
  int grid_width = 0;     ///< The scene graph's grid cell size.
  int grid_height = 0;
  ///@}
  int seed = 0;           ///< The seed the random sequence was given.
  int path_work = 0;      ///< Path search expansions per step.
  int players = 1;        ///< Players of the game (2 for a match).
};

/// A step that cost bytes: its input, and its hash when it differs from the last.
struct RecordStep {
  /// The step, from 0.
  int step = 0;
  /// Whether the world's hash after the step is in the record.
  bool has_hash = false;
  /// The world's hash after the step.
  uint64_t hash = 0;
  /// The input delivered in the step, in order.
  std::vector<RecordedInput> inputs;
};

///@{
/// FNV-1a, 64 bits: the record's checksum.
const uint64_t FNV_OFFSET = 14695981039346656037ULL;
const uint64_t FNV_PRIME = 1099511628211ULL;
///@}
/// The FNV-1a hash of bytes bytes at data, continuing from hash.
uint64_t fnv1a(const void *data, size_t bytes, uint64_t hash = FNV_OFFSET);

///@{
/// Appends numbers in the record's byte order.
void appendU16(std::string &out, uint32_t value);
void appendI32(std::string &out, int32_t value);
void appendU64(std::string &out, uint64_t value);
void appendFloat(std::string &out, float value);
void appendVarint(std::string &out, uint32_t value);
///@}

///@{
/// Appends the header, a block, or one input.
void appendHeader(std::string &out, const RecordHeader &header);
void appendStep(std::string &out, int gap, const RecordStep &step);
void appendInput(std::string &out, const RecordedInput &input);
///@}

/// Reads the record's numbers from the front of a byte string, never past its
/// end: each read returns false, with the reason noted, when the bytes run out.
class ByteCursor {
 private:
  const std::string &m_bytes;
  size_t m_pos = 0;

 public:
  std::string error; ///< Why a read failed.
  bool ran_out = false; ///< A read failed for want of bytes.

  /// A cursor at the start of bytes, which must outlive it.
  explicit ByteCursor(const std::string &bytes) : m_bytes(bytes) {}

  /// The bytes read so far.
  size_t position() const { return m_pos; }
  /// The bytes not read yet.
  size_t left() const { return m_bytes.size() - m_pos; }
  /// Whether every byte was read.
  bool atEnd() const { return m_pos == m_bytes.size(); }

  /// Notes the first reason a read failed; returns false.
  bool fail(const std::string &what);
  /// Notes that the record ended too soon; returns false.
  bool truncated();

  ///@{
  /// Read one byte, count little-endian unsigned bytes, a 32-bit signed number or a 32-bit
  /// float. False, with error set, when the bytes run out.
  bool byte(int &value);
  bool unsignedBytes(int count, uint64_t &value);
  bool i32(int &value);
  bool f32(float &value);
  ///@}
  /// A varint of at most 31 bits (every count and index the record holds).
  bool varint(int &value);
  /// Reads length bytes as text. False, with error set, when they run out.
  bool text(int length, std::string &value);
};

/// Reads one input as appendInput wrote it, checking every field. False, with
/// the cursor's error saying why, for bytes that are no input.
bool parseInput(ByteCursor &in, RecordedInput &input);

} // namespace vx

#endif // VX_RECORD_FORMAT_H
