// Entry point of the mail tests. The recording MAPI32.DLL goes into the
// prefix's system directory for the run, where the viewer looks for it;
// the one beside this program is a plant it must never load. Scenarios
// that need a process of their own (suite SeparateProcess) are left out of
// a plain run; they run when a test or CTest starts this program for one
// of them.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>

#include <optional>
#include <string>

#include "share/share_test_support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!IsSeparateProcessRun()) {
    std::string filter = testing::GTEST_FLAG(filter);
    filter += filter.find('-') == std::string::npos ? "-SeparateProcess.*" : ":SeparateProcess.*";
    testing::GTEST_FLAG(filter) = filter;
  }
  // A scenario started by a test uses what that test has put in place.
  std::optional<SystemMapiLibrary> recording;
  if (!IsSeparateProcessRun()) {
    recording.emplace(ExecutableDirectory() + "system_mapi32\\MAPI32.DLL");
  }
  if (recording && !recording->Installed()) {
    fprintf(stderr, "cannot put the recording MAPI32.DLL at %s\n",
            SystemMapiLibrary::Path().c_str());
    return 1;
  }
  return RUN_ALL_TESTS();
}
