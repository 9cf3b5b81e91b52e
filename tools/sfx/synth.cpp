#include "sfx/synth.h"

#include <algorithm>
#include <cmath>

namespace sfx {

Buffer make_buffer(double seconds) { return Buffer(static_cast<size_t>(index_of(seconds)), 0.0f); }

int index_of(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

// ---------------------------------------------------------------- noise

Noise::Noise(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
  if (state_ == 0) state_ = 1;
}

uint32_t Noise::next_u32() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

double Noise::uniform() { return next_u32() / 4294967296.0; }

// ---------------------------------------------------------------- filters

namespace {
struct Trig {
  double cosw, sinw;
};
Trig trig(double freq) {
  double f = std::min(freq, kRate * 0.45);
  double w0 = 2 * kPi * f / kRate;
  return {std::cos(w0), std::sin(w0)};
}
}  // namespace

void Biquad::set(double b0, double b1, double b2, double a0, double a1, double a2) {
  b0_ = b0 / a0;
  b1_ = b1 / a0;
  b2_ = b2 / a0;
  a1_ = a1 / a0;
  a2_ = a2 / a0;
}

void Biquad::lowpass(double freq, double q) {
  Trig t = trig(freq);
  double alpha = t.sinw / (2 * q);
  set((1 - t.cosw) / 2, 1 - t.cosw, (1 - t.cosw) / 2, 1 + alpha, -2 * t.cosw, 1 - alpha);
}

void Biquad::highpass(double freq, double q) {
  Trig t = trig(freq);
  double alpha = t.sinw / (2 * q);
  set((1 + t.cosw) / 2, -(1 + t.cosw), (1 + t.cosw) / 2, 1 + alpha, -2 * t.cosw, 1 - alpha);
}

void Biquad::bandpass(double freq, double q) {
  Trig t = trig(freq);
  double alpha = t.sinw / (2 * q);
  set(alpha, 0, -alpha, 1 + alpha, -2 * t.cosw, 1 - alpha);
}

void Biquad::high_shelf(double freq, double gain_db) {
  Trig t = trig(freq);
  double a = std::pow(10.0, gain_db / 40);
  double alpha = t.sinw / 2 * std::sqrt(2.0);
  double sa = 2 * std::sqrt(a) * alpha;
  set(a * ((a + 1) + (a - 1) * t.cosw + sa), -2 * a * ((a - 1) + (a + 1) * t.cosw), a * ((a + 1) + (a - 1) * t.cosw - sa),
      (a + 1) - (a - 1) * t.cosw + sa, 2 * ((a - 1) - (a + 1) * t.cosw), (a + 1) - (a - 1) * t.cosw - sa);
}

float Biquad::process(float x) {
  double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

float Sine::next(double freq) {
  float s = static_cast<float>(std::sin(phase_));
  phase_ += 2 * kPi * freq / kRate;
  if (phase_ > 2 * kPi) phase_ -= 2 * kPi;
  return s;
}

// ---------------------------------------------------------------- envelopes

double hit_env(double t, double attack, double tau) {
  if (t < 0) return 0;
  if (t < attack) return 0.5 - 0.5 * std::cos(kPi * t / attack);
  return std::exp(-(t - attack) / tau);
}

double note_env(double t, double attack, double release, double length) {
  if (t < 0 || t >= length) return 0;
  double e = 1;
  if (t < attack) e = 0.5 - 0.5 * std::cos(kPi * t / attack);
  double left = length - t;
  if (left < release) e *= 0.5 - 0.5 * std::cos(kPi * left / release);
  return e;
}

// ---------------------------------------------------------------- voices

void add_tick(Buffer& buf, double start, const TickShape& s, Noise& noise) {
  int n0 = index_of(start);
  int span = index_of(s.attack + s.tau * 10);
  Biquad bp;
  bp.bandpass(s.noise_freq, 1.2);
  Sine osc, osc2(0.7);
  for (int i = 0; i < span && n0 + i < static_cast<int>(buf.size()); i++) {
    double t = static_cast<double>(i) / kRate;
    double f = s.freq * (1 + s.glide * std::exp(-t / 0.004));
    double v = osc.next(f) * hit_env(t, s.attack, s.tau);
    if (s.partial2 > 0) v += s.partial2 * osc2.next(f * 2.7) * hit_env(t, s.attack, s.tau * 0.5);
    if (s.noise > 0) v += s.noise * bp.process(noise.white()) * hit_env(t, 0.0002, s.noise_tau);
    buf[static_cast<size_t>(n0 + i)] += static_cast<float>(s.amp * v);
  }
}

void add_bell(Buffer& buf, double start, double freq, double amp, double tau) {
  struct Partial {
    double ratio, level, decay;
  };
  static const Partial partials[] = {
      {1.0, 1.0, 1.0}, {2.0, 0.35, 0.6}, {3.0, 0.12, 0.4}, {4.16, 0.08, 0.25}, {5.43, 0.04, 0.18}};
  int n0 = index_of(start);
  for (const Partial& p : partials) {
    double f = freq * p.ratio;
    if (f > 10000) continue;
    Sine osc(p.ratio);
    for (int i = 0; n0 + i < static_cast<int>(buf.size()); i++) {
      double t = static_cast<double>(i) / kRate;
      double e = hit_env(t, 0.002, tau * p.decay);
      if (t > 0.01 && e < 1e-5) break;
      buf[static_cast<size_t>(n0 + i)] += static_cast<float>(amp * p.level * e * osc.next(f));
    }
  }
}

void add_note(Buffer& buf, double start, const NoteShape& s) {
  int n0 = index_of(start);
  int len = index_of(s.length);
  double phase = 0;
  for (int i = 0; i < len && n0 + i < static_cast<int>(buf.size()); i++) {
    double t = static_cast<double>(i) / kRate;
    double e = note_env(t, s.attack, s.release, s.length);
    if (s.tau > 0) e *= std::exp(-t / s.tau);
    double f = s.freq;
    if (s.vibrato > 0) {
      double depth = s.vibrato * std::min(1.0, std::max(0.0, (t - 0.08) / 0.15));
      f *= std::pow(2.0, depth * std::sin(2 * kPi * 5.5 * t) / 1200);
    }
    double v = 0;
    for (size_t k = 0; k < s.harmonics.size(); k++) {
      double h = static_cast<double>(k + 1);
      if (h * f > 10000) break;
      double level = s.harmonics[k];
      if (k > 0 && s.brightness < 1) level *= std::pow(e, h * (1 - s.brightness));
      v += level * std::sin(h * phase);
    }
    phase += 2 * kPi * f / kRate;
    if (phase > 2 * kPi * 64) phase -= 2 * kPi * 64;
    buf[static_cast<size_t>(n0 + i)] += static_cast<float>(s.amp * e * v);
  }
}

// ---------------------------------------------------------------- finishing

double loudness(const Buffer& buf) {
  Biquad hp, shelf;
  hp.highpass(120, 0.7);
  shelf.high_shelf(1500, 4);
  const size_t window = static_cast<size_t>(index_of(0.05));
  std::vector<double> prefix(buf.size() + window + 1, 0.0);
  for (size_t i = 0; i < buf.size() + window; i++) {
    float x = i < buf.size() ? buf[i] : 0.0f;
    double y = shelf.process(hp.process(x));
    prefix[i + 1] = prefix[i] + y * y;
  }
  double best = 0;
  for (size_t i = 0; i < buf.size(); i++) best = std::max(best, prefix[i + window] - prefix[i]);
  return std::sqrt(best / static_cast<double>(window));
}

Finished finish(Buffer buf, double fade_in, double fade_out, double level_db) {
  const double target_db = -16;  // loudness of an effect at level 0
  const double ceiling = std::pow(10.0, -1.5 / 20);
  const size_t n = buf.size();
  const size_t in = static_cast<size_t>(std::max(1, index_of(fade_in)));
  const size_t out = static_cast<size_t>(std::max(1, index_of(fade_out)));
  std::vector<double> w(n, 1.0);
  for (size_t i = 0; i < in && i < n; i++) w[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in));
  for (size_t k = 0; k < out && k < n; k++)
    w[n - out + k] *= 0.5 + 0.5 * std::cos(kPi * static_cast<double>(k + 1) / static_cast<double>(out));
  // Remove the DC offset in the shape of the fades, so both ends stay at zero.
  double sum = 0, wsum = 0;
  for (size_t i = 0; i < n; i++) {
    buf[i] = static_cast<float>(buf[i] * w[i]);
    sum += buf[i];
    wsum += w[i];
  }
  double dc = sum / wsum;
  double peak = 0;
  for (size_t i = 0; i < n; i++) {
    buf[i] = static_cast<float>(buf[i] - dc * w[i]);
    peak = std::max(peak, static_cast<double>(std::fabs(buf[i])));
  }

  Finished f;
  double gain = std::pow(10.0, (target_db + level_db) / 20) / loudness(buf);
  if (peak * gain > ceiling) {
    gain = ceiling / peak;
    f.peak_limited = true;
  }
  f.gain_db = 20 * std::log10(gain);
  f.samples.resize(n);
  for (size_t i = 0; i < n; i++) {
    long v = std::lround(buf[i] * gain * 32767.0);
    f.samples[i] = static_cast<int16_t>(std::min(32767L, std::max(-32767L, v)));
  }
  return f;
}

}  // namespace sfx
