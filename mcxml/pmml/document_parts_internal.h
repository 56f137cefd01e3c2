// What a lean parse of a PMML document builds, written beside the rule of which
// children of the root are models.
#ifndef MCXML_PMML_DOCUMENT_PARTS_INTERNAL_H
#define MCXML_PMML_DOCUMENT_PARTS_INTERNAL_H

#include "mcxml/xml/document_parser_internal.h"

namespace MCXML_1_3 {

/// Everything below the root's children but the body of each model element: of a
/// model, only its ModelStats, MiningSchema, Output, Targets, LocalTransformations and
/// Extension children are built, each whole.
extern const LeanRule kPmmlLeanRule;

}  // namespace MCXML_1_3

#endif  // MCXML_PMML_DOCUMENT_PARTS_INTERNAL_H
