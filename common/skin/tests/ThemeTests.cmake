# The shipped default theme read through the engine: items, pictures, layout,
# painted pixels and the window region.
hollin_add_test(skin_theme_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ThemeTest.cpp
  LIBS skin
  LOCK display)
