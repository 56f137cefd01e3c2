# Shared by the package checks run with cmake -P: the inputs a script needs, and
# running a command that must succeed.

# Fails unless every named variable is set.
function(require_inputs)
  foreach(input IN LISTS ARGN)
    if(NOT ${input})
      message(FATAL_ERROR "${input} is not set")
    endif()
  endforeach()
endfunction()

# Runs the command and fails with its output unless it succeeds; the standard
# output is left in run_output.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()
