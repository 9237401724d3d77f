// Replays fuzz inputs without libFuzzer: every file named on the command line, and every file
// under each directory named, in name order, goes once through LLVMFuzzerTestOneInput. The
// normal build runs the seed corpora this way as tests; a failed check aborts the run.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path p(argv[i]);
    if (fs::is_directory(p)) {
      for (const auto& e : fs::recursive_directory_iterator(p))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else {
      inputs.push_back(p);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const auto& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", p.c_str());
      return 1;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // A buffer of exactly the input's size, as the fuzzer passes it, so that a read past the
    // end shows under the address sanitizer.
    auto data = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::printf("%s (%zu bytes)\n", p.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}
