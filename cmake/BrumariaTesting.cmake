find_package(GTest REQUIRED)
include(GoogleTest)

# brumaria_add_test(<name> SOURCES ... LIBS ... [LABEL label] [WORKING_DIRECTORY dir])
# One GoogleTest executable; every test case becomes a CTest test with the given label:
# unit (no display, no sound card; also run in the sanitizer build, the default), gui (needs
# an X display: Xvfb in CI), slow (long integration runs without a display).
# (One label per test: gtest_discover_tests cannot carry a list of them.)
function(brumaria_add_test name)
  cmake_parse_arguments(ARG "" "WORKING_DIRECTORY;LABEL" "SOURCES;LIBS" ${ARGN})
  brumaria_add_program(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    BRUMARIA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    BRUMARIA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(properties LABELS ${ARG_LABEL})
  if(ARG_LABEL STREQUAL "gui")
    # One display for all: windows of parallel tests would take each other's focus.
    list(APPEND properties RESOURCE_LOCK display)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY}
    PROPERTIES ${properties}
    DISCOVERY_TIMEOUT 60)
endfunction()
