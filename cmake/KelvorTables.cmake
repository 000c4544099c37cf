# Constant tables are generated at build time by tools/tablegen.cpp. The
# generator must run on the build host: in a native build it is an ordinary
# target; in a cross build it is built with the host compiler as a separate
# project, unless KELVOR_TABLEGEN names one already built.
set(KELVOR_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${KELVOR_GENERATED_DIR})

if(KELVOR_TABLEGEN)
  set(_kelvor_tablegen ${KELVOR_TABLEGEN})
  set(_kelvor_tablegen_dep)
elseif(NOT CMAKE_CROSSCOMPILING)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tools ${PROJECT_BINARY_DIR}/tools)
  set(_kelvor_tablegen $<TARGET_FILE:kelvor_tablegen>)
  set(_kelvor_tablegen_dep kelvor_tablegen)
else()
  include(ExternalProject)
  set(_host_dir ${PROJECT_BINARY_DIR}/host-tools)
  ExternalProject_Add(kelvor_host_tablegen
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${_host_dir}/build
    INSTALL_DIR ${_host_dir}
    CMAKE_ARGS -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR> -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_TOOLCHAIN_FILE=
    BUILD_BYPRODUCTS ${_host_dir}/bin/kelvor_tablegen)
  set(_kelvor_tablegen ${_host_dir}/bin/kelvor_tablegen)
  set(_kelvor_tablegen_dep kelvor_host_tablegen)
endif()

set(KELVOR_PUBLIC_TABLES ${KELVOR_GENERATED_DIR}/public_tables.cpp)
set(KELVOR_TRIG_TABLES ${KELVOR_GENERATED_DIR}/trig_tables.cpp)
set(KELVOR_CRMATH_TABLES ${KELVOR_GENERATED_DIR}/crmath_tables.cpp)
add_custom_command(OUTPUT ${KELVOR_PUBLIC_TABLES}
  COMMAND ${_kelvor_tablegen} public ${KELVOR_PUBLIC_TABLES}
  DEPENDS ${_kelvor_tablegen_dep} ${PROJECT_SOURCE_DIR}/tools/tablegen.cpp
  COMMENT "Generating square-root and highest-bit tables" VERBATIM)
add_custom_command(OUTPUT ${KELVOR_TRIG_TABLES}
  COMMAND ${_kelvor_tablegen} trig ${KELVOR_TRIG_TABLES}
  DEPENDS ${_kelvor_tablegen_dep} ${PROJECT_SOURCE_DIR}/tools/tablegen.cpp
  COMMENT "Generating trigonometric and CORDIC tables" VERBATIM)
add_custom_command(OUTPUT ${KELVOR_CRMATH_TABLES}
  COMMAND ${_kelvor_tablegen} crmath ${KELVOR_CRMATH_TABLES}
  DEPENDS ${_kelvor_tablegen_dep} ${PROJECT_SOURCE_DIR}/tools/tablegen.cpp
    ${PROJECT_SOURCE_DIR}/tools/crmath_tables.cpp ${PROJECT_SOURCE_DIR}/tools/bignum.h
  COMMENT "Generating the correctly rounded maths' constants" VERBATIM)
# The tables are compiled in fixed/ and crmath/; this target carries the
# generation rules to those folders.
add_custom_target(kelvor_generated_tables
  DEPENDS ${KELVOR_PUBLIC_TABLES} ${KELVOR_TRIG_TABLES} ${KELVOR_CRMATH_TABLES})
