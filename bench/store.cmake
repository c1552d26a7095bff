# bench_store: legacy import of 10,000 paths against Load of 10,000 rows, through the real
# Corvane.dll in a throwaway APPDATA.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/StoreBench.cpp LIBS pinvale_core pinvale_test_support ole32)
  add_dependencies(bench_store Corvane)
endif()
