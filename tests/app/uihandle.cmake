# The notification callback with a real list control and database, in-process.
pinvale_test(app_uihandle_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UIHandleTest.cpp
  LIBS pinvale_core)
add_dependencies(app_uihandle_tests Corvane recordargs)
set_tests_properties(app_uihandle_tests PROPERTIES RESOURCE_LOCK pinvale_user_state)
