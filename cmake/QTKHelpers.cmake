# Seconds one test case may run before CTest stops it (a deadlock fails in
# minutes instead of holding CI until its own limit). The slowest case takes
# about 2 s.
set(QTK_TEST_TIMEOUT 120 CACHE STRING "Per-test timeout of CTest in seconds")

# qtk_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per area; every TEST becomes a CTest case.
function(qtk_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QTK_TEST_FIXTURES=${CMAKE_SOURCE_DIR}/tests/fixtures" TIMEOUT ${QTK_TEST_TIMEOUT})
endfunction()

# qtk_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(qtk_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
