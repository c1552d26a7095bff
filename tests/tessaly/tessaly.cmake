# The image library through the real Tessaly.dll (decoding, drawing, reference counting), and
# its draw geometry as plain code.
pinvale_test(tessaly_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TessalyDecodeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TessalyDrawTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TessalyGeometryTest.cpp
  LIBS tessaly_geometry tessaly_headers gdi32 comctl32)
add_dependencies(tessaly_tests Tessaly)
