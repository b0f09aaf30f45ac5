# The owner-drawn buttons: pixels painted through DrawItem into DIB sections,
# and real buttons under real input on the virtual display.
hollin_add_test(skin_button_paint_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ButtonPaintTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  target_include_directories(skin_button_paint_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/framework/tests)
endif()
# The drop-down menu borrows the menu tests' resources.
hollin_add_test(skin_button_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ButtonTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuTest.rc
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  target_include_directories(skin_button_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
# Real mouse input: each case alone.
hollin_add_test(skin_button_input_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ButtonInputTest.cpp
  LIBS skin
  LOCK display
  SERIAL)
if(HOLLIN_TESTS)
  target_include_directories(skin_button_input_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/framework/tests)
  add_executable(skin_buttons_gallery ${CMAKE_CURRENT_LIST_DIR}/ButtonsGallery.cpp)
  target_link_libraries(skin_buttons_gallery PRIVATE skin)
endif()
