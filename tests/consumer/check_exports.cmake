# Checks the dynamic symbols that LIB defines: the interface is there, while the
# file-local helpers and everything of Xerces-C stay inside.
execute_process(COMMAND nm -DC --defined-only ${LIB} RESULT_VARIABLE rc OUTPUT_VARIABLE symbols)
if(NOT rc EQUAL 0 OR symbols STREQUAL "")
  message(FATAL_ERROR "nm could not read ${LIB}")
endif()
set(symbols "\n${symbols}")

foreach(name "MCXML_1_3::ToUTF8" "MCXML_1_3::MCXTranscoder::TranscodeTo"
             "MCXML_1_3::MCXTranscoder::MCXTranscoder")
  string(FIND "${symbols}" "${name}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name} is not exported")
  endif()
endforeach()

foreach(name XStrToInt XStrToDouble XStrToDoublesList MatchesExtension MCXMLDouble)
  string(FIND "${symbols}" "${name}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${name} is exported")
  endif()
endforeach()

# A symbol of Xerces-C itself: its name, or what a vtable, typeinfo etc. is "for",
# begins with the namespace (our own signatures merely mention it).
if(symbols MATCHES "\n[0-9a-f]* [A-Za-z] ([A-Za-z ]* for )?(xercesc[^\n]*)")
  message(FATAL_ERROR "Xerces-C symbol exported: ${CMAKE_MATCH_2}")
endif()
