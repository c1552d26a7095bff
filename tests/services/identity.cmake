# Version information, machine identity and the usage ping: the pure decoding and mapping rules
# compiled in, the objects through the real Corvane.dll. The test program carries the product
# version like the main program; verprobe.exe carries 10.20.30.40 and is never run.
pinvale_test_helper(verprobe ${CMAKE_CURRENT_LIST_DIR}/VersionProbe.cpp ${CMAKE_CURRENT_LIST_DIR}/VersionProbe.rc)
pinvale_test(services_identity_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DiskIdentityTest.cpp ${CMAKE_CURRENT_LIST_DIR}/VersionTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SystemInfoTest.cpp ${CMAKE_CURRENT_LIST_DIR}/StatisticTest.cpp
          ${CMAKE_SOURCE_DIR}/services/src/DiskIdentity.cpp ${CMAKE_SOURCE_DIR}/services/src/VersionText.cpp
  LIBS services_headers ole32 wininet)
target_include_directories(services_identity_tests PRIVATE ${CMAKE_SOURCE_DIR}/services/src)
pinvale_version_resource(services_identity_tests "Pinvale service identity tests")
add_dependencies(services_identity_tests Corvane verprobe recordargs)
