# The UI object model: message routing over many children, template building against plain
# parsing, and the painting pass with layout.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_uimodel SOURCES ${CMAKE_CURRENT_LIST_DIR}/UiModelBench.cpp LIBS Wendora)
endif()
