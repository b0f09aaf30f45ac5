# The bitmap slider: a real control on the virtual display.
hollin_add_test(skin_slider_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BitmapSliderTest.cpp
  LIBS skin
  LOCK display)
