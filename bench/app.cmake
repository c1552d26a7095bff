# bench_app: the favourites window's list fill (with and without type icons) and the cost of
# adding one favourite, through the real list control, shell and Corvane.dll.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/AppBench.cpp LIBS pinvale_core pinvale_test_support ole32)
  add_dependencies(bench_app Corvane)
endif()
