# Runs PROGRAM (under EMULATOR when cross-compiled) and compares its output
# with the committed file EXPECTED, leaving out the lines of the families
# named in IGNORE (a list). Run with cmake -P.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE got)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${rc})")
endif()
string(REPLACE "\r\n" "\n" got "${got}")  # a Windows program's text output
file(READ ${EXPECTED} want)
foreach(family IN LISTS IGNORE)
  string(REGEX REPLACE "(^|\n)${family} +[0-9a-f]+\n" "\\1" got "${got}")
  string(REGEX REPLACE "(^|\n)${family} +[0-9a-f]+\n" "\\1" want "${want}")
endforeach()
if(NOT got STREQUAL want)
  message(FATAL_ERROR "output differs from ${EXPECTED}\n--- expected\n${want}--- got\n${got}")
endif()
