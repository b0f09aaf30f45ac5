# Edit, password and static controls in real windows.
hollin_add_test(skin_inputs_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditStaticTest.cpp
  LIBS skin
  LOCK display)
