# The target `docs` builds the engine's HTML reference with Doxygen into
# build/docs/html. An undocumented public name, or any other warning, fails it.
find_package(Doxygen)
if(DOXYGEN_FOUND)
  configure_file(${CMAKE_SOURCE_DIR}/docs/Doxyfile.in ${CMAKE_BINARY_DIR}/Doxyfile @ONLY)
  file(GLOB VEXLO_DOC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/engine/*.h
       ${CMAKE_SOURCE_DIR}/docs/*.md)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/docs/html/index.html
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${CMAKE_BINARY_DIR}/docs
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/docs
    COMMAND Doxygen::doxygen ${CMAKE_BINARY_DIR}/Doxyfile
    DEPENDS ${VEXLO_DOC_SOURCES} ${CMAKE_SOURCE_DIR}/docs/Doxyfile.in
    COMMENT "Building the engine's reference"
    VERBATIM)
  add_custom_target(docs DEPENDS ${CMAKE_BINARY_DIR}/docs/html/index.html)
endif()
