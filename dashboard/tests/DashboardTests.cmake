# The control panel driven through its export in the test's own thread, from
# a copy of the program folder; the settings files, the Run value and the
# default-browser keys are real and put back.
if(NOT HOLLIN_TESTS)
  return()
endif()
set(dashboard_tests ${CMAKE_CURRENT_LIST_DIR})
hollin_add_test(dashboard_tests
  SOURCES ${dashboard_tests}/DashboardTest.cpp ${dashboard_tests}/DashboardSystemTest.cpp
          ${dashboard_tests}/SitePagesTest.cpp
          ${dashboard_tests}/ListPagesTest.cpp
  LIBS skin data framework
  LOCK datafolder registry display
  TIMEOUT 180)
target_include_directories(dashboard_tests PRIVATE ${dashboard_tests} ${CMAKE_SOURCE_DIR}/common/data/tests
                                                   ${CMAKE_SOURCE_DIR}/common/framework/tests)
add_dependencies(dashboard_tests Dashboard args_recorder)

add_executable(dashboard_gallery WIN32 ${dashboard_tests}/DashboardGallery.cpp)
target_link_options(dashboard_gallery PRIVATE -municode)
target_include_directories(dashboard_gallery PRIVATE ${dashboard_tests})
target_link_libraries(dashboard_gallery PRIVATE Dashboard data framework)

# Run by hand: the panel's opening with a long history.
add_executable(dashboard_benchmark ${dashboard_tests}/DashboardBenchmark.cpp)
target_include_directories(dashboard_benchmark PRIVATE ${dashboard_tests})
target_link_libraries(dashboard_benchmark PRIVATE Dashboard data framework psapi)
