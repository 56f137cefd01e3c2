// Every public header of the library in one include.
#ifndef MCXML_MCXML_H
#define MCXML_MCXML_H

/// @file
/// Includes every public header of both libraries and the version header, for a
/// caller that would rather not pick them one by one.

#include "mcxml/common/diagnostics.h"
#include "mcxml/common/export.h"
#include "mcxml/common/format.h"
#include "mcxml/common/missing_value.h"
#include "mcxml/common/status.h"
#include "mcxml/common/uni_stats.h"
#include "mcxml/common/var_list.h"
#include "mcxml/pmml/document_parts.h"
#include "mcxml/pmml/pmml_parser.h"
#include "mcxml/settings/settings_parser.h"
#include "mcxml/version.h"
#include "mcxml/xml/dom_access.h"
#include "mcxml/xml/dom_building.h"
#include "mcxml/xml/input_source.h"
#include "mcxml/xml/parser_owner.h"
#include "mcxml/xml/read_write.h"
#include "mcxml/xml/transcoder.h"

#endif  // MCXML_MCXML_H
