// MCUniStats::IsValid: each rule of a categorical and a continuous record.
#include <cmath>
#include <limits>
#include <string>
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

TEST(UniStatsTest, EmptyRecordIsNotValid) {
  const MCUniStats empty;
  EXPECT_EQ(empty.GetKind(), MCUniStats::Kind::Empty);
  EXPECT_FALSE(empty.IsValid());
}

TEST(UniStatsTest, CategoricalRules) {
  const struct {
    std::string name;
    double total;
    Doubles counts;
    bool valid;
  } cases[] = {
      {"c", 10, {4, 6}, true},   {"c", 0, {}, true},
      {"", 10, {4, 6}, false},   {"c", -1, {}, false},
      {"c", kInf, {}, false},    {"c", std::nan(""), {}, false},
      {"c", 10, {4, -1}, false}, {"c", 10, {std::nan("")}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MCUniStats(c.name, c.total, c.counts).IsValid(), c.valid)
        << c.name << " " << c.total << " counts " << c.counts.size();
  }
}

TEST(UniStatsTest, ContinuousRules) {
  const struct {
    const char* what;
    MCUniStats::SummStats summ;
    Doubles cuts;
    Doubles freqs;
    bool valid;
  } cases[] = {
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
      {"only min known", {9, kM, kM, kM}, {}, {}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MCUniStats("x", 7, c.summ, c.cuts, c.freqs).IsValid(), c.valid) << c.what;
  }
}

}  // namespace
