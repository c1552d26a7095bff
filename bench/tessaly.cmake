# The image library: decode time per format (pictures encoded at start by the system's codecs)
# with and without COM already started, and draw times of each mode against one plain AlphaBlend.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_tessaly SOURCES ${CMAKE_CURRENT_LIST_DIR}/TessalyBench.cpp LIBS tessaly_headers pinvale_test_support gdi32 msimg32 ole32 uuid)
  add_dependencies(bench_tessaly Tessaly)
endif()
