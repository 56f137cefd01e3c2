// Named lookups through the per-scope index against a walk over the scope's
// children, in nested scopes, on names where the two could part: duplicates, other
// tags of the same name, empty and missing names, text that is not ASCII or not
// UTF-8, and lookups after the document was replaced.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/transcoder.h"
#include "settings_test_support.h"

namespace mcxml_test {
namespace {

using MCXML_1_3::DOMElement;
using MCXML_1_3::DOMNode;

// The first `tag` child of `scope` whose non-empty "name" is the transcoded `name`.
const DOMElement* Walk(const DOMElement& scope, const std::string& tag, const std::string& name) {
  const std::vector<XMLCh> wanted = MCXML_1_3::MCXTranscoder().TranscodeFrom(name.c_str());
  for (const DOMNode* node = scope.getFirstChild(); node; node = node->getNextSibling()) {
    if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
    const auto* elmt = static_cast<const DOMElement*>(node);
    const XMLCh* value = elmt->getAttribute(u"name");
    if (MCXML_1_3::ToUTF8(node->getNodeName()) == tag && *value &&
        xercesc::XMLString::equals(value, wanted.data())) {
      return elmt;
    }
  }
  return nullptr;
}

const DOMElement& Parameters(const MCSettingsParser& parser) {
  const DOMElement* task =
      MCXML_1_3::GetFirstChildElmt(*parser.GetRootElement(), "MiningBuildTask");
  const DOMElement* extension = MCXML_1_3::GetFirstChildElmt(*task, "Extension");
  return *MCXML_1_3::GetFirstChildElmt(*extension, "Parameters");
}

TEST(ParameterIndex, FindsWhatAWalkFindsInEveryScope) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc(R"(
      <ComplexParameter name='p'><Parameter name='p' value='inner'/>
        <ComplexParameter name='g'><Parameter name='d' value='deepest'/></ComplexParameter>
      </ComplexParameter>
      <MatrixParmeter name='p'/><Other name='p' value='other'/><!-- p -->
      <Parameter value='nameless'/><Parameter name='' value='empty'/>
      <Parameter name='p' value='first'/><Parameter name='p' value='second'/>
      <Parameter name='caf&#233;' value='accent'/><Parameter name='ab' value='ab'/>
      <Parameter name='p2' value='longer'/><ComplexParameter name='p'/>)")),
              IsOk());
  const std::string names[] = {"p",     "p2",    "P",       "",     "caf\xC3\xA9",
                               "caf",   "ab",    "ab\xC3",  "\x80", "a\x80",
                               "other", "inner", "missing", "d",    "g"};
  const DOMElement* top = &Parameters(parser);
  const DOMElement* outer = Walk(*top, "ComplexParameter", "p");
  for (const DOMElement* scope : {top, outer, Walk(*outer, "ComplexParameter", "g")}) {
    // A nested scope's handle is its element, as the lookups below compare.
    void* context = scope == top ? nullptr : const_cast<DOMElement*>(scope);
    for (const std::string& name : names) {
      SCOPED_TRACE(name);
      const DOMElement* param = Walk(*scope, "Parameter", name);
      const Answer answer = Ask(parser, kText, name.c_str(), context);
      if (param == nullptr) {
        EXPECT_THAT(answer.status, HasCode(120, true));
      } else {
        EXPECT_EQ(answer.out, MCXML_1_3::ToUTF8(param->getAttribute(u"value")));
      }
      EXPECT_EQ(parser.GetComplexParameter(name.c_str(), context),
                Walk(*scope, "ComplexParameter", name));
    }
  }
  EXPECT_EQ(Ask(parser, kText, "ab\xC3").out, "ab") << "the name converts to its beginning";
}

TEST(ParameterIndex, EveryLoadStartsAfresh) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc("<Parameter name='p' value='one'/>")), IsOk());
  ASSERT_EQ(Ask(parser, kText, "p").out, "one");
  ASSERT_THAT(Load(parser, SettingsDoc("<Parameter name='q' value='x'/>"
                                       "<Parameter name='p' value='two'/>")),
              IsOk());
  EXPECT_EQ(Ask(parser, kText, "p").out, "two");
  EXPECT_EQ(Ask(parser, kText, "q").out, "x");
  ASSERT_THAT(Load(parser, SettingsDoc("")), IsOk());
  EXPECT_THAT(Ask(parser, kText, "p").status, HasCode(120, true));
}

}  // namespace
}  // namespace mcxml_test
