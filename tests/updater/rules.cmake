# The updater's text rules, version resources and the WinINet download routine against a
# loopback server, called directly through brindle_core.
pinvale_test(updater_rules_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/UpdateRulesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DownloadTest.cpp
  LIBS brindle_core)
add_dependencies(updater_rules_tests Brindle)
