// Test fixture: each test starts and ends with the run-long tables empty, and
// fails when cells made during it are still alive at its end.
#pragma once

#include <gtest/gtest.h>

#include "core/cell.h"
#include "core/run_end.h"

namespace mox {

class LeakCheckedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EndRun();
    live_ = LiveCells();
  }
  void TearDown() override {
    EndRun();
    EXPECT_EQ(LiveCells(), live_) << "cells leaked";
  }

 private:
  int64_t live_ = 0;
};

}  // namespace mox
