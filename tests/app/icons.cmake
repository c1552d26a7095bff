# The list's own icons: the cache file's reader and writer, and the icon thread with a real
# list control, Wine's shell and the drive types of the program's seam.
pinvale_test(app_icon_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IconCacheTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RowIconsTest.cpp
  LIBS pinvale_core gdi32 comctl32)
add_dependencies(app_icon_tests redicon)
