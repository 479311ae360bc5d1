# `make package` builds two Debian packages with CPack:
#   vexlo-dev  the static library, its headers, the CMake package, the
#              pkg-config file and the HTML reference (the target `docs`);
#   swat       the game, its sprites and sounds, the man page swat.6 and a
#              desktop entry.
# The installed game reads its data from share/games/swat beside its games/
# folder (game/GameData.cpp); the font is a link into fonts-dejavu-core.
set(SWAT_DATA_DIR share/games/swat)
set(VEXLO_DOC_DIR share/doc/vexlo-dev)
set(SWAT_DOC_DIR share/doc/swat)
set(VEXLO_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package-files)
file(MAKE_DIRECTORY ${VEXLO_PACKAGE_DIR})

# The game.
install(TARGETS swat RUNTIME DESTINATION games COMPONENT swat)
foreach(sprite_file IN LISTS SWAT_SPRITE_FILES)
  install(FILES ${CMAKE_SOURCE_DIR}/${sprite_file} DESTINATION ${SWAT_DATA_DIR}/sprites
          COMPONENT swat)
endforeach()
install(FILES ${SWAT_SOUND_FILES} DESTINATION ${SWAT_DATA_DIR}/sounds COMPONENT swat)
file(CREATE_LINK ../../fonts/truetype/dejavu/DejaVuSansMono.ttf
     ${VEXLO_PACKAGE_DIR}/vx-font.ttf SYMBOLIC)
install(FILES ${VEXLO_PACKAGE_DIR}/vx-font.ttf DESTINATION ${SWAT_DATA_DIR} COMPONENT swat)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/swat.desktop DESTINATION share/applications
        COMPONENT swat)

# Debian wants manual pages and changelogs compressed, reproducibly.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(vexlo_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
vexlo_gzip(${CMAKE_SOURCE_DIR}/docs/swat.6 ${VEXLO_PACKAGE_DIR}/swat.6.gz)
vexlo_gzip(${CMAKE_SOURCE_DIR}/cmake/changelog.Debian ${VEXLO_PACKAGE_DIR}/changelog.Debian.gz)
add_custom_target(package_files ALL DEPENDS ${VEXLO_PACKAGE_DIR}/swat.6.gz
                  ${VEXLO_PACKAGE_DIR}/changelog.Debian.gz)
install(FILES ${VEXLO_PACKAGE_DIR}/swat.6.gz DESTINATION share/man/man6 COMPONENT swat)

# Each package's copyright and changelog.
foreach(component_doc dev:${VEXLO_DOC_DIR} swat:${SWAT_DOC_DIR})
  string(REPLACE ":" ";" component_doc ${component_doc})
  list(GET component_doc 0 component)
  list(GET component_doc 1 doc_dir)
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/copyright ${VEXLO_PACKAGE_DIR}/changelog.Debian.gz
          DESTINATION ${doc_dir} COMPONENT ${component})
endforeach()

# The engine's reference and its pages, with the developer package.
install(DIRECTORY ${CMAKE_BINARY_DIR}/docs/html DESTINATION ${VEXLO_DOC_DIR} OPTIONAL
        COMPONENT dev)
file(GLOB VEXLO_DOC_PAGES ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${VEXLO_DOC_PAGES} DESTINATION ${VEXLO_DOC_DIR} COMPONENT dev)
# The guide's game, with the first program of the guide beside it.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/catch DESTINATION ${VEXLO_DOC_DIR}/examples
        COMPONENT dev)
install(FILES ${CMAKE_SOURCE_DIR}/examples/hello.cpp DESTINATION ${VEXLO_DOC_DIR}/examples/catch
        COMPONENT dev)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexlo)
set(CPACK_PACKAGE_VERSION ${VEXLO_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT "Vexlo developers <vexlo@vexlo.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL dev swat)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vexlo.invalid/")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME vexlo-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libsfml-dev (>= 2.5), libopenal-dev, libx11-dev, fonts-dejavu-core")
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "cmake (>= 3.20), pkg-config")
set(CPACK_COMPONENT_DEV_DESCRIPTION
"2D game engine drawing coloured characters in a grid - development files
Vexlo is a game engine in C++ that draws everything as coloured characters
in a grid of cells, in a window or in a terminal. It runs a fixed-rate game
loop, moves and collides game objects, delivers events, loads animated
character-art sprites, plays sounds and music, records and replays games.
.
This package holds the static library, its headers, a CMake package
(find_package(Vexlo)), a pkg-config file and the HTML reference.")

set(CPACK_DEBIAN_SWAT_PACKAGE_NAME swat)
set(CPACK_DEBIAN_SWAT_PACKAGE_SECTION games)
set(CPACK_DEBIAN_SWAT_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_SWAT_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_COMPONENT_SWAT_DESCRIPTION
"fly-swatting arcade game drawn in coloured characters
Swat is a run of short minigames: swat the flies with the mouse before the
time runs out, spare the coin, find the odd fly out. Every won minigame adds
to the streak; the first lost one ends the run. It plays in a window or in
a terminal, and can record a game and replay it step for step.")
include(CPack)
