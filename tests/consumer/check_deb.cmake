# Makes the Debian packages and the tarball of the build with cpack, checks what
# each package holds and depends on and that lintian finds no error or warning in
# any, unpacks the packages into WORK_DIR/root and builds and runs the consumer
# against that tree through find_package(mcxml).
# Inputs: BUILD_DIR, WORK_DIR, SOURCE_DIR (the consumer), HEADERS_DIR (the source
# tree's mcxml/), VERSION, CXX.
include(${CMAKE_CURRENT_LIST_DIR}/script_support.cmake)
require_inputs(BUILD_DIR WORK_DIR SOURCE_DIR HEADERS_DIR VERSION CXX)

# The files (not folders) an archive listing names, as paths below `strip`.
function(list_files listing strip out_var)
  string(REGEX MATCHALL "[^\n]+" lines "${listing}")
  set(files)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE " -> .*" "" line "${line}")
    string(REGEX MATCH "[^ ]+$" path "${line}")
    if(NOT path MATCHES "/$")
      string(REGEX REPLACE "^${strip}(.*)" "\\1" path "${path}")
      list(APPEND files "${path}")
    endif()
  endforeach()
  list(SORT files)
  set(${out_var} "${files}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run(cpack -B ${WORK_DIR}/out --config ${BUILD_DIR}/CPackConfig.cmake)

# Every installed header is a public one of the source tree, and mcxml.h includes
# every other.
file(GLOB_RECURSE headers RELATIVE ${HEADERS_DIR} ${HEADERS_DIR}/*.h)
list(FILTER headers EXCLUDE REGEX "_internal\\.h$")
file(READ ${HEADERS_DIR}/mcxml.h umbrella)
foreach(header IN LISTS headers ITEMS version.h)
  if(NOT header STREQUAL "mcxml.h" AND NOT umbrella MATCHES "\n#include \"mcxml/${header}\"")
    message(FATAL_ERROR "mcxml/mcxml.h does not include mcxml/${header}")
  endif()
endforeach()
list(TRANSFORM headers PREPEND "include/mcxml/")

# package | files it must hold (regexes on its paths below usr/, comma-separated) |
# a regex its Depends must match. No package may hold a private header.
set(lib "^lib(/[^/]+)?")
set(packages
  "libmcxml1|${lib}/libmcxml\\.so\\.1$,${lib}/libmccommon\\.so\\.1$|libxerces-c3\\.2"
  "libmcxml-dev|^include/mcxml/version\\.h$,${lib}/libmcxml\\.so$,${lib}/cmake/mcxml/mcxmlConfig\\.cmake$,${lib}/pkgconfig/mcxml\\.pc$|libmcxml1 \\(= ${VERSION}-1\\).*libxerces-c-dev"
  "mcxml|^bin/mcxml$,^share/man/man1/mcxml\\.1\\.gz$|libmcxml1 \\(= ${VERSION}-1\\)")
set(deb_files)
foreach(entry IN LISTS packages)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 wanted)
  list(GET entry 2 depends)
  string(REPLACE "," ";" wanted "${wanted}")
  file(GLOB deb ${WORK_DIR}/out/${name}_*.deb)
  if(NOT deb)
    message(FATAL_ERROR "no package ${name}")
  endif()
  run(dpkg-deb -c ${deb})
  list_files("${run_output}" "\\./usr/" files)
  if(name STREQUAL "libmcxml-dev")
    list(APPEND wanted ${headers})
  endif()
  foreach(regex IN LISTS wanted)
    set(found ${files})
    list(FILTER found INCLUDE REGEX "${regex}")
    if(NOT found)
      message(FATAL_ERROR "${name} holds nothing matching ${regex}:\n${files}")
    endif()
  endforeach()
  if(files MATCHES "_internal\\.h")
    message(FATAL_ERROR "${name} holds a private header:\n${files}")
  endif()
  run(dpkg-deb -I ${deb})
  if(NOT run_output MATCHES "\n Depends: [^\n]*${depends}")
    message(FATAL_ERROR "${name} does not depend on ${depends}:\n${run_output}")
  endif()
  list(APPEND deb_files ${files})
  run(dpkg-deb -x ${deb} ${WORK_DIR}/root)
endforeach()

# The -dbgsym packages (.ddeb) are checked too.
file(GLOB debs ${WORK_DIR}/out/*.deb ${WORK_DIR}/out/*.ddeb)
run(lintian --fail-on error,warning --tag-display-limit 0 ${debs})

# The packages split the install between them: the tarball holds exactly what
# they hold together, so no installed file is left out of every package.
list(SORT deb_files)
file(GLOB tarball ${WORK_DIR}/out/*.tar.gz)
run(tar -tzf ${tarball})
list_files("${run_output}" "[^/]+/" tar_files)
if(NOT deb_files STREQUAL tar_files)
  message(FATAL_ERROR "packages: ${deb_files}\ntarball: ${tar_files}")
endif()

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/consumer
    -DCMAKE_PREFIX_PATH=${WORK_DIR}/root/usr -DMCXML_EXPECTED_VERSION=${VERSION}
    -DCMAKE_CXX_COMPILER=${CXX})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer)
# The unpacked tool finds the unpacked libraries beside it.
run(${WORK_DIR}/root/usr/bin/mcxml --version)
if(NOT run_output STREQUAL "${VERSION}\n")
  message(FATAL_ERROR "the packaged tool says '${run_output}'")
endif()
