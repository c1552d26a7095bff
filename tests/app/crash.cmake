# The crash handler: crashprobe.exe arms it and fails in several ways; each leaves a minidump
# and ends the process. The UI watch with short times.
pinvale_app_probe(crashprobe ${CMAKE_CURRENT_LIST_DIR}/CrashProbe.cpp)
pinvale_test(app_crash_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CrashHandlerTest.cpp ${CMAKE_CURRENT_LIST_DIR}/UiWatchdogTest.cpp
  LIBS pinvale_core)
add_dependencies(app_crash_tests crashprobe)
