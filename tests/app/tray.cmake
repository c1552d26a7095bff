# The tray icon's record and menu with a window of the test, with the program's string
# tables; run in English and again with a Chinese UI language (the Wine process's locale).
pinvale_test(app_tray_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TrayIconTest.cpp ${CMAKE_SOURCE_DIR}/app/res/Strings.rc
  LIBS pinvale_core)
set_tests_properties(app_tray_tests PROPERTIES ENVIRONMENT "LC_ALL=en_US.UTF-8;PINVALE_TEST_LANGUAGE=en")
add_test(NAME app_tray_tests_zh COMMAND app_tray_tests WORKING_DIRECTORY "${PINVALE_TESTBIN}")
set_tests_properties(app_tray_tests_zh PROPERTIES TIMEOUT 180 LABELS "${PINVALE_ARCH}"
                     ENVIRONMENT "LC_ALL=zh_CN.UTF-8;PINVALE_TEST_LANGUAGE=zh")
