# Test skins: every folder under skins/ is packed with the host packer into
# testbin/testskins/<name>.xui; tests depend on the aggregate target ui_test_skins.
include(${CMAKE_SOURCE_DIR}/tools/skinpack/PackSkin.cmake)
add_custom_target(ui_test_skins)
file(GLOB skin_dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_LIST_DIR}/skins/*)
foreach(dir ${skin_dirs})
  if(IS_DIRECTORY "${dir}")
    get_filename_component(name "${dir}" NAME)
    pinvale_pack_skin(ui_test_skin_${name} SOURCE "${dir}" OUTPUT "${PINVALE_TESTBIN}/testskins/${name}.xui")
    add_dependencies(ui_test_skins ui_test_skin_${name})
  endif()
endforeach()
