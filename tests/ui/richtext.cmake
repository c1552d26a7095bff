# Rich text, the text object, the skinned menu and the edit field, through the real
# Wendora.dll with real windows and device contexts.
pinvale_test(ui_richtext_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichTextTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/MenuTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EditTest.cpp
  LIBS Wendora comctl32)
target_include_directories(ui_richtext_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_richtext_tests Corvane ui_test_skins)
# Menus close and editors end when their window loses the focus: another test program
# activating its windows on the same display would end them mid-test.
set_tests_properties(ui_richtext_tests PROPERTIES RUN_SERIAL TRUE)

# Not a test: shows the three kinds on a display for screenshots (richtext_demo text|edit|menu).
pinvale_test_helper(richtext_demo ${CMAKE_CURRENT_LIST_DIR}/RichTextDemo.cpp)
target_include_directories(richtext_demo PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(richtext_demo PRIVATE pinvale_test_support Wendora)
target_link_options(richtext_demo PRIVATE -municode)
