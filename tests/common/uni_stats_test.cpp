// MCUniStats::IsValid: each rule of a categorical and a continuous record.
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/common/missing_value.h"
#include "mcxml/common/uni_stats.h"

namespace {

using MCCommon_1_3::MCMV::gMissingValue;
using MCXML_1_3::MCUniStats;
using Doubles = std::vector<double>;

const double kM = gMissingValue;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(UniStatsTest, CategoricalRules) {
  EXPECT_FALSE(MCUniStats().IsValid()) << "an empty record";
  const std::tuple<std::string, double, Doubles, bool> cases[] = {
      // name, total, counts, valid
      {"c", 10, {4, 6}, true},   {"c", 0, {}, true},
      {"", 10, {4, 6}, false},   {"c", -1, {}, false},
      {"c", kInf, {}, false},    {"c", std::nan(""), {}, false},
      {"c", 10, {4, -1}, false}, {"c", 10, {std::nan("")}, false}};
  for (const auto& [name, total, counts, valid] : cases) {
    EXPECT_EQ(MCUniStats(name, total, counts).IsValid(), valid)
        << name << " " << total << " counts " << counts.size();
  }
}

TEST(UniStatsTest, ContinuousRules) {
  // Summary values are minimum, maximum, mean, standard deviation.
  const std::tuple<const char*, MCUniStats::SummStats, Doubles, Doubles, bool> cases[] = {
      {"no histogram", {}, {}, {}, true},
      {"histogram", {0, 9, 4, 1}, {0, 5, 9}, {3, 4}, true},
      {"open ends", {}, {kM, 5, kM}, {3, 4}, true},
      {"missing inside", {}, {0, kM, 9}, {3, 4}, false},
      {"as many freqs as cuts", {}, {0, 5}, {3, 4}, false},
      {"freqs without cuts", {}, {}, {3}, false},
      {"negative freq", {}, {0, 5, 9}, {3, -4}, false},
      {"equal cuts", {}, {0, 5, 5}, {3, 4}, false},
      {"decreasing cuts", {}, {0, 5, 2}, {3, 4}, false},
      {"negative deviation", {kM, kM, kM, -1}, {}, {}, false},
      {"min above max", {9, 0, kM, kM}, {}, {}, false},
      {"only min known", {9, kM, kM, kM}, {}, {}, true}};
  for (const auto& [what, summ, cuts, freqs, valid] : cases) {
    EXPECT_EQ(MCUniStats("x", 7, summ, cuts, freqs).IsValid(), valid) << what;
  }
}

}  // namespace
