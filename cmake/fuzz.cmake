# Fuzz build (-DNETSET_FUZZ=ON): the plain logic under libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, each target checking properties of what it gets back (tests/fuzz).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "NETSET_FUZZ needs clang for libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()
# No recovery: an undefined-behaviour report must stop the run, or libFuzzer never keeps the input.
set(NETSET_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# The library gets libFuzzer's coverage instrumentation without its main, which only the targets
# link. netset_logic exists before this file is read, so directory-wide options would miss it.
target_compile_options(netset_logic PRIVATE -fsanitize=fuzzer-no-link ${NETSET_FUZZ_SANITIZERS})
add_subdirectory(tests/fuzz)
