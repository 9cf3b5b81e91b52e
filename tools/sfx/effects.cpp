// The eleven effects. Each is built from a fixed recipe and a fixed noise
// seed, so every run writes the same samples.
#include <algorithm>
#include <cmath>

#include "sfx/synth.h"

namespace sfx {
namespace {

// A light, high tick for every cell the cascade opens: it repeats quickly,
// so it is the shortest and thinnest of the ticks.
Buffer auto_reveal() {
  Buffer b = make_buffer(0.030);
  Noise noise(100);
  TickShape s;
  s.freq = 2700;
  s.glide = 0.08;
  s.attack = 0.0005;
  s.tau = 0.0035;
  s.noise = 0.25;
  s.noise_freq = 6000;
  s.noise_tau = 0.0008;
  add_tick(b, 0, s, noise);
  return b;
}

// A snap: a bright noise crack over a short wooden knock that drops in pitch.
Buffer snap(double crack_freq, double crack_level, double body_freq, double attack, uint64_t seed) {
  Buffer b = make_buffer(0.065);
  Noise noise(seed);
  Biquad crack;
  crack.bandpass(crack_freq, 1.4);
  Sine body, knock;
  for (size_t i = 0; i < b.size(); i++) {
    double t = static_cast<double>(i) / kRate;
    double v = crack_level * crack.process(noise.white()) * hit_env(t, attack * 0.5, 0.0035);
    v += 0.8 * body.next(body_freq * (1 + 0.35 * std::exp(-t / 0.006))) * hit_env(t, attack, 0.010);
    v += 0.5 * knock.next(body_freq * 0.36) * hit_env(t, attack * 2, 0.012);
    b[i] = static_cast<float>(v);
  }
  return b;
}

// A softer snap for taking a flag away: darker crack, lower knock, slower edge.
Buffer remove_flag() { return snap(1800, 1.2, 620, 0.0016, 101); }

Buffer place_flag() { return snap(3200, 1.3, 980, 0.0006, 102); }

// One crackle: a decaying ping at a random pitch between lo and hi.
void add_crackle(Buffer& b, size_t at, double amp, double lo, double hi, Noise& noise) {
  double f = noise.range(lo, hi);
  double tau = noise.range(0.0004, 0.0014);
  double phase = noise.range(0, 2 * kPi);
  size_t span = static_cast<size_t>(tau * 8 * kRate);
  for (size_t k = 0; k < span && at + k < b.size(); k++) {
    double t = static_cast<double>(k) / kRate;
    b[at + k] += static_cast<float>(amp * std::exp(-t / tau) * std::sin(phase + 2 * kPi * f * t) *
                                    (0.6 + 0.4 * noise.white()));
  }
}

// A low thud with a noisy tail: a falling sub tone, a burst of noise whose
// brightness closes quickly, and a rumble that dies away slowly.
Buffer explosion() {
  Buffer b = make_buffer(0.90);
  Noise noise(103);
  Sine thud;
  Biquad body, rumble, rumble2;
  rumble.lowpass(140, 0.7);
  rumble2.lowpass(140, 0.7);
  for (size_t i = 0; i < b.size(); i++) {
    double t = static_cast<double>(i) / kRate;
    // Sparse debris in the tail.
    if (t > 0.05 && noise.uniform() < 0.004) add_crackle(b, i, 0.5 * std::exp(-t / 0.25), 500, 2500, noise);
    if (i % 16 == 0) body.lowpass(220 + 2600 * std::exp(-t / 0.07), 0.8);
    double v = 1.0 * thud.next(42 + 58 * std::exp(-t / 0.05)) * hit_env(t, 0.003, 0.16);
    v += 0.9 * body.process(noise.white()) * hit_env(t, 0.002, 0.20);
    v += 3.0 * rumble2.process(rumble.process(noise.white())) * hit_env(t, 0.015, 0.30);
    b[i] += static_cast<float>(v);
  }
  // Let the tail settle to nothing by the end.
  for (size_t i = 0; i < b.size(); i++) {
    double left = static_cast<double>(b.size() - i) / kRate;
    if (left < 0.25) b[i] = static_cast<float>(b[i] * std::sin(kPi / 2 * left / 0.25));
  }
  return b;
}

// Crackling bursts: three pops, each followed by a shower of crackles that
// thins out.
Buffer fireworks() {
  Buffer b = make_buffer(1.20);
  Noise noise(104);
  const double starts[] = {0.0, 0.30, 0.56};
  const double levels[] = {1.0, 0.8, 0.65};
  for (int burst = 0; burst < 3; burst++) {
    size_t n0 = static_cast<size_t>(index_of(starts[burst]));
    Biquad pop;
    pop.bandpass(900, 0.9);
    Sine low;
    for (size_t k = 0; n0 + k < b.size() && k < static_cast<size_t>(index_of(0.15)); k++) {
      double t = static_cast<double>(k) / kRate;
      double v = 1.2 * pop.process(noise.white()) * hit_env(t, 0.001, 0.018);
      v += 0.5 * low.next(150 * (1 + 0.5 * std::exp(-t / 0.01))) * hit_env(t, 0.002, 0.025);
      b[n0 + k] += static_cast<float>(levels[burst] * v);
    }
    // Crackles: a random process whose rate and loudness fall with time.
    for (size_t k = static_cast<size_t>(index_of(0.03)); n0 + k < b.size(); k++) {
      double t = static_cast<double>(k) / kRate;
      double rate = 260 * std::exp(-t / 0.16);  // crackles per second
      if (noise.uniform() < rate / kRate)
        add_crackle(b, n0 + k, levels[burst] * noise.range(0.25, 0.7) * std::exp(-t / 0.35), 1800, 6500, noise);
    }
  }
  return b;
}

// A click for buttons: a tiny noise edge and two very short pings, drier and
// more mechanical than the ticks.
Buffer click() {
  Buffer b = make_buffer(0.040);
  Noise noise(105);
  Biquad edge;
  edge.highpass(2500, 0.7);
  Sine hi, mid;
  for (size_t i = 0; i < b.size(); i++) {
    double t = static_cast<double>(i) / kRate;
    double v = 1.4 * edge.process(noise.white()) * hit_env(t, 0.0002, 0.0007);
    v += 0.7 * hi.next(3600) * hit_env(t, 0.0003, 0.0022);
    v += 0.6 * mid.next(1250) * hit_env(t, 0.0004, 0.0045);
    b[i] = static_cast<float>(v);
  }
  return b;
}

// A quick double tick: two bright ticks, the second a little higher.
Buffer chord() {
  Buffer b = make_buffer(0.095);
  Noise noise(106);
  TickShape s;
  s.freq = 1900;
  s.tau = 0.0045;
  s.partial2 = 0.25;
  s.noise = 0.3;
  s.noise_freq = 5000;
  add_tick(b, 0, s, noise);
  s.freq = 2350;
  add_tick(b, 0.045, s, noise);
  return b;
}

// A two-tone chime, high then lower.
Buffer message() {
  Buffer b = make_buffer(0.75);
  add_bell(b, 0.0, 1046.5, 1.0, 0.22);
  add_bell(b, 0.16, 784.0, 1.0, 0.30);
  return b;
}

// A soft tick for a cell the player opens: rounder and lower than the
// cascade's tick.
Buffer reveal() {
  Buffer b = make_buffer(0.050);
  Noise noise(108);
  TickShape s;
  s.freq = 1250;
  s.glide = 0.15;
  s.attack = 0.0012;
  s.tau = 0.0065;
  s.partial2 = 0.12;
  s.noise = 0.15;
  s.noise_freq = 2500;
  s.noise_tau = 0.0015;
  add_tick(b, 0, s, noise);
  return b;
}

// A rising arpeggio of a major chord, the top note ringing on.
Buffer new_game() {
  Buffer b = make_buffer(0.60);
  const double notes[] = {523.25, 659.26, 783.99, 1046.5};
  for (int i = 0; i < 4; i++) {
    NoteShape n;
    n.freq = notes[i];
    n.length = i < 3 ? 0.16 : 0.375;
    n.attack = 0.004;
    n.release = i < 3 ? 0.05 : 0.08;
    n.tau = i < 3 ? 0.07 : 0.14;
    n.amp = 0.8;
    n.harmonics = {1.0, 0.2, 0.3, 0.05, 0.08};
    add_note(b, 0.075 * i, n);
  }
  return b;
}

// A short fanfare: four rising notes, a turn, and a held major chord.
Buffer game_done() {
  Buffer b = make_buffer(1.30);
  std::vector<double> brass;
  for (int k = 1; k <= 10; k++) brass.push_back(1.0 / k);
  struct Step {
    double start, length;
    std::vector<double> freqs;
  };
  const Step steps[] = {
      {0.00, 0.11, {392.00}},  {0.12, 0.11, {523.25}},          {0.24, 0.11, {659.26}},
      {0.36, 0.19, {783.99}},  {0.56, 0.10, {659.26}},          {0.67, 0.63, {523.25, 659.26, 783.99, 1046.5}},
  };
  for (const Step& st : steps) {
    bool held = st.length > 0.5;
    for (double f : st.freqs) {
      NoteShape n;
      n.freq = f;
      n.length = st.length;
      n.attack = 0.012;
      n.release = held ? 0.25 : 0.03;
      n.tau = held ? 0.9 : 0.0;
      n.amp = held ? 0.45 : 0.8;
      n.brightness = 0.55;
      n.vibrato = held ? 12 : 0;
      n.harmonics = brass;
      add_note(b, st.start, n);
    }
  }
  // A little warmth: soften the top end of the saw-like tone.
  Biquad lp;
  lp.lowpass(4500, 0.7);
  for (float& x : b) x = lp.process(x);
  return b;
}

}  // namespace

const std::vector<Effect>& effects() {
  static const std::vector<Effect> list = {
      {"auto_reveal", auto_reveal, 0.0005, 0.004, -3.0},
      {"remove_flag", remove_flag, 0.0008, 0.008, -3.0},
      {"place_flag", place_flag, 0.0004, 0.008, 0.0},
      {"explosion", explosion, 0.001, 0.02, 0.0},
      {"fireworks", fireworks, 0.001, 0.03, -1.0},
      {"click", click, 0.0002, 0.004, -1.0},
      {"chord", chord, 0.0005, 0.006, -1.0},
      {"message", message, 0.001, 0.08, 0.0},
      {"reveal", reveal, 0.0008, 0.006, -1.0},
      {"new_game", new_game, 0.002, 0.05, 0.0},
      {"game_done", game_done, 0.002, 0.06, 0.0},
  };
  return list;
}

}  // namespace sfx
