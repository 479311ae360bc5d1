/// \file
/// The messages of a lockstep match between two engine instances, each carried
/// as the payload of one framed network message of kind MESSAGE_CUSTOM. The
/// first byte of a payload names the message; numbers are varints, texts a
/// varint length and their bytes, a hash 8 bytes little-endian, inputs as a
/// game record writes them.
///
/// In order: the guest sends JOIN; the host answers REFUSE (and closes), or
/// measures the round trip with PINGs the guest answers with PONGs and then
/// sends START. From then on each side sends one INPUT per step it runs, and
/// RESUME, KEEPALIVE, QUIT or APART when those happen.
#ifndef VX_MATCH_MESSAGE_H
#define VX_MATCH_MESSAGE_H

#include <cstdint>
#include <string>
#include <vector>

#include "RecordFormat.h"

namespace vx {

/// The version of these messages; a peer with another one is refused.
const int MATCH_PROTOCOL = 1;

///@{
/// The longest payload of a match message, and the most inputs one step of one
/// player may carry (a player gives a handful per step).
const int MAX_MATCH_PAYLOAD = 4096;
const int MAX_STEP_INPUTS = 64;
///@}
/// The longest text (a refusal, a game name) a message carries, in bytes.
const int MAX_MATCH_TEXT = 200;
/// The characters of a join code.
const int JOIN_CODE_LENGTH = 6;

/// What a match message says; each is one letter on the wire.
enum MatchMessageType : int {
  MATCH_JOIN = 'J',      ///< Guest: who it is and the code it was given.
  MATCH_REFUSE = 'R',    ///< Why the other side will not play; the connection closes.
  MATCH_PING = 'P',      ///< Host: a number to send back at once.
  MATCH_PONG = 'O',      ///< Guest: the number of a ping.
  MATCH_START = 'S',     ///< Host: the seed, the input delay and the frame time.
  MATCH_INPUT = 'I',     ///< A player's input for a step, and a hash of a step done.
  MATCH_RESUME = 'U',    ///< The game was paused and this player goes on.
  MATCH_KEEPALIVE = 'K', ///< Nothing to say, but still there (while paused).
  MATCH_QUIT = 'Q',      ///< This player's game ended after the step given.
  MATCH_APART = 'X',     ///< The world hashes differed at the step given.
};

/// One message between the two players of a match; only the fields of its type are sent.
struct MatchMessage {
  /// The MatchMessageType.
  int type = 0;
  /// JOIN.
  int protocol = MATCH_PROTOCOL;
  int engine_version = 0; ///< Version x 100.
  int frame_time = 0;     ///< Also in START.
  ///@{
  /// The view's size in cells.
  int columns = 0, rows = 0;
  ///@}
  ///@{
  /// The collision grid's cell size.
  int grid_width = 0, grid_height = 0;
  ///@}
  ///@{
  /// The game's name and the join code given.
  std::string game;
  std::string code;
  ///@}
  /// REFUSE.
  std::string text;
  /// PING and PONG.
  int nonce = 0;
  ///@{
  /// START.
  int seed = 0;
  int delay = 0;
  ///@}
  /// INPUT: the step the input is for; QUIT: the last step run; APART: the
  /// step whose hashes differed; RESUME: the number of the pause it ends.
  int step = 0;
  ///@{
  /// INPUT: the step the hash is of, or -1 for none yet.
  int hash_step = -1;
  uint64_t hash = 0;
  ///@}
  std::vector<RecordedInput> inputs; ///< Keys and mice only, player 0.
};

/// The payload for a message.
std::string encodeMatchMessage(const MatchMessage &message);

/// Reads a payload into the message. 0, or -1 with `error` saying what is
/// wrong: anything unknown, out of range, too long, or followed by more bytes.
int decodeMatchMessage(const std::string &payload, MatchMessage &message, std::string &error);

} // namespace vx

#endif // VX_MATCH_MESSAGE_H
