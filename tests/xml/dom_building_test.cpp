// DOM building: refusals leave the document as it was; what is built is found
// again by the access functions.
#include <string>

#include <gtest/gtest.h>

#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_building.h"
#include "test_support.h"

namespace {

using namespace MCXML_1_3;
using mcxml_test::InlineDoc;

// The child tags in order, e.g. "a,b,".
std::string Children(const DOMElement& parent) {
  std::string tags;
  for (const DOMNode* n = parent.getFirstChild(); n != nullptr; n = n->getNextSibling()) {
    tags += ToUTF8(n->getNodeName()) + ",";
  }
  return tags;
}

TEST(DomBuildingTest, RefusalsLeaveTheDocumentUnchanged) {
  const InlineDoc d("<r><a/><b/></r>");
  const InlineDoc other("<o/>");
  DOMElement& r = d.root();
  DOMElement* a = const_cast<DOMElement*>(GetFirstChildElmt(r, "a"));
  DOMElement* c = CreateElement(d.doc(), "c");
  DOMElement* notAChild = CreateElement(d.doc(), "n");
  EXPECT_EQ(CreateElement(d.doc(), "has space"), nullptr);
  EXPECT_FALSE(SetAttribute(*a, "bad name", "v"));
  EXPECT_FALSE(a->hasAttributes());
  EXPECT_FALSE(InsertElement(r, c, notAChild));
  EXPECT_FALSE(ReplaceElement(r, c, notAChild));
  EXPECT_FALSE(InsertElement(r, CreateElement(other.doc(), "x"), nullptr)) << "another document";
  EXPECT_EQ(Children(r), "a,b,");

  EXPECT_TRUE(InsertElement(r, c, a));
  EXPECT_TRUE(InsertElement(r, CreateElement(d.doc(), "z"), nullptr));
  EXPECT_TRUE(ReplaceElement(r, notAChild, a));
  EXPECT_EQ(Children(r), "c,n,b,z,");
  EXPECT_EQ(a->getParentNode(), nullptr);
}

TEST(DomBuildingTest, WhatIsBuiltReadsBack) {
  const InlineDoc d("<r k='old'><Extension extender='mcxml' name='other'/></r>");
  DOMElement& r = d.root();
  EXPECT_TRUE(SetAttribute(r, "k", ""));
  EXPECT_TRUE(r.hasAttribute(u"k")) << "set, though it reads as absent";
  ASSERT_TRUE(SetAttribute(r, "x", 2.5));
  EXPECT_EQ(ToUTF8(GetAttribute(r, "x")), "2.5");

  DOMElement* named = CreateExtension(d.doc(), "tree");
  DOMElement* unnamed = CreateExtension(d.doc(), "");
  ASSERT_TRUE(InsertElement(r, unnamed, nullptr));
  ASSERT_TRUE(InsertElement(r, named, nullptr));
  EXPECT_EQ(GetFirstChildExtension(r, "tree"), named);
  EXPECT_EQ(GetNextSiblingExtension(*GetFirstChildElmt(r, nullptr), nullptr), unnamed);
}

}  // namespace
