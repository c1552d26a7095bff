# Rich text, the text object, the skinned menu and the edit field, through the real
# Wendora.dll with real windows and device contexts.
pinvale_test(ui_richtext_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichTextTest.cpp
  LIBS Wendora comctl32)
target_include_directories(ui_richtext_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
