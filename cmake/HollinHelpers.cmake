# hollin_add_test(<name> SOURCES ... [LIBS ...] [LOCK <resource>...] [TIMEOUT s] [SERIAL])
# One GoogleTest executable; every case becomes its own ctest test, found when
# ctest runs (the executable runs under Wine, not at build time).
# LOCK names shared resources (the data folder, the registry keys a test
# writes, real mouse input) so that ctest never runs two users of one at once.
# SERIAL runs each case alone: timing-sensitive real input under Wine drops
# keys when the machine is busy with other tests.
function(hollin_add_test name)
  cmake_parse_arguments(T "SERIAL" "TIMEOUT" "SOURCES;LIBS;LOCK" ${ARGN})
  if(NOT HOLLIN_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  if(T_LOCK)
    list(JOIN T_LOCK "," locks)
    list(APPEND props RESOURCE_LOCK "${locks}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${props})
endfunction()

# hollin_program(<name> SOURCES ... [LIBS ...]): a Unicode GUI program.
function(hollin_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${P_SOURCES})
  target_link_options(${name} PRIVATE -municode)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
endfunction()
