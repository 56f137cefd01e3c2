// The parts of a PMML document that readers tell apart: which children of the
// root are models, and whether a document is read as build settings or as a model.
#ifndef MCXML_PMML_DOCUMENT_PARTS_H
#define MCXML_PMML_DOCUMENT_PARTS_H

#include <cstddef>

#include <xercesc/dom/DOMElement.hpp>

#include "mcxml/common/export.h"

namespace MCXML_1_3 {

using XERCES_CPP_NAMESPACE::DOMElement;

/// Whether `elmt`, a child of the root, is a model element: any tag but Header,
/// MiningBuildTask, DataDictionary, TransformationDictionary and Extension, compared
/// as TagNameEquals compares.
MCXML_EXPORT bool IsModelElmt(const DOMElement& elmt);

/// The `index`-th (from 0) child of `root` that IsModelElmt takes for a model, in
/// document order; null when there are fewer.
MCXML_EXPORT const DOMElement* GetModelElmt(const DOMElement& root, std::size_t index);

/// How a document is read: as a model document by MCPMMLParser, or as build
/// settings by MCSettingsParser.
enum class MCDocumentKind {
  PMML,     ///< a model document
  Settings  ///< a build-settings document
};

/// The kind of the document under `root`: build settings when a MiningBuildTask
/// child of the root holds an Extension with a Parameters child, or when the root
/// has a MiningBuildTask child and no model element; otherwise a model document
/// (a model document may carry a MiningBuildTask of its own).
MCXML_EXPORT MCDocumentKind GetDocumentKind(const DOMElement& root);

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_DOCUMENT_PARTS_H
