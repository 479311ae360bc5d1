#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace synth {

namespace {

const double PI = 3.14159265358979323846;

long toSamples(double seconds) { return std::lround(seconds * SAMPLE_RATE); }

// The value at fraction f (0 to 1) of an exponential move from a to b.
double expMove(double a, double b, double f) {
  f = std::clamp(f, 0.0, 1.0);
  return a * std::pow(b / a, f);
}

void putBytes(std::ofstream &out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; i++)
    out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

// The correction that rounds off a jump of the wave at phase 0, for a phase
// p (0 to 1) advancing by step a sample, so the jump does not alias.
double polyBlep(double p, double step) {
  if (step <= 0)
    return 0.0;
  if (p < step) {
    const double x = p / step;
    return x + x - x * x - 1.0;
  }
  if (p > 1.0 - step) {
    const double x = (p - 1.0) / step;
    return x * x + x + x + 1.0;
  }
  return 0.0;
}

} // namespace

float oscillator(Wave wave, double phase, float duty, double step) {
  const double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::SINE: return static_cast<float>(std::sin(2 * PI * p));
    case Wave::SQUARE: {
      const double falling = p - duty < 0 ? p - duty + 1.0 : p - duty;
      return static_cast<float>((p < duty ? 1.0 : -1.0) + polyBlep(p, step) -
                                polyBlep(falling, step));
    }
    case Wave::TRIANGLE: return static_cast<float>(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
    case Wave::SAW: return static_cast<float>(2 * p - 1 - polyBlep(p, step));
  }
  return 0.0f;
}

float Envelope::level(double t, double held) const {
  if (t < 0)
    return 0.0f;
  // The level of a note still held at time u.
  auto holding = [this](double u) -> double {
    if (u < attack)
      return u / attack;
    if (u < attack + decay)
      return 1.0 - (1.0 - sustain) * (u - attack) / decay;
    return sustain;
  };
  if (t < held)
    return static_cast<float>(holding(t));
  if (release <= 0 || t >= held + release)
    return 0.0f;
  return static_cast<float>(holding(held) * (1.0 - (t - held) / release));
}

Noise::Noise(uint32_t seed) : m_state(seed ? seed : 1) {}

float Noise::next() {
  // xorshift32
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return static_cast<float>(m_state / 2147483648.0 - 1.0);
}

float LowPass::process(float in, double cutoff_hz) {
  const double alpha = 1.0 - std::exp(-2 * PI * cutoff_hz / SAMPLE_RATE);
  m_state += static_cast<float>(alpha * (in - m_state));
  return m_state;
}

Track::Track(double seconds, bool loop)
    : m_samples(static_cast<std::size_t>(std::max(0L, toSamples(seconds))), 0.0f), m_loop(loop) {}

void Track::add(long index, float value) {
  const long size = static_cast<long>(m_samples.size());
  if (index < 0 || size == 0)
    return;
  if (index >= size) {
    if (!m_loop)
      return;
    index %= size;
  }
  m_samples[static_cast<std::size_t>(index)] += value;
}

const std::vector<float> &Track::samples() const { return m_samples; }

double Track::seconds() const { return static_cast<double>(m_samples.size()) / SAMPLE_RATE; }

void Track::normalize(float peak) {
  float loudest = 0.0f;
  for (float s : m_samples)
    loudest = std::max(loudest, std::fabs(s));
  if (loudest <= 0.0f)
    return;
  for (float &s : m_samples)
    s *= peak / loudest;
}

void Track::fade(double in_seconds, double out_seconds) {
  const long size = static_cast<long>(m_samples.size());
  const long in = std::min(size, toSamples(in_seconds));
  const long out = std::min(size, toSamples(out_seconds));
  for (long i = 0; i < in; i++)
    m_samples[static_cast<std::size_t>(i)] *= static_cast<float>(i) / in;
  for (long i = 0; i < out; i++)
    m_samples[static_cast<std::size_t>(size - 1 - i)] *= static_cast<float>(i) / out;
}

void playNote(Track &track, const Instrument &instrument, double frequency, double start,
              double held, double glide) {
  if (frequency <= 0 || held <= 0)
    return;
  const long first = toSamples(start);
  const long count = toSamples(held + instrument.envelope.release);
  LowPass filter;
  double phase = 0.0;
  for (long i = 0; i < count; i++) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    double f = glide > 0 ? expMove(frequency, glide, t / held) : frequency;
    if (instrument.vibrato_semitones > 0)
      f *= std::pow(2.0, instrument.vibrato_semitones *
                             std::sin(2 * PI * instrument.vibrato_hz * t) / 12.0);
    float value = oscillator(instrument.wave, phase, instrument.duty, f / SAMPLE_RATE);
    phase += f / SAMPLE_RATE;
    if (instrument.lowpass_hz > 0)
      value = filter.process(value, instrument.lowpass_hz);
    track.add(first + i, value * instrument.envelope.level(t, held) * instrument.gain);
  }
}

void playNoise(Track &track, const NoiseBurst &burst, double start, double held) {
  const long first = toSamples(start);
  const long count = toSamples(held + burst.envelope.release);
  Noise noise(burst.seed);
  LowPass filter;
  for (long i = 0; i < count; i++) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    const float white = noise.next();
    const float low = filter.process(white, expMove(burst.cutoff_from, burst.cutoff_to, t / held));
    const float value = burst.high_pass ? white - low : low;
    track.add(first + i, value * burst.envelope.level(t, held) * burst.gain);
  }
}

double noteFrequency(const std::string &name) {
  static const int LETTER_SEMITONES[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G above C
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
    return 0.0;
  int semitone = LETTER_SEMITONES[name[0] - 'A'];
  std::size_t at = 1;
  if (name[at] == '#' || name[at] == 'b')
    semitone += name[at++] == '#' ? 1 : -1;
  if (at + 1 != name.size() || name[at] < '0' || name[at] > '9')
    return 0.0;
  const int midi = 12 * (name[at] - '0' + 1) + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

double playLine(Track &track, const Instrument &instrument, const std::string &line,
                double start, double beat_seconds, double legato) {
  std::istringstream tokens(line);
  std::string token;
  double at = start;
  while (tokens >> token) {
    const std::size_t colon = token.find(':');
    const std::string name = token.substr(0, colon);
    const double beats = colon == std::string::npos ? 1.0 : std::atof(token.c_str() + colon + 1);
    const double seconds = beats * beat_seconds;
    if (name != "r") {
      const double frequency = noteFrequency(name);
      if (frequency <= 0)
        std::fprintf(stderr, "soundgen: unknown note '%s'\n", name.c_str());
      playNote(track, instrument, frequency, at, seconds * legato);
    }
    at += seconds;
  }
  return at;
}

std::vector<double> chordFrequencies(const std::string &chord) {
  std::vector<double> frequencies;
  std::istringstream names(chord);
  std::string name;
  while (std::getline(names, name, '+')) {
    const double frequency = noteFrequency(name);
    if (frequency <= 0)
      std::fprintf(stderr, "soundgen: unknown note '%s'\n", name.c_str());
    else
      frequencies.push_back(frequency);
  }
  return frequencies;
}

void playPattern(Track &track, const Instrument &instrument, const std::string &chord,
                 const std::string &pattern, double start, double step_seconds,
                 double transpose_octaves) {
  const std::vector<double> notes = chordFrequencies(chord);
  if (notes.empty())
    return;
  const double scale = std::pow(2.0, transpose_octaves);
  for (std::size_t step = 0; step < pattern.size(); step++) {
    const char c = pattern[step];
    std::vector<double> play;
    if (c >= '0' && c <= '9')
      play.push_back(notes[static_cast<std::size_t>(c - '0') % notes.size()]);
    else if (c == 'o')
      play.push_back(notes[0] * 2);
    else if (c == '*')
      play = notes;
    std::size_t steps = 1;
    while (step + steps < pattern.size() && pattern[step + steps] == '=')
      steps++;
    for (double frequency : play)
      playNote(track, instrument, frequency * scale, start + step * step_seconds,
               steps * step_seconds * 0.9);
  }
}

void playDrums(Track &track, const DrumBar &bar, double start, double step_seconds, float gain) {
  Instrument kick;
  kick.wave = Wave::SINE;
  kick.envelope = {0.002, 0.16, 0.0f, 0.01};
  kick.gain = gain;
  NoiseBurst snare;
  snare.envelope = {0.001, 0.12, 0.0f, 0.02};
  snare.gain = gain * 0.7f;
  snare.cutoff_from = 7000;
  snare.cutoff_to = 2500;
  snare.seed = 7;
  Instrument snare_body = kick;
  snare_body.envelope = {0.001, 0.06, 0.0f, 0.01};
  snare_body.gain = gain * 0.4f;
  NoiseBurst hat;
  hat.envelope = {0.001, 0.035, 0.0f, 0.01};
  hat.gain = gain * 0.35f;
  hat.cutoff_from = hat.cutoff_to = 5000;
  hat.high_pass = true;
  hat.seed = 11;

  for (std::size_t step = 0; step < bar.kick.size() || step < bar.snare.size() ||
                             step < bar.hat.size();
       step++) {
    const double at = start + step * step_seconds;
    auto hit = [step](const std::string &line) { return step < line.size() && line[step] == 'x'; };
    if (hit(bar.kick))
      playNote(track, kick, 150, at, 0.16, 45);
    if (hit(bar.snare)) {
      playNoise(track, snare, at, 0.12);
      playNote(track, snare_body, 190, at, 0.06, 160);
    }
    if (hit(bar.hat))
      playNoise(track, hat, at, 0.035);
  }
}

bool writeWav(const std::string &path, const Track &track) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out)
    return false;
  const uint32_t data_bytes = static_cast<uint32_t>(track.samples().size() * 2);
  out.write("RIFF", 4);
  putBytes(out, 36 + data_bytes, 4);
  out.write("WAVEfmt ", 8);
  putBytes(out, 16, 4);               // format chunk size
  putBytes(out, 1, 2);                // PCM
  putBytes(out, 1, 2);                // mono
  putBytes(out, SAMPLE_RATE, 4);      // frames per second
  putBytes(out, SAMPLE_RATE * 2, 4);  // bytes per second
  putBytes(out, 2, 2);                // bytes per frame
  putBytes(out, 16, 2);               // bits per sample
  out.write("data", 4);
  putBytes(out, data_bytes, 4);
  for (float s : track.samples()) {
    const long value = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    putBytes(out, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xffff, 2);
  }
  return static_cast<bool>(out);
}

} // namespace synth
