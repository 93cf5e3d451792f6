# Seconds one test case may run before CTest stops it (a deadlock fails in
# minutes instead of holding CI until its own limit). The slowest case takes
# about 2 s.
set(QTK_TEST_TIMEOUT 120 CACHE STRING "Per-test timeout of CTest in seconds")
# The sanitized Debug build runs the cases many times slower (the random
# plan-cut case near two minutes on a loaded machine): five times the limit.
if(QTK_SANITIZE)
  math(EXPR QTK_CASE_TIMEOUT "${QTK_TEST_TIMEOUT} * 5")
else()
  set(QTK_CASE_TIMEOUT ${QTK_TEST_TIMEOUT})
endif()

# qtk_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per area; every TEST becomes a CTest case.
function(qtk_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QTK_TEST_FIXTURES=${CMAKE_SOURCE_DIR}/tests/fixtures" TIMEOUT ${QTK_CASE_TIMEOUT})
endfunction()

# qtk_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(qtk_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# qtk_add_rule_cases(<name> CASES <case files...> [SOURCES <files...>] [LIBS <targets...>])
# A rule family's table tests: every row of the case files (JSON, beside the
# family's tests) becomes a CTest case named <file>.row<N>_<rule>. SOURCES
# adds C++ tests and test-only rule units (QTK_RULE_CASE_UNIT). The rows are
# listed when ctest runs, so an edited case file needs no rebuild.
function(qtk_add_rule_cases name)
  cmake_parse_arguments(ARG "" "" "CASES;SOURCES;LIBS" ${ARGN})
  set(files "")
  foreach(file ${ARG_CASES})
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${file})
  endforeach()
  string(JOIN "|" joined ${files})
  add_executable(${name} ${CMAKE_SOURCE_DIR}/tests/Support/RuleCaseMain.cpp ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE qtk_test_support ${ARG_LIBS} GTest::gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE QTK_RULE_CASE_FILES="${joined}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QTK_TEST_FIXTURES=${CMAKE_SOURCE_DIR}/tests/fixtures" TIMEOUT ${QTK_CASE_TIMEOUT})
endfunction()
