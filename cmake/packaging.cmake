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
set(CPACK_PACKAGE_CONTACT "mcxml developers <mcxml-dev@example.org>")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tool)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Objects go in stripped; their debugging symbols go to a -dbgsym package beside
# each (a .ddeb file), which a debugger finds by build id. cpack's -dbgsym
# packages are mended once built (debian/repair_packages.cmake).
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
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
# The shlibs file tells dpkg-shlibdeps what a program linking the libraries
# depends on. The interface's namespaces are named after the minor version
# (MCXML_1_3), so only libraries of the same minor version are known to hold the
# symbols a program was linked against.
math(EXPR next_minor "${PROJECT_VERSION_MINOR} + 1")
set(runtime_depends "libmcxml1 (>= ${PROJECT_VERSION}), \
libmcxml1 (<< ${PROJECT_VERSION_MAJOR}.${next_minor}~)")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/debian/shlibs
  CONTENT "libmccommon 1 ${runtime_depends}\nlibmcxml 1 ${runtime_depends}\n")
# The ldconfig trigger runs ldconfig once per dpkg run; cpack's own postinst and
# postrm would call it from each package's scripts, so they are taken out again
# once the packages are built (debian/repair_packages.cmake).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${CMAKE_BINARY_DIR}/debian/shlibs ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/repair_packages.cmake)

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

# Each package carries the licence and the changelog in its own documentation
# folder. The changelog's first entry must be the version being packaged.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog changelog_top LIMIT_COUNT 1)
set(changelog_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
if(NOT changelog_top MATCHES "^mcxml \\(${changelog_version}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog has no entry for ${changelog_version} on top")
endif()
mcxml_gzip(${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
# lintian asks the first packaging of a program to close the bug that announced
# it to Debian; these packages are the project's own and announce nothing, which
# each says in an override file that lintian reads.
foreach(component IN ITEMS RUNTIME DEV TOOL)
  string(TOLOWER ${component} name)
  set(package ${CPACK_DEBIAN_${component}_PACKAGE_NAME})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
    ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${name})
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/debian/overrides/${package} CONTENT
    "# Built by the project itself, not uploaded to Debian: there is no bug to close.\n\
${package}: initial-upload-closes-no-bugs\n")
  install(FILES ${CMAKE_BINARY_DIR}/debian/overrides/${package}
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${name})
endforeach()

include(CPack)
