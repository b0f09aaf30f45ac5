# The skinned list header and the cell links: real list views and header
# controls on the virtual display.
if(NOT HOLLIN_TESTS)
  return()
endif()
hollin_add_test(widgets_list_header_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HeaderCtrlExTest.cpp ${CMAKE_CURRENT_LIST_DIR}/CellLinkGroupTest.cpp
  LIBS widgets
  LOCK display)
target_include_directories(widgets_list_header_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../skin/tests)

hollin_program(widgets_list_gallery SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListHeaderGallery.cpp LIBS widgets)
target_include_directories(widgets_list_gallery PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../skin/tests)
