# Runs PROGRAM (under EMULATOR when cross-compiled) and compares its output
# with the committed file EXPECTED. Run with cmake -P.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE got)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${rc})")
endif()
file(READ ${EXPECTED} want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "output differs from ${EXPECTED}\n--- expected\n${want}--- got\n${got}")
endif()
