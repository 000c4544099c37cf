# Runs the Python reference computation of crmath's constants and compares
# its output with the file the build generated. Run with cmake -P; PYTHON,
# REFERENCE and GENERATED are given.
execute_process(COMMAND ${PYTHON} ${REFERENCE} RESULT_VARIABLE rc OUTPUT_VARIABLE want
                ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${REFERENCE} failed (${rc})")
endif()
file(READ ${GENERATED} got)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "${GENERATED} differs from what ${REFERENCE} computes")
endif()
