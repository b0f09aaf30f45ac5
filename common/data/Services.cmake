# System services: MSXML document and address book, shared configuration
# block, HTTP download and update check, default browser, keyboard hook.
target_link_libraries(data PUBLIC ole32 oleaut32 uuid wininet advapi32 shell32 user32 winversion Cobbel)

# The address book and the shipped update version sit in the program folder's
# conf folder, beside the programs that read them.
set(services_conf_files urls.conf update.ini)
set(services_conf_outputs)
foreach(conf_file ${services_conf_files})
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/conf/${conf_file})
  set(target ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/conf/${conf_file})
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${target}
    DEPENDS ${source}
    COMMENT "Shipping conf/${conf_file}")
  list(APPEND services_conf_outputs ${target})
endforeach()
add_custom_target(services_conf DEPENDS ${services_conf_outputs})
add_dependencies(data services_conf)

set(services_tests ${CMAKE_CURRENT_SOURCE_DIR}/tests)
hollin_add_test(services_xml_tests
  SOURCES ${services_tests}/XmlDomTest.cpp ${services_tests}/UrlsConfTest.cpp
  LIBS data)
# The shared section and its mutex are per program file: one case at a time.
hollin_add_test(services_syscfgs_tests
  SOURCES ${services_tests}/SysCfgsTest.cpp
  LIBS data
  LOCK syscfgs datafolder)
# HTTP against a server the tests run on 127.0.0.1.
hollin_add_test(services_http_tests
  SOURCES ${services_tests}/HttpClientTest.cpp
  LIBS data ws2_32)
# The update files live in the shared data folder.
hollin_add_test(services_update_tests
  SOURCES ${services_tests}/UpdateCheckTest.cpp
  LIBS data ws2_32
  LOCK datafolder)
# Default-browser keys in the real registry, restored by each case.
hollin_add_test(services_registry_tests
  SOURCES ${services_tests}/BroswerRegisterTest.cpp
  LIBS data
  LOCK registry)
# Registration and the default question on each family's Windows, and none
# before Windows 2000.
hollin_version_copies(services_registry_tests VERSIONS win98 win2k winxp vista win7 LOCK registry)
# Real keyboard input through SendInput into a window on the test display.
hollin_add_test(services_hook_tests
  SOURCES ${services_tests}/KeyboardHookTest.cpp
  LIBS data
  LOCK input display
  SERIAL)
