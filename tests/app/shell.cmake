# Shell item utilities on Wine's real shell: shortcut files, type icons and OpenItem's starts,
# observed through recordargs.exe.
pinvale_test(app_shell_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShellItemTest.cpp
  LIBS pinvale_core gdi32)
add_dependencies(app_shell_tests recordargs)
