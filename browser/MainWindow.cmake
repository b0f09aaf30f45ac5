# The browser program: its main window with every resource of the browser.
hollin_program(Brivan
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program/Brivan.cpp ${CMAKE_CURRENT_LIST_DIR}/Brivan.rc
  LIBS browser gdiplus)
target_include_directories(Brivan PRIVATE ${CMAKE_SOURCE_DIR}/common/skin ${CMAKE_SOURCE_DIR}/common/data)
hollin_deliverable(Brivan)
