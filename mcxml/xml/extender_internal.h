// The extender identifier that marks an Extension element as the library's own;
// read by the DOM access functions and written by the DOM building functions.
#ifndef MCXML_XML_EXTENDER_INTERNAL_H
#define MCXML_XML_EXTENDER_INTERNAL_H

namespace MCXML_1_3 {

inline constexpr char kExtenderId[] = "mcxml";

}  // namespace MCXML_1_3

#endif  // MCXML_XML_EXTENDER_INTERNAL_H
