# The hyperlink label: a real static control on the virtual display.
hollin_add_test(skin_link_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HyperLinkTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  target_include_directories(skin_link_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/framework/tests)
endif()
