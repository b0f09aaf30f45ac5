# The popup notifier: real windows and timers on the virtual display.
hollin_add_test(skin_notifier_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TaskbarNotifierTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(skin_notifier_gallery ${CMAKE_CURRENT_LIST_DIR}/NotifierGallery.cpp)
  target_link_libraries(skin_notifier_gallery PRIVATE skin)
endif()
