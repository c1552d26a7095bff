# CheckForNewVersion through the real Brindle.dll: update descriptions and installers served
# from a loopback server, the dialog driven by posted button clicks, recordargs.exe as the
# installer.
pinvale_test(updater_check_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CheckForNewVersionTest.cpp
  LIBS brindle_headers gdi32 user32 advapi32
  TIMEOUT 240)
add_dependencies(updater_check_tests Brindle recordargs)
