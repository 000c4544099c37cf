# Debian packages built by CPack from the install components:
#   libkelvor0      runtime      libkelvor.so.0 and libkelvor.so.<version>
#   libkelvor-dev   development  headers, libkelvor.so, the CMake package, kelvor.pc
#   python3-kelvor  python       the kelvor package in Debian's dist-packages (when the
#                                Python module is built)
# `cmake --build <build> --target package` leaves them in the build folder.
#
# Paths are Debian's only when the build is configured with
# CMAKE_INSTALL_PREFIX=/usr (the release preset does): GNUInstallDirs then
# gives lib/<multiarch> and every install rule above uses it. Runtime
# dependencies come from dpkg-shlibdeps (dpkg-dev), the architecture from
# dpkg --print-architecture.

set(KELVOR_DEB_MAINTAINER "Kelvor developers <dev@kelvor.invalid>" CACHE STRING
    "Maintainer field of the Debian packages")
set(KELVOR_DEB_RELEASE 1 CACHE STRING "Debian revision of the packages (version-<revision>)")
set(KELVOR_DEB_VERSION ${PROJECT_VERSION}-${KELVOR_DEB_RELEASE})

set(_kelvor_deb_runtime libkelvor${PROJECT_VERSION_MAJOR})
set(_kelvor_deb_components runtime development)
set(_kelvor_deb_names ${_kelvor_deb_runtime} libkelvor-dev)
if(TARGET _kelvor)
  list(APPEND _kelvor_deb_components python)
  list(APPEND _kelvor_deb_names python3-kelvor)
endif()

# Every package carries its copyright file and a Debian changelog, gzipped
# with -9n as Debian wants. The date honours SOURCE_DATE_EPOCH.
string(TIMESTAMP KELVOR_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(_kelvor_deb_dir ${PROJECT_BINARY_DIR}/debian)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${_kelvor_deb_dir}/changelog.Debian
  @ONLY)
find_program(KELVOR_GZIP gzip REQUIRED)
execute_process(COMMAND ${KELVOR_GZIP} -9nc ${_kelvor_deb_dir}/changelog.Debian
  OUTPUT_FILE ${_kelvor_deb_dir}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(_component _name IN ZIP_LISTS _kelvor_deb_components _kelvor_deb_names)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${_kelvor_deb_dir}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${_name}
    COMPONENT ${_component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Each component has its own summary line; none is prepended.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${_kelvor_deb_components})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVOR_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KELVOR_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SOURCE kelvor)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The extension needs libkelvor.so.0, which is in another package: let
# dpkg-shlibdeps find it in the build tree; the exact dependency on
# libkelvor0 comes from the component dependencies below.
get_target_property(_kelvor_lib_dir kelvor LIBRARY_OUTPUT_DIRECTORY)
if(NOT _kelvor_lib_dir)
  set(_kelvor_lib_dir ${PROJECT_BINARY_DIR})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_kelvor_lib_dir})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The runtime package's shlibs file (a minor version only adds to the
# interface, so a client built against this version runs with any later
# 0.x) and the ldconfig trigger Debian asks of a shared library package.
# Written here rather than by CPack, which would also try the extension.
file(WRITE ${_kelvor_deb_dir}/runtime/shlibs
  "libkelvor ${PROJECT_VERSION_MAJOR} ${_kelvor_deb_runtime} (>= ${KELVOR_DEB_VERSION})\n")
file(WRITE ${_kelvor_deb_dir}/runtime/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
    ${_kelvor_deb_dir}/runtime/shlibs ${_kelvor_deb_dir}/runtime/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(_kelvor_deb_about
  "Kelvor is a library of two-dimensional geometry and 16.16 fixed-point\n"
  "mathematics for map and navigation software: fixed-point arithmetic and\n"
  "trigonometry, planar predicates on integer points, segments, rectangles,\n"
  "polylines and polygons, shape objects, geographic distances and bearings,\n"
  "and bulk point-in-polygon queries. Every answer is defined bit for bit,\n"
  "identical across compilers and optimisation levels.\n"
  "\n")
string(CONCAT _kelvor_deb_about ${_kelvor_deb_about})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${_kelvor_deb_runtime})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "2-D geometry and 16.16 fixed-point maths library\n${_kelvor_deb_about}This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkelvor-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "2-D geometry and 16.16 fixed-point maths library - development files\n${_kelvor_deb_about}\
This package holds the C++ headers, the link library libkelvor.so, the CMake\n\
package (find_package(Kelvor)) and the pkg-config file kelvor.pc.")

if(TARGET _kelvor)
  # The extension is built for one Python minor version and uses numpy's C
  # interface through pybind11, so it depends on both.
  string(REGEX MATCH "^([0-9]+)\\.([0-9]+)$" _ "${KELVOR_PYTHON_VERSION}")
  math(EXPR _kelvor_py_next "${CMAKE_MATCH_2} + 1")
  set(_kelvor_py_depends "python3 (>= ${KELVOR_PYTHON_VERSION}~)"
      "python3 (<< ${CMAKE_MATCH_1}.${_kelvor_py_next})" python3-numpy)
  if(EXISTS /usr/share/numpy3/versions)
    file(STRINGS /usr/share/numpy3/versions _kelvor_numpy_abi REGEX "^abi [0-9]+")
    if(_kelvor_numpy_abi MATCHES "^abi ([0-9]+)")
      list(APPEND _kelvor_py_depends python3-numpy-abi${CMAKE_MATCH_1})
    endif()
  endif()
  list(JOIN _kelvor_py_depends ", " CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-kelvor)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_COMPONENT_PYTHON_DEPENDS runtime)
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
      "Python 3 bindings for the Kelvor geometry library\n${_kelvor_deb_about}\
This package holds the kelvor Python module, which gives Kelvor's answers\n\
over numpy arrays.")
endif()

include(CPack)
