# The UI object model, message routing, layout and template building, through the real
# Wendora.dll with a real hidden window and templates packed by the host packer.
pinvale_test(ui_model_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ObjectModelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DispatchTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TemplateTest.cpp
  LIBS Wendora comctl32)
target_include_directories(ui_model_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_model_tests Corvane ui_test_skins)
