# The browser build (emcmake cmake ...): the same engine and game compiled to
# WebAssembly, drawn on a canvas, heard through the browser's audio, and put
# with its page into one folder of static files (VEXLO_WEB_DIR).
set(VEXLO_TESTS OFF)
set(VEXLO_BENCH OFF)
set(VEXLO_WEB_DIR ${CMAKE_BINARY_DIR}/.. CACHE PATH "Where the pages, programs and data go")
get_filename_component(VEXLO_WEB_DIR ${VEXLO_WEB_DIR} ABSOLUTE)

# Engine sources that speak to the window library, X or the terminal; the
# browser has its own display, input and audio in engine/web.
set(VEXLO_NATIVE_ONLY_SOURCES)
foreach(name DrawBatch GlyphAtlas WindowSystem WindowLoss WindowDisplay WindowKeys Sound Music Storage)
  list(APPEND VEXLO_NATIVE_ONLY_SOURCES ${CMAKE_SOURCE_DIR}/engine/${name}.cpp)
endforeach()
file(GLOB VEXLO_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/engine/web/*.cpp)

# What every program's page says about playing it, by program.
set(VEXLO_WEB_SWAT_HOWTO
    "Move the swatter with the mouse and click (or tap) to swat. P starts a run, F10 pauses.")

# Programs are built with the asynchronous sleep, the browser's OpenAL, and
# the engine's page functions. The sleep hands the page's thread back to the
# browser by unwinding the stack and winding it up again (Asyncify), which
# costs every function built for it. Only the game loop sleeps, reached from
# main() by direct calls (GameManager.cpp), so only chains of direct calls
# down to a sleep are built for it: the step's work, which runs through
# virtual handlers, runs at full speed. A sleep reached through a virtual call
# would stop the program with an error on the page.
set(VEXLO_WEB_LINK_FLAGS
    -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sENVIRONMENT=web
    "-sEXPORTED_FUNCTIONS=['_main','_vx_page_grid_text','_vx_page_bench_frame']"
    "-sEXPORTED_RUNTIME_METHODS=['ccall','UTF8ToString','FS','ENV']"
    -lopenal --js-library ${CMAKE_SOURCE_DIR}/web/vexlo-library.js)

# Makes `target` a browser program in VEXLO_WEB_DIR: target.js, target.wasm,
# target.data (the run directory, loaded before main) and target.html; the
# game's page is index.html as well.
function(vexlo_web_page target title howto)
  target_link_options(${target} PRIVATE ${VEXLO_WEB_LINK_FLAGS}
                      "SHELL:--preload-file ${VEXLO_RUN_DIR}@/")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
               ${CMAKE_SOURCE_DIR}/web/vexlo-library.js)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VEXLO_WEB_DIR})
  add_dependencies(${target} rundir)
  set(VEXLO_WEB_PROGRAM ${target})
  set(VEXLO_WEB_TITLE ${title})
  set(VEXLO_WEB_HOWTO ${howto})
  configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${VEXLO_WEB_DIR}/${target}.html @ONLY)
  if(target STREQUAL "swat")
    configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${VEXLO_WEB_DIR}/index.html @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/web/bench.html ${VEXLO_WEB_DIR}/bench.html @ONLY)
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/web/vexlo-page.js ${VEXLO_WEB_DIR}/vexlo-page.js COPYONLY)
endfunction()

add_compile_options(-O2)
add_link_options(-O2)

# The browser's OpenAL headers, found by the same names as the native ones.
include_directories(SYSTEM ${EMSCRIPTEN_SYSROOT}/include/AL)
