#include <gtest/gtest.h>

#include "support/headless.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);
  return RUN_ALL_TESTS();
}
