// MCXInputSource: the stream object reads on from where the stream stands and
// reports the end as the parser expects it.
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <xercesc/util/BinInputStream.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/input_source.h"
#include "mcxml/xml/read_write.h"
#include "test_support.h"

namespace {

using MCXML_1_3::MCXInputSource;
using mcxml_test::IsOk;
using mcxml_test::XercesPlatform;
using Stream = std::unique_ptr<xercesc::BinInputStream>;

TEST(InputSourceTest, ReadsWhatIsLeftThenNothing) {
  XercesPlatform platform;
  std::istringstream in("abc0123456789");
  const MCXInputSource source(in);
  EXPECT_TRUE(MCXML_1_3::XStrEqualsUTF8Str(source.getSystemId(), "istream"));
  XMLByte buffer[4096];
  const Stream first(source.makeStream());
  EXPECT_EQ(first->getContentType(), nullptr);
  EXPECT_EQ(first->readBytes(buffer, 3), 3u);
  EXPECT_EQ(first->curPos(), 3u);
  // A second stream object reads on from the same place.
  const Stream second(source.makeStream());
  EXPECT_EQ(second->readBytes(buffer, 4096), 10u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
  EXPECT_EQ(second->readBytes(buffer, 4096), 0u);
  EXPECT_EQ(second->curPos(), ~XMLFilePos{0}) << "a failed stream has no position";
}

TEST(InputSourceTest, ParsesFromWhereTheStreamStands) {
  const std::string text = "<skipped/><r>x</r>";
  std::istringstream in(text);
  in.seekg(static_cast<std::streamoff>(text.find("<r>")));
  MCXML_1_3::MCXMLReadWrite reader;
  ASSERT_THAT(reader.ParseToDOM(in), IsOk());
  EXPECT_EQ(MCXML_1_3::ToUTF8(reader.GetDocument()->getDocumentElement()->getTagName()), "r");
  EXPECT_EQ(reader.GetErrorCount(), 0u);
}

}  // namespace
