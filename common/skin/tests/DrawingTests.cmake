# Drawing helpers: pixels painted into bitmaps, no windows needed.
target_link_libraries(skin PUBLIC gdiplus msimg32)
hollin_add_test(skin_drawing_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DrawingTest.cpp
  LIBS skin
  LOCK datafolder)
