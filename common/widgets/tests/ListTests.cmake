# The owner-data list, the sorted list and the record list: real list views
# in framework parents on the virtual display.
if(NOT HOLLIN_TESTS)
  return()
endif()
hollin_add_test(widgets_list_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListCtrlExTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RecordListCtrlTest.cpp
  LIBS widgets
  LOCK display)
target_include_directories(widgets_list_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../skin/tests
                           ${CMAKE_SOURCE_DIR}/common/framework/tests)
