# Skin engine: skin files written into a temporary folder, painted into DIBs
# and applied to real windows on the virtual display.
hollin_add_test(skin_engine_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinEngineTest.cpp
  LIBS skin
  LOCK display)
if(HOLLIN_TESTS)
  add_executable(skin_engine_gallery ${CMAKE_CURRENT_LIST_DIR}/SkinGallery.cpp)
  target_link_libraries(skin_engine_gallery PRIVATE skin)
endif()
