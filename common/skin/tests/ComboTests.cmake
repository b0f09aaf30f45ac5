# The address combo box: a real combo on the virtual display.
hollin_add_test(skin_combo_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ComboBoxExExTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(skin_inputs_gallery ${CMAKE_CURRENT_LIST_DIR}/InputsGallery.cpp)
  target_link_libraries(skin_inputs_gallery PRIVATE skin)
endif()
