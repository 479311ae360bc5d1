#include "LockstepMatch.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <random>

#include "Clock.h"
#include "Config.h"
#include "DisplayManager.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "NetworkMessage.h"
#include "Object.h"
#include "PauseScreen.h"
#include "Recorder.h"
#include "ResourceManager.h"
#include "StopSignals.h"
#include "WorldHash.h"
#include "WorldManager.h"

namespace vx {

namespace {

// Letters of a join code: no 0/O or 1/I to misread.
const char CODE_LETTERS[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
const int PINGS = 5;                  // Round trips measured at the handshake.
const int64_t KEEPALIVE_US = 1000000; // While paused.
const size_t HASHES_KEPT = 256;       // Steps of this machine's hashes kept to compare.
const int END_NOTICE_MS = 2500;       // How long the screens show how a match ended.
const int LINGER_MS = 1500;           // How long a side that quit waits for the other to close.

std::u32string widen(const std::string &text) { return std::u32string(text.begin(), text.end()); }

std::string versionText(int version) {
  char text[16];
  std::snprintf(text, sizeof(text), "%d.%02d", version / 100, version % 100);
  return text;
}

int engineVersion() { return static_cast<int>(std::lround(VEXLO_VERSION * 100)); }

// A line for the player: to the log, and to the terminal unless the game is
// drawn there.
void tell(const std::string &line) {
  LogManager::getInstance().writeLog("LockstepMatch: %s", line.c_str());
  if (!DisplayManager::getInstance().usesTerminal()) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
}

// A match that cannot begin: the reason goes to the log as an error (which
// the program shows when the engine does not start) and to the terminal.
int fail(const std::string &line) {
  LogManager::getInstance().writeLog("LockstepMatch::startUp(): Error! %s", line.c_str());
  if (!DisplayManager::getInstance().usesTerminal()) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  return -1;
}

void sleepMicroseconds(int microseconds) { usleep(static_cast<useconds_t>(microseconds)); }

} // namespace

LockstepMatch::LockstepMatch()
    : m_role(NONE), m_state(IDLE), m_give_up_ms(DEFAULT_GIVE_UP_MS), m_seed(0),
      m_delay(MIN_INPUT_DELAY), m_step(0), m_first_id(0), m_peer_next(0), m_peer_quit(-1),
      m_peer_resumed(-1), m_pauses(0), m_exit_status(0) {
  setType("LockstepMatch");
}

LockstepMatch &LockstepMatch::getInstance() {
  static LockstepMatch match;
  return match;
}

void LockstepMatch::setHost(const std::string &address, const std::string &port) {
  m_role = HOST;
  m_address = address.empty() ? "0.0.0.0" : address;
  m_port = port.empty() ? DEFAULT_PORT : port;
}

void LockstepMatch::setJoin(const std::string &address, const std::string &port,
                            const std::string &code) {
  m_role = GUEST;
  m_address = address;
  m_port = port.empty() ? DEFAULT_PORT : port;
  m_code = code;
}

void LockstepMatch::setGameName(const std::string &name) { m_game = name; }

void LockstepMatch::setGiveUpTime(int milliseconds) {
  if (milliseconds > 0)
    m_give_up_ms = milliseconds;
}

bool LockstepMatch::isValid(std::string) const { return false; }
bool LockstepMatch::isPlaying() const { return m_state == PLAYING; }
bool LockstepMatch::isOver() const { return m_state == OVER; }
int LockstepMatch::getLocalPlayer() const { return m_role == GUEST ? 1 : 0; }
int LockstepMatch::getDelay() const { return m_delay; }
const std::string &LockstepMatch::getJoinCode() const { return m_code; }
const std::string &LockstepMatch::getEndMessage() const { return m_end_message; }
int LockstepMatch::getExitStatus() const { return m_exit_status; }
const MatchStats &LockstepMatch::getStats() const { return m_stats; }
bool LockstepMatch::isCapturing() const { return m_capturing; }

int LockstepMatch::getPort() const {
  return m_role == HOST ? NetworkManager::getInstance().getPort() : std::atoi(m_port.c_str());
}

int LockstepMatch::chooseSeed(int seed) const { return m_role == NONE ? seed : m_seed; }

int playerCount() {
  if (LockstepMatch::getInstance().getLocalPlayer() == 1 ||
      LockstepMatch::getInstance().isPlaying() || LockstepMatch::getInstance().isOver())
    return 2;
  return Recorder::getInstance().getPlayers();
}

int LockstepMatch::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);
  m_state = IDLE;
  m_step = 0;
  m_first_id = Object::getNextId();
  if (m_role == NONE) {
    Manager::startUp();
    return 0;
  }
  if (!Config::getInstance().getReplayFile().empty() ||
      Recorder::getInstance().isReplayRequested())
    return fail("A match cannot replay a record.");
  if (!NetworkManager::getInstance().isStarted())
    return fail("A match needs networking, which the configuration turns off.");
  if ((m_role == HOST ? host() : join()) != 0)
    return -1;
  // A record of the match is made in any case, for a report when the two
  // games go apart; unless one was asked for, it goes when the match ends well.
  Recorder &recorder = Recorder::getInstance();
  if (recorder.getRecordPath().empty()) {
    m_auto_record = m_role == HOST ? "vexlo-match-host.vxr" : "vexlo-match-guest.vxr";
    recorder.setRecordFile(m_auto_record);
  }
  Manager::startUp();
  return 0;
}

int LockstepMatch::host() {
  NetworkManager &network = NetworkManager::getInstance();
  if (network.setServer(m_port, m_address) != 0)
    return fail("Cannot host a game on port " + m_port + ".");
  network.setMaxConnections(1);
  std::random_device device;
  m_code.clear();
  for (int i = 0; i < JOIN_CODE_LENGTH; i++)
    m_code += CODE_LETTERS[device() % (sizeof(CODE_LETTERS) - 1)];
  const std::string where = "port " + std::to_string(network.getPort()) + ", join code " + m_code;
  tell("Waiting for a second player on " + where + ".");
  const std::u32string waiting = widen("Waiting for a second player: " + where);
  showBox(waiting);
  for (;;) {
    if (localQuit())
      return fail("No second player joined.");
    const int sock = network.accept();
    if (sock < 0) {
      sleepMicroseconds(10000);
      continue;
    }
    m_link.attach(sock);
    m_pending.clear();
    MatchMessage join;
    std::string error;
    const int got = nextMessage(join, waiting, error);
    if (got == -2)
      return fail("No second player joined.");
    if (got == 0 && join.type != MATCH_JOIN)
      error = "it did not begin with a join";
    if (error.empty() && welcome(join, error) == 0)
      return 0;
    tell("Refused a player: " + error + ".");
    m_link.close();
    showBox(waiting);
  }
}

std::string LockstepMatch::refusal(const MatchMessage &join) const {
  const DisplayManager &display = DisplayManager::getInstance();
  const Config &config = Config::getInstance();
  if (join.code != m_code)
    return "wrong join code";
  if (join.protocol != MATCH_PROTOCOL || join.engine_version != engineVersion())
    return "another engine version (the host runs " + versionText(engineVersion()) +
           ", the guest " + versionText(join.engine_version) + ")";
  if (join.game != m_game)
    return "another game (the host plays '" + m_game + "', the guest '" + join.game + "')";
  if (join.columns != display.getHorizontal() || join.rows != display.getVertical())
    return "other view sizes (the host has " + std::to_string(display.getHorizontal()) + "x" +
           std::to_string(display.getVertical()) + " cells, the guest " +
           std::to_string(join.columns) + "x" + std::to_string(join.rows) + ")";
  if (join.grid_width != config.getGridWidth() || join.grid_height != config.getGridHeight())
    return "other grid sizes (the host has " + std::to_string(config.getGridWidth()) + "x" +
           std::to_string(config.getGridHeight()) + ", the guest " +
           std::to_string(join.grid_width) + "x" + std::to_string(join.grid_height) + ")";
  return "";
}

int LockstepMatch::welcome(const MatchMessage &join, std::string &error) {
  error = refusal(join);
  if (!error.empty()) {
    MatchMessage refuse;
    refuse.type = MATCH_REFUSE;
    refuse.text = error;
    m_link.send(refuse);
    NetworkManager::getInstance().sendQueued();
    return -1;
  }
  // The delay covers the slowest round trip measured, and a step more.
  int round_trip_us = 0;
  for (int i = 0; i < PINGS; i++) {
    MatchMessage ping;
    ping.type = MATCH_PING;
    ping.nonce = i;
    const int64_t sent = Clock::now();
    MatchMessage pong;
    if (m_link.send(ping) != 0 || nextMessage(pong, U"", error) != 0) {
      if (error.empty())
        error = "it went away during the handshake";
      return -1;
    }
    if (pong.type != MATCH_PONG || pong.nonce != i) {
      error = "it did not answer the round trip";
      return -1;
    }
    round_trip_us = std::max(round_trip_us, static_cast<int>(Clock::now() - sent));
  }
  const int frame_time = Config::getInstance().getFrameTime();
  const int frame_us = std::max(1, frame_time) * 1000;
  const int delay = std::min(MAX_INPUT_DELAY,
                             std::max(MIN_INPUT_DELAY, (round_trip_us + frame_us - 1) / frame_us + 1));
  int seed = Config::getInstance().getRandomSeed();
  if (seed == 0 || seed == -1) // Both machines need one seed: never the time of each.
    seed = static_cast<int>(static_cast<unsigned int>(std::time(nullptr)) & 0x7fffffff);
  MatchMessage start;
  start.type = MATCH_START;
  start.seed = seed;
  start.delay = delay;
  start.frame_time = frame_time;
  if (m_link.send(start) != 0) {
    error = "it went away during the handshake";
    return -1;
  }
  begin(seed, delay, frame_time);
  m_stats.round_trip_us = round_trip_us;
  return 0;
}

int LockstepMatch::join() {
  NetworkManager &network = NetworkManager::getInstance();
  const std::string where = m_address + ":" + m_port;
  tell("Joining the game at " + where + ".");
  const int sock = network.connect(m_address, m_port);
  if (sock < 0)
    return fail("Cannot reach a host at " + where + ".");
  m_link.attach(sock);
  const DisplayManager &display = DisplayManager::getInstance();
  const Config &config = Config::getInstance();
  MatchMessage join;
  join.type = MATCH_JOIN;
  join.engine_version = engineVersion();
  join.frame_time = config.getFrameTime();
  join.columns = display.getHorizontal();
  join.rows = display.getVertical();
  join.grid_width = config.getGridWidth();
  join.grid_height = config.getGridHeight();
  join.game = m_game;
  join.code = m_code;
  m_link.send(join);
  const std::u32string waiting = widen("Joining the game at " + where);
  for (;;) {
    MatchMessage message;
    std::string error;
    const int got = nextMessage(message, waiting, error);
    if (got == -2)
      return fail("Gave up joining.");
    if (got != 0)
      return fail("The host did not let us play: " + error + ".");
    if (message.type == MATCH_PING) {
      message.type = MATCH_PONG;
      m_link.send(message);
    } else if (message.type == MATCH_REFUSE) {
      return fail("The host refused to play: " + message.text + ".");
    } else if (message.type == MATCH_START && message.delay >= MIN_INPUT_DELAY &&
               message.delay <= MAX_INPUT_DELAY && message.frame_time <= 1000) {
      begin(message.seed, message.delay, message.frame_time);
      // What came with the start is the host's first input.
      std::deque<MatchMessage> early;
      early.swap(m_pending);
      for (const MatchMessage &each : early)
        handle(each);
      return 0;
    } else {
      return fail("The host did not let us play: it sent a message out of place.");
    }
  }
}

void LockstepMatch::begin(int seed, int delay, int frame_time) {
  m_seed = seed;
  m_delay = delay;
  Config::getInstance().setFrameTime(frame_time);
  // The match reads the connection itself, so the network manager never sees
  // it speak: its limit on silent new connections must not close it.
  NetworkManager::getInstance().setSilentConnectionTimeout(0);
  m_state = PLAYING;
  m_step = 0;
  m_peer_next = delay;
  m_peer_quit = -1;
  m_stats = MatchStats();
  m_stats.started_us = Clock::now();
  m_link.resetCounts();
  tell("The match begins: you are player " + std::to_string(getLocalPlayer() + 1) +
       ", input delay " + std::to_string(delay) + " steps.");
}

int LockstepMatch::pump() {
  if (m_state == OVER)
    return -1;
  // After a player said it quit, its input up to then is all there is:
  // the steps it ran still run here, then the match ends (gateStep).
  if (m_peer_quit >= 0)
    return 0;
  std::vector<MatchMessage> messages;
  std::string error;
  const int got = m_link.receive(messages, error);
  for (const MatchMessage &message : messages) {
    if (m_state == PLAYING)
      handle(message);
    else if (m_state == IDLE)
      m_pending.push_back(message);
  }
  if (got == -2) {
    m_broken = "it sent " + error;
    if (m_state == PLAYING)
      end("The other player sent " + error);
    return -1;
  }
  if (got == -1) {
    m_broken = "the connection closed";
    if (m_state == PLAYING && m_peer_quit < 0)
      end(OTHER_PLAYER_GONE);
    return m_state == PLAYING ? 0 : -1;
  }
  return m_state == OVER ? -1 : 0;
}

int LockstepMatch::nextMessage(MatchMessage &message, const std::u32string &waiting,
                               std::string &error) {
  const int64_t start = Clock::now();
  bool shown = false;
  for (;;) {
    if (m_pending.empty() && pump() != 0) {
      error = m_broken;
      return -1;
    }
    if (!m_pending.empty()) {
      message = m_pending.front();
      m_pending.pop_front();
      return 0;
    }
    if (localQuit())
      return -2;
    const int64_t waited_ms = (Clock::now() - start) / 1000;
    if (waited_ms > m_give_up_ms) {
      error = "nothing came in " + std::to_string(m_give_up_ms / 1000) + " s";
      return -1;
    }
    if (!shown && !waiting.empty() && waited_ms > WAIT_NOTICE_MS) {
      showBox(waiting);
      shown = true;
    }
    sleepMicroseconds(1000);
  }
}

void LockstepMatch::handle(const MatchMessage &message) {
  switch (message.type) {
    case MATCH_INPUT: {
      if (message.step != m_peer_next) {
        end("The other player sent input for step " + std::to_string(message.step) +
            (message.step < m_peer_next ? ", long past" : ", far ahead") + " (expected step " +
            std::to_string(m_peer_next) + ")");
        return;
      }
      // The other machine runs at most D steps ahead of this one, so its
      // input is for at most 2D steps ahead: more is a flood.
      if (message.step > m_step + 2 * m_delay + 1) {
        end("The other player sent input for step " + std::to_string(message.step) +
            ", far ahead of step " + std::to_string(m_step));
        return;
      }
      if (message.hash_step >= message.step || message.hash_step >= m_peer_next) {
        end("The other player sent a hash of step " + std::to_string(message.hash_step) +
            " it cannot have run");
        return;
      }
      m_inputs[1 - getLocalPlayer()][message.step] = message.inputs;
      m_peer_next++;
      if (message.hash_step >= 0) {
        m_peer_hashes[message.hash_step] = message.hash;
        compareHashes();
      }
      break;
    }
    case MATCH_RESUME:
      m_peer_resumed = message.step;
      break;
    case MATCH_KEEPALIVE:
      break;
    case MATCH_QUIT:
      m_peer_quit = message.step;
      break;
    case MATCH_APART:
      end(WORLDS_APART + std::to_string(message.step), MATCH_APART_STATUS);
      break;
    default:
      end("The other player sent a message out of place");
      break;
  }
}

void LockstepMatch::compareHashes() {
  while (!m_peer_hashes.empty() && m_state == PLAYING) {
    const auto peer = m_peer_hashes.begin();
    if (m_hashes.empty() || peer->first > m_hashes.back().first)
      return; // Not run here yet.
    for (const auto &own : m_hashes) {
      if (own.first == peer->first && own.second != peer->second) {
        const int step = peer->first;
        MatchMessage apart;
        apart.type = MATCH_APART;
        apart.step = step;
        m_link.send(apart);
        end(WORLDS_APART + std::to_string(step), MATCH_APART_STATUS);
        return;
      }
    }
    m_peer_hashes.erase(peer);
  }
}

void LockstepMatch::end(const std::string &message, int exit_status) {
  if (m_state != PLAYING)
    return;
  m_state = OVER;
  m_end_message = message;
  m_exit_status = exit_status;
  LogManager::getInstance().writeLog("LockstepMatch: %s (at step %d).", message.c_str(), m_step);
  GameManager::getInstance().setGameOver(true);
}

bool LockstepMatch::localQuit() const {
  if (pendingStopSignal() != 0)
    return true;
  const InputManager &input = InputManager::getInstance();
  for (WindowEvent event; (event = input.nextWindowEvent(false)) != NO_WINDOW_EVENT;)
    if (event == WINDOW_CLOSED)
      return true;
  return false;
}

void LockstepMatch::showBox(const std::u32string &text) const {
  const DisplayManager &display = DisplayManager::getInstance();
  if (text.empty() || (!display.hasWindow() && !display.usesTerminal()))
    return;
  // The terminal shows one byte a cell: an ellipsis goes as three dots.
  std::u32string shown;
  for (char32_t c : text)
    shown += c == U'\u2026' && display.usesTerminal() ? std::u32string(U"...") : std::u32string(1, c);
  showMessageBox(shown);
}

bool LockstepMatch::gateStep() {
  if (m_state != PLAYING)
    return m_state == IDLE;
  const int other = 1 - getLocalPlayer();
  const int64_t start = Clock::now();
  bool waited = false, shown = false;
  for (;;) {
    if (pump() != 0)
      return false;
    if (m_step < m_delay || m_inputs[other].count(m_step) != 0)
      break;
    if (m_peer_quit >= 0) {
      end(OTHER_PLAYER_LEFT);
      return false;
    }
    const int64_t waited_ms = (Clock::now() - start) / 1000;
    // Before the notice only a stop signal is looked for: the player's
    // input stays queued for the step.
    if (pendingStopSignal() != 0 || (shown && localQuit())) {
      GameManager::getInstance().setGameOver(true);
      return false;
    }
    if (waited_ms > m_give_up_ms) {
      end(OTHER_PLAYER_GONE);
      return false;
    }
    if (!shown && waited_ms > WAIT_NOTICE_MS) {
      showBox(U"Waiting for the other player\u2026");
      shown = true;
    }
    waited = true;
    sleepMicroseconds(200);
  }
  if (waited) {
    const int64_t wait_us = Clock::now() - start;
    m_stats.waited_steps++;
    m_stats.wait_us += wait_us;
    m_stats.longest_wait_us = std::max(m_stats.longest_wait_us, wait_us);
    LogManager::getInstance().writeLog("LockstepMatch: step %d waited %.1f ms for the other player.",
                                       m_step, static_cast<double>(wait_us) / 1000.0);
  }
  if (shown) // The notice took the picture the step is about to show.
    WorldManager::getInstance().draw();
  return true;
}

void LockstepMatch::capture(const RecordedInput &input) {
  // Only the last of a run of pointer moves matters; the others are not sent.
  if (input.kind == INPUT_MOUSE && input.action == MOVED && !m_captured.empty() &&
      m_captured.back().kind == INPUT_MOUSE && m_captured.back().action == MOVED)
    m_captured.back() = input;
  else if (m_captured.size() < static_cast<size_t>(MAX_STEP_INPUTS))
    m_captured.push_back(input);
}

void LockstepMatch::exchangeInput(const InputManager &input_manager) {
  m_captured.clear();
  m_capturing = true;
  input_manager.readInput();
  m_capturing = false;

  MatchMessage input;
  input.type = MATCH_INPUT;
  input.step = m_step + m_delay;
  if (!m_hashes.empty()) {
    input.hash_step = m_hashes.back().first;
    input.hash = m_hashes.back().second;
  }
  input.inputs = m_captured;
  m_link.send(input);
  m_inputs[getLocalPlayer()][input.step].swap(m_captured);

  for (int player = 0; player < MAX_PLAYERS; player++) {
    const auto found = m_inputs[player].find(m_step);
    if (found == m_inputs[player].end())
      continue;
    std::vector<RecordedInput> inputs;
    inputs.swap(found->second);
    m_inputs[player].erase(found);
    for (RecordedInput &each : inputs) {
      each.player = player;
      deliverRecordedInput(input_manager, each);
    }
  }
}

void LockstepMatch::endStep() {
  if (m_state != PLAYING)
    return;
  m_hashes.emplace_back(m_step, hashWorld(m_first_id));
  if (m_hashes.size() > HASHES_KEPT)
    m_hashes.pop_front();
  compareHashes();
  m_step++;
  m_stats.steps++;
  m_stats.bytes_sent = m_link.bytesSent();
  m_stats.bytes_received = m_link.bytesReceived();
  if (m_step % 1000 == 0)
    logStats();
}

void LockstepMatch::pause(int player) {
  if (m_state != PLAYING)
    return;
  const int pause_number = ++m_pauses;
  const std::u32string text = player == getLocalPlayer()
                                  ? U"PAUSED by you \u2014 any key resumes"
                                  : U"PAUSED by the other player \u2014 any key resumes";
  LogManager::getInstance().writeLog("LockstepMatch: paused by player %d.", player + 1);
  ResourceManager::getInstance().pauseAudio();
  showBox(text);
  const InputManager &input_manager = InputManager::getInstance();
  int64_t last_sent = Clock::now();
  while (pump() == 0 && m_peer_resumed != pause_number) {
    if (m_peer_quit >= 0) {
      end(OTHER_PLAYER_LEFT);
      break;
    }
    if (pendingStopSignal() != 0) {
      GameManager::getInstance().setGameOver(true);
      break;
    }
    const WindowEvent event = input_manager.nextWindowEvent(false);
    if (event == WINDOW_CLOSED) {
      GameManager::getInstance().setGameOver(true);
      break;
    }
    if (event == WINDOW_RESIZED)
      showBox(text);
    MatchMessage message;
    message.step = pause_number;
    if (event == WINDOW_KEY_PRESSED) {
      message.type = MATCH_RESUME;
      m_link.send(message);
      break;
    }
    const int64_t now = Clock::now();
    if ((now - m_link.heardAt()) / 1000 > m_give_up_ms) {
      end(OTHER_PLAYER_GONE);
      break;
    }
    if (now - last_sent > KEEPALIVE_US) {
      message.type = MATCH_KEEPALIVE;
      m_link.send(message);
      last_sent = now;
    }
    sleepMicroseconds(5000);
  }
  ResourceManager::getInstance().resumeAudio();
  input_manager.requestPointerUpdate();
  LogManager::getInstance().writeLog("LockstepMatch: resumed.");
}

void LockstepMatch::logStats() const {
  const double seconds =
      static_cast<double>(std::max<int64_t>(1, Clock::now() - m_stats.started_us)) / 1e6;
  LogManager::getInstance().writeLog(
      "LockstepMatch: step %d, delay %d, round trip %.1f ms; %d steps waited (%.3f s in all, "
      "longest %.1f ms); sent %lld bytes (%.0f bytes/s), received %lld bytes (%.0f bytes/s).",
      m_step, m_delay, m_stats.round_trip_us / 1000.0, m_stats.waited_steps,
      static_cast<double>(m_stats.wait_us) / 1e6,
      static_cast<double>(m_stats.longest_wait_us) / 1000.0,
      static_cast<long long>(m_stats.bytes_sent), static_cast<double>(m_stats.bytes_sent) / seconds,
      static_cast<long long>(m_stats.bytes_received),
      static_cast<double>(m_stats.bytes_received) / seconds);
}

void LockstepMatch::shutDown() {
  bool quitting = false;
  if (m_state != IDLE) {
    if (m_state == PLAYING && m_link.isOpen()) {
      quitting = true;
      MatchMessage quit;
      quit.type = MATCH_QUIT;
      quit.step = m_step - 1;
      m_link.send(quit);
      NetworkManager::getInstance().sendQueued();
    }
    logStats();
  }
  if (!m_end_message.empty()) {
    tell(m_end_message + ".");
    const DisplayManager &display = DisplayManager::getInstance();
    if (display.hasWindow() || display.usesTerminal()) {
      showBox(widen(m_end_message));
      const int64_t start = Clock::now();
      while ((Clock::now() - start) / 1000 < END_NOTICE_MS && pendingStopSignal() == 0) {
        const WindowEvent event = InputManager::getInstance().nextWindowEvent(false);
        if (event == WINDOW_CLOSED || event == WINDOW_KEY_PRESSED)
          break;
        sleepMicroseconds(10000);
      }
    }
  }
  if (!m_auto_record.empty()) {
    if (m_exit_status == 0)
      std::remove(m_auto_record.c_str());
    else
      tell("The record of the match is kept in '" + m_auto_record + "'.");
  }
  // Having said it quit, this side lets the other close first (it does
  // within a few steps).
  m_link.close(quitting ? LINGER_MS : 0);
  if (m_state == PLAYING)
    m_state = IDLE;
  Manager::shutDown();
}

} // namespace vx
