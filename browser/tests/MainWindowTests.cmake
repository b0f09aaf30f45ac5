# The main window as a real window with pages that need no HTML engine: lock
# mode, the hand-over receiver, page messages, tabs, the URL history, the
# update question and the exit, one case at a time on the display.
hollin_add_test(browser_mainwindow_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MainWindowPagesTest.cpp
          ${CMAKE_SOURCE_DIR}/browser/Brivan.rc
  LIBS browser
  LOCK display datafolder registry
  SERIAL)
if(HOLLIN_TESTS)
  target_include_directories(browser_mainwindow_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/data/tests
                             ${CMAKE_SOURCE_DIR}/common/framework/tests)
endif()
if(HOLLIN_TESTS)
  # Shows the main window, normal or locked, with the notifier up.
  add_executable(browser_mainwindow_gallery ${CMAKE_CURRENT_LIST_DIR}/MainWindowGallery.cpp
                 ${CMAKE_SOURCE_DIR}/browser/Brivan.rc)
  target_link_libraries(browser_mainwindow_gallery PRIVATE browser)
endif()
