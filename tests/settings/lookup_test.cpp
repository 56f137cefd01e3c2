// Named lookups read the document as it stands: after every kind of edit a caller
// can make through a handle, at the top level and in groups, each getter answers as
// a fresh load of the edited document does, and each lookup finds what a walk over
// the scope finds (the first of its tag whose non-empty "name" is the name).
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
      EXPECT_EQ(Ask(parser, kText, name.c_str(), context).out,
                param ? MCXML_1_3::ToUTF8(param->getAttribute(u"value")) : "=");
      for (int kind = kText; kind <= kType; ++kind) {
        const Answer answer = Ask(parser, static_cast<Kind>(kind), name.c_str(), context);
        out += std::to_string(answer.status.GetCode()) + "=" + answer.out + " ";
      }
      void* group = parser.GetComplexParameter(name.c_str(), context);
      EXPECT_EQ(group, Walk(scope, u"ComplexParameter", name));
      out += group != nullptr ? "complex\n" : "\n";
    }
  }
  return out;
}

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
