// The one export macro: the libraries are built with hidden visibility, and only
// declarations marked with MCXML_EXPORT leave them.
#ifndef MCXML_COMMON_EXPORT_H
#define MCXML_COMMON_EXPORT_H

#if defined(_WIN32)
#define MCXML_EXPORT
#else
#define MCXML_EXPORT __attribute__((visibility("default")))
#endif

#endif  // MCXML_COMMON_EXPORT_H
