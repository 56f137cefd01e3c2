# Installs the build into a staging prefix, then builds and runs the consumer
# against it twice: through find_package(mcxml) and through pkg-config.
# Inputs: BUILD_DIR, STAGE, LIBDIR, SOURCE_DIR, WORK_DIR, VERSION, CXX, FLAGS (may
# be empty).
include(${CMAKE_CURRENT_LIST_DIR}/script_support.cmake)
require_inputs(BUILD_DIR STAGE LIBDIR SOURCE_DIR WORK_DIR VERSION CXX)
separate_arguments(flags UNIX_COMMAND "${FLAGS}")

file(REMOVE_RECURSE ${STAGE} ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE})

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -DCMAKE_PREFIX_PATH=${STAGE}
    -DMCXML_EXPECTED_VERSION=${VERSION} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run(${WORK_DIR}/cmake/consumer)
message(STATUS "find_package: ${run_output}")

set(ENV{PKG_CONFIG_PATH} ${STAGE}/${LIBDIR}/pkgconfig)
# The flags alone must find the staged headers and libraries; Xerces-C is asked for
# by name because the program calls it itself.
run(pkg-config --cflags --libs mcxml xerces-c)
string(STRIP "${run_output}" pc_text)
message(STATUS "pkg-config flags: ${pc_text}")
separate_arguments(pc_flags UNIX_COMMAND "${pc_text}")
run(${CXX} -std=c++17 ${flags} "-DMCXML_EXPECTED_VERSION=\"${VERSION}\"" ${SOURCE_DIR}/main.cpp
    ${pc_flags} -o ${WORK_DIR}/pc_consumer)
set(ENV{LD_LIBRARY_PATH} ${STAGE}/${LIBDIR})
run(${WORK_DIR}/pc_consumer)
message(STATUS "pkg-config: ${run_output}")
