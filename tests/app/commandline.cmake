# The "/add" switch: plain text rules.
pinvale_test(app_commandline_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommandLineTest.cpp
  LIBS pinvale_core)
