# The real Brivan.exe driven from outside: a driver started from a staged
# release folder, one case at a time (each case owns the display, the data
# folder, the shared words of the program and real keys). Then the start-up
# and idle benchmark, a program run by hand.
if(NOT HOLLIN_TESTS)
  return()
endif()
set(driver_dir ${CMAKE_CURRENT_LIST_DIR}/driver)
add_library(browser_driver STATIC ${driver_dir}/BrowserDriver.cpp ${driver_dir}/BrowserProcess.cpp
            ${driver_dir}/StagedBrowserFolder.cpp ${driver_dir}/KeyWatch.cpp)
set_target_properties(browser_driver PROPERTIES HOLLIN_WINNT 0x0600)
target_include_directories(browser_driver PUBLIC ${driver_dir} ${CMAKE_SOURCE_DIR}/common/data/tests)
target_link_libraries(browser_driver PUBLIC data framework hollin_release_folder GTest::gtest)
add_dependencies(browser_driver Brivan Cobbel Dashboard Wizard Pelvin)

hollin_add_test(browser_endtoend_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EndToEndHandOverTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EndToEndPolicyTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EndToEndLockTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EndToEndKeysTest.cpp
  LIBS browser_driver ws2_32
  LOCK display datafolder registry
  SERIAL
  TIMEOUT 120)
target_include_directories(browser_endtoend_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})

# The benchmark's baseline: the smallest dialog program, started the same way.
hollin_program(minimal_dialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/MinimalDialog.cpp
               ${CMAKE_CURRENT_LIST_DIR}/MinimalDialog.rc)
add_executable(browser_benchmark ${CMAKE_CURRENT_LIST_DIR}/BrowserBenchmark.cpp)
set_target_properties(browser_benchmark PROPERTIES HOLLIN_WINNT 0x0600)
target_link_libraries(browser_benchmark PRIVATE browser_driver ws2_32)
add_dependencies(browser_benchmark minimal_dialog)
