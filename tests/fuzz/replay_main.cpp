// Replay driver for builds without libFuzzer: feeds every file named on the
// command line, or found in a directory named there, to the target's entry
// point once. A violated property aborts, so CTest sees the failure; the
// driver prints the files it ran so a failure names its input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input.h"

namespace {

int run_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return 1;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::fprintf(stderr, "replay %s (%zu bytes)\n", path.string().c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int errors = 0;
  std::size_t files = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    if (fs::is_directory(arg)) {
      std::vector<fs::path> entries;
      for (const auto& e : fs::directory_iterator(arg))
        if (e.is_regular_file() && e.path().filename() != "README.md") entries.push_back(e.path());
      std::sort(entries.begin(), entries.end());
      for (const auto& e : entries) errors += run_file(e), ++files;
    } else if (fs::exists(arg)) {
      errors += run_file(arg), ++files;
    } else {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      ++errors;
    }
  }
  // An empty input must be handled as well; it is every target's first case.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("%zu inputs replayed, %d unreadable\n", files, errors);
  return errors == 0 ? 0 : 1;
}
