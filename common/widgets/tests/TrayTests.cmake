# The tray icon, its menu and animation, and the search for its position: a
# fake taskbar toolbar in the test process and a pixel scan over a DIB.
target_link_libraries(widgets PUBLIC shell32)
hollin_add_test(widgets_tray_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SystemTrayTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TrayIconPositionTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TrayTest.rc
  LIBS widgets comctl32
  LOCK display)
