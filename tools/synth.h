// The building blocks of the sound generator: oscillators, envelopes, seeded
// noise, a low-pass filter, a track the voices are mixed into, a small note
// sequencer and a WAV writer. Everything is deterministic: the same calls give
// the same samples on every run.
#ifndef SWAT_SYNTH_H
#define SWAT_SYNTH_H

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

constexpr int SAMPLE_RATE = 22050;

enum class Wave { SINE, SQUARE, TRIANGLE, SAW };

// The wave's value (-1 to 1) at a phase measured in cycles; only the
// fractional part of the phase counts. duty is the square wave's high share;
// step, the phase advance per sample, smooths the square and saw waves' jumps
// so that high notes do not alias (0: the raw wave).
float oscillator(Wave wave, double phase, float duty = 0.5f, double step = 0.0);

// Attack, decay to the sustain level while the note is held, then release.
struct Envelope {
  double attack = 0.005;  // seconds from 0 to full level
  double decay = 0.1;     // seconds from full level to the sustain level
  float sustain = 0.7f;   // level while held, after the decay
  double release = 0.05;  // seconds from the level at release to 0

  // The level at t seconds after the note started, for a note held that long.
  float level(double t, double held) const;
};

// White noise from a seeded generator: the same sequence on every run.
class Noise {
 private:
  uint32_t m_state;

 public:
  explicit Noise(uint32_t seed);
  // The next value, -1 to 1.
  float next();
};

// A one-pole low-pass filter whose cutoff may change from sample to sample.
class LowPass {
 private:
  float m_state = 0.0f;

 public:
  float process(float in, double cutoff_hz);
};

// A mono recording that voices are mixed into. A looping track wraps whatever
// rings past its end round to its start, so the seam of the loop is as smooth
// as any other point of the music.
class Track {
 private:
  std::vector<float> m_samples;
  bool m_loop;

 public:
  Track(double seconds, bool loop);

  // Adds the value to the sample at the index; past the end it wraps round on
  // a looping track and is dropped on any other.
  void add(long index, float value);

  const std::vector<float> &samples() const;
  double seconds() const;

  // Scales the recording so that its loudest sample has the given size.
  void normalize(float peak);
  // Ramps the first and the last samples from and to silence.
  void fade(double in_seconds, double out_seconds);
};

// How a voice sounds.
struct Instrument {
  Wave wave = Wave::SQUARE;
  float duty = 0.5f;
  Envelope envelope;
  float gain = 0.3f;
  double vibrato_hz = 0.0;        // speed of the pitch wobble
  double vibrato_semitones = 0.0; // its depth
  double lowpass_hz = 0.0;        // 0: no filter
};

// Plays a note of the frequency at start seconds, held for held seconds (the
// release rings on after that). With a glide frequency the pitch moves
// smoothly (exponentially) from frequency to glide over the held time.
void playNote(Track &track, const Instrument &instrument, double frequency, double start,
              double held, double glide = 0.0);

// Plays filtered noise: its envelope as for a note, its low-pass cutoff moving
// from cutoff_from to cutoff_to over the held time. high_pass keeps what the
// filter removes instead, for hissing sounds.
struct NoiseBurst {
  Envelope envelope;
  float gain = 0.3f;
  double cutoff_from = 4000.0;
  double cutoff_to = 4000.0;
  bool high_pass = false;
  uint32_t seed = 1;
};
void playNoise(Track &track, const NoiseBurst &burst, double start, double held);

// The frequency of a note name: a letter A to G, an optional '#' or 'b' and an
// octave, "A4" being 440 Hz. 0 for anything else.
double noteFrequency(const std::string &name);

// Plays a line of notes: blank-separated tokens, each a note name or "r" for a
// rest, then ':' and its length in beats ("E5:0.5", "r:1"); without a length a
// token lasts one beat. Notes are held for the given share of their length.
// Returns the time the line ends.
double playLine(Track &track, const Instrument &instrument, const std::string &line,
                double start, double beat_seconds, double legato = 0.85);

// The notes of a chord written as names joined by '+' ("C3+E3+G3").
std::vector<double> chordFrequencies(const std::string &chord);

// Plays an accompaniment over a chord, one character per step: a digit is the
// chord's note of that index (wrapping round), 'o' its first note an octave
// up, '*' every note at once, '=' holds the previous note one step longer, any
// other character is a rest step.
void playPattern(Track &track, const Instrument &instrument, const std::string &chord,
                 const std::string &pattern, double start, double step_seconds,
                 double transpose_octaves = 0.0);

// One bar of drums, one character per step in each line: 'x' plays, anything
// else is silent.
struct DrumBar {
  std::string kick;
  std::string snare;
  std::string hat;
};
void playDrums(Track &track, const DrumBar &bar, double start, double step_seconds, float gain);

// Writes the track as a 16-bit PCM mono WAV file. False when the file cannot
// be written.
bool writeWav(const std::string &path, const Track &track);

} // namespace synth

#endif // SWAT_SYNTH_H
