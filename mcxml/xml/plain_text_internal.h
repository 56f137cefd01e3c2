// Text read as it stands wherever that gives the general conversion's answer:
// plain ASCII, which is the same units in UTF-8 and UTF-16, and plain decimal
// numbers; anything else goes the general way (the transcoder, XMLDouble).
#ifndef MCXML_XML_PLAIN_TEXT_INTERNAL_H
#define MCXML_XML_PLAIN_TEXT_INTERNAL_H

#include <vector>

#include <xercesc/util/XercesDefs.hpp>

namespace MCXML_1_3 {

/// True when every byte of `text` (not null) is below 0x80.
bool IsAscii(const char* text);
/// True when `text` (not null) equals the ASCII text `ascii` unit for unit.
bool EqualsAscii(const XMLCh* text, const char* ascii);

/// Reads `text` (not null) as an integer within the range of int, as XMLBigInteger
/// reads it; false, `value` untouched, for anything else.
bool XStrToInt(const XMLCh* text, int& value);
/// Reads `text` (not null) as XMLDouble does: true for a finite number, and for
/// the NaN literal, which gives the missing value; false, `value` untouched, for
/// anything else (the infinities included).
bool XStrToDouble(const XMLCh* text, double& value);
/// Appends the numbers of `text` (not null), split as a default XMLStringTokenizer
/// splits it and each read as XStrToDouble reads it; on a bad token `values` is
/// emptied and the answer is false.
bool XStrToDoublesList(const XMLCh* text, std::vector<double>& values);

}  // namespace MCXML_1_3

#endif  // MCXML_XML_PLAIN_TEXT_INTERNAL_H
