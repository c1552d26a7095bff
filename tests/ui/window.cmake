# The window classes as real windows under Wine and Xvfb: creation, the window procedures,
# hit tests, dialogs and their loop, the drop target, and pixels on the screen.
pinvale_test(ui_window_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DialogDropTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ScreenTest.cpp
  LIBS Wendora ole32 uuid shell32 msimg32)
target_include_directories(ui_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_window_tests Corvane)
# The screen test reads pixels back from the shared display: no other test program may show
# a window over them meanwhile.
set_tests_properties(ui_window_tests PROPERTIES RUN_SERIAL TRUE)
