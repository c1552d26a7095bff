# The value types shared by the program and the framework.
pinvale_test(ui_values_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ValueTypesTest.cpp
  LIBS wendora_headers)
