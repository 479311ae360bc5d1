#include "Recorder.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"
#include "Object.h"
#include "PathManager.h"
#include "WorldHash.h"

namespace vx {


Recorder::Recorder()
    : m_mode(OFF), m_fast(false), m_sleepless(false), m_step(0), m_first_id(0), m_hash(0), m_has_hash(false),
      m_next_block(0), m_messages_given(false), m_finished(false), m_exit_status(0),
      m_has_header(false) {
  setType("Recorder");
}

Recorder &Recorder::getInstance() {
  static Recorder recorder;
  return recorder;
}

void Recorder::setRecordFile(const std::string &path) { m_record_file = path; }

void Recorder::setReplayFile(const std::string &path) { m_replay_file = path; }

void Recorder::setFast(bool fast) { m_fast = fast; }

bool Recorder::isValid(std::string) const { return false; }

bool Recorder::isRecording() const { return m_mode == RECORDING; }

bool Recorder::isReplaying() const { return m_mode == REPLAYING; }

bool Recorder::isFast() const { return m_sleepless; }

std::string Recorder::getRecordPath() const {
  return m_record_file.empty() ? Config::getInstance().getRecordFile() : m_record_file;
}

bool Recorder::isReplayRequested() const { return !m_replay_file.empty(); }

int Recorder::getPlayers() const { return m_mode == REPLAYING ? m_header.players : 1; }

bool Recorder::isFinished() const { return m_finished; }

int Recorder::getExitStatus() const { return m_exit_status; }

int Recorder::fail(const std::string &message) const {
  LogManager::getInstance().writeLog("%s", message.c_str());
  std::fprintf(stderr, "%s\n", message.c_str());
  return -1;
}

int Recorder::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  m_mode = OFF;
  m_step = 0;
  m_first_id = Object::getNextId();
  m_has_hash = false;
  m_inputs.clear();
  m_next_block = 0;
  m_messages_given = false;
  m_finished = false;
  m_exit_status = 0;

  const Config &config = Config::getInstance();
  m_sleepless = m_fast || config.getFrameTime() == 0;
  const std::string record = m_record_file.empty() ? config.getRecordFile() : m_record_file;
  const std::string replay = m_replay_file.empty() ? config.getReplayFile() : m_replay_file;
  int result = 0;
  if (!record.empty() && !replay.empty())
    result = fail("Recorder::startUp(): Error! Cannot record and replay a game at once.");
  else if (!replay.empty())
    result = startReplay(replay);
  else if (!record.empty())
    result = startRecording(record);
  if (result != 0) {
    m_mode = OFF;
    return -1;
  }
  if (m_mode != OFF)
    PathManager::getInstance().setWorkBudget(m_header.path_work);
  // A replay is the step's source of input; a recording hears of the input
  // delivered, whatever its source.
  if (m_mode == REPLAYING) {
    InputManager::getInstance().setSource(this);
    NetworkManager::getInstance().setMessageSource(this);
  } else if (m_mode == RECORDING) {
    InputManager::getInstance().addListener(this);
    NetworkManager::getInstance().setMessageListener(this);
  }
  Manager::startUp();
  return 0;
}

int Recorder::startRecording(const std::string &path) {
  if (m_writer.open(path) != 0)
    return fail("Recorder::startUp(): Error! Cannot create record '" + path +
                "': " + std::strerror(errno));
  const Config &config = Config::getInstance();
  m_header = RecordHeader();
  m_header.engine_version = static_cast<int>(std::lround(VEXLO_VERSION * 100));
  m_header.frame_time = config.getFrameTime();
  m_header.columns = DisplayManager::getInstance().getHorizontal();
  m_header.rows = DisplayManager::getInstance().getVertical();
  m_header.grid_width = config.getGridWidth();
  m_header.grid_height = config.getGridHeight();
  m_header.seed = config.getRandomSeed();
  m_header.path_work = RECORD_PATH_WORK;
  m_header.players = playerCount();
  m_mode = RECORDING;
  m_has_header = false;
  LogManager::getInstance().writeLog("Recorder::startUp(): Recording the game to '%s'.",
                                     path.c_str());
  return 0;
}

int Recorder::startReplay(const std::string &path) {
  if (m_reader.load(path) != 0)
    return fail("Recorder::startUp(): Error! Cannot replay " + m_reader.getError() + ".");
  Config &config = Config::getInstance();
  const RecordHeader &header = m_reader.getHeader();
  const int columns = DisplayManager::getInstance().getHorizontal();
  const int rows = DisplayManager::getInstance().getVertical();
  const std::string where = "Recorder::startUp(): Error! Cannot replay '" + path + "': ";
  if (header.columns != columns || header.rows != rows)
    return fail(where + "it was recorded in a view of " + std::to_string(header.columns) + "x" +
                std::to_string(header.rows) + " cells, this one has " + std::to_string(columns) +
                "x" + std::to_string(rows) + ".");
  if (header.grid_width != config.getGridWidth() || header.grid_height != config.getGridHeight())
    return fail(where + "it was recorded with a grid of " + std::to_string(header.grid_width) +
                "x" + std::to_string(header.grid_height) + ", this configuration has " +
                std::to_string(config.getGridWidth()) + "x" +
                std::to_string(config.getGridHeight()) + ".");
  if (header.path_work < 1 || header.path_work > MAX_PATH_NODES)
    return fail(where + "the record is corrupted: path work " + std::to_string(header.path_work) +
                ".");
  if (header.frame_time < 0 || header.frame_time > 1000)
    return fail(where + "the record is corrupted: frame time " +
                std::to_string(header.frame_time) + ".");
  if (m_reader.getStepCount() < 1)
    return fail(where + "the record holds no steps.");
  if (isFast()) {
    // The game runs as at the recorded frame time; only the sleeping goes.
    config.setFrameTime(header.frame_time);
  } else if (header.frame_time != config.getFrameTime()) {
    return fail(where + "it was recorded with a frame time of " +
                std::to_string(header.frame_time) + " ms, this configuration has " +
                std::to_string(config.getFrameTime()) +
                " ms (a frame time of 0, or --fast, replays any record).");
  }
  if (header.engine_version != static_cast<int>(std::lround(VEXLO_VERSION * 100)))
    LogManager::getInstance().writeLog(
        "Recorder::startUp(): Warning! '%s' was recorded by engine version %d.%02d.", path.c_str(),
        header.engine_version / 100, header.engine_version % 100);
  m_header = header;
  m_mode = REPLAYING;
  LogManager::getInstance().writeLog("Recorder::startUp(): Replaying '%s': %d steps, seed %d.",
                                     path.c_str(), m_reader.getStepCount(), header.seed);
  return 0;
}

void Recorder::shutDown() {
  const LogManager &log_manager = LogManager::getInstance();
  if (m_mode == RECORDING) {
    writeHeader();
    if (m_writer.close(m_step) == 0)
      log_manager.writeLog("Recorder::shutDown(): Recorded %d steps.", m_step);
  } else if (m_mode == REPLAYING && !m_finished) {
    m_exit_status = REPLAY_INCOMPLETE;
    fail("Recorder::shutDown(): Replay stopped at step " + std::to_string(m_step) +
         ", before the end of the record at step " + std::to_string(m_reader.getStepCount()) +
         ".");
  }
  if (m_mode != OFF)
    PathManager::getInstance().setWorkBudget(0);
  if (m_mode == REPLAYING) {
    InputManager::getInstance().setSource(nullptr);
    NetworkManager::getInstance().setMessageSource(nullptr);
  } else if (m_mode == RECORDING) {
    NetworkManager::getInstance().setMessageListener(nullptr);
  }
  InputManager::getInstance().removeListener(this);
  m_mode = OFF;
  Manager::shutDown();
}

void Recorder::writeHeader() {
  if (m_mode != RECORDING || m_has_header)
    return;
  m_writer.writeHeader(m_header);
  m_has_header = true;
}

int Recorder::chooseSeed(int seed) {
  if (m_mode == REPLAYING)
    return m_header.seed;
  if (m_mode == RECORDING && !m_has_header) {
    m_header.seed = seed;
    writeHeader();
  }
  return seed;
}

const RecordStep *Recorder::currentBlock() const {
  const std::vector<RecordStep> &steps = m_reader.getSteps();
  if (m_next_block < steps.size() && steps[m_next_block].step == m_step)
    return &steps[m_next_block];
  return nullptr;
}

void Recorder::deliverInput(const InputManager &input_manager) {
  if (m_mode != REPLAYING)
    return;
  // Of the player's own input only closing the window counts.
  WindowEvent event;
  while ((event = input_manager.nextWindowEvent(false)) != NO_WINDOW_EVENT) {
    if (event == WINDOW_CLOSED) {
      LogManager::getInstance().writeLog(
          "Recorder::deliverInput(): Window closed. Stopping the replay.");
      GameManager::getInstance().setGameOver(true);
      return;
    }
  }
  if (const RecordStep *p_block = currentBlock())
    for (const RecordedInput &input : p_block->inputs)
      deliverRecordedInput(input_manager, input);
}

WindowEvent Recorder::nextEvent(bool) { return NO_WINDOW_EVENT; }

void Recorder::onInput(const Event &event) { noteInput(&event); }

void Recorder::onClose() { noteClose(); }

int Recorder::deliverMessages(const NetworkManager &network_manager) {
  return replayMessages(network_manager);
}

void Recorder::onMessage(int sock_index, int kind, const std::string &payload) {
  noteMessage(sock_index, kind, payload);
}

void Recorder::noteInput(const Event *p_event) {
  RecordedInput input;
  if (m_mode == RECORDING && toRecordedInput(p_event, input))
    m_inputs.push_back(input);
}

void Recorder::noteClose() {
  if (m_mode != RECORDING)
    return;
  RecordedInput input;
  input.kind = INPUT_CLOSE;
  m_inputs.push_back(input);
}

void Recorder::noteMessage(int socket, int message_kind, const std::string &payload) {
  if (m_mode != RECORDING || socket < 0 || message_kind < 1 || message_kind > MESSAGE_CUSTOM ||
      payload.size() > static_cast<size_t>(MAX_MESSAGE_SIZE))
    return;
  RecordedInput input;
  input.kind = INPUT_MESSAGE;
  input.socket = socket;
  input.message_kind = message_kind;
  input.payload = payload;
  m_inputs.push_back(input);
}

int Recorder::replayMessages(const NetworkManager &network_manager) {
  if (m_mode != REPLAYING || m_messages_given)
    return 0;
  m_messages_given = true;
  const RecordStep *p_block = currentBlock();
  if (p_block == nullptr)
    return 0;
  int delivered = 0;
  for (const RecordedInput &input : p_block->inputs) {
    if (input.kind != INPUT_MESSAGE)
      continue;
    network_manager.deliverMessage(input.socket, input.message_kind, input.payload);
    delivered++;
  }
  return delivered;
}

void Recorder::endStep() {
  if (m_mode == OFF)
    return;
  if (m_finished) {
    // A replay that ended keeps ending the loop until the program stops.
    GameManager::getInstance().setGameOver(true);
    return;
  }
  const uint64_t hash = hashWorld(m_first_id);
  if (m_mode == RECORDING) {
    writeHeader();
    const bool new_hash = !m_has_hash || hash != m_hash;
    if (new_hash || !m_inputs.empty()) {
      RecordStep step;
      step.step = m_step;
      step.has_hash = new_hash;
      step.hash = hash;
      step.inputs.swap(m_inputs);
      m_writer.writeStep(step);
      // The list comes back, so its room is reused by the next step's input.
      m_inputs.swap(step.inputs);
    }
    m_inputs.clear();
    m_hash = hash;
    m_has_hash = true;
  } else {
    checkStep(hash);
  }
  m_step++;
  m_messages_given = false;
}

void Recorder::checkStep(uint64_t hash) {
  if (const RecordStep *p_block = currentBlock()) {
    if (p_block->has_hash)
      m_hash = p_block->hash;
    m_next_block++;
  }
  if (hash != m_hash) {
    char message[200];
    std::snprintf(message, sizeof(message),
                  "Recorder::endStep(): Error! Replay diverged from the record at step %d: "
                  "expected world hash %016llx, found %016llx.",
                  m_step, static_cast<unsigned long long>(m_hash),
                  static_cast<unsigned long long>(hash));
    fail(message);
    m_exit_status = REPLAY_DIVERGED;
  } else if (m_step + 1 >= m_reader.getStepCount()) {
    LogManager::getInstance().writeLog("Recorder::endStep(): Replay matched the record: %d steps.",
                                       m_step + 1);
    std::printf("Replay matched the record: %d steps.\n", m_step + 1);
    std::fflush(stdout);
  } else {
    return;
  }
  m_finished = true;
  GameManager::getInstance().setGameOver(true);
}

// Delivers a recorded keyboard or mouse event through the input manager.
void deliverRecordedInput(const InputManager &input_manager, const RecordedInput &input) {
  if (input.kind == INPUT_KEY) {
    EventKeyboard keyboard;
    keyboard.setKey(static_cast<Keyboard::Key>(input.code));
    keyboard.setKeyboardAction(static_cast<EventKeyboardAction>(input.action));
    keyboard.setPlayer(input.player);
    input_manager.onEvent(&keyboard);
  } else if (input.kind == INPUT_MOUSE) {
    EventMouse mouse;
    mouse.setMouseAction(static_cast<EventMouseAction>(input.action));
    mouse.setMouseButton(static_cast<Mouse::Button>(input.code));
    mouse.setMousePosition(Vector(input.x, input.y));
    mouse.setPlayer(input.player);
    input_manager.onEvent(&mouse);
  } else if (input.kind == INPUT_CLOSE) {
    LogManager::getInstance().writeLog(
        1, "Recorder::deliverInput(): Recorded window close. Setting game over.");
    GameManager::getInstance().setGameOver(true);
  }
}

// The record's form of a keyboard or mouse event; false for any other event.
bool toRecordedInput(const Event *p_event, RecordedInput &input) {
  if (const EventKeyboard *p_keyboard = dynamic_cast<const EventKeyboard *>(p_event)) {
    input.kind = INPUT_KEY;
    input.action = p_keyboard->getKeyboardAction();
    input.code = p_keyboard->getKey();
    input.player = p_keyboard->getPlayer();
    return input.action >= -1 && input.action <= 2 && input.code >= -1 &&
           input.code <= Keyboard::BACKQUOTE && input.player >= 0 && input.player < MAX_PLAYERS;
  }
  if (const EventMouse *p_mouse = dynamic_cast<const EventMouse *>(p_event)) {
    input.kind = INPUT_MOUSE;
    input.action = p_mouse->getMouseAction();
    input.code = p_mouse->getMouseButton();
    input.x = p_mouse->getMousePosition().getX();
    input.y = p_mouse->getMousePosition().getY();
    input.player = p_mouse->getPlayer();
    return input.action >= -1 && input.action <= 2 && input.code >= -1 && input.code <= 2 &&
           std::isfinite(input.x) && std::isfinite(input.y) && input.player >= 0 &&
           input.player < MAX_PLAYERS;
  }
  return false;
}


} // namespace vx
