/// \file
/// Records a game as it is played, or replays a record step for step.
///
/// Recording writes the conditions of the game (seed, frame time, view and
/// grid size), every input event and network message delivered in each step,
/// and the hash of the world after each step. Replaying gives the game the
/// recorded input instead of the player's (only closing the window still
/// counts), and compares the world's hash after every step with the record's:
/// at the first difference it stops the game and reports the step.
///
/// While recording or replaying, the path manager gets a fixed amount of
/// search work per step instead of a share of the frame's time, so searches
/// finish in the same step every time.
#ifndef VX_RECORDER_H
#define VX_RECORDER_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "InputSource.h"
#include "Manager.h"
#include "NetworkManager.h"
#include "RecordFormat.h"
#include "RecordReader.h"
#include "RecordWriter.h"

namespace vx {

class Event;
class InputManager;
class NetworkManager;

///@{
/// The exit status of a program whose replay went another way than the record,
/// of one whose replay stopped before the end of the record, of one that
/// replayed a record without its end mark (the recorded game did not end
/// normally) to its last step, and of one whose record could not be written.
const int REPLAY_DIVERGED = 3;
const int REPLAY_INCOMPLETE = 4;
const int REPLAY_UNENDED_RECORD = 5;
const int RECORD_FAILED = 6;
///@}

/// Path search expansions per step while recording or replaying.
const int RECORD_PATH_WORK = 400;

/// Records a game's input and world hashes to a file, or replays a record: delivers the
/// recorded input instead of the player's and checks the world after every step.
class Recorder : public Manager,
                 public InputSource,
                 public InputListener,
                 public MessageSource,
                 public MessageListener {
 private:
  enum Mode { OFF, RECORDING, REPLAYING };

  Recorder();

  Mode m_mode;
  std::string m_record_file;   ///< From the command line; overrides the configuration.
  std::string m_replay_file;   ///< Likewise.
  bool m_fast;                 ///< --fast: run the loop without sleeping.
  bool m_sleepless;            ///< This run's loop does not sleep (--fast or frame time 0).
  RecordWriter m_writer;
  RecordReader m_reader;
  RecordHeader m_header;       ///< Of the record being written or replayed.
  int m_step;                  ///< Steps since start-up, over every run of the loop.
  int m_first_id;              ///< The id the first object of the game got.
  uint64_t m_hash;             ///< The world's hash after the last step.
  bool m_has_hash;             ///< Whether one was taken.
  std::vector<RecordedInput> m_inputs; ///< Recorded in this step so far.
  size_t m_next_block;         ///< Replay: the record's next block.
  bool m_messages_given;       ///< Replay: this step's messages went out.
  bool m_finished;             ///< Replay: ended, matching or not.
  int m_exit_status;           ///< 0, or one of the statuses above.
  bool m_has_header;           ///< Recording: the header is written.
  /// What is to be said on standard output or error once the terminal is
  /// given back: the display owns it meanwhile.
  std::vector<std::pair<bool, std::string>> m_held;

  /// Says a line on standard error (or output), now or once the terminal is free.
  void say(const std::string &line, bool to_error = true);

  /// Recording: a failed write is said at once and ends the program with
  /// RECORD_FAILED.
  void checkWriter();

  /// Recording: writes the header unless it is written.
  void writeHeader();

  /// Start-up of each mode. 0 or -1 (written to the log and standard error).
  int startRecording(const std::string &path);
  int startReplay(const std::string &path);

  /// Writes an error to the log and to standard error. Returns -1.
  int fail(const std::string &message);

  /// The record's block for the current step, or null.
  const RecordStep *currentBlock() const;

  /// Replay: compares the world with the record after a step.
  void checkStep(uint64_t hash);

 public:
  /// The one recorder.
  static Recorder &getInstance();

  ///@{
  /// What the command line asked for; empty names leave the configuration's.
  void setRecordFile(const std::string &path);
  void setReplayFile(const std::string &path);
  void setFast(bool fast = true);
  ///@}

  /// Reads the record to replay, or creates the one to write, as the
  /// configuration ("record_file", "replay_file", VEXLO_RECORD, VEXLO_REPLAY)
  /// or the command line says. A replay's frame time, view and grid size must
  /// be the configuration's; with a frame time of 0 (or --fast) the record's
  /// frame time is taken and the loop does not sleep. 0, or -1 for a record
  /// that cannot be read or does not fit, with the reason on standard error
  /// and in the log. Called by the game manager once the world has started.
  int startUp() override;

  /// Ends the record being written; reports a replay that ended early.
  void shutDown() override;

  /// Whether the game is being recorded.
  bool isRecording() const;
  /// Whether a record is being replayed.
  bool isReplaying() const;
  /// The loop runs without sleeping (a frame time of 0, or --fast), as
  /// decided at start-up.
  bool isFast() const;
  /// A replay reached the end of the record or diverged from it.
  bool isFinished() const;
  /// 0, or the status the program ends with (REPLAY_DIVERGED, ...).
  int getExitStatus() const;

  ///@{
  /// The record being written or to be written ("" for none), whether a
  /// replay was asked for, and the players of the game recorded or replayed.
  std::string getRecordPath() const;
  bool isReplayRequested() const;
  int getPlayers() const;
  ///@}

  /// Says what was held back while the terminal showed the game (a replay's
  /// verdict, a failed record). The game manager calls it once the display
  /// has stopped.
  void sayHeld();

  /// The seed the random sequence gets: a replay's is the record's; a recording notes it
  /// and writes the record's header.
  int chooseSeed(int seed);

  /// A replay is the input manager's source of input (InputManager::setSource):
  /// it delivers the step's recorded input; of the real display's only a
  /// close counts. It waits on nothing.
  void deliverInput(const InputManager &input_manager) override;
  WindowEvent nextEvent(bool wait) override;

  /// A recording listens to the delivered input (InputManager::addListener).
  void onInput(const Event &event) override;
  void onClose() override;

  /// The input manager delivers a keyboard or mouse event; a recording notes it.
  void noteInput(const Event *p_event);
  /// The window was closed.
  void noteClose();
  /// The network manager delivers a message; a recording notes it.
  void noteMessage(int socket, int message_kind, const std::string &payload);

  /// A replay delivers the step's recorded network messages (the first call of
  /// the step) and returns how many.
  int replayMessages(const NetworkManager &network_manager);

  /// A replay is the network manager's source of messages and a recording
  /// listens to the delivered ones.
  int deliverMessages(const NetworkManager &network_manager) override;
  void onMessage(int sock_index, int kind, const std::string &payload) override;

  /// The game loop's step is over: hashes the world, and writes the step or
  /// compares it with the record.
  void endStep();

  /// Accepts no events.
  bool isValid(std::string event_type) const override;
};

/// The record's form of a keyboard or mouse event, with its player; false for
/// any other event.
bool toRecordedInput(const Event *p_event, RecordedInput &input);

/// Delivers a recorded keyboard or mouse event (with its player) through the
/// input manager; a recorded window close sets game over.
void deliverRecordedInput(const InputManager &input_manager, const RecordedInput &input);

} // namespace vx

#endif // VX_RECORDER_H
