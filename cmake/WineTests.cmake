# Wine tests are built by the win64 tree and registered in the native tree,
# so that one CTest run holds both: `ctest -L wine` and `ctest -LE wine`.
#
#   tarnelix_wine_test(NAME <name> EXE <file.exe> [ARGS ...] [TIMEOUT s] [UPDATE_SERVER] [SETUP script]
#                      [PLAIN_PERMISSIONS])
#
# EXE is relative to the win64 build tree. Every test runs through
# scripts/wine-run.sh with its own Xvfb, its own wineserver and a fresh copy
# of the program folder. UPDATE_SERVER runs it beside a private nginx
# (scripts/nginx-run.sh). SETUP names a bash script that prepares the prefix
# and the run folder before the test starts (see wine-run.sh --setup).
# PLAIN_PERMISSIONS runs it without root's override of file permissions.
function(tarnelix_wine_test)
  cmake_parse_arguments(T "UPDATE_SERVER;PLAIN_PERMISSIONS" "NAME;EXE;TIMEOUT;SETUP" "ARGS" ${ARGN})
  if(CMAKE_CROSSCOMPILING OR NOT TARNELIX_WINE_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(server "")
  if(T_UPDATE_SERVER)
    set(server "${PROJECT_SOURCE_DIR}/scripts/nginx-run.sh" --name "${T_NAME}" --)
  endif()
  # wine-run.sh ends the program a little before CTest would end the script.
  math(EXPR program_timeout "${T_TIMEOUT} - 10")
  set(setup "")
  if(T_SETUP)
    set(setup --setup "${T_SETUP}")
  endif()
  if(T_PLAIN_PERMISSIONS)
    list(APPEND setup --plain-permissions)
  endif()
  add_test(NAME wine.${T_NAME}
    COMMAND ${server} "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh"
            --name "${T_NAME}"
            --program-dir "${TARNELIX_WIN64_DIR}/bin"
            --exe "${TARNELIX_WIN64_DIR}/${T_EXE}"
            --timeout ${program_timeout}
            ${setup}
            -- ${T_ARGS})
  set_tests_properties(wine.${T_NAME} PROPERTIES
    LABELS wine
    TIMEOUT ${T_TIMEOUT}
    # One prefix serves all Wine tests; its registry and wineserver are not
    # meant to be shared by two tests at once.
    RESOURCE_LOCK wineprefix
    ENVIRONMENT "TARNELIX_WINE_ROOT=${PROJECT_SOURCE_DIR}/build/wine")
endfunction()

# The test executables of the win64 tree go to <build>/tests, apart from the
# program folder, so that a program folder copy holds only what ships.
function(tarnelix_test_output target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
endfunction()

# The import tables of the shipped binaries (no Wine needed, but the win64
# tree must be built).
function(tarnelix_binaries_test)
  if(CMAKE_CROSSCOMPILING OR NOT TARNELIX_WINE_TESTS)
    return()
  endif()
  add_test(NAME binaries.imports
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/check-binaries.sh" "${TARNELIX_WIN64_DIR}/bin"
            "${TARNELIX_WIN32_DIR}/bin")
  set_tests_properties(binaries.imports PROPERTIES LABELS binaries)
endfunction()
