# The main window as a real window: lock mode and the hand-over receiver,
# one case at a time on the display.
hollin_add_test(browser_mainwindow_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp ${CMAKE_SOURCE_DIR}/browser/Brivan.rc
  LIBS browser
  LOCK display datafolder registry
  SERIAL)
if(HOLLIN_TESTS)
  target_include_directories(browser_mainwindow_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/data/tests)
endif()
