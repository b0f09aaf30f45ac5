# The browser's core: start-up and hand-over, the navigation policy, the
# control bar and the small dialogs. Core.rc and program/Brivan.cpp (the
# program's global objects and entry) go into Brivan.exe.
target_link_libraries(browser PUBLIC Cobbel)
target_include_directories(browser PUBLIC ${CMAKE_CURRENT_LIST_DIR}/program)
