# pinvale_pack_skin(target SOURCE folder OUTPUT file [COPIES file...]): packs a folder of skin
# sources with the host packer whenever a source or the packer changes; copies land beside.
include_guard(GLOBAL)

function(pinvale_pack_skin target)
  cmake_parse_arguments(P "" "SOURCE;OUTPUT" "COPIES" ${ARGN})
  set(packer "${PINVALE_HOST_TOOLS}/bin/skinpack")
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS "${P_SOURCE}/*")
  # The list of source files, rewritten only when it changes: a file that is renamed (keeping
  # its time stamp) or deleted must repack as well, which the time stamps alone never show.
  string(REPLACE ";" "\n" listing "${inputs}")
  set(listing_file "${CMAKE_CURRENT_BINARY_DIR}/${target}.inputs")
  file(CONFIGURE OUTPUT "${listing_file}" CONTENT "${listing}\n" @ONLY)
  set(copy_commands)
  foreach(copy ${P_COPIES})
    get_filename_component(dir "${copy}" DIRECTORY)
    list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
                              COMMAND ${CMAKE_COMMAND} -E copy "${P_OUTPUT}" "${copy}")
  endforeach()
  add_custom_command(OUTPUT "${P_OUTPUT}" ${P_COPIES}
    COMMAND "${packer}" "${P_SOURCE}" "${P_OUTPUT}"
    ${copy_commands}
    DEPENDS ${inputs} "${listing_file}" "${packer}"
    COMMENT "Packing skin ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${P_OUTPUT}" ${P_COPIES})
endfunction()
