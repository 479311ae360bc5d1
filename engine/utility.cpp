#include "utility.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/stack.h>
#endif

#include <pthread.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <ostream>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <vector>

#include "LogManager.h"

namespace vx {

namespace {

// The tables of the last match() call, kept until the next one.
std::vector<std::string> match_keys;
std::vector<std::string> match_values;

// Splits text at a separator, skipping empty pieces.
std::vector<std::string> splitNonEmpty(const std::string &text, char separator) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  while (start <= text.size()) {
    std::string::size_type end = text.find(separator, start);
    if (end == std::string::npos)
      end = text.size();
    if (end > start)
      pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

} // namespace

std::string match(std::string str, std::string find) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", str.c_str(), find.c_str());
  if (str.empty()) {
    log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", find.c_str(), 0);
    return "";
  }

  std::string text;
  text.reserve(str.size());
  for (char c : str)
    if (!std::isspace(static_cast<unsigned char>(c)))
      text += c;

  match_keys.clear();
  match_values.clear();
  log_manager.writeLog(25, "match(): number of elements allocated is %d",
                       static_cast<int>(std::count(text.begin(), text.end(), ',')) + 1);

  for (const std::string &element : splitNonEmpty(text, ',')) {
    log_manager.writeLog(25, "\titem number %d", static_cast<int>(match_keys.size()));
    log_manager.writeLog(28, "\tp_element is '%s' (%p)", element.c_str(),
                         static_cast<const void *>(element.c_str()));
    std::vector<std::string> pieces = splitNonEmpty(element, ':');
    if (pieces.empty()) {
      log_manager.writeLog(28, "\ttoken is '%s' (%p)", "(null)", nullptr);
      break; // An element of colons only ends the parsing.
    }
    // The key is the first piece and the value the second; colons in a row
    // count as one separator and pieces after the second are ignored.
    std::string value = pieces.size() > 1 ? pieces[1] : "";
    log_manager.writeLog(28, "\ttoken is '%s' (%p)", pieces[0].c_str(),
                         static_cast<const void *>(pieces[0].c_str()));
    log_manager.writeLog(25, "\tkey %s", pieces[0].c_str());
    log_manager.writeLog(25, "\tval %s", value.c_str());
    match_keys.push_back(pieces[0]);
    match_values.push_back(value);
  }

  log_manager.writeLog(25, "match(): parsed.");
  for (size_t i = 0; i < match_keys.size(); i++)
    log_manager.writeLog(28, "\t%d  %s : %s", static_cast<int>(i), match_keys[i].c_str(),
                         match_values[i].c_str());
  log_manager.writeLog(25, "match(): Looking for match '%s' among %d items.", find.c_str(),
                       static_cast<int>(match_keys.size()));
  for (size_t i = 0; i < match_keys.size(); i++) {
    log_manager.writeLog(28, "match(): %d: %s == %s?", static_cast<int>(i),
                         match_keys[i].c_str(), find.c_str());
    if (match_keys[i] == find)
      return match_values[i];
  }
  return "";
}

const char *getTimeString() {
  static char time_str[32];
  std::time_t now = std::time(nullptr);
  struct tm local;
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    std::snprintf(time_str, sizeof(time_str), "(time error)");
    return time_str;
  }
  std::snprintf(time_str, sizeof(time_str), "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                local.tm_sec);
  return time_str;
}

int checkStream(const char *where, const std::ios &stream) {
  if (stream.good())
    return 0;
  if (stream.eof())
    LogManager::getInstance().writeLog("%s: Error! Stream eof.", where);
  else
    LogManager::getInstance().writeLog("%s: Error! Stream fail.", where);
  return -1;
}

std::string toBinaryString(unsigned int value) {
  std::string bits(32, '0');
  for (int i = 0; i < 32; i++)
    if (value & (1u << (31 - i)))
      bits[static_cast<size_t>(i)] = '1';
  return bits;
}

std::string toString(int value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

int toInt(const std::string &text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return static_cast<int>(value);
}

bool isRegularFile(const std::string &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

long long regularFileSize(const std::string &path) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (!std::filesystem::is_regular_file(file, error))
    return -1;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  return error ? -1 : static_cast<long long>(size);
}

bool riffChunksFit(const std::string &path) {
  const long long size = regularFileSize(path);
  std::ifstream in(path, std::ios::binary);
  char tag[4];
  if (size < 12 || !in.read(tag, 4) || std::string(tag, 4) != "RIFF")
    return true; // Not a RIFF file: its own reader judges it.
  in.seekg(12);
  // Chunks follow the 12-byte file header: a 4-byte id, a 4-byte size, the
  // data and a pad byte when the size is odd.
  long long offset = 12;
  std::uint32_t chunk_size = 0;
  while (offset + 8 <= size && in.read(tag, 4) && readUint32(in, chunk_size)) {
    offset += 8;
    if (static_cast<long long>(chunk_size) > size - offset)
      return false;
    offset += chunk_size + (chunk_size & 1);
    in.seekg(offset);
  }
  return true;
}

bool isOnStack(const void *p_address) {
  // The bounds are asked once per thread: for the main thread the system
  // reads them from the process's memory map. In the browser the one stack
  // is a range of the program's memory its runtime knows.
  struct Bounds {
    const char *p_low = nullptr, *p_high = nullptr;
    Bounds() {
#ifdef __EMSCRIPTEN__
      p_low = reinterpret_cast<const char *>(emscripten_stack_get_end());
      p_high = reinterpret_cast<const char *>(emscripten_stack_get_base());
      return;
#endif
      pthread_attr_t attributes;
      if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return;
      void *p_stack = nullptr;
      size_t size = 0;
      if (pthread_attr_getstack(&attributes, &p_stack, &size) == 0) {
        p_low = static_cast<const char *>(p_stack);
        p_high = p_low + size;
      }
      pthread_attr_destroy(&attributes);
    }
  };
  static thread_local const Bounds bounds;
  const char *p = static_cast<const char *>(p_address);
  return bounds.p_low != nullptr && p >= bounds.p_low && p < bounds.p_high;
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

namespace {

// The random sequence: an additive feedback generator over 31 words, its
// table filled by a multiplicative congruential generator and run 310 times
// before the first number (the sequence the native build's C library gives).
const int RANDOM_DEGREE = 31;    // Words in the table.
const int RANDOM_SEPARATION = 3; // How far the front runs ahead of the rear.

struct RandomState {
  std::int32_t table[RANDOM_DEGREE] = {};
  int front = RANDOM_SEPARATION;
  int rear = 0;
  bool seeded = false;
};

RandomState g_random;

std::int32_t nextRandom() {
  std::int32_t *table = g_random.table;
  const std::uint32_t sum = static_cast<std::uint32_t>(table[g_random.front]) +
                            static_cast<std::uint32_t>(table[g_random.rear]);
  table[g_random.front] = static_cast<std::int32_t>(sum);
  g_random.front = (g_random.front + 1) % RANDOM_DEGREE;
  g_random.rear = (g_random.rear + 1) % RANDOM_DEGREE;
  return static_cast<std::int32_t>(sum >> 1);
}

} // namespace

void seedRandom(unsigned int seed) {
  std::int32_t word = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
  g_random.table[0] = word;
  for (int i = 1; i < RANDOM_DEGREE; i++) {
    // 16807 * word mod (2^31 - 1), without overflowing.
    const std::int64_t high = word / 127773, low = word % 127773;
    std::int64_t next = 16807 * low - 2836 * high;
    if (next < 0)
      next += 2147483647;
    word = static_cast<std::int32_t>(next);
    g_random.table[i] = word;
  }
  g_random.front = RANDOM_SEPARATION;
  g_random.rear = 0;
  for (int i = 0; i < RANDOM_DEGREE * 10; i++)
    nextRandom();
  g_random.seeded = true;
}

int randomInt() {
  if (!g_random.seeded)
    seedRandom(1);
  return nextRandom() & RANDOM_MAX;
}

void sineCosine(float radians, float &sine, float &cosine) {
  // Quarter turns taken off first (pi / 2 in two parts, so the remainder
  // keeps its precision), then Taylor series on [-pi/4, pi/4] in double,
  // whose error is far below a float's last place.
  const double quarter_high = 1.5707963267341256, quarter_low = 6.077100506506192e-11;
  const double x = static_cast<double>(radians);
  const double turns = x / (quarter_high + quarter_low);
  const long quarter = static_cast<long>(turns < 0 ? turns - 0.5 : turns + 0.5);
  const double r = (x - static_cast<double>(quarter) * quarter_high) -
                   static_cast<double>(quarter) * quarter_low;
  const double r2 = r * r;
  double s = 0, c = 0, term_s = r, term_c = 1;
  for (int n = 1; n <= 19; n += 2) {
    s += term_s;
    c += term_c;
    term_s *= -r2 / static_cast<double>((n + 1) * (n + 2));
    term_c *= -r2 / static_cast<double>(n * (n + 1));
  }
  switch (((quarter % 4) + 4) % 4) {
    case 0: sine = static_cast<float>(s); cosine = static_cast<float>(c); break;
    case 1: sine = static_cast<float>(c); cosine = static_cast<float>(-s); break;
    case 2: sine = static_cast<float>(-s); cosine = static_cast<float>(-c); break;
    default: sine = static_cast<float>(-c); cosine = static_cast<float>(s); break;
  }
}

// ---------------------------------------------------------------------------
// Binary encoding
// ---------------------------------------------------------------------------

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559,
              "serialization needs IEEE 754 single-precision floats");

namespace {

// Writes the low `size` bytes of value, least significant first.
void writeLittleEndian(std::ostream &out, std::uint64_t value, int size) {
  char bytes[8];
  for (int i = 0; i < size; i++)
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xff);
  out.write(bytes, size);
}

// Reads `size` bytes, least significant first. False when fewer arrived.
bool readLittleEndian(std::istream &in, std::uint64_t &value, int size) {
  unsigned char bytes[8];
  in.read(reinterpret_cast<char *>(bytes), size);
  if (in.gcount() != size)
    return false;
  std::uint64_t result = 0;
  for (int i = size - 1; i >= 0; i--)
    result = (result << 8) | bytes[i];
  value = result;
  return true;
}

} // namespace

void writeFloat(std::ostream &out, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  writeLittleEndian(out, bits, 4);
}

void writeUint64(std::ostream &out, std::uint64_t value) { writeLittleEndian(out, value, 8); }

bool readFloat(std::istream &in, float &value) {
  std::uint64_t raw;
  if (!readLittleEndian(in, raw, 4))
    return false;
  std::uint32_t bits = static_cast<std::uint32_t>(raw);
  float read;
  std::memcpy(&read, &bits, sizeof(read));
  // Positions, sizes and speeds are finite: a NaN or an infinity from
  // elsewhere would reach integer conversions and the grid.
  if (!std::isfinite(read)) {
    in.setstate(std::ios::failbit);
    return false;
  }
  value = read;
  return true;
}

bool readUint64(std::istream &in, std::uint64_t &value) { return readLittleEndian(in, value, 8); }

void writeInt32(std::ostream &out, std::int32_t value) {
  writeLittleEndian(out, static_cast<std::uint32_t>(value), 4);
}

bool readInt32(std::istream &in, std::int32_t &value) {
  std::uint64_t raw;
  if (!readLittleEndian(in, raw, 4))
    return false;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
  return true;
}

void writeUint32(std::ostream &out, std::uint32_t value) { writeLittleEndian(out, value, 4); }

bool readUint32(std::istream &in, std::uint32_t &value) {
  std::uint64_t raw;
  if (!readLittleEndian(in, raw, 4))
    return false;
  value = static_cast<std::uint32_t>(raw);
  return true;
}

void writeBool(std::ostream &out, bool value) { out.put(value ? 1 : 0); }

bool readBool(std::istream &in, bool &value) {
  char byte;
  if (!in.get(byte))
    return false;
  value = byte != 0;
  return true;
}

std::uint64_t bytesLeft(std::istream &in) {
  if (!in.good())
    return 0;
  const std::istream::pos_type here = in.tellg();
  if (here == std::istream::pos_type(-1))
    return UINT64_MAX;
  in.seekg(0, std::ios::end);
  const std::istream::pos_type end = in.tellg();
  in.seekg(here);
  if (end == std::istream::pos_type(-1) || !in.good()) {
    in.clear();
    in.seekg(here);
    return UINT64_MAX;
  }
  return end > here ? static_cast<std::uint64_t>(end - here) : 0;
}

void writeString(std::ostream &out, const std::string &value) {
  writeUint64(out, value.size());
  out.write(value.data(), static_cast<std::streamsize>(value.size()));
}

bool readString(std::istream &in, std::string &value) {
  std::uint64_t length = 0;
  if (!readUint64(in, length))
    return false;
  if (length > bytesLeft(in)) {
    in.setstate(std::ios::eofbit | std::ios::failbit); // The data ends before the string.
    return false;
  }
  // Read in pieces, so that even on a stream that cannot tell its size a
  // corrupt length cannot make it allocate more than the stream holds.
  std::string result;
  char buffer[4096];
  while (length > 0) {
    const std::uint64_t piece = length < sizeof(buffer) ? length : sizeof(buffer);
    if (!in.read(buffer, static_cast<std::streamsize>(piece)))
      return false;
    result.append(buffer, static_cast<std::size_t>(piece));
    length -= piece;
  }
  value = result;
  return true;
}

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

bool boxContainsPosition(const Box &b, const Vector &p) {
  Vector c = b.getCorner();
  return valueInRange(p.getX(), c.getX(), c.getX() + b.getHorizontal()) &&
         valueInRange(p.getY(), c.getY(), c.getY() + b.getVertical());
}

float distance(const Vector &a, const Vector &b) { return (a - b).getMagnitude(); }

} // namespace vx
