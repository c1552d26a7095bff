# The raw HTTP client: its text rules compiled in, and downloads through the real Corvane.dll
# from a loopback server.
pinvale_test(services_net_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HttpTextTest.cpp ${CMAKE_CURRENT_LIST_DIR}/XNetTest.cpp
          ${CMAKE_SOURCE_DIR}/services/src/HttpText.cpp
  LIBS services_headers)
target_include_directories(services_net_tests PRIVATE ${CMAKE_SOURCE_DIR}/services/src)
add_dependencies(services_net_tests Corvane)
