// Replays fuzz inputs through a target without the fuzzing engine, as a
// test: every file of the folders given (a missing folder holds none), in
// name order, once each, after the target's initialisation if it has one. An
// input that fails aborts under the sanitizers right after its name is
// printed.
//
//   <target>_replay FOLDER...
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// A target may prepare itself once, before its first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) {
    LLVMFuzzerInitialize(&argc, &argv);
  }
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; i++) {
    std::error_code missing;
    for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], missing)) {
      if (entry.is_regular_file()) {
        inputs.push_back(entry.path());
      }
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& path : inputs) {
    printf("%s\n", path.c_str());
    fflush(stdout);
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  printf("replayed %zu inputs\n", inputs.size());
  // No input at all means the folders were wrong, not that all is well.
  return inputs.empty() ? 1 : 0;
}
