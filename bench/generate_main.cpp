// mcxml_generate: writes a generated document to standard output, to try the tool
// or a profiler on the same documents the benchmarks read.
//
//   mcxml_generate pmml FIELDS
//   mcxml_generate settings PARAMS
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "generator.h"

int main(int argc, char** argv) {
  const int count = argc == 3 ? std::atoi(argv[2]) : 0;
  if (count <= 0 || (std::strcmp(argv[1], "pmml") != 0 && std::strcmp(argv[1], "settings") != 0)) {
    std::fprintf(stderr, "usage: mcxml_generate pmml FIELDS | settings PARAMS\n");
    return 2;
  }
  const std::string text = std::strcmp(argv[1], "pmml") == 0
                               ? mcxml_bench::GeneratePmml(count)
                               : mcxml_bench::GenerateSettings(count).text;
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
