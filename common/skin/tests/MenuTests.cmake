# The owner-drawn menu: real menus, items drawn into DIB sections, and a
# gallery that opens one on the virtual display. The test bitmaps come from
# make_menu_bitmaps.py.
hollin_add_test(skin_menu_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuTest.rc
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  target_include_directories(skin_menu_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/common/framework/tests)
  add_executable(skin_menu_gallery ${CMAKE_CURRENT_LIST_DIR}/MenuGallery.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuTest.rc)
  target_include_directories(skin_menu_gallery PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_options(skin_menu_gallery PRIVATE -municode)
  target_link_libraries(skin_menu_gallery PRIVATE skin)
endif()
