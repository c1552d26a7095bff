# The list control: paint time per frame for 100 and 10,000 rows (the ratio shows that only
# visible rows cost), and hit-test time.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListBench.cpp LIBS Wendora pinvale_test_support comctl32 gdi32)
endif()
