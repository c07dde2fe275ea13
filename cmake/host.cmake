# Host build: the plain logic of both subsystems, unit-tested with GoogleTest on Linux.
option(NETSET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NETSET_FUZZ "Build the libFuzzer targets of tests/fuzz (clang) instead of the unit tests" OFF)
if(NETSET_SANITIZE)
  set(NETSET_SANITIZE_OPTIONS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${NETSET_SANITIZE_OPTIONS})
  add_link_options(-fsanitize=address,undefined)
  # netset_logic exists before this file is read, and directory options only reach later targets.
  target_compile_options(netset_logic PRIVATE ${NETSET_SANITIZE_OPTIONS})
endif()
if(NETSET_FUZZ)
  # GoogleTest is neither built nor needed here.
  include(cmake/fuzz.cmake)
else()
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/host)
  add_subdirectory(tests/pe)
endif()
