#include <gtest/gtest.h>

#include "scores/game_record.h"
#include "scores/scores.h"
#include "support/headless.h"

namespace {

// No test sees the tables or the game record another left behind.
class FreshScores : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    reset_game_record();
    clear_scores();
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshScores);
  return RUN_ALL_TESTS();
}
