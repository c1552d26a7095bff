# The context-menu handler through Hollin.dll, talking to helper processes: copydatasink.exe
# plays the running program's window, recordargs.exe copies play a fresh start.
pinvale_test_helper(copydatasink ${CMAKE_CURRENT_LIST_DIR}/CopyDataSink.cpp)
target_link_libraries(copydatasink PRIVATE services_headers)
target_link_options(copydatasink PRIVATE -municode -mwindows)

pinvale_test(contextmenu_handler_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HandlerTest.cpp
  LIBS hollin_core ole32 uuid shell32 gdi32)
add_dependencies(contextmenu_handler_tests Hollin copydatasink recordargs)
