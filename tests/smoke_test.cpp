#include "platform/platform.h"
#include <gtest/gtest.h>
TEST(Smoke, OsIsReplaceable) { auto old = platform::ReplaceOs(std::make_unique<platform::Services>()); EXPECT_EQ(nullptr, platform::Os().files.get()); }
