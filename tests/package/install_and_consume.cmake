# Run with cmake -P; see CMakeLists.txt beside this file.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "command failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
# A cross build configures the clients with its toolchain and runs them under
# its emulator; its toolchain searches packages only in the target's sysroot,
# so the installed package is named by its directory.
set(cross)
set(installed -DCMAKE_PREFIX_PATH=${prefix})
if(TOOLCHAIN)
  set(cross -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
  set(installed -DKelvor_DIR=${prefix}/${LIBDIR}/cmake/Kelvor)
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# find_package(Kelvor CONFIG REQUIRED) and Kelvor::kelvor.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G ${GENERATOR}
    ${installed} ${cross} -DCMAKE_CXX_COMPILER=${CXX}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${EMULATOR} ${WORK_DIR}/consumer/kelvor_consumer${EXE})
if(NOT LAST_OUTPUT MATCHES "consumer ok")
  message(FATAL_ERROR "unexpected consumer output: ${LAST_OUTPUT}")
endif()

# find_package from the build tree, without installing.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build-tree -G ${GENERATOR}
    -DKelvor_DIR=${BUILD_DIR} ${cross} -DCMAKE_CXX_COMPILER=${CXX}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build-tree)
run(${EMULATOR} ${WORK_DIR}/build-tree/kelvor_consumer${EXE})
if(NOT LAST_OUTPUT MATCHES "consumer ok")
  message(FATAL_ERROR "unexpected build-tree consumer output: ${LAST_OUTPUT}")
endif()

# add_subdirectory: the source tree vendored into a client project.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/vendored -G ${GENERATOR}
    -DKELVOR_SOURCE_DIR=${SOURCE_DIR} ${cross} -DCMAKE_CXX_COMPILER=${CXX}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
    "-DCMAKE_SHARED_LINKER_FLAGS=${LINK_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/vendored --target kelvor_consumer)
run(${EMULATOR} ${WORK_DIR}/vendored/kelvor_consumer${EXE})
if(NOT LAST_OUTPUT MATCHES "consumer ok")
  message(FATAL_ERROR "unexpected vendored consumer output: ${LAST_OUTPUT}")
endif()

# pkg-config: kelvor.pc must give a working compile and link line.
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
  run(${PKG_CONFIG} --cflags --libs kelvor)
  string(STRIP "${LAST_OUTPUT}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(extra UNIX_COMMAND "${CXX_FLAGS} ${LINK_FLAGS}")
  string(REGEX MATCH "-L([^ ]+)" _ "${LAST_OUTPUT}")
  run(${CXX} -std=c++17 ${extra} ${CONSUMER_DIR}/main.cpp ${flags} -Wl,-rpath,${CMAKE_MATCH_1}
      -o ${WORK_DIR}/pc_consumer${EXE})
  # A Windows program finds the DLL beside itself.
  file(GLOB dlls ${prefix}/bin/*.dll)
  if(dlls)
    file(COPY ${dlls} DESTINATION ${WORK_DIR})
  endif()
  run(${EMULATOR} ${WORK_DIR}/pc_consumer${EXE})
  if(NOT LAST_OUTPUT MATCHES "consumer ok")
    message(FATAL_ERROR "unexpected pkg-config consumer output: ${LAST_OUTPUT}")
  endif()
endif()
message(STATUS "package test passed")
