# The Windows ring and what is built on it: marvaze.exe, and the headless and Direct3D 9 test
# programs, which the test command runs under Wine.

include(${PROJECT_SOURCE_DIR}/cmake/googletest.cmake)

# Win32 window, Direct3D 9 device, DirectSound, single instance.
file(GLOB PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/win32/*.cpp)
add_library(marvaze_platform_win32 STATIC ${PLATFORM_WIN32_SOURCES})
target_link_libraries(marvaze_platform_win32 PUBLIC marvaze_platform_core
                      d3d9 dsound winmm gdi32 user32)

# The game, a GUI program: mingw's start-up calls main() from the Windows entry point. The
# resource carries the icon and the manifest that declares DPI awareness.
add_executable(marvaze WIN32 app/main.cpp platform/win32/marvaze.rc)
target_include_directories(marvaze PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(marvaze PRIVATE marvaze_game marvaze_platform_win32)
set_target_properties(marvaze PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
set_source_files_properties(platform/win32/marvaze.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/data/marvaze.ico;${PROJECT_SOURCE_DIR}/platform/win32/marvaze.manifest")

# The headless suite, the same sources as on Linux but the spoiled-data cases, which use FIFOs,
# inotify and a fresh process per case (their readers are the same code on both systems).
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER UNIT_TEST_SOURCES EXCLUDE REGEX "/bad_data_test\\.cpp$")
add_executable(marvaze_tests ${UNIT_TEST_SOURCES})
target_link_libraries(marvaze_tests PRIVATE marvaze_game marvaze_test_support GTest::gtest_main)
target_compile_definitions(marvaze_tests PRIVATE MARVAZE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# Direct3D 9 on a real device (under Wine here): the cases shared with the OpenGL tests
# (tests/device), instantiated for this device, and its own.
file(GLOB D3D9_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/d3d9/*.cpp)
if(D3D9_TEST_SOURCES)
  add_executable(marvaze_d3d9_tests ${D3D9_TEST_SOURCES}
    ${PROJECT_SOURCE_DIR}/tests/unit/render_test_files.cpp)
  target_link_libraries(marvaze_d3d9_tests PRIVATE marvaze_game marvaze_test_support
                        marvaze_platform_win32 GTest::gtest_main)
  target_compile_definitions(marvaze_d3d9_tests PRIVATE MARVAZE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()

file(GLOB D3D9_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/d3d9/*.cpp)
if(D3D9_BENCH_SOURCES)
  # The frame capture and replay of the OpenGL frame benchmark, which need no SDL.
  add_executable(d3d9_frame_bench ${D3D9_BENCH_SOURCES}
    ${PROJECT_SOURCE_DIR}/bench/frame/captured_frame.cpp
    ${PROJECT_SOURCE_DIR}/bench/frame/replay.cpp)
  target_link_libraries(d3d9_frame_bench PRIVATE marvaze_game marvaze_test_support
                        marvaze_platform_win32)
endif()
