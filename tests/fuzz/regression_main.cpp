// A plain driver for a fuzz target's code: feeds it every file of the folders named on the command line (in
// name order), as libFuzzer would feed one input. Built with the normal test build, so that the seeds and every
// input a fuzzer once found a fault with run under its sanitizers with CTest.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> archivos;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      std::fprintf(stderr, "not a folder: %s\n", argv[i]);
      return 2;
    }
    for (const auto& entrada : fs::directory_iterator(argv[i])) {
      if (entrada.is_regular_file()) archivos.push_back(entrada.path());
    }
  }
  std::sort(archivos.begin(), archivos.end());
  for (const fs::path& archivo : archivos) {
    std::ifstream entrada(archivo, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
    std::printf("%s (%zu bytes)\n", archivo.string().c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs\n", archivos.size());
  return archivos.empty() ? 1 : 0;
}
