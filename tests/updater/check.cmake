# CheckForNewVersion through the real Brindle.dll: update descriptions and installers served
# from a loopback server, the dialog driven by posted button clicks, recordargs.exe as the
# installer.
pinvale_test(updater_check_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CheckForNewVersionTest.cpp
  LIBS brindle_headers wendora_headers gdi32 user32 advapi32
  TIMEOUT 240)
add_dependencies(updater_check_tests Brindle recordargs)
# The language is the UI language of the Wine process (from its locale); the dialog's texts
# are checked in English and, in a second run of the dialog tests, in Chinese.
set_tests_properties(updater_check_tests PROPERTIES ENVIRONMENT "LC_ALL=en_US.UTF-8;PINVALE_TEST_LANGUAGE=en")
add_test(NAME updater_check_tests_zh COMMAND updater_check_tests --gtest_filter=CheckLanguage.*:Check.Dialog*:Check.FinishedDownload*
         WORKING_DIRECTORY "${PINVALE_TESTBIN}")
set_tests_properties(updater_check_tests_zh PROPERTIES TIMEOUT 240 LABELS "${PINVALE_ARCH}"
                     ENVIRONMENT "LC_ALL=zh_CN.UTF-8;PINVALE_TEST_LANGUAGE=zh")
