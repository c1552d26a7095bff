# bench_start: the real Pinvale.exe started from a copy of the output folder on prepared
# databases, beside the bare window program barewindow.exe, timed and measured from outside.
if(PINVALE_ARCH STREQUAL "x86")
  add_executable(barewindow WIN32 ${CMAKE_CURRENT_LIST_DIR}/BareWindow.cpp)
  # Statically linked: a bare program needs no runtime libraries beside it.
  target_link_options(barewindow PRIVATE -municode -static)
  set_target_properties(barewindow PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PINVALE_TESTBIN}")
  pinvale_bench(bench_start SOURCES ${CMAKE_CURRENT_LIST_DIR}/StartBench.cpp LIBS pinvale_test_support sqlite3 psapi)
  target_compile_definitions(bench_start PRIVATE "PINVALE_BENCH_DIST=\"${PINVALE_DIST}\"")
  add_dependencies(bench_start barewindow Pinvale Corvane Wendora Tessaly Brindle Oskel default_skin)
endif()
