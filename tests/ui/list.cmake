# The list control, its scrollbar and the containers, through the real Wendora.dll with a
# real hidden window and memory device contexts.
pinvale_test(ui_list_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ListPaintTest.cpp
  LIBS Wendora comctl32 msimg32)
target_include_directories(ui_list_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
