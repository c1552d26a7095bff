# The list's filter model and the key moves of its selection.
pinvale_test(app_filter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListFilterTest.cpp
  LIBS pinvale_core)
