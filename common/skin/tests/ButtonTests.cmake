# The owner-drawn buttons: pixels painted through DrawItem into DIB sections,
# and real buttons under real input on the virtual display.
hollin_add_test(skin_button_paint_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ButtonPaintTest.cpp
  LIBS skin
  LOCK display)
