# The list control, its scrollbar and the containers, through the real Wendora.dll with a
# real hidden window and memory device contexts.
pinvale_test(ui_list_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ListPaintTest.cpp
  LIBS Wendora comctl32 msimg32)
# Image objects come from the real image library, loaded as its tests load it.
target_include_directories(ui_list_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests/tessaly)
add_dependencies(ui_list_tests Tessaly)

# A visible list to look at (screenshots under Xvfb); not a test.
pinvale_test_helper(ui_list_demo ${CMAKE_CURRENT_LIST_DIR}/ListDemo.cpp)
target_link_libraries(ui_list_demo PRIVATE Wendora comctl32 shell32)
target_link_options(ui_list_demo PRIVATE -municode -mwindows)
