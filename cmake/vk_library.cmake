# vk_library(name [DEPS ...]): a static library made of every source under the folder of the
# same name; sources are globbed so that adding a file needs no edit here.
function(vk_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# vk_test(name [DEPS ...]): one GoogleTest exe from every source under tests/<name>/, run by
# CTest under Wine one process per test suite (starting a Wine process costs a second or two,
# running a whole suite in it far less). The suites are read from the sources' TEST, TEST_F,
# TEST_P and TYPED_TEST lines; a suite whose filter selects no test fails, so a renamed or
# macro-made suite cannot drop out unnoticed.
function(vk_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.rc)
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources} ${CMAKE_SOURCE_DIR}/tests/support/TestMain.cpp)
  target_include_directories(${name}_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  # toolkit: the shared test main sets up the window thread through it.
  target_link_libraries(${name}_tests PRIVATE ${ARG_DEPS} toolkit GTest::gmock GTest::gtest)
  target_compile_definitions(${name}_tests PRIVATE
    VK_BIN_DIR="${CMAKE_BINARY_DIR}/bin" VK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

  set(suites)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    # The suite list is read from the sources: a suite added to a file must reach CTest
    # without a manual reconfigure.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} lines REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST)\\([ \t]*[A-Za-z0-9_]+")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*[A-Z_]+\\([ \t]*([A-Za-z0-9_]+).*" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(SORT suites)
  foreach(suite IN LISTS suites)
    # Plain, typed (Suite/N) and parameterised (Prefix/Suite) names of the suite.
    add_test(NAME ${name}.${suite}
             COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}_tests>
                     --gtest_filter=${suite}.*:${suite}/*:*/${suite}.*:*/${suite}/*)
    set_tests_properties(${name}.${suite} PROPERTIES
      TIMEOUT 300
      FAIL_REGULAR_EXPRESSION "Running 0 tests from")
  endforeach()
endfunction()
