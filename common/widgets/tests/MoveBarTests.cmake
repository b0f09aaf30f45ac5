# The folder bar: layout, capture loops ended by posted button-ups, and the
# notifications its owner (a plain window, not a dialog) receives.
hollin_add_test(widgets_movebar_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MoveBarCtrlTest.cpp
  LIBS widgets
  LOCK display)
if(HOLLIN_TESTS)
  add_dependencies(widgets_movebar_tests skin_theme)
endif()
