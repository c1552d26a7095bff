# Rich text: parse and draw costs of a three-run caption against one plain DrawSkinText.
if(PINVALE_ARCH STREQUAL "x86")
  pinvale_bench(bench_richtext SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichTextBench.cpp LIBS Wendora pinvale_test_support)
endif()
