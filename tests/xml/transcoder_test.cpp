// MCXTranscoder: whole conversions across block boundaries, and the empty results
// of an unknown encoding, an unrepresentable character and bad input.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mcxml/xml/transcoder.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCXTranscoder;

std::vector<XMLCh> WithZero(const std::u16string& text) {
  std::vector<XMLCh> units(text.begin(), text.end());
  units.push_back(0);
  return units;
}

// 1, 2, 3 and 4-byte sequences (the last a surrogate pair) repeated past several
// output blocks, so that block ends fall inside characters.
TEST(TranscoderTest, LongTextIsConvertedWholeAndInOrder) {
  mcxml_test::XercesPlatform platform;
  const char* utf8Pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", "7"};
  const char16_t* utf16Pieces[] = {u"a", u"\u00E9", u"\u20AC", u"\U0001D11E", u"7"};
  std::string utf8;
  std::u16string utf16;
  for (int i = 0; utf16.size() < 2500; ++i) {
    utf8 += utf8Pieces[i % 5];
    utf16 += utf16Pieces[i % 5];
  }
  const MCXTranscoder transcoder;
  EXPECT_EQ(transcoder.TranscodeFrom(utf8.c_str()), WithZero(utf16));
  EXPECT_EQ(transcoder.TranscodeTo(utf16.c_str()), utf8);
  EXPECT_EQ(transcoder.TranscodeTo(nullptr), "");
}

TEST(TranscoderTest, FailuresGiveEmptyResults) {
  mcxml_test::XercesPlatform platform;
  const MCXTranscoder unknown("no-such-encoding");
  EXPECT_FALSE(unknown.isValid());
  EXPECT_EQ(unknown.TranscodeTo(u"abc"), "");
  EXPECT_EQ(unknown.TranscodeFrom("abc"), WithZero(u""));
  // The constructor converts, so arrays take encoding names; the rest are UTF-8.
  const MCXTranscoder t[2] = {"ISO-8859-1"};
  const MCXTranscoder& latin1 = t[0];
  EXPECT_EQ(latin1.TranscodeTo(u"a\u00E9"), "a\xE9");
  EXPECT_EQ(latin1.TranscodeTo(u"a\u20AC"), "") << "no partial text for an unrepresentable char";
  EXPECT_EQ(latin1.TranscodeTo(std::u16string(1500, u'a').append(u"\u20AC").c_str()), "")
      << "not even the blocks before it";
  const MCXTranscoder& utf8 = t[1];
  EXPECT_EQ(utf8.TranscodeFrom("a\x80z"), WithZero(u"")) << "a stray continuation byte";
  // An incomplete sequence or a high surrogate at the end is not consumed: what came
  // before is kept (the whole-text conversions of dom_access fail on those instead).
  EXPECT_EQ(utf8.TranscodeFrom("ab\xC3"), WithZero(u"ab"));
  EXPECT_EQ(utf8.TranscodeTo(u"ab\xD834"), "ab");
}

}  // namespace
