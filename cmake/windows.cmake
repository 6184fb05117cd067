# Windows tree: Tavrel.exe, its dry-run twin, the skin library, the fixtures
# and the Windows-side tests, which ctest runs under Wine.

# The C and C++ runtimes are linked in, so the program needs nothing but the
# system's own DLLs; unused functions are dropped to keep the file small.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections;-fdata-sections>")
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
target_compile_definitions(tavrel_core PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601)
target_compile_options(tavrel_core PRIVATE -Os)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(generated_dir ${CMAKE_BINARY_DIR}/generated)
add_custom_command(
  OUTPUT ${generated_dir}/tavrel.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${generated_dir}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${generated_dir}/tavrel.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Drawing the application icon")
add_custom_target(tavrel_icon DEPENDS ${generated_dir}/tavrel.ico)
# The shipped program is for x86. The 64-bit build that drives the tests
# where only 64-bit Wine runs asks for the same common controls in its own
# architecture, so that it, too, gets version 6 of them, as the shipped one
# does; an x86 dependency would go unmet in a 64-bit process.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
  set(TAVREL_MANIFEST_ARCH amd64)
else()
  set(TAVREL_MANIFEST_ARCH x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/tavrel.manifest.in ${generated_dir}/tavrel.manifest @ONLY)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/tavrel.rc PROPERTIES
  OBJECT_DEPENDS "${generated_dir}/tavrel.ico;${generated_dir}/tavrel.manifest")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${generated_dir} -I${CMAKE_SOURCE_DIR}/resources")

file(GLOB platform_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/*.cpp)
list(FILTER platform_sources EXCLUDE REGEX "power_calls(_dryrun)?\\.cpp$")

# Everything but the last call of a power request is shared by both programs.
add_library(tavrel_win OBJECT ${win32_sources} ${platform_sources})
target_link_libraries(tavrel_win PUBLIC tavrel_core)
target_compile_options(tavrel_win PRIVATE -Os)
add_dependencies(tavrel_win tavrel_icon)
set(win_libraries tavrel_core comctl32 gdi32 user32)

function(add_tavrel_program name power_calls)
  add_executable(${name} WIN32 $<TARGET_OBJECTS:tavrel_win>
    ${CMAKE_SOURCE_DIR}/platform/${power_calls} ${CMAKE_SOURCE_DIR}/resources/tavrel.rc)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -Os)
  target_link_libraries(${name} PRIVATE ${win_libraries})
  target_link_options(${name} PRIVATE -s -mwindows)
endfunction()
add_tavrel_program(Tavrel power_calls.cpp)
add_tavrel_program(Tavrel-dryrun power_calls_dryrun.cpp)

if(EXISTS ${CMAKE_SOURCE_DIR}/skin/CMakeLists.txt)
  add_subdirectory(skin)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fixtures/CMakeLists.txt)
  add_subdirectory(tests/fixtures)
endif()

# Windows-side tests: GoogleTest built from the Debian sources with this
# toolchain; each test starts and drives the real program under Wine.
option(TAVREL_WIN_TESTS "Build the Windows-side tests" ON)
if(TAVREL_WIN_TESTS)
  if(TAVREL_WINE_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVREL_WINE_LOADER})
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  file(GLOB win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp
       ${CMAKE_SOURCE_DIR}/tests/win/harness/*.cpp)
  if(win_tests)
    add_executable(win_tests ${win_tests})
    target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/win)
    target_link_libraries(win_tests PRIVATE tavrel_core gtest gtest_main psapi)
    # The tests and GoogleTest include <chrono>, whose "µs" GBK lacks;
    # GB18030 writes every GBK character with the same bytes.
    foreach(target win_tests gtest gtest_main)
      target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=GB18030>")
    endforeach()
    add_dependencies(win_tests Tavrel Tavrel-dryrun)
    # The shipped program is the 32-bit build, also when the tests drive the
    # 64-bit one.
    set(TAVREL_SHIPPED_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Folder of the shipped Tavrel.exe")
    add_test(NAME ProgramFile.IsA32BitGuiProgramOfSystemDllsOnly
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/check_program_file.sh
        ${TAVREL_SHIPPED_DIR}/Tavrel.exe ${TAVREL_SHIPPED_DIR}/Tavrel-dryrun.exe)
    # The stack check of outside calls is i686 code; where no 32-bit Windows
    # runs, it is run as a bare 32-bit program under qemu-user.
    add_test(NAME StackCheck.I686CallTellsStdcallFromCdecl
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/i386_stack_check/run.sh)
    set_tests_properties(StackCheck.I686CallTellsStdcallFromCdecl PROPERTIES SKIP_RETURN_CODE 77)
    # Discovery runs at test time, so building needs no Wine.
    gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT 120)
  endif()
endif()

add_executable(show_window ${CMAKE_SOURCE_DIR}/tools/show_window.cpp)
target_link_options(show_window PRIVATE -s)

# Benchmark (scripts/bench, not part of the normal build): the baseline tray
# program that Tavrel is measured against, and the driver that starts both and
# measures them. Built with the program's own compile and link flags.
add_executable(tavrel_baseline WIN32 EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/baseline_win32.cpp)
target_compile_options(tavrel_baseline PRIVATE -Os)
target_link_libraries(tavrel_baseline PRIVATE shell32 user32)
target_link_options(tavrel_baseline PRIVATE -s -mwindows)
add_executable(tavrel_baseline_common_controls WIN32 EXCLUDE_FROM_ALL
  ${CMAKE_SOURCE_DIR}/bench/baseline_win32.cpp ${CMAKE_SOURCE_DIR}/bench/baseline_manifest.rc)
target_compile_definitions(tavrel_baseline_common_controls PRIVATE TAVREL_BASELINE_COMMON_CONTROLS)
target_compile_options(tavrel_baseline_common_controls PRIVATE -Os)
target_link_libraries(tavrel_baseline_common_controls PRIVATE comctl32 shell32 user32)
target_link_options(tavrel_baseline_common_controls PRIVATE -s -mwindows)
set_source_files_properties(${CMAKE_SOURCE_DIR}/bench/baseline_manifest.rc PROPERTIES
  OBJECT_DEPENDS "${generated_dir}/tavrel.manifest")
add_executable(bench_driver EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/bench_driver_win32.cpp)
target_compile_definitions(bench_driver PRIVATE WINVER=0x0601 _WIN32_WINNT=0x0601)
target_link_libraries(bench_driver PRIVATE psapi shell32 user32)
add_custom_target(bench DEPENDS Tavrel Tavrel-dryrun tavrel_baseline tavrel_baseline_common_controls
  bench_driver)
