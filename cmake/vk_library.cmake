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
# CTest under Wine, each case on its own with a time-out.
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
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
endfunction()
