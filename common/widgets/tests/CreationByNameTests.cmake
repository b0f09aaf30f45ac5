# A program that links the widgets and names none of them, as one that reads
# a class name from a file: the classes it makes by name must come with the
# library all the same.
hollin_add_test(widgets_creation_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CreationByNameTest.cpp
  LIBS widgets
  LOCK display)
