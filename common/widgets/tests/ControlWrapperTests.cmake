# The control wrappers: an unregistered control leaves no window; a class
# registered as an emulation of the WebBrowser control is really hosted.
hollin_add_test(widgets_wrapper_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlWrapperTest.cpp
  LIBS widgets
  LOCK display)
