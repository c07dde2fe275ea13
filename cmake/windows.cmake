# Windows builds: the program itself (32-bit shipped, 64-bit tested under Wine) and its Wine tests.
# Small and hardened: unused code and data dropped, symbols stripped, no link time in the header
# (two builds of one commit give the same bytes), address randomisation and no-execute data.
add_compile_options(-ffunction-sections -fdata-sections)
set(NETSET_WIN_LINK -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp -Wl,--gc-sections -s
    -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND NETSET_WIN_LINK -Wl,--high-entropy-va)
  set(NETSET_MANIFEST_ARCH amd64)
else()
  set(NETSET_MANIFEST_ARCH x86)
endif()

add_library(netset_platform STATIC
  platform/files.cpp platform/iphelper.cpp platform/registry.cpp platform/shell.cpp platform/window.cpp)
target_link_libraries(netset_platform PUBLIC netset_logic)

# Everything of the program but its entry point, so in-process tests can link it.
add_library(netset_app STATIC
  app/events.cpp app/form.cpp app/keys.cpp app/main_window.cpp app/program.cpp app/run_directory.cpp)
target_link_libraries(netset_app PUBLIC netset_platform ole32 comctl32 user32 gdi32 advapi32)

# The program throws nothing: allocation failure ends it through its own fatal error box.
foreach(target netset_logic netset_platform netset_app)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-asynchronous-unwind-tables)
endforeach()

add_executable(netset WIN32 app/startup.cpp app/memory.cpp)
target_compile_options(netset PRIVATE -fno-exceptions -fno-asynchronous-unwind-tables)
target_link_libraries(netset PRIVATE netset_app)
target_link_options(netset PRIVATE ${NETSET_WIN_LINK} -Wl,-Map=${CMAKE_BINARY_DIR}/netset.map)
set_target_properties(netset PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/resources.cmake)
  include(cmake/resources.cmake)
  netset_add_resources(netset ${NETSET_MANIFEST_ARCH})
endif()

option(NETSET_WINE_TESTS "Build the tests that run under Wine" OFF)
if(NETSET_WINE_TESTS)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/wine)
  add_subdirectory(tests/bench)
endif()
