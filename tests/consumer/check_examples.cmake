# Builds the example programs against the unpacked packages (PREFIX, made by
# check_deb.cmake) with warnings as errors, and runs them: on the example
# documents each prints what they hold; a malformed and a hostile document are
# refused.
# Inputs: PREFIX, EXAMPLES_DIR, WORK_DIR, CXX.
include(${CMAKE_CURRENT_LIST_DIR}/script_support.cmake)
require_inputs(PREFIX EXAMPLES_DIR WORK_DIR CXX)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${EXAMPLES_DIR} -B ${WORK_DIR}/build
  -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_CXX_COMPILER=${CXX}
  "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Wpedantic -Werror"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build COMMAND_ERROR_IS_FATAL ANY)

# A document cut short, and one that reads a file through an external entity; the
# latter is well-formed, so only secure processing refuses it.
file(READ ${EXAMPLES_DIR}/credit_risk.pmml model)
string(SUBSTRING "${model}" 0 1200 truncated)
file(WRITE ${WORK_DIR}/truncated.pmml "${truncated}")
file(WRITE ${WORK_DIR}/secret.txt "SECRET")
file(WRITE ${WORK_DIR}/hostile.pmml "<?xml version=\"1.0\"?>
<!DOCTYPE PMML [<!ENTITY s SYSTEM \"file://${WORK_DIR}/secret.txt\">]>
<PMML><Header>&s;</Header><DataDictionary>
<DataField name=\"x\" optype=\"categorical\" dataType=\"string\"/></DataDictionary></PMML>")
execute_process(COMMAND ${PREFIX}/bin/mcxml varlist --trust ${WORK_DIR}/hostile.pmml
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the hostile document is not well-formed (mcxml --trust gave ${rc})")
endif()

# program | document | exit status | a regex its output must match
set(runs
  "variables|credit_risk.pmml|0|\nage \\(Age in years\\): cut at 25 40 60 into under_25 25_to_39 40_to_59 60_plus\n.*\ndefault_flag \\(Defaulted within 12 months\\): no yes\n"
  "variables|truncated.pmml|1|refused \\(status 0, 1 XML errors\\) line [0-9]+"
  "variables|hostile.pmml|1|refused \\(status 105, 1 XML errors\\) line 2, column [0-9]+: a document type declaration"
  "statistics|credit_risk.pmml|0|^model TreeModel\n.*\nannual_income: 2400 cases, mean 58230.5, sd 31877.25, histogram \\.\\.30000 611.5, .*, 250000\\.\\. 85\n.*\ndefault_flag: 2400 cases, counts 2088 312\n$"
  "settings|build_settings.pmml|0|^Collections priority, Spring 2024: depth 6, leaves of at least 50, 5 surrogates, pruning alpha 0.0125\n.*\ninputs: region risk_band balance credit_score account_opened\n.*\ncost 2 0 1.5\n"
  "settings|credit_risk.pmml|1|not a settings document \\(status 119\\)"
  "statistics|no_such.pmml|2|^cannot open ")
foreach(entry IN LISTS runs)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 document)
  list(GET entry 2 expected_rc)
  list(GET entry 3 expected)
  if(EXISTS ${WORK_DIR}/${document})
    set(document ${WORK_DIR}/${document})
  else()
    set(document ${EXAMPLES_DIR}/${document})
  endif()
  execute_process(COMMAND ${WORK_DIR}/build/${program} ${document}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc OR NOT "${out}${err}" MATCHES "${expected}" OR out MATCHES "SECRET")
    message(FATAL_ERROR "${program} ${document}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
endforeach()
