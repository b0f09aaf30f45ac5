set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# The tests of the release's architecture: the posix thread model gives them
# std::thread. The programs they start from outside are the release's own
# (build/i686, win32 thread model), found through HOLLIN_RELEASE_BIN.
set(HOLLIN_THREAD_MODEL posix)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
