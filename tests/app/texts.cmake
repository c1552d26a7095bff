# The program's string tables (its resource script linked in) and the hotkey's forms.
pinvale_test(app_texts_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextsTest.cpp ${CMAKE_SOURCE_DIR}/app/res/Strings.rc
  LIBS pinvale_core)
