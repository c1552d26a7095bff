# Registry scripts, their registrar, and Hollin.dll's registration (also through regsvr32).
pinvale_test(contextmenu_registration_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegScriptTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RegistrationTest.cpp
  LIBS hollin_core ole32 uuid)
add_dependencies(contextmenu_registration_tests Hollin)
