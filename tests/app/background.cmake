# Ping and update check against a loopback server through the real libraries.
pinvale_test(app_background_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BackgroundServicesTest.cpp
  LIBS pinvale_core)
target_compile_definitions(app_background_tests PRIVATE
  "PINVALE_TEST_PING_HOST=L\"${PINVALE_PING_HOST}\"" "PINVALE_TEST_UPDATE_HOST=L\"${PINVALE_UPDATE_HOST}\"")
add_dependencies(app_background_tests Corvane Brindle)
