# PCRE 8.x for the target.
#   Native: the system's libpcre3-dev.
#   MinGW:  built as a static library from Debian's pcre3 source package,
#           which scripts/fetch-pcre.sh leaves in TARNELIX_PCRE_TARBALL_DIR.
#           The build is cached in the build tree.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PCRE REQUIRED IMPORTED_TARGET libpcre)
  add_library(tarnelix_pcre INTERFACE)
  target_link_libraries(tarnelix_pcre INTERFACE PkgConfig::PCRE)
  return()
endif()

include(ExternalProject)
file(GLOB _pcre_tarball "${TARNELIX_PCRE_TARBALL_DIR}/pcre3_*.orig.tar.*")
if(NOT _pcre_tarball)
  message(FATAL_ERROR "PCRE sources missing in ${TARNELIX_PCRE_TARBALL_DIR}: run scripts/fetch-pcre.sh")
endif()
list(GET _pcre_tarball 0 _pcre_tarball)

set(_pcre_prefix "${CMAKE_BINARY_DIR}/pcre")
set(_pcre_lib "${_pcre_prefix}/lib/libpcre.a")
ExternalProject_Add(pcre_build
  URL "${_pcre_tarball}"
  PREFIX "${_pcre_prefix}/work"
  INSTALL_DIR "${_pcre_prefix}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_POLICY_DEFAULT_CMP0057=NEW
    -DBUILD_SHARED_LIBS=OFF
    -DPCRE_BUILD_PCRECPP=OFF
    -DPCRE_BUILD_PCREGREP=OFF
    -DPCRE_BUILD_TESTS=OFF
    -DPCRE_SUPPORT_UTF=ON
  BUILD_BYPRODUCTS "${_pcre_lib}"
  DOWNLOAD_EXTRACT_TIMESTAMP ON
  LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON)

file(MAKE_DIRECTORY "${_pcre_prefix}/include")
add_library(tarnelix_pcre STATIC IMPORTED GLOBAL)
set_target_properties(tarnelix_pcre PROPERTIES
  IMPORTED_LOCATION "${_pcre_lib}"
  INTERFACE_INCLUDE_DIRECTORIES "${_pcre_prefix}/include"
  # pcre.h marks its functions dllimport unless told the library is static.
  INTERFACE_COMPILE_DEFINITIONS PCRE_STATIC)
add_dependencies(tarnelix_pcre pcre_build)
