# The skin package: decipher throughput against memcpy, package load and full extraction.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_skinpackage SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinPackageBench.cpp LIBS Wendora)
  target_include_directories(bench_skinpackage PRIVATE ${CMAKE_SOURCE_DIR}/tools/skinpack)
  add_dependencies(bench_skinpackage Corvane)
endif()
