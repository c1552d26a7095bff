# Factory and SQLite manager, through the real Corvane.dll.
pinvale_test(services_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FactoryTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SqliteMgrTest.cpp
  LIBS services_headers tessaly_headers)
add_dependencies(services_tests Corvane)
