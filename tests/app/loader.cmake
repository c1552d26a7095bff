# The library loader: in-process against the real Corvane.dll, and through a probe program
# started from throwaway folders (library missing, unloadable, without its export).
pinvale_app_probe(loaderprobe ${CMAKE_CURRENT_LIST_DIR}/LoaderProbe.cpp)
pinvale_test(app_loader_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ModuleLoaderTest.cpp
  LIBS pinvale_core)
add_dependencies(app_loader_tests Corvane loaderprobe)
