// The settings getters: the readiness answers of a load, scalars, declared types,
// arrays, variable names, matrices, and the parameter each role getter reads; named
// lookups on a document as it stands after every kind of edit a caller can make.
#include "mcxml/settings/settings_parser.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/util/XMLString.hpp>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/read_write.h"
#include "settings_test_support.h"

namespace mcxml_test {
namespace {

namespace xc = xercesc;
using MCXML_1_3::DOMElement;
using MCXML_1_3::DOMNode;

TEST(SettingsLoad, EveryGetterRepeatsTheLastFailedLoadOr107WithoutOne) {
  const std::string head = "<PMML><DataDictionary/><MiningBuildTask>";
  // Only the first MiningBuildTask and its first Extension are looked into.
  const std::pair<std::string, long> cases[] = {
      {"", 107},
      {"<PMML><MiningBuildTask><Extension><Parameters/></Extension></MiningBuildTask></PMML>", 106},
      {"<PMML><DataDictionary/></PMML>", 119},
      {head + "<Parameters/></MiningBuildTask></PMML>", 119},
      {head + "<Extension/><Extension><Parameters/></Extension></MiningBuildTask></PMML>", 119},
      {head + "</MiningBuildTask><MiningBuildTask><Extension><Parameters/></Extension>"
              "</MiningBuildTask></PMML>",
       119},
  };
  for (const auto& [xml, code] : cases) {
    SCOPED_TRACE(xml);
    MCSettingsParser parser;
    if (!xml.empty()) {  // a failed load replaces a good one
      ASSERT_THAT(Load(parser, SettingsDoc("<Parameter name='p' value='1'/>")), IsOk());
      EXPECT_THAT(Load(parser, xml), HasCode(code, false));
    }
    for (const auto& [kind, out] : {std::pair(kInt, "7"), std::pair(kDoubleRows, "[7]")}) {
      const Answer answer = Ask(parser, kind, "p");
      EXPECT_THAT(answer.status, HasCode(code, false));
      EXPECT_EQ(answer.out, out);
    }
    EXPECT_EQ(parser.GetParameterType("p", nullptr), MCSettingsParser::ParamUnknown);
    EXPECT_EQ(parser.GetComplexParameter("g", nullptr), nullptr);
    MCXML_1_3::MCVarList list;
    EXPECT_THAT(parser.FillVarList(list, false), HasCode(code, false));
  }
}

TEST(SettingsGetters, OneParameterEachGetter) {
  const std::string p = "<Parameter name='p' ", names = p + "isList='true'><ListValue>";
  const auto list = [](Str values, Str attrs = "") {
    return "<Parameter name='p'" + attrs + "><ListValue>" + values + "</ListValue></Parameter>";
  };
  const std::string a = "<Value value='a'/>";
  const struct {
    std::string params;  // the Parameters body; the getter asks for "p"
    Kind kind;
    long code;
    bool warning;
    const char* out;
  } cases[] = {
      // Scalars: the value, a ListValue, or neither.
      {p + "value='v'><ListValue/></Parameter>", kText, 0, false, "v"},
      {p + "value=''><ListValue/></Parameter>", kText, 121, false, "="},
      {p + "><Value value='v'/></Parameter>", kText, 123, true, "="},
      {p + "value='0'/>", kInt, 0, false, "0"},
      {p + "value='-1'/>", kInt, 109, false, "-1"},
      {p + "value='4.5'/>", kInt, 109, false, "7"},
      {p + "><ListValue/></Parameter>", kInt, 121, false, "7"},
      {p + "value='-2.5e1'/>", kDouble, 0, false, "-25"},
      {p + "value='INF'/>", kDouble, 109, false, "7"},
      {p + "value=''><ListValue/></Parameter>", kDouble, 121, false, "7"},
      {p + "value='false'/>", kBool, 0, false, "false"},
      {p + "value='TRUE'/>", kBool, 109, false, "true"},
      {p + "/>", kBool, 123, true, "true"},
      // Declared types by exact text; 6 is ParamUnknown.
      {p + "type='string'/>", kType, 0, false, "0"},
      {p + "type='fieldName'/>", kType, 0, false, "5"},
      {p + "/>", kType, 0, false, "6"},
      {"<ComplexParameter name='p' type='double'/>", kType, 0, false, "6"},
      // Arrays: 123 carries the warning flag but is not OK, so it ends the walk too.
      {list("<Value value='3'/><Value value='1'/><Value value='2'/>"), kInts, 0, false, "3,1,2"},
      {list("<Value value='3'/><Value value='-5'/><Value value='2'/>"), kInts, 109, false, "3"},
      {list("<Value value='3'/><Value/><Value value='2'/>"), kInts, 123, true, "3"},
      {list("", " value='7'"), kInts, 123, true, ""},  // the list wins, even when empty
      {list("<Skip value='4'/><!-- c --> <Value value='a b'/><ListValue><Value value='6'/>"
            "</ListValue>"),
       kTexts, 0, false, "a b"},
      {list("<Value value='NaN'/><Value value='1e1'/><Value value='INF'/>"), kDoubles, 109, false,
       "-max,10"},
      {p + "value='7'/>", kInts, 0, false, "7"},
      {p + "value='-7'/>", kInts, 109, false, ""},
      {p + "/>", kDoubles, 123, true, ""},
      {"<Parameter name='q' value='1'/>", kInts, 120, true, "7"},
      // Variable names.
      {names + a + "<Value value='b c'/>" + a + "</ListValue></Parameter>", kNames, 0, false,
       "a,b c,a"},
      {names + a + "<Value/><Value value='c'/></ListValue></Parameter>", kNames, 108, false, "a"},
      {names + "</ListValue></Parameter>", kNames, 0, false, ""},
      {p + "value='x' isList='true'/>", kNames, 122, false, ""},
      {p + "value='x' isList='true'/>", kName, 0, false, "x"},
      {list(a, " isList='true'"), kName, 121, false, "="},
      {list(a, " isList='false'"), kName, 108, false, "="},
      {list(a), kNames, 108, false, ""},
      {"<Parameter name='q' value='x'/>", kNames, 120, true, "="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.params);
    MCSettingsParser parser;
    ASSERT_THAT(Load(parser, SettingsDoc(c.params)), IsOk());
    const Answer answer = Ask(parser, c.kind, "p");
    EXPECT_THAT(answer.status, HasCode(c.code, c.warning));
    EXPECT_EQ(answer.out, c.out);
  }
}

// Matrices pass over what they cannot use.
TEST(SettingsGetters, Matrices) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc(R"(
      <MatrixParameter name='m'><ArrayParameter><Value value='0'/></ArrayParameter></MatrixParameter>
      <MatrixParmeter name='m'>
        <ArrayParameter name='ignored'><Value value='1'/><Value value='-1'/><Value value='x'/>
          <Value/><Value value=''/><!-- c --><Other value='3'/><Value value='2'/></ArrayParameter>
        text <ArrayParameter/><ListValue><Value value='4'/></ListValue>
        <ArrayParameter><Value value='5'/><ArrayParameter><Value value='6'/></ArrayParameter>
          <Value value='1e1'/></ArrayParameter>
      </MatrixParmeter>
      <MatrixParmeter name='none'/>
      <ComplexParameter name='g'><MatrixParmeter name='in'>
        <ArrayParameter><Value value='a b'/><Value value='NaN'/></ArrayParameter>
      </MatrixParmeter></ComplexParameter>)")),
              IsOk());
  const std::tuple<Kind, const char*, void*, long, const char*> cases[] = {
      {kIntRows, "m", nullptr, 0, "[1,2][][5]"},
      {kDoubleRows, "m", nullptr, 0, "[1,-1,2][][5,10]"},
      {kInts, "m", nullptr, 120, "7"},  // a matrix is no Parameter
      {kDoubleRows, "none", nullptr, 0, ""},
      {kTextRows, "in", nullptr, 120, "[=]"},
      {kTextRows, "in", parser.GetComplexParameter("g", nullptr), 0, "[a b,NaN]"},
  };
  for (const auto& [kind, name, context, code, out] : cases) {
    const Answer answer = Ask(parser, kind, name, context);
    EXPECT_THAT(answer.status, HasCode(code, code == 120)) << name;
    EXPECT_EQ(answer.out, out) << name;
  }
}

TEST(SettingsGetters, EachRoleReadsItsOwnTopLevelParameter) {
  MCSettingsParser parser;
  ASSERT_THAT(Load(parser, SettingsDoc(R"(
      <ComplexParameter name='g'><Parameter name='inputs' value='nested'/></ComplexParameter>
      <Parameter name='target'><ListValue><Value value='t'/></ListValue></Parameter>
      <Parameter name='CatResponses' value='cr'/>
      <Parameter name='ContResponses' isList='true'><ListValue><Value value='xr'/></ListValue>
      </Parameter>
      <Parameter name='CatPredictors' value='cp'/><Parameter name='ContPredictors' value='xp'/>
      <Parameter name='FrequencyWeightVar' value='f'/>)")),
              IsOk());
  using Getter = MCStatus (MCSettingsParser::*)(std::vector<std::string>&) const;
  const std::tuple<Getter, long, const char*> roles[] = {
      {&MCSettingsParser::GetTargetVars, 0, "t"},
      {&MCSettingsParser::GetPredictors, 120, "="},
      {&MCSettingsParser::GetCatResponseVars, 0, "cr"},
      {&MCSettingsParser::GetContResponseVars, 0, "xr"},
      {&MCSettingsParser::GetCatPredictors, 0, "cp"},
      {&MCSettingsParser::GetContPredictors, 0, "xp"}};
  for (const auto& [getter, code, out] : roles) {
    std::vector<std::string> names{"="};
    EXPECT_THAT((parser.*getter)(names), HasCode(code, code == 120));
    EXPECT_EQ(Text(names), out);
  }
  std::string weight;
  EXPECT_THAT(parser.GetFrequencyWeight(weight), IsOk());
  EXPECT_EQ(weight, "f");
}

// In each scope a nameless element of each tag stands before the first "a" and "g".
const char kBody[] = R"(
    <Parameter value='nameless'/><Parameter name='' value='empty'/>
    <ComplexParameter><Parameter name='a' value='in a nameless group'/></ComplexParameter>
    <MatrixParmeter name='a'><ArrayParameter><Value value='5'/></ArrayParameter></MatrixParmeter>
    <Other name='a' value='other'/><!-- a -->
    <Parameter name='a' type='integer' value='1'/>
    <ComplexParameter name='g'><Parameter value='nameless inner'/>
      <Parameter name='a' value='inner'/>
      <ComplexParameter name='h'><Parameter name='a' value='deep'/></ComplexParameter>
      <Parameter name='a' value='inner second'/></ComplexParameter>
    <Parameter name='a' value='second'/><Parameter name='caf&#233;' value='accent'/>
    <ComplexParameter name='g'><Parameter name='a' value='second group'/></ComplexParameter>)";
const std::string kNames[] = {"a", "c", "g", "h", "", "caf\xC3\xA9", "caf\xC3"};

// The first `tag` child of `scope` whose non-empty "name" is `name`.
DOMElement* Walk(const DOMNode* scope, const char16_t* tag, const std::string& name) {
  const std::vector<XMLCh> wanted = MCXML_1_3::ToUTF16(name.c_str());
  for (DOMNode* node = scope ? scope->getFirstChild() : nullptr; node;
       node = node->getNextSibling()) {
    if (node->getNodeType() != DOMNode::ELEMENT_NODE) continue;
    auto* elmt = static_cast<DOMElement*>(node);
    const XMLCh* value = elmt->getAttribute(u"name");
    if (xc::XMLString::equals(elmt->getTagName(), tag) && *value != 0 &&
        xc::XMLString::equals(value, wanted.data())) {
      return elmt;
    }
  }
  return nullptr;
}

// Every getter on every name in the top scope, the first group "g" and its "h";
// on the way, each lookup finds what the walk over its scope finds.
std::string Answers(MCSettingsParser& parser) {
  void* g = parser.GetComplexParameter("g", nullptr);
  void* h = g != nullptr ? parser.GetComplexParameter("h", g) : nullptr;
  // Every edit leaves a group "g" at the top.
  const DOMNode* top = g != nullptr ? static_cast<DOMElement*>(g)->getParentNode() : nullptr;
  std::string out;
  for (void* context : {static_cast<void*>(nullptr), g, h}) {
    if (!out.empty() && context == nullptr) {  // a group that is gone
      out += "none\n";
      continue;
    }
    const DOMNode* scope = context != nullptr ? static_cast<DOMElement*>(context) : top;
    for (const std::string& name : kNames) {
      SCOPED_TRACE(name);
      const DOMElement* param = Walk(scope, u"Parameter", name);
      for (int kind = kText; kind <= kType; ++kind) {
        const Answer answer = Ask(parser, static_cast<Kind>(kind), name.c_str(), context);
        out += std::to_string(answer.status.GetCode()) + "=" + answer.out + " ";
        if (kind != kText) continue;
        EXPECT_EQ(answer.out, param ? MCXML_1_3::ToUTF8(param->getAttribute(u"value")) : "=");
      }
      void* group = parser.GetComplexParameter(name.c_str(), context);
      EXPECT_EQ(group, Walk(scope, u"ComplexParameter", name));
      out += group != nullptr ? "complex\n" : "\n";
    }
  }
  return out;
}

// After every kind of edit a caller can make through a handle, each getter answers as
// a fresh load of the edited document does, at the top level and in groups.
TEST(SettingsLookup, EveryQueryReadsTheDocumentAsItNowStands) {
  using Edit = std::function<void(xc::DOMDocument&, DOMElement&)>;
  const auto made = [](xc::DOMDocument& doc, const XMLCh* tag, const XMLCh* name) {
    DOMElement* elmt = doc.createElement(tag);
    elmt->setAttribute(u"name", name);
    elmt->setAttribute(u"value", u"made");
    return elmt;
  };
  // clang-format off
  const std::pair<const char*, Edit> edits[] = {
      {"same tag and name inserted before", [&](auto& d, auto& t) {
         t.getParentNode()->insertBefore(made(d, t.getTagName(), t.getAttribute(u"name")), &t); }},
      {"new name appended",
       [&](auto& d, auto& t) { t.getParentNode()->appendChild(made(d, t.getTagName(), u"c")); }},
      {"removed", [](auto&, auto& t) { t.getParentNode()->removeChild(&t); }},
      {"removed, released", [](auto&, auto& t) { t.getParentNode()->removeChild(&t)->release(); }},
      {"renamed by its attribute", [](auto&, auto& t) { t.setAttribute(u"name", u"c"); }},
      {"renamed by the attribute's text",
       [](auto&, auto& t) { t.getAttributeNode(u"name")->getFirstChild()->setNodeValue(u"c"); }},
      {"name attribute renamed",
       [](auto& d, auto& t) { d.renameNode(t.getAttributeNode(u"name"), nullptr, u"label"); }},
      {"element renamed", [](auto& d, auto& t) { d.renameNode(&t, nullptr, u"Other"); }},
      {"name attribute removed", [](auto&, auto& t) { t.removeAttribute(u"name"); }},
      {"name attribute replaced", [](auto& d, auto& t) {
         xc::DOMAttr* name = d.createAttribute(u"name");
         name->setValue(u"c");
         t.setAttributeNode(name); }},
      {"a nameless element before named alike", [](auto&, auto& t) {
         for (DOMNode* n = t.getParentNode()->getFirstChild();; n = n->getNextSibling()) {
           auto* e = dynamic_cast<DOMElement*>(n);
           if (e && xc::XMLString::equals(e->getTagName(), t.getTagName()) &&
               !e->hasAttribute(u"name")) return e->setAttribute(u"name", t.getAttribute(u"name"));
         } }},
  };
  // clang-format on
  const TempFolder folder;
  for (const auto& [what, edit] : edits) {
    for (const std::string target : {"a", "g/a", "g"}) {
      SCOPED_TRACE(what + (" to " + target));
      MCSettingsParser parser;
      ASSERT_THAT(Load(parser, SettingsDoc(kBody)), IsOk());
      auto* g = static_cast<DOMElement*>(parser.GetComplexParameter("g", nullptr));
      const DOMNode* top = g->getParentNode();
      DOMElement* t = target == "g" ? g : Walk(target == "a" ? top : g, u"Parameter", "a");
      const std::string before = Answers(parser);
      edit(*t->getOwnerDocument(), *t);

      const std::string after = Answers(parser);
      EXPECT_NE(after, before) << "the edit shows";
      MCXML_1_3::MCXMLReadWrite writer;
      ASSERT_THAT(writer.WriteFromDOM(folder.Path("edited.xml"), t->getOwnerDocument()), IsOk());
      MCSettingsParser fresh;
      ASSERT_THAT(Load(fresh, ReadFile(folder.Path("edited.xml"))), IsOk());
      EXPECT_EQ(after, Answers(fresh));
    }
  }
}

}  // namespace
}  // namespace mcxml_test
