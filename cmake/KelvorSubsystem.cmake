# kelvor_subsystem(<name> USES <what>... SOURCES <file>...)
#
# One folder of the library: an object library kelvor_<name> whose objects
# go into libkelvor.so. USES names exactly what its files may include:
#  * another subsystem: its public header <kelvor/<name>.h> and the headers
#    it offers under <name>/include;
#  * common: the general helpers of common/include;
#  * halvek: the scan-conversion library.
# Public headers refuse to compile inside a subsystem that does not use them
# (KELVOR_USES_<NAME>), and internal headers are on no other include path, so
# the graph below is enforced, not just documented.
# kelvor_link_uses(<target> <what>...): links what a folder uses, by the
# names above (a subsystem's short name or another target).
function(kelvor_link_uses target)
  foreach(use IN LISTS ARGN)
    if(TARGET kelvor_${use})
      target_link_libraries(${target} PRIVATE kelvor_${use})
    else()
      target_link_libraries(${target} PRIVATE ${use})
    endif()
  endforeach()
endfunction()

function(kelvor_subsystem name)
  cmake_parse_arguments(ARG "" "" "USES;SOURCES" ${ARGN})
  set(target kelvor_${name})
  add_library(${target} OBJECT ${ARG_SOURCES})
  string(TOUPPER ${name} upper)
  target_compile_definitions(${target}
    PRIVATE KELVOR_BUILDING KELVOR_USES_${upper} $<$<NOT:$<BOOL:${BUILD_SHARED_LIBS}>>:KELVOR_STATIC>
    INTERFACE KELVOR_USES_${upper})
  if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/include)
  endif()
  target_link_libraries(${target} PRIVATE kelvor_flags kelvor_headers)
  kelvor_link_uses(${target} ${ARG_USES})
  set_target_properties(${target} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # Exported functions call one another (the shapes call the planar tests,
  # the overloads share one body): let those calls bind and inline within the
  # shared library (a static one binds them anyway).
  if(BUILD_SHARED_LIBS)
    target_compile_options(${target} PRIVATE
      $<$<CXX_COMPILER_ID:GNU,Clang>:-fno-semantic-interposition>)
  endif()
  set_property(GLOBAL APPEND PROPERTY KELVOR_SUBSYSTEMS ${target})
endfunction()
