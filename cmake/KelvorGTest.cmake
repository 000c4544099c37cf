# GoogleTest: the installed package, or built here from Debian's sources for
# a target that has no installed one (cross builds find none by default).
set(KELVOR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(CMAKE_CROSSCOMPILING)
  set(_kelvor_gtest_source_default ON)
else()
  set(_kelvor_gtest_source_default OFF)
endif()
option(KELVOR_GTEST_FROM_SOURCE "Build GoogleTest from KELVOR_GTEST_SOURCE_DIR"
  ${_kelvor_gtest_source_default})
if(KELVOR_GTEST_FROM_SOURCE)
  # A static GoogleTest whatever the library is (a DLL of it would carry its
  # own copy of the C++ runtime beside the tests'), set for its folder only.
  set(_kelvor_shared ${BUILD_SHARED_LIBS})
  set(BUILD_SHARED_LIBS OFF)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KELVOR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(BUILD_SHARED_LIBS ${_kelvor_shared})
  foreach(lib gtest gtest_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
else()
  # GLOBAL: the examples' tests use the same targets.
  find_package(GTest REQUIRED GLOBAL)
endif()
include(GoogleTest)
