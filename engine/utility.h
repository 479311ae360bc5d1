/// \file
/// Free functions shared across the engine: text utilities, randomness and geometry.
#ifndef VX_UTILITY_H
#define VX_UTILITY_H

#include <cstdint>
#include <ios>
#include <iosfwd>
#include <string>

#include "Box.h"
#include "Vector.h"

namespace vx {

/// The value of key `find` in text of comma-separated key:value pairs, or "".
/// Whitespace in `str` is ignored; the first occurrence of a key counts; an
/// element made of colons only ends the parsing.
std::string match(std::string str, std::string find);

/// The local time of day as "hh:mm:ss", or "(time error)". The text lives in a
/// shared buffer that the next call overwrites.
const char *getTimeString();

/// 0 when the stream is good; otherwise logs "<where>: Error! Stream eof." (or
/// "... Stream fail.") and returns -1.
int checkStream(const char *where, const std::ios &stream);

/// Exactly 32 characters '0' or '1', bit 31 first.
std::string toBinaryString(unsigned int value);

///@{
/// Numbers as a default-formatted standard stream writes them.
std::string toString(int value);
std::string toString(float value);
///@}

/// Integer conversion of text: leading white space, a sign and digits; the
/// rest is ignored, no digits give 0, and values beyond the range of int are
/// clamped to it.
int toInt(const std::string &text);

/// True when the path names a regular file (not a directory, device or pipe).
bool isRegularFile(const std::string &path);

/// The size in bytes of the regular file a path names (through symbolic
/// links), or -1 when it names no regular file (a directory, a device such as
/// /dev/zero, a pipe) or cannot be examined.
long long regularFileSize(const std::string &path);

/// For a RIFF (WAV) file, whether every chunk, the sample data included, lies
/// within the file as its header declares. Files of other kinds pass. Lets a
/// loader refuse a header that would have it allocate far more than the file
/// holds.
bool riffChunksFit(const std::string &path);

/// True when the address lies in the calling thread's stack (a local
/// variable of some function under way).
bool isOnStack(const void *p_address);

/// True when min <= value <= max.
bool valueInRange(float value, float min, float max);

/// The largest value randomInt() returns; formulas divide by it for a fraction.
const int RANDOM_MAX = 32767;

/// Starts the engine's random sequence afresh from a seed (0 counts as 1).
/// The game manager seeds it at start-up; a sequence never seeded runs as
/// seeded with 1.
void seedRandom(unsigned int seed);

/// A random integer in 0 to RANDOM_MAX, the next of the engine's own sequence.
/// Every random draw of the engine and game goes through here, never through
/// the C library's rand(): libraries call that too (the audio system does
/// when it starts), and a game must draw the same numbers wherever it is
/// recorded or replayed. The sequence is the low 15 bits of what the native
/// build's C library gives for the same seed, so older records still replay.
int randomInt();

/// The sine and cosine of an angle in radians (best within a few turns of 0),
/// computed with plain arithmetic instead of the C library's: C libraries
/// round some of them differently (the native build's and the browser's differ
/// for about one angle in forty), and a game that steers by them must play
/// the same everywhere a record of it is replayed.
void sineCosine(float radians, float &sine, float &cosine);

// ---------------------------------------------------------------------------
// Binary encoding shared by the serializers: fixed-size values in little-endian
// byte order, whatever the machine's. A failed write or read leaves the
// stream's failure state set for the caller's checkStream().
// ---------------------------------------------------------------------------

/// Writes the 4 bytes of an IEEE 754 single-precision float.
void writeFloat(std::ostream &out, float value);

/// Writes the 8 bytes of an unsigned 64-bit integer.
void writeUint64(std::ostream &out, std::uint64_t value);

/// Reads what writeFloat() wrote. False, with `value` unchanged, when the
/// stream could not deliver all 4 bytes, or when they hold a NaN or an
/// infinity (the stream is then failed).
bool readFloat(std::istream &in, float &value);

/// Reads what writeUint64() wrote. False, with `value` unchanged, when the
/// stream could not deliver all 8 bytes.
bool readUint64(std::istream &in, std::uint64_t &value);

/// Writes the 4 bytes of a signed 32-bit integer (two's complement).
void writeInt32(std::ostream &out, std::int32_t value);

/// Reads what writeInt32() wrote. False, with `value` unchanged, on a short stream.
bool readInt32(std::istream &in, std::int32_t &value);

/// Writes the 4 bytes of an unsigned 32-bit integer.
void writeUint32(std::ostream &out, std::uint32_t value);

/// Reads what writeUint32() wrote. False, with `value` unchanged, on a short stream.
bool readUint32(std::istream &in, std::uint32_t &value);

/// Writes a bool as one byte, 0 or 1.
void writeBool(std::ostream &out, bool value);

/// Reads one byte as a bool: any non-zero byte is true. False, with `value`
/// unchanged, on a short stream.
bool readBool(std::istream &in, bool &value);

/// Writes a string as its 64-bit length followed by its bytes.
void writeString(std::ostream &out, const std::string &value);

/// Reads what writeString() wrote. A length beyond what the stream still holds
/// fails the stream before anything is allocated. False, with `value`
/// unchanged, on a short stream.
bool readString(std::istream &in, std::string &value);

/// How many bytes a stream can still deliver: the distance from the read
/// position to the end for a seekable stream, 0 for a stream that is not good,
/// and the largest value for one that cannot tell. Lengths and counts read
/// from a stream are checked against it before memory is set aside for them.
std::uint64_t bytesLeft(std::istream &in);

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

// The geometry tests below are defined here: movement, collision queries and
// drawing call them for every object in every step.

/// True when the closed intervals [a, a + a_extent] and [b, b + b_extent] overlap.
inline bool intervalsOverlap(float a, float a_extent, float b, float b_extent) {
  return (b <= a && a <= b + b_extent) || (a <= b && b <= a + a_extent);
}

/// True when the boxes overlap on both axes; edges count, so boxes that only
/// touch along an edge or at a corner intersect.
inline bool boxIntersectsBox(const Box &a, const Box &b) {
  const Vector ac = a.getCorner(), bc = b.getCorner();
  return intervalsOverlap(ac.getX(), a.getHorizontal(), bc.getX(), b.getHorizontal()) &&
         intervalsOverlap(ac.getY(), a.getVertical(), bc.getY(), b.getVertical());
}

/// True when the position lies inside the box or on its edge.
bool boxContainsPosition(const Box &b, const Vector &p);

/// Euclidean distance between two positions.
float distance(const Vector &a, const Vector &b);

} // namespace vx

#endif // VX_UTILITY_H
