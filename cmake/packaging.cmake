# Packages made by cpack: Debian packages split by component, and one tarball
# holding everything that unpacks anywhere (the libraries, the tool, the CMake and
# pkg-config files all find each other by relative paths).
#
# The Debian split follows how Debian ships shared libraries: the runtime package
# is named after the libraries' SONAME and holds only them, so that programs built
# against it keep running when a later -dev package moves on; -dev holds what
# building needs; the tool is a package of its own, so that a program that only
# links the library does not put a command on the PATH.
set(CPACK_PACKAGE_NAME mcxml)
set(CPACK_PACKAGE_VENDOR "mcxml developers")
set(CPACK_PACKAGE_CONTACT "mcxml developers")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tool)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# Component dependencies become exact versions of the runtime package.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libmcxml1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# Descriptions: the first line is the package's synopsis.
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "reader of PMML and build-settings documents
libmcxml reads PMML documents (variables, discretization bins, univariate
statistics) and build-settings documents (typed parameters, arrays, matrices,
variable roles) through the Xerces-C DOM parser; libmccommon holds the status,
variable list and statistics types it fills.")
# The Xerces-C runtime, the C and C++ runtimes: read off the libraries.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libmcxml-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION "reader of PMML and build-settings documents (development files)
Headers, the CMake package (find_package(mcxml)) and the pkg-config file of
libmcxml. The headers name Xerces-C DOM types, so building against them needs
the Xerces-C headers too.")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS libxerces-c-dev)

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME mcxml)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOL_DESCRIPTION "print what libmcxml reads from a PMML document, as JSON
mcxml prints as JSON what the mcxml library reads from a PMML or build-settings
document: variables, statistics, settings queries. See mcxml(1).")
set(CPACK_DEBIAN_TOOL_PACKAGE_SHLIBDEPS ON)
# The tool links the runtime package's libraries, which dpkg-shlibdeps must find.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_BINARY_DIR}/mcxml)

include(CPack)
