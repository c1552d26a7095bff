# bench_net: CXNet download throughput against a plain client, machine identity and ping costs,
# through the real Corvane.dll and a loopback server.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_net SOURCES ${CMAKE_CURRENT_LIST_DIR}/NetBench.cpp LIBS pinvale_test_support ws2_32)
  add_dependencies(bench_net Corvane)
endif()
