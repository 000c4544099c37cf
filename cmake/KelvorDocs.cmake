# The `docs` target: Doxygen's HTML reference of the public headers, with the
# README as its main page, in <build>/docs/html (index.html). Not part of the
# default build. Doxygen fails on any warning, so a public declaration added
# without its comment breaks this target.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  message(STATUS "API reference: no docs target, no doxygen (apt-get install doxygen)")
  return()
endif()
# Runs the Markdown filter of docs/md_anchors.py.
find_program(KELVOR_DOCS_PYTHON NAMES python3 HINTS /usr/bin)
if(NOT KELVOR_DOCS_PYTHON)
  message(STATUS "No python3: the docs target is not available")
  return()
endif()
set(KELVOR_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${KELVOR_DOCS_DIR}/Doxyfile @ONLY)
message(STATUS "API reference: docs target (Doxygen ${DOXYGEN_VERSION})")
# Rebuilt from scratch each time, so no page of a removed header lingers.
add_custom_target(docs
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KELVOR_DOCS_DIR}/html
  COMMAND Doxygen::doxygen ${KELVOR_DOCS_DIR}/Doxyfile
  COMMAND ${CMAKE_COMMAND} -E echo "API reference: ${KELVOR_DOCS_DIR}/html/index.html"
  WORKING_DIRECTORY ${KELVOR_DOCS_DIR}
  COMMENT "Generating the API reference with Doxygen"
  VERBATIM)
