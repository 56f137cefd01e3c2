// The speed of checking many documents: the tool's check on one thread and on
// two over both shared corpora, and over a folder of many small documents beside
// a bare parse of them all in one process.
#ifndef MCXML_BENCH_CHECK_BENCH_H
#define MCXML_BENCH_CHECK_BENCH_H

#include <string>

namespace mcxml_bench {

/// Prints the medians of `reps` runs of each; the corpora under `shared`
/// (gzipped ones unpacked into a temporary folder), and `small` generated
/// documents. `self` runs `--once=bare-folder --file=FOLDER`.
void ReportCheckSpeed(const std::string& shared, int small, int reps, const std::string& self,
                      const std::string& tool);

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_CHECK_BENCH_H
