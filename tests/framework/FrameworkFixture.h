#pragma once
#include <gtest/gtest.h>

#include "TestSupport.h"

// Every test starts from a fresh framework on the test backend.
class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = &fw::InstallTestBackend(); }
  void TearDown() override { fw::ResetFrameworkForTests(); }
  fw::TestBackend& backend() { return *backend_; }

 private:
  fw::TestBackend* backend_ = nullptr;
};
