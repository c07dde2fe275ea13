# Host build: the plain logic of both subsystems, unit-tested with GoogleTest on Linux.
option(NETSET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(NETSET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tests/host)
add_subdirectory(tests/pe)
