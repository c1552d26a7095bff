# The key table HotKey.xml through the framework's XML reader.
pinvale_test(app_hotkey_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HotKeyFileTest.cpp
  LIBS pinvale_core)
