# The key that signs updates. TarnelixCtrl.exe embeds its public half and
# applies only files signed with the private half.
#
# A release build names its private key (PEM, EC P-256) in the environment
# variable TARNELIX_SIGNING_KEY when it configures; without it the build
# embeds the test key of tests/keys, which is public and so not for release.
set(TARNELIX_TEST_SIGNING_KEY "${PROJECT_SOURCE_DIR}/tests/keys/update-signing-TEST-ONLY.pem")
if(NOT "$ENV{TARNELIX_SIGNING_KEY}" STREQUAL "")
  set(TARNELIX_SIGNING_KEY_FILE "$ENV{TARNELIX_SIGNING_KEY}")
else()
  set(TARNELIX_SIGNING_KEY_FILE "${TARNELIX_TEST_SIGNING_KEY}")
endif()
set(TARNELIX_SIGNED_WITH_TEST_KEY OFF)
if(TARNELIX_SIGNING_KEY_FILE STREQUAL TARNELIX_TEST_SIGNING_KEY)
  set(TARNELIX_SIGNED_WITH_TEST_KEY ON)
endif()

# Writes <dir>/ctrl/UpdateKey.h with kUpdatePublicKey, X || Y of the key.
function(tarnelix_write_update_key dir)
  set(der "${CMAKE_BINARY_DIR}/update-key.der")
  execute_process(COMMAND openssl pkey -in "${TARNELIX_SIGNING_KEY_FILE}" -pubout -outform DER
                  OUTPUT_FILE "${der}" RESULT_VARIABLE failed)
  file(READ "${der}" hex HEX)
  file(REMOVE "${der}")
  string(LENGTH "${hex}" length)
  # SubjectPublicKeyInfo of a P-256 key: 91 bytes, ending in 04 || X || Y.
  if(failed OR NOT length EQUAL 182)
    message(FATAL_ERROR "${TARNELIX_SIGNING_KEY_FILE} is not an EC P-256 key")
  endif()
  string(SUBSTRING "${hex}" 54 128 point)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${point}")
  get_filename_component(keyName "${TARNELIX_SIGNING_KEY_FILE}" NAME)
  file(CONFIGURE OUTPUT "${dir}/ctrl/UpdateKey.h" CONTENT
"// Generated from the public half of ${keyName}; see cmake/UpdateKey.cmake.
#pragma once
#include <cstdint>
inline constexpr std::uint8_t kUpdatePublicKey[64] = {${bytes}};
")
  message(STATUS "TarnelixCtrl.exe accepts updates signed with ${TARNELIX_SIGNING_KEY_FILE}")
endfunction()
