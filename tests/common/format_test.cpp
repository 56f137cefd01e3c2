// Format: the text written into documents reads back, through the attribute
// reader, as the same double; the infinities are written but refused on reading.
#include <limits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "mcxml/common/format.h"
#include "mcxml/common/missing_value.h"
#include "mcxml/xml/dom_access.h"
#include "test_support.h"

namespace {

using MCCommon_1_3::MCMV::gMissingValue;
using Limits = std::numeric_limits<double>;

TEST(FormatTest, TextReadsBackThroughTheAttributeReader) {
  const double kRefused = 99;
  // clang-format off
  const std::tuple<double, const char*, double> cases[] = {  // value, text, read back
      {0.1, "0.1", 0.1}, {1e300, "1e+300", 1e300}, {-2.5, "-2.5", -2.5}, {10, "10", 10},
      {1.0 / 3, "0.3333333333333333", 1.0 / 3},
      {Limits::max(), "1.7976931348623157e+308", Limits::max()},
      {Limits::min(), "2.2250738585072014e-308", Limits::min()},
      {5e-324, "5e-324", 0},  // the XML number parser flushes subnormal values to zero
      {gMissingValue, "NaN", gMissingValue}, {Limits::quiet_NaN(), "NaN", gMissingValue},
      {Limits::infinity(), "INF", kRefused}, {-Limits::infinity(), "-INF", kRefused}};
  // clang-format on
  for (const auto& [value, text, readBack] : cases) {
    char buffer[MCXML_1_3::kFormatBufferSize];
    EXPECT_EQ(MCXML_1_3::Format(value, false, buffer), text);
    EXPECT_STREQ(buffer, text);
    const mcxml_test::InlineDoc d(std::string("<e v='") + text + "'/>");
    double read = kRefused;
    EXPECT_EQ(MCXML_1_3::GetDoubleAttribute(d.root(), "v", read), readBack == kRefused ? 1 : 0)
        << text;
    EXPECT_EQ(read, readBack) << text;
  }
}

}  // namespace
