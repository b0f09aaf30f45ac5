set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# The release: the win32 thread model's runtime imports nothing newer than
# Windows XP, where the posix model's winpthread needs GetTickCount64 (Vista).
# That runtime has no std::thread, which the tests use, so this one builds the
# deliverables only; the i686 tests are built in a tree of the posix model
# (toolchain-i686-tests.cmake) and start these programs.
set(HOLLIN_THREAD_MODEL win32)
set(HOLLIN_TESTS OFF CACHE BOOL "Build the tests")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
