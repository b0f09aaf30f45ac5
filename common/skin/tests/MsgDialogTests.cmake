# The message dialog run modally on the test display; its template comes from
# the toolkit's SkinDialogs.rc, included by the test's own .rc.
hollin_add_test(skin_msgdialog_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MsgDialogTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MsgDialogTest.rc
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(skin_msgdialog_gallery ${CMAKE_CURRENT_LIST_DIR}/MsgDialogGallery.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/MsgDialogGallery.rc)
  target_link_libraries(skin_msgdialog_gallery PRIVATE skin)
endif()
