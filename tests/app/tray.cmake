# The tray icon's record and menu with a window of the test.
pinvale_test(app_tray_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TrayIconTest.cpp
  LIBS pinvale_core)
