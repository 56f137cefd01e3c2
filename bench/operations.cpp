// The benchmarks' documents and operations; see operations.h.
#include "operations.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>

#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/xml/dom_access.h"

namespace mcxml_bench {

Options gOptions;

namespace {

namespace xc = XERCES_CPP_NAMESPACE;
using namespace MCXML_1_3;

using Doubles = std::vector<double>;
using Texts = std::vector<std::string>;

// Reads a string in place, so that our stream input costs no copy the bare
// parse's memory buffer does not.
class MemoryBuf : public std::streambuf {
 public:
  explicit MemoryBuf(const std::string& bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }

 protected:
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    if (off != 0 || dir != std::ios_base::cur) return pos_type(off_type(-1));
    return pos_type(gptr() - eback());
  }
};

class MemoryStream : public std::istream {
 public:
  explicit MemoryStream(const std::string& bytes) : std::istream(nullptr), m_buf(bytes) {
    rdbuf(&m_buf);
  }

 private:
  MemoryBuf m_buf;
};

// Asks for the memory 4 kB past each node a walk comes to, as the library's own
// walks do: the document allocates nodes in document order.
class Ahead {
 public:
  void At(const void* node) {
    const std::uintptr_t until =
        (reinterpret_cast<std::uintptr_t>(node) & ~std::uintptr_t{63}) + 4096;
    if (m_next < until - 4096 || m_next > until) m_next = until - 4096;
    for (; m_next < until; m_next += 64) __builtin_prefetch(reinterpret_cast<const void*>(m_next));
  }

 private:
  std::uintptr_t m_next = 0;
};

// Every node under `node` once, and every attribute's name and value text; the
// count of values seen. With `ahead`, memory is asked for ahead of the walk.
size_t VisitSubtree(const DOMNode& node, Ahead* ahead) {
  if (ahead != nullptr) ahead->At(&node);
  size_t values = node.getNodeValue() != nullptr ? 1 : 0;
  if (const XERCES_CPP_NAMESPACE::DOMNamedNodeMap* map = node.getAttributes()) {
    const XMLSize_t count = map->getLength();
    for (XMLSize_t i = 0; i < count; ++i) {
      const DOMNode* attr = map->item(i);
      const DOMNode* text = attr->getFirstChild();
      if (attr->getNodeName() != nullptr && text != nullptr && text->getNodeValue() != nullptr) {
        ++values;
      }
    }
  }
  for (const DOMNode* child = node.getFirstChild(); child != nullptr;
       child = child->getNextSibling()) {
    values += VisitSubtree(*child, ahead);
  }
  return values;
}

// The parts that a whole read reads, each node and value once and nothing else
// done: the least that any reader of them pays through the DOM.
size_t VisitReadParts(const MCPMMLParser& parser, bool readAhead) {
  const DOMElement& root = *parser.GetRootElement();
  const DOMElement* model = GetFirstChildElmt(root, "TreeModel");
  const DOMElement* parts[] = {
      GetFirstChildElmt(root, "DataDictionary"),
      GetFirstChildElmt(root, "TransformationDictionary"),
      model != nullptr ? GetFirstChildElmt(*model, "ModelStats") : nullptr};
  Ahead ahead;
  size_t values = 0;
  for (const DOMElement* part : parts) {
    if (part != nullptr) values += VisitSubtree(*part, readAhead ? &ahead : nullptr);
  }
  return values;
}

size_t UniStatsWalk(MCPMMLParser& parser) {
  const DOMElement* model = GetModelElmt(*parser.GetRootElement(), 0);
  if (model == nullptr || !parser.SetModelElmt(*model)) return 0;
  size_t read = 0;
  const DOMElement* cursor = nullptr;
  do {
    MCUniStats stats;
    if (parser.FillUniStats(stats, cursor).IsOK() && cursor != nullptr) ++read;
  } while (cursor != nullptr);
  return read;
}

size_t VarListCount(const MCPMMLParser& parser, const std::vector<std::string>& names) {
  MCVarList varList;
  if (!parser.FillVarList(varList, names, true).IsOK()) return 0;
  return static_cast<size_t>(varList.GetCount());
}

template <class T>
bool Query(const MCSettingsParser& parser, const char* name, void* context) {
  T value{};
  return parser.GetParameter(name, value, context).IsOK();
}

// Every group once, then every parameter once with the getter its kind calls
// for; the count of OK answers.
size_t QueryAll(MCSettingsParser& parser, const SettingsDocument& doc) {
  size_t ok = 0;
  std::vector<void*> handles(doc.groups.size(), nullptr);
  for (size_t j = 0; j < doc.groups.size(); ++j) {
    const int parent = doc.groups[j].parent;
    handles[j] = parser.GetComplexParameter(doc.groups[j].name.c_str(),
                                            parent < 0 ? nullptr : handles[parent]);
    if (handles[j] != nullptr) ++ok;
  }
  for (const SettingsParam& param : doc.params) {
    const char* name = param.name.c_str();
    void* context = param.group < 0 ? nullptr : handles[param.group];
    bool answered = false;
    switch (param.kind) {
      case ParamKind::kString:
      case ParamKind::kEnum:
        answered = Query<std::string>(parser, name, context);
        break;
      case ParamKind::kInteger:
        answered = Query<int>(parser, name, context);
        break;
      case ParamKind::kDouble:
        answered = Query<double>(parser, name, context);
        break;
      case ParamKind::kBoolean:
        answered = Query<bool>(parser, name, context);
        break;
      case ParamKind::kFieldName: {
        std::string value;
        answered = context == nullptr ? parser.GetVariables(name, value).IsOK()
                                      : parser.GetParameter(name, value, context).IsOK();
        break;
      }
      case ParamKind::kNameList: {
        std::vector<std::string> values;
        answered = parser.GetVariables(name, values).IsOK();
        break;
      }
      case ParamKind::kArrayString: {
        std::vector<std::string> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kArrayInteger: {
        std::vector<int> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kArrayDouble: {
        std::vector<double> values;
        answered = parser.GetArray(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixInteger: {
        std::vector<std::vector<int> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixDouble: {
        std::vector<std::vector<double> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
      case ParamKind::kMatrixString: {
        std::vector<std::vector<std::string> > values;
        answered = parser.GetMatrix(name, values, context).IsOK();
        break;
      }
    }
    if (answered) ++ok;
  }
  return ok;
}

// A parsed document shared by the benchmarks that time the queries alone.
template <class Parser>
Parser& Loaded(const std::string& bytes) {
  static Parser parser;
  static const bool loaded = [&bytes] {
    MemoryStream in(bytes);
    return parser.ParseToDOM(in).IsOK();
  }();
  if (!loaded) std::abort();
  return parser;
}

// The variable at `index` of `from`, added to `to` from copies of its values.
void AddCopy(MCVarList& to, const MCVarList& from, int index) {
  const MCVariableInfo& info = from.GetVarAt(index)->GetInfo();
  const auto role = static_cast<IMCVariable::VariableRole>(info.role);
  int added = -1;
  if (info.kind != MCVariableInfo::Kind::Categorical) {
    added = info.cutPoints ? to.AddContVar(info.name, info.label, info.range->first,
                                           info.range->second, Doubles(*info.cutPoints), true, role)
                           : to.AddContVar(info.name, info.label, role);
  } else if (info.textValues) {
    added = info.valueLabels ? to.AddCatVar(info.name, info.label, Texts(info.texts),
                                            Texts(*info.valueLabels), role)
                             : to.AddCatVar(info.name, info.label, Texts(info.texts), role);
  } else {
    added = info.valueLabels ? to.AddCatVar(info.name, info.label, Doubles(info.numbers),
                                            Texts(*info.valueLabels), role)
                             : to.AddCatVar(info.name, info.label, Doubles(info.numbers), role);
  }
  const IMCEncoder& source = *from.GetEncoderAt(index);
  IMCEncoder* target = to.GetEncoderAt(added);
  if (target == nullptr) return;
  if (source.GetBinLabels()) target->SetBinLabels(*source.GetBinLabels());
  for (const MCInvalidValue& value : source.GetInvalidValues()) {
    if (value.isText) {
      target->AddInvalidValue(value.text, value.label);
    } else {
      target->AddInvalidValue(value.number, value.label);
    }
  }
  if (const auto& range = source.GetInvalidRange())
    target->SetInvalidRange(range->first, range->second);
}

// What the whole read gives, kept to be stored again.
struct Results {
  MCVarList varList;
  std::vector<MCUniStats> records;
};

Results& LoadedResults() {
  static Results results;
  return results;
}

}  // namespace

const std::string& PmmlText() {
  static const std::string text = GeneratePmml(gOptions.shape);
  return text;
}

const SettingsDocument& Settings() {
  static const SettingsDocument doc = GenerateSettings(gOptions.params);
  return doc;
}

const std::vector<std::string>& FilterNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> result;
    for (int i = 0; i < gOptions.shape.fields; i += 2) {
      result.push_back(FieldName(gOptions.shape, i));
    }
    return result;
  }();
  return names;
}

std::size_t BareParse(const std::string& bytes) {
  xc::XercesDOMParser parser;
  xc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(),
                               "bench");
  parser.parse(source);
  return parser.getDocument() != nullptr ? 1 : 0;
}

std::size_t ParseOnly(const std::string& bytes, bool places) {
  MCPMMLParser parser;
  parser.SetElementPlaces(places);
  MemoryStream in(bytes);
  return parser.ParseToDOM(in).IsOK() ? 1 : 0;
}

std::size_t WholeRead(const std::string& bytes, bool places) {
  MCPMMLParser parser;
  parser.SetElementPlaces(places);
  MemoryStream in(bytes);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  MCVarList varList;
  if (!parser.FillVarList(varList, {}, true).IsOK()) return 0;
  return static_cast<size_t>(varList.GetCount()) + UniStatsWalk(parser);
}

std::size_t BareFileParse(const std::string& path) {
  xc::XercesDOMParser parser;
  parser.parse(path.c_str());
  return parser.getDocument() != nullptr ? 1 : 0;
}

std::size_t BareFolderParse(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files.push_back(entry.path().string());
  }
  std::size_t parsed = 0;
  for (const std::string& file : files) parsed += BareFileParse(file);
  return parsed;
}

std::size_t LeanFileRead(const std::string& path) {
  MCPMMLParser parser;
  parser.SetLeanReading(true);
  std::ifstream in(path, std::ios::binary);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  MCVarList varList;
  if (!parser.FillVarList(varList, {}, true).IsOK()) return 0;
  return static_cast<size_t>(varList.GetCount()) + UniStatsWalk(parser);
}

std::size_t CheckWhole(const std::string& bytes) {
  MCPMMLParser parser;
  parser.SetElementPlaces(true);
  MemoryStream in(bytes);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  return parser.CheckDocument(true).empty() ? 1 : 0;
}

std::size_t SettingsQueryOnce(const SettingsDocument& doc) {
  MCSettingsParser parser;
  MemoryStream in(doc.text);
  if (!parser.ParseToDOM(in).IsOK()) return 0;
  return QueryAll(parser, doc);
}

std::size_t SettingsParse(const SettingsDocument& doc) {
  MCSettingsParser parser;
  MemoryStream in(doc.text);
  return parser.ParseToDOM(in).IsOK() ? 1 : 0;
}

void LoadPmml() {
  MCPMMLParser& parser = Loaded<MCPMMLParser>(PmmlText());
  Results& results = LoadedResults();
  if (results.varList.GetCount() > 0) return;
  if (!parser.FillVarList(results.varList, {}, true).IsOK()) std::abort();
  const DOMElement* model = GetModelElmt(*parser.GetRootElement(), 0);
  if (model == nullptr || !parser.SetModelElmt(*model)) std::abort();
  const DOMElement* cursor = nullptr;
  do {
    MCUniStats stats;
    if (parser.FillUniStats(stats, cursor).IsOK() && cursor != nullptr) {
      results.records.push_back(std::move(stats));
    }
  } while (cursor != nullptr);
}

void LoadSettings() {
  Loaded<MCSettingsParser>(Settings().text);
}

std::size_t LoadedVarListCount(const std::vector<std::string>& names) {
  return VarListCount(Loaded<MCPMMLParser>(PmmlText()), names);
}

std::size_t LoadedUniStatsWalk() {
  return UniStatsWalk(Loaded<MCPMMLParser>(PmmlText()));
}

std::size_t LoadedVisitReadParts(bool readAhead) {
  return VisitReadParts(Loaded<MCPMMLParser>(PmmlText()), readAhead) > 0 ? 1 : 0;
}

std::size_t ResultsAlone() {
  const Results& results = LoadedResults();
  MCVarList varList;
  for (int i = 0; i < results.varList.GetCount(); ++i) AddCopy(varList, results.varList, i);
  std::size_t valid = 0;
  for (const MCUniStats& record : results.records) {
    const MCUniStats copy = record;
    if (copy.IsValid()) ++valid;
  }
  return static_cast<std::size_t>(varList.GetCount()) + valid;
}

std::size_t LoadedSettingsQueryAll() {
  return QueryAll(Loaded<MCSettingsParser>(Settings().text), Settings());
}

}  // namespace mcxml_bench
