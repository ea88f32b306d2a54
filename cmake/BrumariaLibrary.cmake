# brumaria_add_library(<target> [LIBS ...])
# A static library of every .cpp file in the current folder (not its subfolders) but the
# programs' entry points (main.cpp, *Main.cpp) and tests (*Test.cpp), so that adding a class
# needs no edit here. Headers are included as "<folder>/<Class>.h".
function(brumaria_add_library target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/(main|[^/]*Main|[^/]*Test)\\.cpp$")
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LIBS})
endfunction()

# brumaria_add_program(<name> SOURCES ... [LIBS ...])
# An executable: the program, a tool, a benchmark, a test or a fuzzer.
function(brumaria_add_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(brumaria_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
