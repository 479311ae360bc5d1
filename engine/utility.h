// Free functions shared across the engine: text utilities, randomness and geometry.
#ifndef VX_UTILITY_H
#define VX_UTILITY_H

#include <ios>
#include <string>

namespace vx {

// The value of key `find` in text of comma-separated key:value pairs, or "".
// Whitespace in `str` is ignored; the first occurrence of a key counts; an
// element made of colons only ends the parsing.
std::string match(std::string str, std::string find);

// The local time of day as "hh:mm:ss", or "(time error)". The text lives in a
// shared buffer that the next call overwrites.
const char *getTimeString();

// 0 when the stream is good; otherwise logs "<where>: Error! Stream eof." (or
// "... Stream fail.") and returns -1.
int checkStream(const char *where, const std::ios &stream);

// Exactly 32 characters '0' or '1', bit 31 first.
std::string toBinaryString(unsigned int value);

// Numbers as a default-formatted standard stream writes them.
std::string toString(int value);
std::string toString(float value);

// True when min <= value <= max.
bool valueInRange(float value, float min, float max);

// The largest value randomInt() returns; formulas divide by it for a fraction.
const int RANDOM_MAX = 32767;

// A random integer in 0 to RANDOM_MAX, from the runtime's rand() (which the
// game manager seeds). Every random draw of the engine and game goes through here.
int randomInt();

} // namespace vx

#endif // VX_UTILITY_H
