# The image control, buttons and the toolbar through the real Wendora.dll and Tessaly.dll, in
# real windows, with pictures drawn by the tests and packed into the skin package.
pinvale_test(ui_button_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImageCtrlTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ButtonTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ToolbarTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ButtonScene.cpp
  LIBS Wendora)
target_include_directories(ui_button_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/skinpack ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_button_tests Corvane Tessaly)

# The same scene in a window shown for a while, for driving it by hand and taking pictures:
#   wine buttondemo.exe [seconds]
pinvale_test_helper(buttondemo ${CMAKE_CURRENT_LIST_DIR}/ButtonDemo.cpp ${CMAKE_CURRENT_LIST_DIR}/ButtonScene.cpp)
target_include_directories(buttondemo PRIVATE ${CMAKE_SOURCE_DIR}/tools/skinpack ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(buttondemo PRIVATE pinvale_test_support Wendora)
add_dependencies(buttondemo Corvane Tessaly)
