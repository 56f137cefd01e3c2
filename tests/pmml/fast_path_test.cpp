// The reading steps' fast paths against the general ones where they could part:
// one pass over an element's attributes or children against a lookup per name,
// the bins index that grows with the builder's walk against the whole walk, and
// the variable list taking values by move against copying them.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMText.hpp>

#include "mcxml/xml/dom_access.h"
#include "pmml_test_support.h"

namespace {

using namespace mcxml_test;
using MCXML_1_3::IMCVariable;
using MCXML_1_3::MCUniStats;
using MCXML_1_3::MCVarList;
using xercesc::DOMDocument;
using xercesc::DOMElement;
using Doubles = std::vector<double>;
using Texts = std::vector<std::string>;

std::string Shown(const XMLCh* value) {
  return value == nullptr ? "(absent)" : MCXML_1_3::ToUTF8(value);
}

std::string FilledText(ProbeParser& parser) {
  MCVarList list;
  EXPECT_THAT(parser.FillVarList(list, {}, false), IsOk());
  return VarListText(list);
}

// Attribute maps the parser never makes: two attributes of one name (in two
// namespaces; the DOM files the later one first), an empty one before a full
// one, a value of several text nodes or of none. The edited Value must read as a
// freshly parsed one with the attributes the lookup per name finds.
TEST(FastPathTest, OnePassOverAttributesReadsWhatTheLookupPerNameFinds) {
  using Edit = std::function<void(DOMDocument&, DOMElement&)>;
  const struct {
    const char* what;
    Edit edit;
    const char* value;
    const char* property;
  } cases[] = {
      {"an empty first value hides a later one",
       [](DOMDocument&, DOMElement& v) {
         v.removeAttribute(u"value");
         v.setAttributeNS(u"urn:y", u"value", u"z");
         v.setAttributeNS(u"urn:x", u"value", u"");
       },
       "(absent)", "(absent)"},
      {"the first of two properties counts",
       [](DOMDocument&, DOMElement& v) {
         v.setAttributeNS(u"urn:y", u"property", u"valid");
         v.setAttributeNS(u"urn:x", u"property", u"invalid");
       },
       "b", "invalid"},
      {"a value of two text nodes",
       [](DOMDocument& d, DOMElement& v) {
         v.getAttributeNode(u"value")->appendChild(d.createTextNode(u"2"));
       },
       "b2", "(absent)"},
      {"a value without text",
       [](DOMDocument& d, DOMElement& v) { v.setAttributeNode(d.createAttribute(u"value")); },
       "(absent)", "(absent)"},
      {"a prefixed name is another name",
       [](DOMDocument&, DOMElement& v) {
         v.removeAttribute(u"value");
         v.setAttributeNS(u"urn:p", u"p:value", u"q");
       },
       "(absent)", "(absent)"},
  };
  const std::string first = "<Value value='a' displayValue='A'/>";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProbeParser edited;
    ASSERT_THAT(
        Load(edited, Pmml(Cat("c", "string", first + "<Value value='b' displayValue='B'/>"))),
        IsOk());
    auto& field = const_cast<DOMElement&>(*edited.m_dataDictElmt->getFirstElementChild());
    DOMElement& value = *field.getLastElementChild();
    c.edit(*value.getOwnerDocument(), value);
    const XMLCh* text = MCXML_1_3::GetAttribute(value, "value");
    const XMLCh* property = MCXML_1_3::GetAttribute(value, "property");
    ASSERT_EQ(Shown(text), c.value);
    ASSERT_EQ(Shown(property), c.property);

    ProbeParser fresh;
    const std::string second = "<Value displayValue='B'" +
                               (text ? " value='" + Shown(text) + "'" : std::string()) +
                               (property ? " property='" + Shown(property) + "'" : "") + "/>";
    ASSERT_THAT(Load(fresh, Pmml(Cat("c", "string", first + second))), IsOk());
    EXPECT_EQ(FilledText(edited), FilledText(fresh));
  }
}

std::string Record(const MCUniStats& stats) {
  const MCUniStats::SummStats& s = stats.GetSummStats();
  return stats.GetName() + " " + Text(stats.GetTotalFreq()) + " {" + Text(stats.GetCounts()) +
         "} " + Text(Doubles{s.minimum, s.maximum, s.mean, s.standardDeviation}) + " |" +
         Text(stats.GetCutPoints()) + "|" + Text(stats.GetFreqs());
}

// Each child found in one pass is the first of its tag, whatever stands before,
// between or after it, and whatever repeats.
TEST(FastPathTest, OnePassOverChildrenFindsTheFirstOfEachTag) {
  const std::string disc12 = "<DiscrStats><Array type='int'>1 2</Array></DiscrStats>";
  const std::string disc3 = "<DiscrStats><Array type='int'>3</Array></DiscrStats>";
  const std::string cont = "<ContStats><Array type='int'>4 5</Array><Extension/>" + Iv("0", "1") +
                           "<Other/>" + Iv("1", "2") + "<Array type='int'>9</Array></ContStats>";
  const std::pair<std::string, std::string> cases[] = {
      {"<Counts totalFreq='5'/><Counts totalFreq='7'/>" + disc12 + disc3,
       "f 5 {1,2} -max,-max,-max,-max ||"},
      {disc3 + cont + "<Counts totalFreq='9'/><NumericInfo mean='2'/><NumericInfo mean='3'/>" +
           "<ContStats/>",
       "f 9 {} -max,-max,2,-max |0,1,2|4,5"},
  };
  std::string stats;
  for (const auto& c : cases)
    stats += "<UnivariateStats field='f'>" + c.first + "</UnivariateStats>";
  ProbeParser parser;
  ASSERT_THAT(
      Load(parser, "<PMML><DataDictionary/><M><ModelStats>" + stats + "</ModelStats></M></PMML>"),
      IsOk());
  ASSERT_TRUE(parser.SetModelElmt(*parser.GetRootElement()->getLastElementChild()));
  const DOMElement* cursor = nullptr;
  for (const auto& c : cases) {
    MCUniStats record;
    EXPECT_THAT(parser.FillUniStats(record, cursor), IsOk()) << c.first;
    EXPECT_EQ(Record(record), c.second) << c.first;
  }
}

// The index grows one Discretize per field while fields follow their bins, and
// whole at the first field that does not; the bins found are those of the walk
// through the whole dictionary, in layouts where the growing could lose its place.
TEST(FastPathTest, GrowingBinsIndexFindsWhatTheWholeWalkFinds) {
  const auto disc = [](Str field, int left) {
    return "<Discretize field='" + field + "'>" +
           Bin("x", std::to_string(left), std::to_string(left + 1)) +
           Bin("y", std::to_string(left + 1), std::to_string(left + 2)) + "</Discretize>";
  };
  const auto derived = [](Str discretizes) {
    return "<DerivedField>" + discretizes + "</DerivedField>";
  };
  const std::pair<Texts, std::string> layouts[] = {
      // Two Discretize in one DerivedField, an empty one, a field binned twice.
      {{"a", "b", "c", "d"},
       derived(disc("a", 0)) + derived("") + derived(disc("c", 10) + disc("b", 20)) +
           derived(disc("b", 30)) + derived(disc("d", 40))},
      // The last field's bins come first; a nameless Discretize between.
      {{"a", "b", "c"},
       derived(disc("c", 0)) + derived(disc("", 5)) + derived(disc("a", 10)) +
           derived(disc("b", 20))},
  };
  for (const auto& [names, transforms] : layouts) {
    std::string fields;
    for (const std::string& name : names) fields += Cont(name, "double");
    ProbeParser parser;
    ASSERT_THAT(Load(parser, Pmml(fields, Trans(transforms))), IsOk());
    MCVarList list;
    ASSERT_THAT(parser.FillVarList(list, {}, true), IsOk()) << transforms;
    ASSERT_EQ(list.GetCount(), static_cast<int>(names.size()));
    for (int i = 0; i < list.GetCount(); ++i) {
      const auto& info = list.GetVarAt(i)->GetInfo();
      Doubles cuts;
      Texts labels;
      ASSERT_TRUE(parser.SetBinsFrTransDict(info.name, cuts, labels)) << info.name;
      EXPECT_EQ(info.range->first, cuts.front()) << info.name << " in " << transforms;
    }
  }
}

// Every add that takes its values by move gives the list, the index and the
// refusals of the one that copies them.
TEST(FastPathTest, VariableListTakesByMoveWhatItCopies) {
  const auto role = IMCVariable::kInput;
  using Add = std::function<int(MCVarList&, bool)>;
  const auto texts = [](bool move, MCVarList& list, Str name, Texts values, Texts labels) {
    if (labels.empty())
      return move ? list.AddCatVar(name, "L", std::move(values), IMCVariable::kInput)
                  : list.AddCatVar(name, "L", values, IMCVariable::kInput);
    return move ? list.AddCatVar(name, "L", std::move(values), std::move(labels),
                                 IMCVariable::kInput)
                : list.AddCatVar(name, "L", values, labels, IMCVariable::kInput);
  };
  const auto numbers = [](bool move, MCVarList& list, Str name, Doubles values, Texts labels) {
    if (labels.empty())
      return move ? list.AddCatVar(name, "", std::move(values), IMCVariable::kInput)
                  : list.AddCatVar(name, "", values, IMCVariable::kInput);
    return move
               ? list.AddCatVar(name, "", std::move(values), std::move(labels), IMCVariable::kInput)
               : list.AddCatVar(name, "", values, labels, IMCVariable::kInput);
  };
  const auto binned = [role](bool move, MCVarList& list, Str name, Doubles cuts) {
    return move ? list.AddContVar(name, "", 0, 10, std::move(cuts), true, role)
                : list.AddContVar(name, "", 0, 10, cuts, true, role);
  };
  const Add adds[] = {
      [&](MCVarList& l, bool m) {
        return texts(m, l, "t", {"a", std::string(40, 'b')}, {});
      },
      [&](MCVarList& l, bool m) {
        return texts(m, l, "tl", {"a", "b"}, {"A", "B"});
      },
      [&](MCVarList& l, bool m) {
        return texts(m, l, "bad", {"a", "b"}, {"A"});
      },
      [&](MCVarList& l, bool m) {
        return numbers(m, l, "n", {1, 2.5}, {});
      },
      [&](MCVarList& l, bool m) { return numbers(m, l, "nl", {1}, {"one"}); },
      [&](MCVarList& l, bool m) { return numbers(m, l, "t", {1}, {}); },  // a name taken
      [&](MCVarList& l, bool m) { return numbers(m, l, "", {1}, {}); },
      [&](MCVarList& l, bool m) {
        return binned(m, l, "c", {2, 5});
      },
      [&](MCVarList& l, bool m) {
        return binned(m, l, "down", {5, 2});
      },
      [&](MCVarList& l, bool m) { return binned(m, l, "out", {10}); },
  };
  MCVarList copied, moved;
  for (const Add& add : adds) EXPECT_EQ(add(moved, true), add(copied, false));
  EXPECT_EQ(VarListText(moved), VarListText(copied));
  EXPECT_EQ(copied.GetCount(), 5);
}

}  // namespace
