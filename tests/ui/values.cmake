# The value types shared by the program and the framework, and the list's split of a row's path.
pinvale_test(ui_values_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ValueTypesTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ItemPathPartsTest.cpp
          ${CMAKE_SOURCE_DIR}/ui/controls/ItemPathParts.cpp
  LIBS wendora_headers)
target_include_directories(ui_values_tests PRIVATE ${CMAKE_SOURCE_DIR}/ui/controls)
