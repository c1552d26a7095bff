# Settings on the test prefix's registry and Startup folder; the toolbar rule on real objects.
pinvale_test(app_settings_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
  LIBS pinvale_core)
# The program's registry key and Startup shortcut are shared with the end-to-end tests.
set_tests_properties(app_settings_tests PROPERTIES RESOURCE_LOCK pinvale_user_state)
