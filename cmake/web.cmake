# The browser ring and what is built on it: the page (marvaze.html, .js, .wasm and the data
# package) and the headless suite, which ctest runs under node. Built with Debian's emscripten.

# Emscripten's optimising link runs node tools that find their modules only through NODE_PATH.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The mesh reader reports a bad file by throwing; only it pays for catching (elsewhere an
# exception-aware call costs a trip through JavaScript).
set_source_files_properties(${PROJECT_SOURCE_DIR}/platform/core/xfile.cpp
  TARGET_DIRECTORY marvaze_platform_core PROPERTIES COMPILE_OPTIONS -fexceptions)
set(WEB_LINK_COMMON -fexceptions -sALLOW_MEMORY_GROWTH=1)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest_main)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# The headless suite under node, reading the source tree through node's own file system. Left
# out: the spoiled-data cases, which need FIFOs, inotify and a process per case, and the two sky
# cases that read what the game wrote to stderr by redirecting its descriptor, which the program
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
  TEST_FILTER -SkyTest.ATextureNameTooLongForThePathBufferIsSkipped:SkyTest.TextureNamesThatLeaveTheDataFolderAreRefusedAndSaidSo
  PROPERTIES LABELS unit)
