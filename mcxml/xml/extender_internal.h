// The Extension element that is the library's own, marked by its extender: its
// names, read by the DOM access functions and written by the DOM building ones.
#ifndef MCXML_XML_EXTENDER_INTERNAL_H
#define MCXML_XML_EXTENDER_INTERNAL_H

namespace MCXML_1_3 {

inline constexpr char kExtenderId[] = "mcxml";
inline constexpr char kExtensionTag[] = "Extension";
inline constexpr char kExtenderAttr[] = "extender";
inline constexpr char kExtensionNameAttr[] = "name";

}  // namespace MCXML_1_3

#endif  // MCXML_XML_EXTENDER_INTERNAL_H
