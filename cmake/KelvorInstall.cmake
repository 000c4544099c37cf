# Install rules, the CMake package (installed and build tree) and kelvor.pc,
# for the shared or the static library. Two components, one per Debian
# package (cmake/KelvorPackaging.cmake, shared builds only): runtime is the
# shared library under its soname, development everything a build against it
# needs, the unversioned link libkelvor.so or the archive libkelvor.a included.
install(TARGETS kelvor EXPORT KelvorTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/kelvor DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT KelvorTargets NAMESPACE Kelvor::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kelvor COMPONENT development)
# The build tree is a package too: find_package(Kelvor) with Kelvor_DIR
# pointing at it uses the freshly built library.
export(EXPORT KelvorTargets NAMESPACE Kelvor:: FILE ${PROJECT_BINARY_DIR}/KelvorTargets.cmake)
configure_package_config_file(cmake/KelvorConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KelvorConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kelvor)
# A minor release only adds to the interface and never changes what exists,
# so any release of the same major number, as new as the one asked for, will do.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KelvorConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KelvorConfig.cmake
  ${PROJECT_BINARY_DIR}/KelvorConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kelvor COMPONENT development)
# Relocatable: the prefix is found from the .pc file's own location. Clients of
# the static library compile with KELVOR_STATIC, as the CMake target says.
if(BUILD_SHARED_LIBS)
  set(KELVOR_PC_CFLAGS "")
else()
  set(KELVOR_PC_CFLAGS " -DKELVOR_STATIC")
endif()
file(RELATIVE_PATH KELVOR_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/kelvor.pc.in ${PROJECT_BINARY_DIR}/kelvor.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kelvor.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)
