// What the benchmarks time: the documents, read in place from memory, and each
// operation, which returns a count that shows it did all its work.
#ifndef MCXML_BENCH_OPERATIONS_H
#define MCXML_BENCH_OPERATIONS_H

#include <cstddef>
#include <string>
#include <vector>

#include "generator.h"

namespace mcxml_bench {

/// The program's own options.
struct Options {
  PmmlShape shape;
  int params = 2000;
  int reps = 5;
  std::string once;
};

/// Set by main before any document is made.
extern Options gOptions;

/// The documents, made on first use.
const std::string& PmmlText();
const SettingsDocument& Settings();
/// Every other field name, so that both kinds are chosen.
const std::vector<std::string>& FilterNames();

/// A default XercesDOMParser parses `bytes` from memory; 1 when it made a document.
std::size_t BareParse(const std::string& bytes);
/// MCPMMLParser::ParseToDOM of `bytes`, with element places or without; 1 when OK.
std::size_t ParseOnly(const std::string& bytes, bool places = false);
/// ParseToDOM, FillVarList of every field with bins and the whole FillUniStats walk
/// with a fresh record per call: the variables plus the records read.
std::size_t WholeRead(const std::string& bytes, bool places = false);
/// A default XercesDOMParser parses the file `path`; 1 when it made a document.
std::size_t BareFileParse(const std::string& path);
/// BareFileParse of every file in `folder`: the files parsed.
std::size_t BareFolderParse(const std::string& folder);
/// WholeRead of the file `path` with lean reading on, read through a stream.
std::size_t LeanFileRead(const std::string& path);
/// What mcxml check does: ParseToDOM with element places and the check with bins;
/// 1 when it found no problem in the clean document.
std::size_t CheckWhole(const std::string& bytes);
/// MCSettingsParser::ParseToDOM of `doc`; 1 when OK.
std::size_t SettingsParse(const SettingsDocument& doc);
/// Load and query every settings parameter once: the OK answers.
std::size_t SettingsQueryOnce(const SettingsDocument& doc);

/// On the PMML document loaded once: FillVarList with bins (all fields, or the
/// names given), the whole statistics walk, and a visit of every node and value of
/// the three parts a read reads, doing nothing else, with or without asking for
/// memory ahead as the library's walks do (1 when it saw values).
std::size_t LoadedVarListCount(const std::vector<std::string>& names);
std::size_t LoadedUniStatsWalk();
std::size_t LoadedVisitReadParts(bool readAhead);
/// The variable list and the records the read gives, stored again from copies of
/// their values with no document at all: what storing the results costs alone.
std::size_t ResultsAlone();
/// Every settings group once, then every parameter once with the getter its kind
/// calls for, on the settings document loaded once: the OK answers.
std::size_t LoadedSettingsQueryAll();

/// Loads what the Loaded* operations and ResultsAlone read, outside any timing.
void LoadPmml();
void LoadSettings();

}  // namespace mcxml_bench

#endif  // MCXML_BENCH_OPERATIONS_H
