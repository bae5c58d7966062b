// A Vexlo started at 144 DPI, where every twips length becomes 1.5 times as
// many pixels. The DPI is read by each process at start, so it is set before
// Vexlo starts and put back afterwards for the tests that follow.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "e2e_support.h"

namespace vexlo::e2e {

class VexloAt144Dpi : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = readLogPixels();
    ASSERT_TRUE(writeLogPixels(144));
    changed_ = true;
    ASSERT_TRUE(vexlo_.start());
  }
  void TearDown() override {
    vexlo_.process().terminate();
    if (changed_) {
      EXPECT_TRUE(writeLogPixels(saved_));
    }
  }
  std::optional<DWORD> saved_;
  bool changed_ = false;
  VexloInstance vexlo_;
};

}  // namespace vexlo::e2e
