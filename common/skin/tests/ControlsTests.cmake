# Drawing helpers: pixels painted into bitmaps, no windows needed.
target_link_libraries(skin PUBLIC gdiplus msimg32)
hollin_add_test(skin_drawing_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DrawingTest.cpp
  LIBS skin
  LOCK datafolder)
# The popup notifier: real windows and timers on the virtual display.
hollin_add_test(skin_notifier_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TaskbarNotifierTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(skin_notifier_gallery ${CMAKE_CURRENT_LIST_DIR}/NotifierGallery.cpp)
  target_link_libraries(skin_notifier_gallery PRIVATE skin)
endif()
# Controls bound by id, as a dialog's data exchange binds them, or created.
hollin_add_test(skin_binding_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlBindingTest.cpp
  LIBS skin
  LOCK display)
