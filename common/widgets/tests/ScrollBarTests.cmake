# Skinned scroll bars: the arithmetic alone, the engine on real windows and
# messages, and the patch of the system's scroll-bar functions.
hollin_add_test(widgets_scrollbar_geometry_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CoolScrollGeometryTest.cpp
  LIBS widgets)
hollin_add_test(widgets_scrollbar_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CoolScrollBarTest.cpp
  LIBS widgets
  LOCK display)
hollin_add_test(widgets_scrollbar_hook_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScrollBarHookTest.cpp
  LIBS widgets
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(widgets_scrollbar_gallery ${CMAKE_CURRENT_LIST_DIR}/ScrollBarGallery.cpp)
  target_link_libraries(widgets_scrollbar_gallery PRIVATE widgets)
endif()
if(HOLLIN_TESTS)
  target_include_directories(widgets_scrollbar_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/skin/tests)
  target_include_directories(widgets_scrollbar_gallery PRIVATE ${CMAKE_SOURCE_DIR}/common/skin/tests)
endif()
