# The line Wine prints when a program crashes. A crashed program's exit status
# is not to be trusted (now and then Wine's debugger ends it with 0), so a test
# whose output holds this line fails whatever its status.
set(HOLLIN_CRASH_OUTPUT "wine: Unhandled ")

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
  # Tests may use what Vista added (RegDeleteTreeW, GetTickCount64); the
  # programs they test are built for XP.
  set_target_properties(${name} PROPERTIES HOLLIN_WINNT 0x0600)
  target_link_libraries(${name} PRIVATE ${T_LIBS} hollin_release_folder GTest::gmock GTest::gtest_main)
  set(props TIMEOUT ${T_TIMEOUT} FAIL_REGULAR_EXPRESSION "${HOLLIN_CRASH_OUTPUT}")
  if(T_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  # ThisWindows* cases run only in the version-named copies.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       TEST_FILTER "-ThisWindows*" PROPERTIES ${props})
  if(T_LOCK)
    # The discovery's PROPERTIES flatten a list, so several resources would
    # become one name that locks nothing shared. The cases are locked instead
    # by a script that ctest reads after the discovery has listed them.
    set(lock_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${lock_script}
         "foreach(case IN LISTS ${name}_TESTS)\n"
         "  set_tests_properties(\"\${case}\" PROPERTIES RESOURCE_LOCK \"${T_LOCK}\")\n"
         "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${lock_script})
  endif()
endfunction()

# hollin_program(<name> SOURCES ... [LIBS ...]): a Unicode GUI program.
function(hollin_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${P_SOURCES})
  target_link_options(${name} PRIVATE -municode)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
endfunction()

# hollin_deliverable(<target>): a program or library the release ships. Its
# debugging information moves to <file>.debug beside it, named in the file
# for the debugger: kept inside, it is read with the code at every start.
function(hollin_deliverable target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# hollin_version_copies(<test> VERSIONS <wine version>... [LOCK <resource>...])
# Wine reports a Windows version per program file name
# (HKCU\Software\Wine\AppDefaults\<exe>\Version). For each version a copy of
# the test program, <test>_<version>.exe, runs its ThisWindows* cases with Wine
# reporting that version; the cases find the version in their own file name
# (utility/tests/ThisWindows.h). The program under its own name leaves those
# cases out. hollin_version_copies_setup() sets the versions in the prefix.
function(hollin_version_copies name)
  cmake_parse_arguments(V "" "" "VERSIONS;LOCK" ${ARGN})
  if(NOT HOLLIN_TESTS)
    return()
  endif()
  target_link_libraries(${name} PRIVATE this_windows)
  foreach(version ${V_VERSIONS})
    set(copy ${name}_${version}.exe)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${name}> $<TARGET_FILE_DIR:${name}>/${copy})
    add_test(NAME ${name}_${version}
             COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE_DIR:${name}>/${copy}
                     --gtest_filter=ThisWindows*)
    # A copy that runs no case, or skips one, has not shown its branch; one
    # that crashes fails as any test does.
    set_tests_properties(${name}_${version} PROPERTIES
      FIXTURES_REQUIRED wine_app_versions
      FAIL_REGULAR_EXPRESSION "\\[  PASSED  \\] 0 tests|\\[  SKIPPED \\]|${HOLLIN_CRASH_OUTPUT}"
      TIMEOUT 120)
    if(V_LOCK)
      set_tests_properties(${name}_${version} PROPERTIES RESOURCE_LOCK "${V_LOCK}")
    endif()
    set_property(GLOBAL APPEND PROPERTY HOLLIN_VERSION_COPIES "${copy}:${version}")
  endforeach()
endfunction()

# One set-up test writes every copy's version into the test prefix before the
# copies run; importing the same values again changes nothing.
function(hollin_version_copies_setup)
  get_property(copies GLOBAL PROPERTY HOLLIN_VERSION_COPIES)
  if(NOT copies)
    return()
  endif()
  set(reg "REGEDIT4\n")
  foreach(entry ${copies})
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 exe)
    list(GET pair 1 version)
    string(APPEND reg "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${exe}]\n\"Version\"=\"${version}\"\n")
  endforeach()
  set(file ${CMAKE_BINARY_DIR}/version-copies.reg)
  file(WRITE ${file} "${reg}")
  add_test(NAME WineVersionCopies COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg import Z:${file})
  set_tests_properties(WineVersionCopies PROPERTIES FIXTURES_SETUP wine_app_versions)
endfunction()
