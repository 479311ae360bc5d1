// soundgen: writes every sound effect and tune of Swat (those of the game's
// asset list, game/assets.def) as a WAV file into the directory named on its
// command line. The output is the same, byte for byte,
// on every run.
//
//   soundgen <directory>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "synth.h"

using namespace synth;

namespace {

// ---------------------------------------------------------------------------
// Voices shared by the effects and the tunes
// ---------------------------------------------------------------------------

Instrument voice(Wave wave, Envelope envelope, float gain, double lowpass_hz = 0.0) {
  Instrument instrument;
  instrument.wave = wave;
  instrument.envelope = envelope;
  instrument.gain = gain;
  instrument.lowpass_hz = lowpass_hz;
  return instrument;
}

NoiseBurst noise(Envelope envelope, float gain, double cutoff_from, double cutoff_to,
                 uint32_t seed, bool high_pass = false) {
  NoiseBurst burst;
  burst.envelope = envelope;
  burst.gain = gain;
  burst.cutoff_from = cutoff_from;
  burst.cutoff_to = cutoff_to;
  burst.seed = seed;
  burst.high_pass = high_pass;
  return burst;
}

// Loudest sample of an effect and of a tune: the tunes stay under the effects
// played over them.
const float EFFECT_PEAK = 0.8f;
const float TUNE_PEAK = 0.55f;

// A short percussive note that dies away like a struck bell.
const Envelope BELL = {0.002, 0.35, 0.0f, 0.05};

// An effect at a comfortable level, with no click at either end.
Track finished(Track track) {
  track.normalize(EFFECT_PEAK);
  track.fade(0.003, 0.01);
  return track;
}

// ---------------------------------------------------------------------------
// Effects
// ---------------------------------------------------------------------------

// A whoosh of air rising in pitch, then the thwack of the swatter landing.
Track swat() {
  Track track(0.4, false);
  playNoise(track, noise({0.09, 0.03, 0.6f, 0.03}, 0.5f, 400, 5000, 3), 0.0, 0.13);
  playNoise(track, noise({0.001, 0.09, 0.0f, 0.02}, 0.9f, 2500, 600, 5), 0.13, 0.1);
  playNote(track, voice(Wave::SINE, {0.001, 0.14, 0.0f, 0.02}, 0.8f), 140, 0.13, 0.14, 55);
  return finished(track);
}

// A wet squelch: muffled noise that wobbles and sinks, over a dropping blob.
Track splat() {
  Track track(0.5, false);
  Instrument blob = voice(Wave::TRIANGLE, {0.005, 0.3, 0.0f, 0.05}, 0.6f, 900);
  blob.vibrato_hz = 23;
  blob.vibrato_semitones = 3;
  playNote(track, blob, 320, 0.0, 0.32, 70);
  NoiseBurst mush = noise({0.002, 0.35, 0.0f, 0.08}, 0.8f, 3500, 250, 9);
  playNoise(track, mush, 0.0, 0.35);
  return finished(track);
}

// Two bright notes going up.
Track pointUp() {
  Track track(0.55, false);
  const Instrument ding = voice(Wave::TRIANGLE, BELL, 0.5f);
  playNote(track, ding, noteFrequency("E6"), 0.0, 0.35);
  playNote(track, ding, noteFrequency("B6"), 0.09, 0.4);
  playNote(track, voice(Wave::SINE, BELL, 0.3f), noteFrequency("E7"), 0.09, 0.3);
  return finished(track);
}

// A quick rising run and a held major chord: "next one!".
Track intermission() {
  Track track(1.5, false);
  const double beat = 0.1;
  const Instrument lead = voice(Wave::SQUARE, {0.004, 0.08, 0.6f, 0.12}, 0.25f, 5000);
  const double end = playLine(track, lead, "G5 C6 E6 G6 r E6 G6:2", 0.0, beat, 0.8);
  Instrument chord = voice(Wave::TRIANGLE, {0.01, 0.2, 0.6f, 0.3}, 0.25f);
  playPattern(track, chord, "C5+E5+G5+C6", "*", end, 0.55);
  playPattern(track, voice(Wave::TRIANGLE, {0.005, 0.1, 0.8f, 0.2}, 0.4f), "C3+G3", "0=1=0=o=",
              0.0, beat);
  playDrums(track, {"x.......x", "....x.x..", "xxxxxxxx"}, 0.0, beat, 0.5f);
  return finished(track);
}

// Four falling notes, the last one long and wavering.
Track gameOver() {
  Track track(2.4, false);
  Instrument horn = voice(Wave::SAW, {0.02, 0.1, 0.8f, 0.15}, 0.35f, 1400);
  const double beat = 0.42;
  playLine(track, horn, "G4 F#4 F4", 0.0, beat, 0.85);
  horn.vibrato_hz = 5.5;
  horn.vibrato_semitones = 0.35;
  horn.envelope = {0.02, 0.3, 0.7f, 0.4};
  playNote(track, horn, noteFrequency("E4"), 3 * beat, 0.7, noteFrequency("D4"));
  const Instrument bass = voice(Wave::TRIANGLE, {0.01, 0.2, 0.7f, 0.3}, 0.4f);
  playLine(track, bass, "C3 B2 Bb2 A2:1.7", 0.0, beat, 0.9);
  return finished(track);
}

// A laser-like shot: a falling beep over a hiss.
Track fire() {
  Track track(0.45, false);
  playNote(track, voice(Wave::SQUARE, {0.002, 0.25, 0.1f, 0.05}, 0.35f, 4000), 1400, 0.0, 0.3,
           180);
  playNoise(track, noise({0.001, 0.12, 0.0f, 0.03}, 0.4f, 6000, 1500, 13, true), 0.0, 0.12);
  return finished(track);
}

// A big explosion: a crack, then a long roar that sinks into a rumble.
Track nuke() {
  Track track(2.0, false);
  playNoise(track, noise({0.002, 0.08, 0.5f, 0.1}, 0.6f, 8000, 3000, 17), 0.0, 0.1);
  playNoise(track, noise({0.01, 1.8, 0.0f, 0.5}, 1.0f, 3000, 90, 19), 0.0, 2.0);
  Instrument rumble = voice(Wave::SINE, {0.01, 1.8, 0.0f, 0.4}, 0.6f);
  playNote(track, rumble, 70, 0.0, 2.1, 32);
  return finished(track);
}

// One fly passing by: a buzzing saw whose pitch and loudness waver with its wings.
Track singleBuzz() {
  Track track(1.0, false);
  Instrument buzz = voice(Wave::SAW, {0.15, 0.1, 1.0f, 0.25}, 0.3f, 2200);
  buzz.vibrato_hz = 9;
  buzz.vibrato_semitones = 0.8;
  playNote(track, buzz, 185, 0.0, 0.75, 230);
  buzz.vibrato_hz = 13;
  buzz.gain = 0.15f;
  playNote(track, buzz, 372, 0.02, 0.73, 455);
  return finished(track);
}

// ---------------------------------------------------------------------------
// Tunes: melody, bass, an accompaniment and drums over a chord progression
// ---------------------------------------------------------------------------

struct Song {
  double bpm;
  std::vector<std::string> chords; // one a bar, four beats a bar
  std::string melody;              // a line for playLine
  std::string bass_pattern;        // one bar, for playPattern an octave down
  std::string comp_pattern;        // one bar, for playPattern
  DrumBar drums;                   // one bar
  Instrument lead, bass, comp;
  float drum_gain;
};

// The song once through, as a seamless loop: what rings past the last bar is
// heard at the start, and both ends fade over a few milliseconds.
Track render(const Song &song) {
  const double beat = 60.0 / song.bpm;
  const double bar = 4 * beat;
  Track track(bar * static_cast<double>(song.chords.size()), true);
  playLine(track, song.lead, song.melody, 0.0, beat);
  for (std::size_t i = 0; i < song.chords.size(); i++) {
    const double start = bar * static_cast<double>(i);
    playPattern(track, song.bass, song.chords[i], song.bass_pattern, start,
                bar / static_cast<double>(song.bass_pattern.size()), -1.0);
    playPattern(track, song.comp, song.chords[i], song.comp_pattern, start,
                bar / static_cast<double>(song.comp_pattern.size()));
    playDrums(track, song.drums, start, bar / static_cast<double>(song.drums.kick.size()),
              song.drum_gain);
  }
  track.normalize(TUNE_PEAK);
  track.fade(0.005, 0.005);
  return track;
}

// Cheerful: C major, I V vi IV, a bouncy square-wave lead.
Track startTune() {
  Song song;
  song.bpm = 132;
  song.chords = {"C4+E4+G4", "G3+B3+D4", "A3+C4+E4", "F3+A3+C4",
                 "C4+E4+G4", "G3+B3+D4", "F3+A3+C4", "G3+B3+D4"};
  song.melody = "C5:0.5 E5:0.5 G5 E5:0.5 G5:0.5 C6 "
                "B5 G5:0.5 D5:0.5 G5:2 "
                "A5:0.5 C6:0.5 E6 C6:0.5 A5:0.5 E5 "
                "F5 A5:0.5 C6:0.5 A5 F5 "
                "E5:0.5 G5:0.5 C6 D6:0.5 C6:0.5 G5 "
                "D6 B5:0.5 G5:0.5 D5 G5 "
                "A5:0.5 G5:0.5 F5:0.5 A5:0.5 C6 A5 "
                "G5 F5:0.5 D5:0.5 B4 r";
  song.bass_pattern = "0=2=0=2="; // root and fifth, in quarters
  song.comp_pattern = "r*r*r*r*"; // off-beat chords
  song.drums = {"x.......x.x.....", "....x.......x...", "x.x.x.x.x.x.x.x."};
  song.lead = voice(Wave::SQUARE, {0.005, 0.1, 0.5f, 0.06}, 0.3f, 4500);
  song.lead.duty = 0.25f;
  song.bass = voice(Wave::TRIANGLE, {0.005, 0.1, 0.8f, 0.05}, 0.5f);
  song.comp = voice(Wave::SQUARE, {0.003, 0.06, 0.2f, 0.03}, 0.08f, 2500);
  song.drum_gain = 0.5f;
  return render(song);
}

// Urgent: A minor at a run, with a driving eighth-note bass.
Track minigameTune() {
  Song song;
  song.bpm = 168;
  song.chords = {"A3+C4+E4", "F3+A3+C4", "C4+E4+G4", "G3+B3+D4",
                 "A3+C4+E4", "F3+A3+C4", "G3+B3+D4", "E3+G#3+B3"};
  song.melody = "A5:0.5 C6:0.5 E6:0.5 C6:0.5 A5:0.5 C6:0.5 E6:0.5 A6:0.5 "
                "F6:0.5 E6:0.5 C6:0.5 A5:0.5 F5:0.5 A5:0.5 C6 "
                "G5:0.5 C6:0.5 E6:0.5 G6:0.5 E6:0.5 C6:0.5 G5 "
                "B5:0.5 D6:0.5 G6:0.5 D6:0.5 B5:0.5 G5:0.5 D6 "
                "E6:0.5 E6:0.5 r:0.5 E6:0.5 D6:0.5 C6:0.5 B5:0.5 A5:0.5 "
                "C6:0.5 C6:0.5 r:0.5 C6:0.5 B5:0.5 A5:0.5 G5:0.5 F5:0.5 "
                "D6:0.5 D6:0.5 r:0.5 D6:0.5 B5:0.5 G5:0.5 B5:0.5 D6:0.5 "
                "E6 D6:0.5 B5:0.5 G#5 E5";
  song.bass_pattern = "00o000o0";
  song.comp_pattern = "0120212o0120212o";
  song.drums = {"x.....x.x.......", "....x.......x..x", "xxx.xxx.xxx.xxx."};
  song.lead = voice(Wave::SQUARE, {0.003, 0.08, 0.55f, 0.04}, 0.28f, 5000);
  song.bass = voice(Wave::SAW, {0.003, 0.08, 0.6f, 0.03}, 0.35f, 900);
  song.comp = voice(Wave::TRIANGLE, {0.002, 0.05, 0.3f, 0.03}, 0.12f);
  song.drum_gain = 0.55f;
  return render(song);
}

// Sweet and slow: F major sevenths, a soft singing lead and rippling chords.
Track loveTune() {
  Song song;
  song.bpm = 76;
  song.chords = {"F3+A3+C4+E4", "D3+F3+A3+C4", "G3+Bb3+D4+F4", "C3+E3+G3+Bb3"};
  song.melody = "A5:1.5 G5:0.5 F5 C6 "
                "D6:1.5 C6:0.5 A5:2 "
                "Bb5 A5:0.5 G5:0.5 D5 G5 "
                "E5:1.5 G5:0.5 C6 Bb5";
  song.bass_pattern = "0===2===";
  song.comp_pattern = "01231232";
  song.drums = {"x.......x.......", "................", "....x.......x..."};
  song.lead = voice(Wave::SINE, {0.04, 0.2, 0.7f, 0.25}, 0.45f);
  song.lead.vibrato_hz = 5;
  song.lead.vibrato_semitones = 0.15;
  song.bass = voice(Wave::SINE, {0.02, 0.2, 0.7f, 0.2}, 0.5f);
  song.comp = voice(Wave::TRIANGLE, {0.01, 0.3, 0.3f, 0.3}, 0.15f);
  song.drum_gain = 0.3f;
  return render(song);
}

struct Output {
  const char *file; // In the run directory: "sounds/<name>.wav".
  Track (*make)();
};

// Every sound and music of the game's asset list, each with its maker above.
const Output OUTPUTS[] = {
#define SWAT_SPRITE(label, file)
#define SWAT_SOUND(label, file, maker) {file, maker},
#define SWAT_MUSIC(label, file, maker) {file, maker},
#include "../game/assets.def"
#undef SWAT_SPRITE
#undef SWAT_SOUND
#undef SWAT_MUSIC
};

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    std::fprintf(stderr, "soundgen: cannot make '%s': %s\n", argv[1], error.message().c_str());
    return 1;
  }
  for (const Output &output : OUTPUTS) {
    const std::string path =
        (directory / std::filesystem::path(output.file).filename()).string();
    if (!writeWav(path, output.make())) {
      std::fprintf(stderr, "soundgen: cannot write '%s'\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
