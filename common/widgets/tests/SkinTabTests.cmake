# The skinned tab strip: real windows and messages, pixels read from DIBs.
hollin_add_test(widgets_skintab_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinTabTest.cpp
  LIBS widgets
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(widgets_gallery WIN32 ${CMAKE_CURRENT_LIST_DIR}/WidgetsGallery.cpp)
  target_link_options(widgets_gallery PRIVATE -municode)
  target_link_libraries(widgets_gallery PRIVATE widgets comctl32)
  add_dependencies(widgets_gallery skin_theme)
endif()
