// Small synthesis toolkit of the sound generator: a seeded noise source,
// oscillators, filters and envelopes working on mono float buffers at the
// game's sample rate, plus the finishing step that turns a buffer into
// clean 16-bit data at a matched loudness.
#pragma once

#include <cstdint>
#include <vector>

namespace sfx {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<float>;

// A buffer of silence `seconds` long.
Buffer make_buffer(double seconds);
// The sample index of time `seconds`.
int index_of(double seconds);

// Deterministic noise (xorshift64*), independent of the C library.
class Noise {
 public:
  explicit Noise(uint64_t seed);
  uint32_t next_u32();
  // Uniform in [0, 1).
  double uniform();
  // Uniform in [lo, hi).
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  // White noise in [-1, 1).
  float white() { return static_cast<float>(uniform() * 2.0 - 1.0); }

 private:
  uint64_t state_;
};

// Second-order filter (direct form I) with the usual audio designs. The
// design calls change the coefficients only, so a filter may be retuned
// while it runs.
class Biquad {
 public:
  void lowpass(double freq, double q);
  void highpass(double freq, double q);
  void bandpass(double freq, double q);  // 0 dB at the centre
  void high_shelf(double freq, double gain_db);
  float process(float x);
  void reset() { x1_ = x2_ = y1_ = y2_ = 0; }

 private:
  void set(double b0, double b1, double b2, double a0, double a1, double a2);
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Sine oscillator with a running phase, so the frequency may glide.
class Sine {
 public:
  explicit Sine(double phase = 0) : phase_(phase) {}
  float next(double freq);

 private:
  double phase_;
};

// Envelope pieces, t in seconds.
// Smooth rise (raised cosine) over `attack`, then exponential decay with
// time constant `tau`.
double hit_env(double t, double attack, double tau);
// Rise over `attack`, hold, then a raised-cosine release over `release`
// ending at `length`.
double note_env(double t, double attack, double release, double length);

// Adds a short tonal tick at `start`: a sine gliding down from
// `freq * (1 + glide)` to `freq`, with an optional second partial and a
// band-passed noise transient for the edge of the attack.
struct TickShape {
  double freq = 1500;
  double glide = 0.1;
  double attack = 0.0008;
  double tau = 0.006;
  double partial2 = 0.0;     // level of the partial at 2.7 x freq
  double noise = 0.0;        // level of the noise transient
  double noise_freq = 4000;  // its band centre
  double noise_tau = 0.0015;
  double amp = 1.0;
};
void add_tick(Buffer& buf, double start, const TickShape& shape, Noise& noise);

// Adds a bell-like tone: inharmonic partials with faster decay on top.
void add_bell(Buffer& buf, double start, double freq, double amp, double tau);

// Adds a pitched note built from harmonics of `freq`; `harmonics[k]` is the
// level of harmonic k+1. `brightness` in (0, 1] dims the upper harmonics as
// the envelope falls (lower = darker tail). `vibrato` is a depth in cents.
struct NoteShape {
  double freq = 440;
  double length = 0.2;
  double attack = 0.005;
  double release = 0.03;
  double tau = 0.0;  // 0 = no decay while held
  double amp = 1.0;
  double brightness = 1.0;
  double vibrato = 0.0;
  std::vector<double> harmonics{1.0};
};
void add_note(Buffer& buf, double start, const NoteShape& shape);

// Finishes a buffer: fade-in/out of the given lengths, no DC offset, gain
// so that its loudness is `level_db` relative to the common target with the
// peak held under the ceiling, then rounds to 16 bits.
struct Finished {
  std::vector<int16_t> samples;
  double gain_db = 0;
  bool peak_limited = false;
};
Finished finish(Buffer buf, double fade_in, double fade_out, double level_db);

// Loudness measure used for matching: the loudest 50 ms window of the
// signal after a rough hearing weighting (bass cut, presence lift), as RMS
// relative to full scale 1.0.
double loudness(const Buffer& buf);

// The eleven effects of the game in datafile order.
struct Effect {
  const char* name;  // object name and preview file stem
  Buffer (*make)();
  double fade_in;
  double fade_out;
  double level_db;
};
const std::vector<Effect>& effects();

}  // namespace sfx
