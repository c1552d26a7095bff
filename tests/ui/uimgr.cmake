# The UI manager: the test host runs packed test skins through CXUIMgr on its UI thread, in a
# throwaway copy of the program's folder layout.
pinvale_test_helper(uimgrhost ${CMAKE_CURRENT_LIST_DIR}/UiMgrHost.cpp)
target_link_libraries(uimgrhost PRIVATE Wendora lua51 services_headers)
target_link_options(uimgrhost PRIVATE -municode)

pinvale_test(ui_mgr_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UiMgrTest.cpp
  LIBS wendora_headers)
target_include_directories(ui_mgr_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_mgr_tests uimgrhost Wendora Corvane Oskel ui_test_skins)
# The host shows its skin's main window in the middle of the shared display, over whatever
# another test program would be reading back from the screen.
set_tests_properties(ui_mgr_tests PROPERTIES RUN_SERIAL TRUE)
