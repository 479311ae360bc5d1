# Installs the engine as a library for other games: the static library, every
# engine header under include/vexlo/ (so `#include <vexlo/vexlo.h>` works), a
# CMake package (find_package(Vexlo) gives the target Vexlo::vexlo, which
# brings SFML along) and a pkg-config file (`pkg-config --cflags --libs vexlo`).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VEXLO_PACKAGE_VERSION 4.25)
set(VEXLO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vexlo)

# Inside this build `<vexlo/...>` names the engine folder too, so the examples
# read the same whether they are built here or against an installed engine.
set(VEXLO_BUILD_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${VEXLO_BUILD_INCLUDE_DIR})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/engine ${VEXLO_BUILD_INCLUDE_DIR}/vexlo SYMBOLIC)
target_include_directories(vexlo PUBLIC
  $<BUILD_INTERFACE:${VEXLO_BUILD_INCLUDE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS vexlo EXPORT VexloTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
file(GLOB VEXLO_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/engine/*.h)
install(FILES ${VEXLO_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vexlo COMPONENT dev)

install(EXPORT VexloTargets NAMESPACE Vexlo:: DESTINATION ${VEXLO_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VexloConfig.cmake.in
  ${CMAKE_BINARY_DIR}/VexloConfig.cmake INSTALL_DESTINATION ${VEXLO_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VexloConfigVersion.cmake
  VERSION ${VEXLO_PACKAGE_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VexloConfig.cmake ${CMAKE_BINARY_DIR}/VexloConfigVersion.cmake
  DESTINATION ${VEXLO_CMAKE_DIR} COMPONENT dev)

# The pkg-config file finds its prefix from where it lies, so it stays right
# when `cmake --install --prefix` installs somewhere else than configured.
file(RELATIVE_PATH VEXLO_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vexlo.pc.in ${CMAKE_BINARY_DIR}/vexlo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vexlo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
