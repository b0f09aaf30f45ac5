# Skin layout: anchor rules computed without windows.
hollin_add_test(skin_dialogs_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinLayoutTest.cpp
  LIBS skin)
