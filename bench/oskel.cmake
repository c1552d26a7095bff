# The script module: XML events per second against a plain Lua call loop, and the cost of a
# module call against a Lua arithmetic baseline.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_oskel SOURCES ${CMAKE_CURRENT_LIST_DIR}/OskelBench.cpp LIBS oskel_headers lua51)
  add_dependencies(bench_oskel Oskel)
endif()
