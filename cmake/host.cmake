# Host tree: the portable core's unit tests, optionally under sanitizers.
option(TAVREL_SANITIZE "Build the host tree with AddressSanitizer and UBSan" OFF)
if(TAVREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB host_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*_test.cpp)
if(host_tests)
  # The skin library's portable parts (its file format) are tested here too.
  file(GLOB skin_portable CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skin/*.cpp)
  list(FILTER skin_portable EXCLUDE REGEX "_win32\\.cpp$")
  add_executable(host_tests ${host_tests} ${skin_portable})
  target_link_libraries(host_tests PRIVATE tavrel_core GTest::gtest GTest::gtest_main)
  target_include_directories(host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
  gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 30)
endif()
