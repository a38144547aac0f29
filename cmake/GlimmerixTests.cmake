# glimmerix_add_test_suite(NAME SOURCES...): one GoogleTest program per subsystem, linked with the
# logic and widget libraries and the shared test support; every case becomes a ctest test.
function(glimmerix_add_test_suite name)
  add_executable(tests_${name} ${ARGN})
  target_link_libraries(tests_${name} PRIVATE glimmerix_test_support)
  glimmerix_warnings(tests_${name})
  set_target_properties(tests_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(tests_${name} PRIVATE
    GLIMMERIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    GLIMMERIX_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(tests_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${name})
endfunction()
