// The forest benchmark: documents whose bulk is a model body that no read of the
// library needs, read lean beside a bare parse of the whole DOM, each in a fresh
// process measured for CPU time and peak memory, and the tool on the same files.
#ifndef MCXML_BENCH_FOREST_BENCH_H
#define MCXML_BENCH_FOREST_BENCH_H

#include <string>
#include <vector>

#include "generator.h"

namespace mcxml_bench {

/// Writes a forest of `shape` (its `trees` replaced by each of `trees`) to a
/// temporary folder and prints, for each size, the bare parse and the lean whole
/// read (`self --once=forest-bare|forest-lean --file=PATH`) and `tool`'s varlist
/// --bins, stats and check --bins; then the tool reading a forest of `pipedTrees`
/// through a pipe from the generator. Prints the load average first.
void ReportForests(const PmmlShape& shape, const std::vector<int>& trees, int pipedTrees,
                   const std::string& self, const std::string& tool);

/// One run of forest-bare or forest-lean on the file `path`, in this process: 0 when
/// it read what it should.
int RunForestOnce(const std::string& mode, const std::string& path, const PmmlShape& shape);

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_FOREST_BENCH_H
