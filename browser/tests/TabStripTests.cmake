# The tab strip: model and layout, input under real mouse and keys, and the
# skin-driven drawer, in real windows on the virtual display.
hollin_add_test(browser_tabstrip_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TabCtrlLayoutTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ListenerRegistryTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TabCtrlStateTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TabStripDrawerTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/TabStrip.rc
  LIBS browser
  LOCK display)
# Real mouse and keyboard input: each case alone.
hollin_add_test(browser_tabstrip_input_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TabCtrlInputTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/TabStrip.rc
  LIBS browser
  LOCK display
  SERIAL)
if(HOLLIN_TESTS)
  target_include_directories(browser_tabstrip_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                             ${CMAKE_SOURCE_DIR}/common/skin/tests ${CMAKE_SOURCE_DIR}/common/framework/tests)
  target_include_directories(browser_tabstrip_input_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                             ${CMAKE_SOURCE_DIR}/common/skin/tests ${CMAKE_SOURCE_DIR}/common/framework/tests)
  # Shows the strip in the default theme for a look or a screenshot.
  add_executable(browser_tabstrip_gallery ${CMAKE_CURRENT_LIST_DIR}/TabStripGallery.cpp
                 ${CMAKE_CURRENT_SOURCE_DIR}/TabStrip.rc)
  target_include_directories(browser_tabstrip_gallery PRIVATE ${CMAKE_SOURCE_DIR}/common/skin/tests)
  target_link_libraries(browser_tabstrip_gallery PRIVATE browser)
endif()
