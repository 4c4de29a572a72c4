# Small helpers shared by the build files of the tree.

# kovra_sources(OUT DIR): the .cpp files of one source folder, picked up again
# whenever a file is added or removed.
function(kovra_sources out dir)
  file(GLOB files CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# kovra_add_test(NAME SOURCES a.cpp... LIBS lib... [ENV VAR=value...])
# One GoogleTest executable registered with CTest, each test case on its own.
function(kovra_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE KOVRA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  # The list of variables must reach the ENVIRONMENT property as one value.
  string(REPLACE ";" "\\;" env "${T_ENV}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${env}")
endfunction()
