// Named lookups read the document as it stands: after every kind of edit a caller
// can make through a handle, at the top level and in nested groups, each getter
// answers as a fresh load of the edited document does, and each lookup finds what
// a walk over the scope's children finds (the first of its tag whose non-empty
// "name" is the name; never another tag, a nameless element or a broken name).
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

// Every getter on every name in the top scope, the first group "g" and its "h".
std::string Answers(MCSettingsParser& parser) {
  void* g = parser.GetComplexParameter("g", nullptr);
  void* h = g != nullptr ? parser.GetComplexParameter("h", g) : nullptr;
  std::string out;
  for (void* context : {static_cast<void*>(nullptr), g, h}) {
    if (!out.empty() && context == nullptr) {  // a group that is gone
      out += "none\n";
      continue;
    }
    for (const std::string& name : kNames) {
      for (int kind = kText; kind <= kType; ++kind) {
        const Answer answer = Ask(parser, static_cast<Kind>(kind), name.c_str(), context);
        out += std::to_string(answer.status.GetCode()) + "=" + answer.out + " ";
      }
      out += parser.GetComplexParameter(name.c_str(), context) ? "complex\n" : "\n";
    }
  }
  return out;
}

TEST(SettingsLookup, EveryQueryReadsTheDocumentAsItNowStands) {
  using Edit = std::function<void(xc::DOMDocument&, DOMElement&)>;
  const auto element = [](xc::DOMDocument& doc, const XMLCh* tag, const XMLCh* name) {
    DOMElement* made = doc.createElement(tag);
    made->setAttribute(u"name", name);
    made->setAttribute(u"value", u"made");
    return made;
  };
  const std::pair<const char*, Edit> edits[] = {
      {"same tag and name inserted before",
       [&](auto& doc, auto& t) {
         t.getParentNode()->insertBefore(element(doc, t.getTagName(), t.getAttribute(u"name")), &t);
       }},
      {"new name appended",
       [&](auto& doc, auto& t) {
         t.getParentNode()->appendChild(element(doc, t.getTagName(), u"c"));
       }},
      {"removed", [](auto&, auto& t) { t.getParentNode()->removeChild(&t); }},
      {"removed and released",
       [](auto&, auto& t) { t.getParentNode()->removeChild(&t)->release(); }},
      {"renamed by its attribute", [](auto&, auto& t) { t.setAttribute(u"name", u"c"); }},
      {"renamed by the attribute's text",
       [](auto&, auto& t) { t.getAttributeNode(u"name")->getFirstChild()->setNodeValue(u"c"); }},
      {"name attribute renamed",
       [](auto& doc, auto& t) { doc.renameNode(t.getAttributeNode(u"name"), nullptr, u"label"); }},
      {"element renamed", [](auto& doc, auto& t) { doc.renameNode(&t, nullptr, u"Other"); }},
      {"name attribute removed", [](auto&, auto& t) { t.removeAttribute(u"name"); }},
      {"name attribute replaced",
       [](auto& doc, auto& t) {
         xc::DOMAttr* name = doc.createAttribute(u"name");
         name->setValue(u"c");
         t.setAttributeNode(name);
       }},
      {"a nameless element before named alike",
       [](auto&, auto& t) {
         DOMNode* node = t.getParentNode()->getFirstChild();
         while (node->getNodeType() != DOMNode::ELEMENT_NODE ||
                !xc::XMLString::equals(node->getNodeName(), t.getTagName()) ||
                static_cast<DOMElement*>(node)->hasAttribute(u"name")) {
           node = node->getNextSibling();
         }
         static_cast<DOMElement*>(node)->setAttribute(u"name", t.getAttribute(u"name"));
       }},
  };
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
      const DOMElement* groupG = Walk(top, u"ComplexParameter", "g");
      for (const DOMNode* scope :
           {top, static_cast<const DOMNode*>(groupG),
            static_cast<const DOMNode*>(Walk(groupG, u"ComplexParameter", "h"))}) {
        if (scope == nullptr) continue;
        void* context = scope == top ? nullptr : const_cast<DOMNode*>(scope);
        for (const std::string& name : kNames) {
          SCOPED_TRACE(name);
          EXPECT_EQ(parser.GetComplexParameter(name.c_str(), context),
                    Walk(scope, u"ComplexParameter", name));
          const DOMElement* param = Walk(scope, u"Parameter", name);
          EXPECT_EQ(Ask(parser, kText, name.c_str(), context).out,
                    param ? MCXML_1_3::ToUTF8(param->getAttribute(u"value")) : "=");
        }
      }
    }
  }
}

}  // namespace
}  // namespace mcxml_test
