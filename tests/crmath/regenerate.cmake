# Runs the table generator and compares its output with the committed file.
# Run with cmake -P; PYTHON, GENERATOR and COMMITTED are given.
execute_process(COMMAND ${PYTHON} ${GENERATOR} RESULT_VARIABLE rc OUTPUT_VARIABLE got
                ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${rc})")
endif()
file(READ ${COMMITTED} want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "${COMMITTED} is not what ${GENERATOR} writes: regenerate it")
endif()
