# Fails, naming the files and the changes, when clang-format with the
# repository's .clang-format would change a tracked C++ source or header.
# Inputs: SOURCE_DIR (the repository).
include(${CMAKE_CURRENT_LIST_DIR}/consumer/script_support.cmake)
require_inputs(SOURCE_DIR)

execute_process(COMMAND git ls-files -- *.cpp *.h WORKING_DIRECTORY ${SOURCE_DIR}
  OUTPUT_VARIABLE files COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\n]+" files "${files}")
if(NOT files)
  message(FATAL_ERROR "git lists no C++ file in ${SOURCE_DIR}")
endif()
execute_process(COMMAND clang-format --dry-run --Werror ${files} WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE rc ERROR_VARIABLE changes)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "clang-format would change these files (clang-format -i FILE):\n${changes}")
endif()
