# Data files: settings, usage time, site lists, history, favourites, the
# parent's messages and the start-with-Windows value.
target_link_libraries(data PUBLIC tinyxml oleaut32 ole32 shlwapi)
target_compile_definitions(data PRIVATE ${TINYXML_WITHOUT_CONSOLE_STREAMS})

set(data_tests ${CMAKE_CURRENT_SOURCE_DIR}/tests)
# Every case works in the one shared data folder of the prefix.
hollin_add_test(data_tests
  SOURCES ${data_tests}/CommHelperTest.cpp ${data_tests}/SysConfTest.cpp ${data_tests}/TimeLogTest.cpp
          ${data_tests}/SiteListTest.cpp ${data_tests}/WordsAndAutoStartTest.cpp ${data_tests}/SnapshotListTest.cpp
          ${data_tests}/ProgramStarterTest.cpp ${data_tests}/AccountAccessTest.cpp
          ${data_tests}/AllocationLimit.cpp
  LIBS data
  LOCK datafolder registry)
if(HOLLIN_TESTS)
  target_include_directories(data_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/framework/tests)
endif()

# A program whose string table names the start-with-Windows value itself.
hollin_add_test(data_autostart_strings_tests
  SOURCES ${data_tests}/AutoStartStringsTest.cpp ${data_tests}/AutoStartStringsTest.rc
  LIBS data
  LOCK registry)

if(HOLLIN_TESTS)
  # Stands in for the system's programs where tests start them.
  hollin_program(args_recorder SOURCES ${data_tests}/ArgsRecorder.cpp)
  add_dependencies(data_tests args_recorder)
  # The import-table patch of the framework's tests.
  target_include_directories(data_tests PRIVATE ${CMAKE_SOURCE_DIR}/common/framework/tests)
  add_executable(data_benchmark ${data_tests}/DataBenchmark.cpp)
  target_link_libraries(data_benchmark PRIVATE data)
endif()
