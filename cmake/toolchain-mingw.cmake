# Shared part of the two mingw-w64 toolchains. The posix thread model gives
# the tests std::thread; the release's toolchain names its own model.
if(NOT HOLLIN_THREAD_MODEL)
  set(HOLLIN_THREAD_MODEL posix)
endif()
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${HOLLIN_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${HOLLIN_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
