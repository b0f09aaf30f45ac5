# The skinned dialog base and the frame dialog: real dialogs from test
# templates with skins written at run time; real mouse drags, so one case at
# a time.
hollin_add_test(skin_skindlg_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinDlgTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinDialogsTest.rc
  LIBS skin
  LOCK display
  SERIAL)
hollin_add_test(skin_framedlg_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameDlgTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinDialogsTest.rc
  LIBS skin
  LOCK display
  SERIAL)
if(HOLLIN_TESTS)
  add_executable(skin_framedlg_gallery ${CMAKE_CURRENT_LIST_DIR}/FrameDlgGallery.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/SkinDialogsTest.rc)
  target_link_libraries(skin_framedlg_gallery PRIVATE skin)
  # Run by hand, not by ctest: prints its figures.
  add_executable(skin_paint_benchmark ${CMAKE_CURRENT_LIST_DIR}/PaintBenchmark.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/SkinDialogsTest.rc)
  target_link_libraries(skin_paint_benchmark PRIVATE skin)
endif()
