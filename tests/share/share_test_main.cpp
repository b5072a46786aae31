// Entry point of the mail tests. Scenarios that need a process of their own
// (suite SeparateProcess) are left out of a plain run; they run when a test
// or CTest starts this program for one of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "share/share_test_support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!IsSeparateProcessRun()) {
    std::string filter = testing::GTEST_FLAG(filter);
    filter += filter.find('-') == std::string::npos ? "-SeparateProcess.*" : ":SeparateProcess.*";
    testing::GTEST_FLAG(filter) = filter;
  }
  return RUN_ALL_TESTS();
}
