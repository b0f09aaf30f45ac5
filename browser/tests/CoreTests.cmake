# The browser core's tests: the policy on real data files, the hand-over
# between threads and between two processes of one program sharing its
# section, the brightness model on the real profile key; then the control
# bar and the dialogs as real windows under real input, one case at a time.
set(core_tests ${CMAKE_CURRENT_LIST_DIR})
set(core_support ${CMAKE_SOURCE_DIR}/common/skin/tests ${CMAKE_SOURCE_DIR}/common/data/tests)
hollin_add_test(browser_core_tests
  SOURCES ${core_tests}/HandOverTest.cpp ${core_tests}/StartupTest.cpp ${core_tests}/NavigationPolicyTest.cpp
          ${core_tests}/GammaSliderTest.cpp
  LIBS browser
  LOCK datafolder registry)
hollin_add_test(browser_core_window_tests
  SOURCES ${core_tests}/CtrlBarTest.cpp ${core_tests}/CoreDialogsTest.cpp ${core_tests}/CoreTest.rc
  LIBS browser
  LOCK display datafolder registry
  SERIAL)

if(HOLLIN_TESTS)
  target_include_directories(browser_core_tests PRIVATE ${core_support})
  target_include_directories(browser_core_window_tests PRIVATE ${core_support})
  # The real start-up and section with a stand-in main window, started
  # several times by the start-up test.
  hollin_program(brivan_startup_probe
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../program/Brivan.cpp ${core_tests}/StartupProbeWindow.cpp
    LIBS browser gdiplus)
  add_dependencies(browser_core_tests brivan_startup_probe)
  add_dependencies(browser_core_window_tests args_recorder)
endif()

if(HOLLIN_TESTS)
  # The bar and the dialogs on the display, for a look.
  add_executable(browser_core_gallery WIN32 ${core_tests}/CoreGallery.cpp ${core_tests}/CoreTest.rc)
  target_link_options(browser_core_gallery PRIVATE -municode)
  target_include_directories(browser_core_gallery PRIVATE ${core_support})
  target_link_libraries(browser_core_gallery PRIVATE browser)
endif()
