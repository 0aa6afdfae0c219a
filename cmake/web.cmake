# The browser ring and what is built on it: the page (marvaze.html, .js, .wasm and the data
# package) and the headless suite, which ctest runs under node. Built with Debian's emscripten.

# Emscripten's optimising link runs node tools that find their modules only through NODE_PATH.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The mesh reader reports a bad file by throwing; only it pays for catching (elsewhere an
# exception-aware call costs a trip through JavaScript).
set_source_files_properties(${PROJECT_SOURCE_DIR}/platform/core/xfile.cpp
  TARGET_DIRECTORY marvaze_platform_core PROPERTIES COMPILE_OPTIONS -fexceptions)
set(WEB_LINK_COMMON -fexceptions -sALLOW_MEMORY_GROWTH=1)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
include(${PROJECT_SOURCE_DIR}/cmake/googletest.cmake)

# The headless suite under node, reading the source tree through node's own file system. Left
# out: the spoiled-data cases, which need FIFOs, inotify and a process per case, and the sky
# case that reads what the game wrote to stderr by redirecting its descriptor, which the program
# cannot do under node; what they test is the same code on every ring.
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER UNIT_TEST_SOURCES EXCLUDE REGEX "/bad_data_test\\.cpp$")
add_executable(marvaze_tests ${UNIT_TEST_SOURCES})
target_link_libraries(marvaze_tests PRIVATE marvaze_game marvaze_test_support GTest::gtest_main)
target_compile_definitions(marvaze_tests PRIVATE MARVAZE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_options(marvaze_tests PRIVATE ${WEB_LINK_COMMON} -sNODERAWFS=1 -sENVIRONMENT=node
  -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
include(GoogleTest)
gtest_discover_tests(marvaze_tests WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} DISCOVERY_TIMEOUT 120
  TEST_FILTER -SkyTest.TextureNamesThatLeaveTheDataFolderOrDoNotFitAreRefusedAndSaidSo
  PROPERTIES LABELS unit)

# The OpenGL device on WebGL 2, and the ring: the canvas, keys, pads, touch, Web Audio, the dialog
# and Web Locks, with page.js beside them.
file(GLOB PLATFORM_GL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/gl/*.cpp)
add_library(marvaze_platform_gl STATIC ${PLATFORM_GL_SOURCES})
target_link_libraries(marvaze_platform_gl PUBLIC marvaze_platform_core)
file(GLOB PLATFORM_WEB_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/web/*.cpp)
add_library(marvaze_platform_web STATIC ${PLATFORM_WEB_SOURCES})
target_link_libraries(marvaze_platform_web PUBLIC marvaze_platform_gl)

# A page: NAME.html (the game's is index.html in the package), .js, .wasm, and .data with data/
# inside. Asyncify lets the blocking frame loop sleep by handing the browser its turn.
set(WEB_PAGE_FILES ${PROJECT_SOURCE_DIR}/platform/web/shell.html
                   ${PROJECT_SOURCE_DIR}/platform/web/page.js)
file(GLOB WEB_DATA_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*)
function(web_page target)
  set_target_properties(${target} PROPERTIES SUFFIX .html
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR} LINK_DEPENDS "${WEB_PAGE_FILES};${WEB_DATA_FILES}")
  target_link_options(${target} PRIVATE ${WEB_LINK_COMMON} -sENVIRONMENT=web
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
    "SHELL:--shell-file ${PROJECT_SOURCE_DIR}/platform/web/shell.html"
    "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/platform/web/page.js"
    -sMINIFY_HTML=0
    "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data@/data"
    # The page's icon is a file of its own; the game reads none of the icons.
    "SHELL:--exclude-file ${PROJECT_SOURCE_DIR}/data/icons"
    "SHELL:--exclude-file ${PROJECT_SOURCE_DIR}/data/marvaze.ico")
endfunction()

add_executable(marvaze ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(marvaze PRIVATE marvaze_game marvaze_platform_web)
web_page(marvaze)

# Benchmarks (bench/web/run.sh): the world's work under node, the captured frame in a page.
add_executable(world_steps EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/bench/web/world_steps.cpp
                                            ${PROJECT_SOURCE_DIR}/bench/busy_world.cpp)
target_link_libraries(world_steps PRIVATE marvaze_world)
target_link_options(world_steps PRIVATE ${WEB_LINK_COMMON} -sENVIRONMENT=node
  -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
add_executable(frame_replay EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/bench/web/frame_replay.cpp
  ${PROJECT_SOURCE_DIR}/bench/frame/captured_frame.cpp ${PROJECT_SOURCE_DIR}/bench/frame/replay.cpp)
target_link_libraries(frame_replay PRIVATE marvaze_game marvaze_test_support marvaze_platform_web)
web_page(frame_replay)
