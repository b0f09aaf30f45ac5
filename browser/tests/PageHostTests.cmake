# The browser page and its control host: real pages in a real strip under
# the virtual display, the host's answers, and the snapshot file.
hollin_add_test(browser_pagehost_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PageNavigationTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/PageHostSiteTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SnapshotBitmapTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/TabStrip.rc
          ${CMAKE_CURRENT_SOURCE_DIR}/PageHost.rc
  LIBS browser ws2_32 urlmon
  LOCK display
  TIMEOUT 300)
if(HOLLIN_TESTS)
  target_include_directories(browser_pagehost_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                             ${CMAKE_SOURCE_DIR}/common/skin/tests ${CMAKE_SOURCE_DIR}/common/data/tests
                             ${CMAKE_SOURCE_DIR}/common/framework/tests)
endif()
