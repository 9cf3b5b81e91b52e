#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/settings.h"

namespace {
class SoundEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    default_settings();
    clear_effect_played();
  }
  void TearDown() override { sound_state = SOUND_UNAVAILABLE; }
};
}  // namespace

TEST_F(SoundEffects, EachEffectStartsOncePerFrame) {
  sound_state = SOUND_ON;
  play_sound_effect(SFX_EXPLOSION, 128, 127);
  EXPECT_EQ(effect_played[SFX_EXPLOSION], 1);
  play_sound_effect(SFX_EXPLOSION, 128, 127);
  EXPECT_EQ(effect_played[SFX_EXPLOSION], 1);
  // Other effects in the same frame play too.
  play_effect(SFX_CLICK);
  EXPECT_EQ(effect_played[SFX_CLICK], 1);
  clear_effect_played();
  for (int e = 0; e < SFX_COUNT; e++) EXPECT_EQ(effect_played[e], 0);
}

TEST_F(SoundEffects, NothingPlaysWhenOffMutedOrUnavailable) {
  sound_state = SOUND_ON;
  settings.sound_switches[SFX_REVEAL] = 0;
  play_effect(SFX_REVEAL);
  EXPECT_EQ(effect_played[SFX_REVEAL], 0);
  for (int state : {SOUND_MUTED, SOUND_UNAVAILABLE}) {
    sound_state = state;
    play_effect(SFX_CHORD);
    EXPECT_EQ(effect_played[SFX_CHORD], 0);
  }
  play_sound_effect(-1, 128, 127);
  play_sound_effect(SFX_COUNT, 128, 127);
}

TEST(SoundLabels, AreTheSwitchNames) {
  EXPECT_STREQ(SOUND_EFFECT_LABELS[SFX_AUTO_REVEAL], "Auto-Reveal");
  EXPECT_STREQ(SOUND_EFFECT_LABELS[SFX_EXPLOSION], "Explosions");
  EXPECT_STREQ(SOUND_EFFECT_LABELS[SFX_CLICK], "Clicks");
  EXPECT_STREQ(SOUND_EFFECT_LABELS[SFX_GAME_DONE], "Game Done");
}
