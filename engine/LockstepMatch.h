/// \file
/// A game played by two players on two machines in lockstep: each machine runs
/// the same world, and the two exchange only their players' input. The input a
/// player gives in step s is played on both machines in step s + D (the input
/// delay, at least 2 steps, set from the round trip measured when the match
/// begins); a step runs only once both players' input for it is there. Each
/// input message also carries the world's hash of a step already run, so the
/// two machines find out within a few steps when their worlds went apart.
///
/// The host listens and prints a join code; the guest connects and gives the
/// code. Both must run the same engine version and game with the same view and
/// grid sizes; the guest takes the host's seed and frame time.
///
/// The match hooks into the engine at four points: the game manager starts it
/// before the recorder (the handshake), asks it before every step whether the
/// step may run (waiting for the other player's input), and hands it the hash
/// of each step; the input manager hands it the input read from the local
/// devices, and it delivers both players' input, each event with its player.
#ifndef VX_LOCKSTEP_MATCH_H
#define VX_LOCKSTEP_MATCH_H

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "Manager.h"
#include "MatchLink.h"
#include "MatchMessage.h"

namespace vx {

class InputManager;

///@{
/// Input delay bounds, in steps.
const int MIN_INPUT_DELAY = 2;
const int MAX_INPUT_DELAY = 30;
///@}

///@{
/// How long a step waits for the other player before the screens say so, and
/// before the match is given up (the default; setGiveUpTime changes it), ms.
const int WAIT_NOTICE_MS = 500;
const int DEFAULT_GIVE_UP_MS = 10000;
///@}

/// The exit status of a program whose match found the two worlds apart.
const int MATCH_APART_STATUS = 3;

///@{
/// What the screens and the terminal say when a match ends early.
const std::string OTHER_PLAYER_GONE = "The other player is gone";
const std::string OTHER_PLAYER_LEFT = "The other player left the game";
const std::string WORLDS_APART = "The two games went apart at step ";
///@}

/// Figures of a match, for the log and the benchmark.
struct MatchStats {
  int steps = 0;                 ///< Steps run in the match.
  int waited_steps = 0;          ///< Steps that had to wait for the other player.
  int64_t wait_us = 0;           ///< Time spent waiting, microseconds.
  /// The longest wait, microseconds.
  int64_t longest_wait_us = 0;
  int64_t bytes_sent = 0;        ///< Framed bytes, both ways, after the handshake.
  /// Framed bytes received after the handshake.
  int64_t bytes_received = 0;
  int64_t started_us = 0;        ///< Clock::now() when play began.
  int round_trip_us = 0;         ///< The longest measured at the handshake.
};

/// A two-player network match in lockstep: both machines run the same game step by step on both
/// players' input, each step waiting for the other player's input, and compare their worlds'
/// hashes as they go.
class LockstepMatch : public Manager {
 private:
  enum Role { NONE, HOST, GUEST };
  enum State { IDLE, PLAYING, OVER };

  LockstepMatch();

  Role m_role;
  State m_state;
  std::string m_address;       // Host: where to listen; guest: whom to join.
  std::string m_port;
  std::string m_code;          // The join code.
  std::string m_game;          // The game's name, which both must share.
  int m_give_up_ms;
  MatchLink m_link;            // The connection to the other machine.
  int m_seed;
  int m_delay;
  int m_step;                  // Steps run since the match began.
  int m_first_id;              // The id the first object of the game got.
  int m_peer_next;             // The step the other player's next input is for.
  int m_peer_quit;             // The last step the other player ran, or -1.
  int m_peer_resumed;          // The last pause the other player ended.
  int m_pauses;                // Pauses so far (the same count on both machines).
  bool m_capturing = false;    // Reading the local devices for exchangeInput.
  // Input per step of each player, for the steps to come.
  std::map<int, std::vector<RecordedInput>> m_inputs[MAX_PLAYERS];
  std::vector<RecordedInput> m_captured; // The local player's of this step.
  std::deque<std::pair<int, uint64_t>> m_hashes;       // This machine's, recent steps.
  std::map<int, uint64_t> m_peer_hashes;               // The other's not yet compared.
  std::deque<MatchMessage> m_pending;  // Handshake messages read, not yet taken.
  std::string m_broken;        // Why the connection failed during the handshake.
  std::string m_end_message;   // Why the match ended early, or "".
  int m_exit_status;
  std::string m_auto_record;   // A record made for a bug report, kept only on trouble.
  MatchStats m_stats;

  int host();
  int join();
  // The host's handshake with one guest: 0, or -1 with `error` saying why
  // the guest was refused (the guest was told).
  int welcome(const MatchMessage &join, std::string &error);
  // Why the join cannot be played, or "".
  std::string refusal(const MatchMessage &join) const;
  // Takes the settings both agreed on.
  void begin(int seed, int delay, int frame_time);

  // Reads what the other side sent: while playing every complete message is
  // handled, during the handshake kept for nextMessage. 0, or -1 once the
  // match is over or the connection failed.
  int pump();
  // Waits up to the give-up time for the next message of the handshake,
  // showing `waiting` meanwhile. 0 with the message; -1 with `error`; -2
  // when the local player closed the window or stopped the program.
  int nextMessage(MatchMessage &message, const std::u32string &waiting, std::string &error);
  void handle(const MatchMessage &message);
  void compareHashes();
  // Ends the match with the message (logged and kept for the screens).
  void end(const std::string &message, int exit_status = 0);
  // Whether the local player closed the window or stopped the program (the
  // window's other pending events are dropped).
  bool localQuit() const;
  void showBox(const std::u32string &text) const;
  void logStats() const;

 public:
  /// The one match.
  static LockstepMatch &getInstance();

  ///@{
  /// What the program asks for before the engine starts. Hosting listens at
  /// the address ("" for every interface) on the port ("0": any free port).
  void setHost(const std::string &address, const std::string &port);
  void setJoin(const std::string &address, const std::string &port, const std::string &code);
  void setGameName(const std::string &name);
  void setGiveUpTime(int milliseconds);
  ///@}

  /// Started by the game manager once the network manager runs and before the
  /// recorder: without a match asked for, does nothing. Otherwise waits for
  /// the other player and agrees on the game (a host until a guest with the
  /// right code joins, or the window is closed). 0, or -1 with the reason on
  /// the terminal and in the log.
  int startUp() override;

  /// Tells the other player the game ended here, shows how the match ended,
  /// keeps or removes its record, and closes the connection.
  void shutDown() override;

  bool isValid(std::string event_type) const override;

  /// Whether a match is being played.
  bool isPlaying() const;
  /// The match ended early (the other player gone, or the worlds apart).
  bool isOver() const;
  /// 0 for the host and without a match, 1 for the guest.
  int getLocalPlayer() const;
  /// The input delay agreed, in steps.
  int getDelay() const;
  /// The port the host listens on (the one chosen when asked for "0").
  int getPort() const;
  /// The code a guest must give to join.
  const std::string &getJoinCode() const;
  /// Why the match ended early, or "".
  const std::string &getEndMessage() const;
  /// The exit status the match asks for: 0, or MATCH_APART_STATUS when the worlds went apart.
  int getExitStatus() const;
  /// The match's figures so far.
  const MatchStats &getStats() const;

  /// The seed the random sequence gets in a match: the host's.
  int chooseSeed(int seed) const;

  /// Before each step of the game loop: waits until both players' input for
  /// the step is there. False when the match ended instead (the loop stops).
  bool gateStep();

  /// In place of the input manager's reading: reads the local devices, sends
  /// that input to the other player for the step D ahead, and delivers both
  /// players' input of this step, the host's first.
  void exchangeInput(const InputManager &input_manager);

  ///@{
  /// A keyboard or mouse event read from the local devices during
  /// exchangeInput, kept instead of delivered.
  void capture(const RecordedInput &input);
  bool isCapturing() const;
  ///@}

  /// The step is over: notes the world's hash and compares it with the
  /// other machine's.
  void endStep();

  /// A player paused (the pause key reached both machines in the same step):
  /// both screens show who, until either player presses a key.
  void pause(int player);
};

/// Players of the game being run: 2 in a match or in the replay of one, else 1.
int playerCount();

} // namespace vx

#endif // VX_LOCKSTEP_MATCH_H
