// mcxml_generate: writes a generated document to standard output, to try the tool
// or a profiler on the same documents the benchmarks read.
//
//   mcxml_generate pmml FIELDS [--values=N] [--name-length=N] [--bins=N] [--trees=N]
//                  [--depth=N]
//   mcxml_generate settings PARAMS
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "generator.h"

int main(int argc, char** argv) {
  const bool pmml = argc >= 3 && std::strcmp(argv[1], "pmml") == 0;
  const bool settings = argc == 3 && std::strcmp(argv[1], "settings") == 0;
  const int count = argc >= 3 ? std::atoi(argv[2]) : 0;
  mcxml_bench::PmmlShape shape;
  shape.fields = count;
  bool usable = count > 0 && (pmml || settings);
  for (int i = 3; usable && i < argc; ++i) usable = mcxml_bench::TakeShapeOption(argv[i], shape);
  if (!usable) {
    std::fprintf(stderr,
                 "usage: mcxml_generate pmml FIELDS [--values=N] [--name-length=N] [--bins=N]\n"
                 "                      [--trees=N] [--depth=N]\n"
                 "       mcxml_generate settings PARAMS\n");
    return 2;
  }
  bool written = true;
  const auto write = [&written](const std::string& text) {
    written = written && std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  };
  // A forest is written tree by tree, never held whole.
  if (pmml) {
    mcxml_bench::GeneratePmml(shape, write);
  } else {
    write(mcxml_bench::GenerateSettings(count).text);
  }
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}
