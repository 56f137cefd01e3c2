// varlist and stats: one MCPMMLParser per run, every call's outcome printed.
#include "pmml_commands.h"

#include "input_file.h"
#include "json_writer.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/xml/dom_access.h"
#include "report.h"

namespace MCXML_1_3 {
namespace tool {

namespace {

// The "model" and "calls" keys: the FillUniStats walk over the chosen model.
void WriteStatsWalk(MCPMMLParser& parser, int modelIndex, JsonWriter& json, Outcome& outcome) {
  const DOMElement* root = parser.GetRootElement();
  const DOMElement* model =
      root != nullptr ? GetModelElmt(*root, static_cast<std::size_t>(modelIndex)) : nullptr;
  json.Key("model");
  if (model == nullptr) {
    json.Null();
  } else {
    json.String(ToUTF8(model->getTagName()));
  }
  json.Key("calls").BeginArray();
  if (model != nullptr) {
    // Cannot fail once a root exists; if it did, the walk would report why.
    static_cast<void>(parser.SetModelElmt(*model));
    const DOMElement* cursor = nullptr;
    for (;;) {
      // A fresh record per call shows exactly what each call wrote.
      MCUniStats stats;
      const DOMElement* const before = cursor;
      const MCStatus status = parser.FillUniStats(stats, cursor);
      if (status.IsOK() && cursor == nullptr) break;
      outcome.Note(status);
      json.BeginObject().Key("field");
      const XMLCh* field = cursor != nullptr ? GetAttribute(*cursor, "field") : nullptr;
      if (field == nullptr) {
        json.Null();
      } else {
        json.String(ToUTF8(field));
      }
      WriteStatus(json.Key("status"), status);
      WriteUniStats(json.Key("stats"), stats);
      json.EndObject();
      // A failure before the walk leaves the cursor in place: asking again would
      // give the same answer for ever.
      if (cursor == nullptr || cursor == before) break;
    }
  }
  json.EndArray();
}

}  // namespace

int RunVarList(const Invocation& invocation, std::ostream& out, std::string& error) {
  return RunOnDocument<MCPMMLParser>(
      invocation, out, error, [&](MCPMMLParser& parser, JsonWriter& json, Outcome& outcome) {
        MCVarList varList;
        const MCStatus status = parser.FillVarList(varList, invocation.names, invocation.bins);
        outcome.Note(status);
        WriteStatus(json.Key("status"), status);
        WriteVariables(json, varList);
      });
}

int RunStats(const Invocation& invocation, std::ostream& out, std::string& error) {
  return RunOnDocument<MCPMMLParser>(invocation, out, error,
                                     [&](MCPMMLParser& parser, JsonWriter& json, Outcome& outcome) {
                                       WriteStatsWalk(parser, invocation.model, json, outcome);
                                     });
}

}  // namespace tool
}  // namespace MCXML_1_3
