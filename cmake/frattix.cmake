# frattix_library(<name> <folder sources...>): one static library per folder of code.
function(frattix_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# frattix_program(<name> <sources...>): an executable of the suite, built into the program folder.
function(frattix_program name)
  add_executable(${name} ${ARGN})
  add_dependencies(${name} install_data)
endfunction()

# frattix_test(<name> <sources...> LIBS <libs...>): a GoogleTest binary run by ctest.
function(frattix_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} frattix_testmain GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} install_data)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FRATTIX_BIN_DIR=${FRATTIX_BIN_DIR};FRATTIX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
