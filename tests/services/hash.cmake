# MD5 digests and the package cipher, through the real Corvane.dll.
pinvale_test(services_hash_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HashTest.cpp
  LIBS services_headers)
add_dependencies(services_hash_tests Corvane)
