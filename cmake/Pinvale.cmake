# Shared settings of the Windows build trees: third-party libraries from the dependency cache,
# the output folder, the C++ runtime shipped with the deliverables, and the test helpers.
# Every 32-bit module links the one shared C++ runtime so that value types may cross DLL borders.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PINVALE_ARCH x86)
else()
  set(PINVALE_ARCH x64)
endif()

# The dependency cache: where scripts/build-deps.sh puts it ($PINVALE_DEPS, else under
# $PINVALE_CACHE or ~/.cache/pinvale). A value in the environment wins over the cached one.
if(NOT "$ENV{PINVALE_DEPS}" STREQUAL "")
  set(PINVALE_DEPS "$ENV{PINVALE_DEPS}" CACHE PATH "Cross-built third-party libraries" FORCE)
elseif(NOT "$ENV{PINVALE_CACHE}" STREQUAL "")
  set(PINVALE_DEPS "$ENV{PINVALE_CACHE}/deps" CACHE PATH "Cross-built third-party libraries")
else()
  set(PINVALE_DEPS "$ENV{HOME}/.cache/pinvale/deps" CACHE PATH "Cross-built third-party libraries")
endif()
set(PINVALE_DIST "${CMAKE_BINARY_DIR}/../dist" CACHE PATH "Output folder of the deliverables")
set(PINVALE_HOST_TOOLS "${CMAKE_BINARY_DIR}/../host" CACHE PATH "Build folder of the host tools")
option(PINVALE_TESTS "Build the tests and benchmarks" ON)
get_filename_component(PINVALE_DIST "${PINVALE_DIST}" ABSOLUTE)
get_filename_component(PINVALE_HOST_TOOLS "${PINVALE_HOST_TOOLS}" ABSOLUTE)
set(PINVALE_TESTBIN "${CMAKE_BINARY_DIR}/testbin")
file(MAKE_DIRECTORY "${PINVALE_DIST}" "${PINVALE_TESTBIN}")

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

set(PINVALE_DEPS_ARCH "${PINVALE_DEPS}/i686")
if(PINVALE_ARCH STREQUAL "x86")
  if(NOT EXISTS "${PINVALE_DEPS_ARCH}/lib/liblua51.dll.a")
    message(FATAL_ERROR "Third-party libraries missing in ${PINVALE_DEPS_ARCH} (PINVALE_DEPS): run scripts/setup.sh")
  endif()
  add_library(lua51 SHARED IMPORTED GLOBAL)
  set_target_properties(lua51 PROPERTIES
    IMPORTED_IMPLIB "${PINVALE_DEPS_ARCH}/lib/liblua51.dll.a"
    IMPORTED_LOCATION "${PINVALE_DEPS_ARCH}/bin/lua51.dll"
    INTERFACE_INCLUDE_DIRECTORIES "${PINVALE_DEPS_ARCH}/include")
  add_library(expat SHARED IMPORTED GLOBAL)
  set_target_properties(expat PROPERTIES
    IMPORTED_IMPLIB "${PINVALE_DEPS_ARCH}/lib/libexpat.dll.a"
    IMPORTED_LOCATION "${PINVALE_DEPS_ARCH}/bin/libexpat.dll"
    INTERFACE_INCLUDE_DIRECTORIES "${PINVALE_DEPS_ARCH}/include")
  add_library(sqlite3 STATIC IMPORTED GLOBAL)
  set_target_properties(sqlite3 PROPERTIES
    IMPORTED_LOCATION "${PINVALE_DEPS_ARCH}/lib/libsqlite3.a"
    INTERFACE_INCLUDE_DIRECTORIES "${PINVALE_DEPS_ARCH}/include")

  # The runtime DLLs that ship beside the program.
  set(PINVALE_RUNTIME_DLLS "${PINVALE_DEPS_ARCH}/bin/lua51.dll" "${PINVALE_DEPS_ARCH}/bin/libexpat.dll")
  foreach(dll libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      find_file(path_${dll} ${dll} PATHS /usr/i686-w64-mingw32/lib /usr/lib/gcc/i686-w64-mingw32/12-posix NO_DEFAULT_PATH)
      set(path "${path_${dll}}")
    endif()
    list(APPEND PINVALE_RUNTIME_DLLS "${path}")
  endforeach()
  foreach(dll ${PINVALE_RUNTIME_DLLS})
    get_filename_component(name "${dll}" NAME)
    foreach(dest "${PINVALE_DIST}" "${PINVALE_TESTBIN}")
      if(NOT EXISTS "${dest}/${name}" OR "${dll}" IS_NEWER_THAN "${dest}/${name}")
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o "${dest}/${name}" "${dll}")
      endif()
    endforeach()
  endforeach()
else()
  # The 64-bit shell extension is loaded by the file manager: no runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# A shipped module: built into the output folder and copied beside the tests.
function(pinvale_deliverable target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${PINVALE_DIST}"
    LIBRARY_OUTPUT_DIRECTORY "${PINVALE_DIST}"
    ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib"
    PREFIX "")
  # What ships carries no debug information: the loader would read it into every process
  # (sections of a mingw image are not page-aligned in the file, so they are copied, not
  # mapped), which costs start-up time and resident memory. It is kept beside the build in
  # symbols/, linked by name, for debuggers and crash dumps.
  set(symbols "${CMAKE_BINARY_DIR}/symbols/$<TARGET_FILE_NAME:${target}>.debug")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/symbols"
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> "${symbols}"
    COMMAND ${CMAKE_STRIP} --strip-debug $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink="${symbols}" $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> "${PINVALE_TESTBIN}/")
endfunction()

# Tests run under Wine through the emulator script; the prefix and display come from the
# environment set up by scripts/test.sh (see the README).
if(PINVALE_ARCH STREQUAL "x86")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh;--64")
endif()

# pinvale_test(name SOURCES ... [LIBS ...] [TIMEOUT s] [LABELS ...])
# One test executable, run by ctest as one test from the test folder.
function(pinvale_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE pinvale_test_support ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PINVALE_TESTBIN}")
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY "${PINVALE_TESTBIN}")
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${PINVALE_ARCH};${T_LABELS}")
endfunction()

# A helper program used by tests (started by the code under test); lives beside the tests.
function(pinvale_test_helper name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PINVALE_TESTBIN}")
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)

# pinvale_version_resource(target "description"): adds a version resource to target.
function(pinvale_version_resource target description)
  get_target_property(type ${target} TYPE)
  set(VR_NAME ${target})
  set(VR_DESCRIPTION "${description}")
  if(type STREQUAL "EXECUTABLE")
    set(VR_TYPE VFT_APP)
    set(VR_FILE "${target}.exe")
  else()
    set(VR_TYPE VFT_DLL)
    set(VR_FILE "${target}.dll")
  endif()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${CMAKE_SOURCE_DIR}/cmake/version.rc.in" "${out}" @ONLY)
  target_sources(${target} PRIVATE "${out}")
endfunction()

# The shared interface header and the small Win32 helpers, for every module of both trees.
add_library(services_headers INTERFACE)
target_include_directories(services_headers INTERFACE ${CMAKE_SOURCE_DIR}/services/include)
target_link_libraries(services_headers INTERFACE pinvale_base)
# Host (optionally host:port) of the start-up usage ping, http://<host>/stat.php?...
set(PINVALE_PING_HOST "stat.pinvale.com" CACHE STRING "Host name of the start-up usage ping")
target_compile_definitions(services_headers INTERFACE "PINVALE_PING_HOST=\"${PINVALE_PING_HOST}\"")

# pinvale_bench(name SOURCES ... [LIBS ...]): a benchmark program in the test folder, run by
# hand under Wine (scripts/bench.sh); it prints figures and is never a ctest test.
function(pinvale_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE services_headers ${B_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PINVALE_TESTBIN}")
endfunction()
# Host (optionally host:port) of the update description, http://<host>/pinvale/update.ini
set(PINVALE_UPDATE_HOST "update.pinvale.com" CACHE STRING "Host name of the update description")
