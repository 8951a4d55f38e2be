# One static library per source folder; the program, tests, benchmarks and
# fuzz targets link the ones they need (`kelvaro_all` links them all).
function(kelvaro_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# A GoogleTest executable registered with CTest, run headless.
# SERIAL: its tests run with no other test beside them.
function(kelvaro_test name)
  cmake_parse_arguments(A "SERIAL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} kelvaro_testsupport GTest::gtest Qt6::Test)
  include(GoogleTest)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELVARO_SCREENSHOTS=${PROJECT_BINARY_DIR}/screenshots"
               RUN_SERIAL ${A_SERIAL}
    DISCOVERY_TIMEOUT 60)
endfunction()

# Tests that start the simulator program over a pseudo-terminal.
function(kelvaro_uses_meter_sim name)
  add_dependencies(${name} kelvaro-meter-sim)
  target_compile_definitions(${name} PRIVATE KELVARO_METER_SIM="$<TARGET_FILE:kelvaro-meter-sim>")
endfunction()
