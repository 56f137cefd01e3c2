# Writes mcxml/version.h from mcxml/version.h.in. The build includes this file
# when it configures; `make docs` runs it with cmake -P, so that the reference
# documents the header the packages install.
# Inputs: MCXML_VERSION (MAJOR.MINOR.PATCH), MCXML_VERSION_HEADER (the file to write).
if(NOT MCXML_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "MCXML_VERSION '${MCXML_VERSION}' is not MAJOR.MINOR.PATCH")
endif()
set(MCXML_VERSION_MAJOR ${CMAKE_MATCH_1})
set(MCXML_VERSION_MINOR ${CMAKE_MATCH_2})
set(MCXML_VERSION_PATCH ${CMAKE_MATCH_3})
configure_file(${CMAKE_CURRENT_LIST_DIR}/../mcxml/version.h.in ${MCXML_VERSION_HEADER} @ONLY)
