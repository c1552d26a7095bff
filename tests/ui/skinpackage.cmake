# Skin package, skin choice, the XML layer and the start and font file readers, through the
# real Wendora.dll and Corvane.dll, on packages made by the host packer and by the tests.
pinvale_test(ui_skin_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinPackageTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/XmlParserTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SkinReadersTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DrawTest.cpp
  LIBS Wendora)
target_include_directories(ui_skin_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/skinpack ${CMAKE_CURRENT_LIST_DIR})
add_dependencies(ui_skin_tests Corvane ui_test_skins default_skin)
