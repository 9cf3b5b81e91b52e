// The sound datafile the build synthesised: eleven clean mono samples at
// matched levels, one per effect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/lifecycle.h"
#include "sound/sound.h"
#include "support/headless.h"

namespace {

std::vector<int> samples_of(int effect) {
  const SAMPLE* s = static_cast<const SAMPLE*>(SoundDatafile[effect].dat);
  const uint16_t* data = static_cast<const uint16_t*>(s->data);
  std::vector<int> out(s->len);
  for (unsigned long i = 0; i < s->len; i++) out[i] = static_cast<int>(data[i]) - 0x8000;
  return out;
}

// RMS of the loudest 50 ms, after a bass cut at 150 Hz (low rumble counts
// for less to the ear), relative to full scale.
double loudness(const std::vector<int>& v) {
  const size_t window = 1102;
  const double a = std::exp(-2 * M_PI * 150 / 22050);
  std::vector<double> prefix(v.size() + window + 1, 0.0);
  double y = 0, prev = 0;
  for (size_t i = 0; i < v.size() + window; i++) {
    double x = i < v.size() ? v[i] : 0;
    y = a * (y + x - prev);
    prev = x;
    prefix[i + 1] = prefix[i] + y * y;
  }
  double best = 0;
  for (size_t i = 0; i < v.size(); i++) best = std::max(best, prefix[i + window] - prefix[i]);
  return std::sqrt(best / window) / 32768;
}

}  // namespace

TEST(SfxDatafile, ElevenMonoSixteenBitSamplesOfFittingLength) {
  int count = 0;
  while (SoundDatafile[count].type != DAT_END) count++;
  ASSERT_EQ(count, SFX_COUNT);
  for (int i = 0; i < SFX_COUNT; i++) {
    ASSERT_EQ(SoundDatafile[i].type, DAT_SAMPLE) << i;
    const SAMPLE* s = static_cast<const SAMPLE*>(SoundDatafile[i].dat);
    EXPECT_EQ(s->bits, 16) << i;
    EXPECT_EQ(s->stereo, 0) << i;
    EXPECT_EQ(s->freq, 22050) << i;
    EXPECT_GE(s->len, 22050u / 50) << i;           // at least 20 ms
    EXPECT_LE(s->len, 22050u * 3 / 2) << i;        // at most 1.5 s
  }
  // Ticks and clicks are over within a tenth of a second; the explosion rumbles on.
  for (int i : {SFX_AUTO_REVEAL, SFX_REMOVE_FLAG, SFX_PLACE_FLAG, SFX_CLICK, SFX_CHORD, SFX_REVEAL})
    EXPECT_LT(static_cast<const SAMPLE*>(SoundDatafile[i].dat)->len, 22050u / 10) << i;
  EXPECT_GT(static_cast<const SAMPLE*>(SoundDatafile[SFX_EXPLOSION].dat)->len, 22050u / 2);
}

TEST(SfxDatafile, SamplesAreCleanUnclippedAndMatchedInLevel) {
  double quietest = 1, loudest = 0;
  for (int i = 0; i < SFX_COUNT; i++) {
    std::vector<int> v = samples_of(i);
    int peak = 0;
    long long sum = 0;
    for (int x : v) {
      peak = std::max(peak, std::abs(x));
      sum += x;
    }
    EXPECT_LT(peak, 32000) << i;  // below full scale
    EXPECT_GT(peak, 8000) << i;   // clearly audible
    EXPECT_LT(std::abs(v.front()), 64) << i;  // fades in and out: no click at the ends
    EXPECT_LT(std::abs(v.back()), 64) << i;
    EXPECT_LT(std::abs(static_cast<double>(sum) / v.size()), 16.0) << i;  // no DC offset
    double l = loudness(v);
    quietest = std::min(quietest, l);
    loudest = std::max(loudest, l);
  }
  EXPECT_GT(quietest, 0.03);  // about -30 dBFS
  EXPECT_LT(loudest / quietest, 2.8);  // within 9 dB of each other
}

TEST(SfxDatafile, EffectsAreDistinct) {
  std::vector<std::vector<int>> all;
  for (int i = 0; i < SFX_COUNT; i++) all.push_back(samples_of(i));
  for (int a = 0; a < SFX_COUNT; a++)
    for (int b = a + 1; b < SFX_COUNT; b++) {
      size_t n = std::min(all[a].size(), all[b].size());
      double ab = 0, aa = 0, bb = 0;
      for (size_t i = 0; i < n; i++) {
        ab += static_cast<double>(all[a][i]) * all[b][i];
        aa += static_cast<double>(all[a][i]) * all[a][i];
        bb += static_cast<double>(all[b][i]) * all[b][i];
      }
      EXPECT_LT(std::fabs(ab) / std::sqrt(aa * bb), 0.8) << a << " and " << b << " sound alike";
    }
}
