// veltrane_generate: writes the benchmarks' inputs to disk, to run
// veltrane-cli and cat on the same files.
//
//   veltrane_generate installation DIR MODULES [COMMANDS] [CORE]
//   veltrane_generate chain DIR LENGTH
//   veltrane_generate program DIR FILES LINES MODULES [COMMANDS]
//   veltrane_generate include-chain DIR DEPTH
//   veltrane_generate import-chain DIR DEPTH
#include <cstdio>
#include <cstdlib>
#include <string>

#include "input_generator.h"

namespace {

int Arg(int argc, char** argv, int i, int fallback) {
  return i < argc ? std::atoi(argv[i]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: veltrane_generate KIND DIR N...\n", stderr);
    return 2;
  }
  std::string kind = argv[1];
  bench::fs::path dir = argv[2];
  std::vector<bench::fs::path> files;
  if (kind == "installation") {
    files = bench::WriteInstallation(dir, Arg(argc, argv, 3, 134), Arg(argc, argv, 4, 10),
                                     Arg(argc, argv, 5, 40));
  } else if (kind == "chain") {
    files = bench::WriteImportChain(dir, Arg(argc, argv, 3, 1000));
  } else if (kind == "program") {
    files = bench::WriteProgram(dir, Arg(argc, argv, 3, 1000), Arg(argc, argv, 4, 200000),
                                Arg(argc, argv, 5, 2000), Arg(argc, argv, 6, 10));
  } else if (kind == "include-chain" || kind == "import-chain") {
    files = bench::WriteDirectiveChain(dir, Arg(argc, argv, 3, 30000),
                                       kind == "include-chain" ? "Include" : "Import");
  } else {
    std::fprintf(stderr, "veltrane_generate: unknown kind %s\n", kind.c_str());
    return 2;
  }
  std::printf("%zu files\n", files.size());
  return 0;
}
